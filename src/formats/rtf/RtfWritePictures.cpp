// Pictures written to RTF: \pngblip or \jpegblip, with the size each is shown at.

#include "formats/Pictures.h"
#include "formats/rtf/RtfWriter.h"

#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

#include <cmath>

namespace formats::rtf::detail {

// Each picture of the fragment (equal ones next to each other share one) as a \pict group.
void Writer::writePictures(Buffer &out, const QTextFragment &fragment)
{
    const Picture picture = formats::pictures::at(doc_, fragment.charFormat().toImageFormat());
    const formats::pictures::Encoded data = formats::pictures::encoded(picture, {"png", "jpeg"});
    QByteArray head = data.kind == "jpeg" ? "{\\pict\\jpegblip" : "{\\pict\\pngblip";
    appendNumber(head, "\\picw", picture.image.width());
    appendNumber(head, "\\pich", picture.image.height());
    appendNumber(head, "\\picwgoal", std::lround(picture.size.width() * 15));
    appendNumber(head, "\\pichgoal", std::lround(picture.size.height() * 15));
    head += "\r\n";
    static const char digits[] = "0123456789abcdef";
    for (int i = 0; i < fragment.length(); ++i) {
        out.append(head);
        char *o = out.room(data.bytes.size() * 2 + data.bytes.size() / 64 * 2 + 8);
        for (qsizetype k = 0; k < data.bytes.size(); ++k) {
            const auto b = uint8_t(data.bytes[k]);
            *o++ = digits[b >> 4];
            *o++ = digits[b & 15];
            if (k % 64 == 63) {
                *o++ = '\r';
                *o++ = '\n';
            }
        }
        *o++ = '}';
        out.advance(o);
    }
}

} // namespace formats::rtf::detail

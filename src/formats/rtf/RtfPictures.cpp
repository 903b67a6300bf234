// Pictures read from RTF: a \pict group in one sweep, its data as hex digits or \bin
// bytes; PNG and JPEG shown, metafiles and bitmaps as placeholders.

#include "formats/rtf/RtfReader.h"

#include <QTextCursor>
#include <QTextImageFormat>

#include <algorithm>

namespace formats::rtf::detail {

// \pict: a picture in the text; anywhere else (a header, a list's bullet) passed over.
void destPicture(Reader &r, const Word &, int32_t)
{
    if (r.st().dest != Dest::Text || (r.st().chr.flags & Hidden))
        r.skipGroup();
    else
        r.readPicture();
}

// The rest of the \pict group, whose opening brace has been read: its own control words
// and data, nested groups ({\*\blipuid}, {\*\picprop}) passed over.
void Reader::readPicture()
{
    PictureModel picture;
    int high = -1; // the first hex digit of a byte
    size_t depth = 1;
    while (p_ < end_) {
        const uint8_t c = *p_++;
        if (c == '{') {
            if (stack_.size() + depth >= size_t(MaxGroupDepth)) {
                skipGroup(); // fails the file at the same depth as anywhere else
                return;
            }
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) {
                closeGroup();
                addPicture(std::move(picture));
                return;
            }
        } else if (c == '\\' && p_ < end_) {
            if (!isLetter(*p_)) {
                ++p_;
                continue;
            }
            const Word w = lexWord();
            if (w.name == "bin" && w.param > 0) {
                const int64_t n = std::min<int64_t>(w.param, end_ - p_);
                if (depth == 1)
                    picture.data.append(reinterpret_cast<const char *>(p_), qsizetype(n));
                p_ += n;
            } else if (depth == 1) {
                pictureWord(picture, w);
            }
        } else if (depth == 1 && hexValue(c) >= 0) {
            if (high < 0) {
                high = hexValue(c);
            } else {
                picture.data.append(char(high * 16 + hexValue(c)));
                high = -1;
            }
        }
    }
    // Cut short: the picture goes with the rest of the file.
}

void Reader::pictureWord(PictureModel &picture, const Word &w)
{
    const std::string_view n = w.name;
    if (n == "pngblip" || n == "jpegblip")
        picture.blip = true;
    else if (n == "emfblip" || n == "wmetafile" || n == "macpict" || n == "pmmetafile" || n == "dibitmap" || n == "wbitmap")
        picture.blip = false;
    else if (n == "picwgoal")
        picture.goalWidth = std::clamp(w.param, 0, 31680 * 4);
    else if (n == "pichgoal")
        picture.goalHeight = std::clamp(w.param, 0, 31680 * 4);
    else if (n == "picscalex" && w.param > 0)
        picture.scaleX = std::min(w.param, 1000);
    else if (n == "picscaley" && w.param > 0)
        picture.scaleY = std::min(w.param, 1000);
}

void Reader::addPicture(PictureModel &&picture)
{
    if (picture.data.isEmpty())
        return; // a \pict of nothing shows nothing
    if (!picture.blip)
        picture.data.clear(); // shown as a placeholder, which needs none of it
    if (const QString why = pictureBudget_.add(picture.data); !why.isEmpty()) {
        fail(why);
        return;
    }
    flushPending();
    beginBodyText();
    if (!ok_)
        return;
    picture.at = text_.size();
    text_.append(QChar(QChar::ObjectReplacementCharacter));
    runs_.back().length += 1;
    pictures_.push_back(std::move(picture));
}

void Reader::insertText(QTextCursor &cursor, qsizetype from, qsizetype to, const QTextCharFormat &format) const
{
    auto picture = std::lower_bound(pictures_.begin(), pictures_.end(), from,
                                    [](const PictureModel &p, qsizetype at) { return p.at < at; });
    for (; picture != pictures_.end() && picture->at < to; ++picture) {
        if (picture->at > from)
            cursor.insertText(QString::fromRawData(text_.constData() + from, picture->at - from), format);
        // Twips to the document's pixels, 15 to a pixel.
        const QSizeF goal(picture->goalWidth * picture->scaleX / 1500.0, picture->goalHeight * picture->scaleY / 1500.0);
        formats::pictures::insert(cursor, picture->data.isEmpty() ? formats::pictures::placeholder()
                                                                  : formats::pictures::decode(picture->data, goal));
        from = picture->at + 1;
    }
    if (to > from)
        cursor.insertText(QString::fromRawData(text_.constData() + from, to - from), format);
}

} // namespace formats::rtf::detail

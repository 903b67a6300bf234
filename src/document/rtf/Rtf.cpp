#include "document/rtf/Rtf.h"

#include <cctype>

namespace rtf {

bool looksLikeRtf(const QByteArray &data)
{
    qsizetype i = 0;
    while (i < data.size() && std::isspace(static_cast<unsigned char>(data[i])) != 0)
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

QString tooManyParagraphs()
{
    return QStringLiteral("The file has more than %1 paragraphs, more than this program can show, so it cannot be "
                          "read.")
        .arg(MaxParagraphs);
}

QString paragraphTooLong()
{
    return QStringLiteral("The file has a paragraph of more than %1 characters, longer than this program can show, "
                          "so it cannot be read.")
        .arg(MaxParagraphLength);
}

} // namespace rtf

#include "formats/Limits.h"

namespace formats {

QString fileTooLarge(qint64 limitBytes)
{
    return FileTooLarge + QStringLiteral(" This program opens files of up to %1 MB.").arg(limitBytes / (1024 * 1024));
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

} // namespace formats

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

QString tooManyRuns()
{
    return QStringLiteral("The file changes its character format more than %1 times, more than this program can show, "
                          "so it cannot be read.")
        .arg(MaxRuns);
}

QString tooManyCharFormats()
{
    return QStringLiteral("The file uses more than %1 different character formats, more than this program can show, "
                          "so it cannot be read.")
        .arg(MaxCharFormats);
}

QString tooManyFontsUsed()
{
    return QStringLiteral("The file uses more than %1 fonts, more than this program can show, so it cannot be read.")
        .arg(MaxFontsUsed);
}

QString tooManyTableCells()
{
    return QStringLiteral("The file's tables have more than %1 cells, more than this program can show, so it cannot be "
                          "read.")
        .arg(MaxTableCells);
}

} // namespace formats

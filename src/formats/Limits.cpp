#include "formats/Limits.h"

#include <QLocale>

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

namespace {
QString number(qint64 n) { return QLocale(QLocale::English).toString(n); }
} // namespace

QString pictureTooLarge(int width, int height)
{
    return QStringLiteral("A picture of %1 x %2 pixels is larger than the %3 x %3 pixels this program can show.")
        .arg(number(width), number(height), number(MaxPictureSide));
}

QString pictureTooLarge(qint64 decodedBytes)
{
    return QStringLiteral("A picture that takes %1 MB to show is larger than the %2 MB this program allows one picture.")
        .arg(number((decodedBytes + (1 << 20) - 1) >> 20), number(MaxPictureBytes >> 20));
}

QString tooManyPictures()
{
    return QStringLiteral("The file holds more than %1 pictures, more than this program can show, so it cannot be read.")
        .arg(number(MaxPictures));
}

QString picturesTooLarge()
{
    return QStringLiteral("The file's pictures take more than %1 MB together to show, more than this program can, so it "
                          "cannot be read.")
        .arg(number(MaxPicturesBytes >> 20));
}

} // namespace formats

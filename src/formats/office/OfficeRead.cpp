#include "formats/office/OfficeRead.h"

#include "formats/office/OfficeBuild.h"
#include "formats/office/Zip.h"

namespace formats::office {

Kind kindOf(const formats::office::zip::Archive &zip)
{
    if (zip.contains(QStringLiteral("word/document.xml")))
        return Kind::Word;
    QByteArray mimetype;
    if (zip.contains(QStringLiteral("mimetype")) && zip.read(QStringLiteral("mimetype"), 256, mimetype).ok &&
        mimetype.trimmed() == "application/vnd.oasis.opendocument.text")
        return Kind::OpenDocument;
    return Kind::None;
}

Result readDocument(const formats::office::zip::Archive &zip, Kind kind, QTextDocument &doc, const QTextCharFormat &base, QString &leftOut)
{
    leftOut.clear();
    switch (kind) {
    case Kind::Word:
        return readDocx(zip, doc, base, leftOut);
    case Kind::OpenDocument:
        return readOdt(zip, doc, base, leftOut);
    case Kind::None:
        break;
    }
    return Result::failed(formats::office::zip::brokenArchive());
}

} // namespace formats::office

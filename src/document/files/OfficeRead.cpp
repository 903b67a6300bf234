#include "document/files/OfficeRead.h"

#include "document/files/OfficeBuild.h"
#include "document/files/Zip.h"

namespace office {

Kind kindOf(const ziparchive::Archive &zip)
{
    if (zip.contains(QStringLiteral("word/document.xml")))
        return Kind::Word;
    QByteArray mimetype;
    if (zip.contains(QStringLiteral("mimetype")) && zip.read(QStringLiteral("mimetype"), 256, mimetype).ok &&
        mimetype.trimmed() == "application/vnd.oasis.opendocument.text")
        return Kind::OpenDocument;
    return Kind::None;
}

Result read(const ziparchive::Archive &zip, Kind kind, QTextDocument &doc, const QTextCharFormat &base, QString &leftOut)
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
    return Result::failed(ziparchive::brokenArchive());
}

} // namespace office

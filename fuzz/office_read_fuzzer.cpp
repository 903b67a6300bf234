// libFuzzer target: the Word and OpenDocument readers under ASan and UBSan. The first
// byte chooses what the rest is: a whole archive (0), or the XML of word/document.xml (1)
// or of content.xml (2) packed into a fresh archive, so the fuzzer reaches the XML
// readers without having to forge checksums. Whatever was read is written as both
// formats, which must read again.

#include "formats/office/DocxWriter.h"
#include "formats/office/OdtWriter.h"
#include "formats/office/OfficeRead.h"
#include "formats/office/Zip.h"

#include <QByteArray>
#include <QTextCharFormat>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

namespace {

bool readsBack(const QByteArray &file)
{
    formats::office::zip::Archive zip;
    QTextDocument doc;
    doc.setUndoRedoEnabled(false); // a scratch document: no history to keep
    QString leftOut;
    return zip.open(file).ok && formats::office::readDocument(zip, formats::office::kindOf(zip), doc, QTextCharFormat(), leftOut).ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray rest = QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    QByteArray file;
    switch (data[0] % 3) {
    case 0:
        file = rest;
        break;
    case 1:
        file = formats::office::zip::write({{QStringLiteral("word/document.xml"), rest}});
        break;
    default:
        file = formats::office::zip::write({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text", true},
                                  {QStringLiteral("content.xml"), rest}});
        break;
    }
    formats::office::zip::Archive zip;
    if (!zip.open(file).ok)
        return 0;
    const formats::office::Kind kind = formats::office::kindOf(zip);
    if (kind == formats::office::Kind::None)
        return 0;
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    QString leftOut;
    const formats::Result result = formats::office::readDocument(zip, kind, doc, QTextCharFormat(), leftOut);
    if (!result.ok) {
        if (result.error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    if (!readsBack(formats::office::docx::write(doc, {})) || !readsBack(formats::office::odt::write(doc, {})))
        std::abort();
    return 0;
}

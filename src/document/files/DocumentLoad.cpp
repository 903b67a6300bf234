#include "document/files/DocumentLoad.h"

#include "app/Messages.h"
#include "document/DocumentText.h"
#include "document/files/FileRead.h"
#include "document/files/FileSniff.h"
#include "document/files/OfficeRead.h"
#include "document/files/Zip.h"
#include "document/rtf/Rtf.h"

#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The paragraph limits on text as the cursor splits it into blocks: at line feeds, at
// carriage returns (CR LF counts once) and at the separators Qt keeps for itself.
QString checkTextShape(const QString &text)
{
    qsizetype paragraphs = 1;
    qsizetype length = 0;
    const QChar *c = text.constData();
    const QChar *end = c + text.size();
    for (; c < end; ++c) {
        const char16_t u = c->unicode();
        if (u == '\n' || u == '\r' || u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1) {
            if (u == '\r' && c + 1 < end && c[1] == QLatin1Char('\n'))
                ++c;
            if (++paragraphs > rtf::MaxParagraphs)
                return rtf::tooManyParagraphs();
            length = 0;
        } else if (++length > rtf::MaxParagraphLength) {
            return rtf::paragraphTooLong();
        }
    }
    return {};
}

} // namespace

Result loadDocumentFile(const QString &fileName, QTextDocument &doc, const QTextCharFormat &textFormat, LoadInfo *info)
{
    LoadInfo ignored;
    LoadInfo &found = info ? *info : ignored;
    found = LoadInfo();
    QByteArray data;
    if (const Result read = readRegularFile(fileName, MaxOpenBytes, Msg::fileTooLarge(MaxOpenBytes), data); !read.ok)
        return read;

    if (rtf::looksLikeRtf(data))
        return rtf::read(data, doc);
    // Word and OpenDocument files are known by what their archive holds, not by name.
    if (filesniff::looksLikeZip(data)) {
        ziparchive::Archive zip;
        if (const Result opened = zip.open(data); !opened.ok)
            return opened;
        if (const office::Kind kind = office::kindOf(zip); kind != office::Kind::None) {
            found.kind = kind == office::Kind::Word ? FileKind::Word : FileKind::OpenDocument;
            const bool undo = doc.isUndoRedoEnabled();
            doc.setUndoRedoEnabled(false);
            const Result read = office::read(zip, kind, doc, textFormat, found.leftOut);
            doc.setUndoRedoEnabled(undo);
            return read;
        }
    }
    if (const QString kind = filesniff::binaryKind(data); !kind.isEmpty()) {
        found.refused = true;
        return Result::failed(Msg::notADocument(QFileInfo(fileName).fileName(), kind));
    }
    found.kind = FileKind::Text;
    const QString text = decodePlainText(data);
    data = QByteArray(); // the text holds it now
    if (const QString error = checkTextShape(text); !error.isEmpty())
        return Result::failed(error);
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false); // a file read is not an edit to undo
    doc.clear();
    QTextCursor(&doc).insertText(text, textFormat);
    doc.setUndoRedoEnabled(undo);
    return {};
}

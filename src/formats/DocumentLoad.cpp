#include "formats/DocumentLoad.h"

#include "formats/DocumentStructure.h"
#include "formats/FileRead.h"
#include "formats/FileSniff.h"
#include "formats/Limits.h"
#include "formats/office/OfficeRead.h"
#include "formats/office/Zip.h"
#include "formats/PlainText.h"
#include "formats/rtf/Rtf.h"
#include "formats/UndoOff.h"

#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>

namespace formats {

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
        if (isLineEnd(u) || isBlockBreak(u)) {
            if (u == '\r' && c + 1 < end && c[1] == QLatin1Char('\n'))
                ++c;
            if (++paragraphs > formats::MaxParagraphs)
                return formats::tooManyParagraphs();
            length = 0;
        } else if (++length > formats::MaxParagraphLength) {
            return formats::paragraphTooLong();
        }
    }
    return {};
}

Result load(const QString &fileName, QTextDocument &doc, const QTextCharFormat &textFormat, LoadInfo &found)
{
    QByteArray data;
    if (const Result read = readRegularFile(fileName, MaxOpenBytes, fileTooLarge(), data); !read.ok)
        return read;

    if (formats::rtf::looksLikeRtf(data))
        return formats::rtf::read(data, doc);
    // Word and OpenDocument files are known by what their archive holds, not by name.
    if (formats::looksLikeZip(data)) {
        formats::office::zip::Archive zip;
        if (const Result opened = zip.open(data); !opened.ok)
            return opened;
        if (const formats::office::Kind kind = formats::office::kindOf(zip); kind != formats::office::Kind::None) {
            found.kind = kind == formats::office::Kind::Word ? FileKind::Word : FileKind::OpenDocument;
            return formats::office::readDocument(zip, kind, doc, textFormat, found.leftOut);
        }
    }
    if (const QString kind = formats::binaryKind(data); !kind.isEmpty()) {
        found.refused = true;
        return Result::failed(notADocument(QFileInfo(fileName).fileName(), kind));
    }
    found.kind = FileKind::Text;
    const QString text = decodePlainText(data);
    data = QByteArray(); // the text holds it now
    if (const QString error = checkTextShape(text); !error.isEmpty())
        return Result::failed(error);
    doc.clear();
    QTextCursor(&doc).insertText(text, textFormat);
    return {};
}

} // namespace

Result loadFile(const QString &fileName, QTextDocument &doc, const QTextCharFormat &textFormat, LoadInfo *info)
{
    LoadInfo ignored;
    LoadInfo &found = info ? *info : ignored;
    found = LoadInfo();
    const UndoOff undo(doc);
    return load(fileName, doc, textFormat, found);
}

QString notADocument(const QString &file, const QString &kind)
{
    return QStringLiteral("\"%1\" is %2. Quorvane opens RTF, Word (.docx), OpenDocument (.odt) and plain text files.")
        .arg(file, kind);
}

} // namespace formats

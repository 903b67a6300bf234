#include "document/DocumentLoad.h"

#include "app/Messages.h"
#include "document/DocumentText.h"
#include "document/rtf/Rtf.h"

#include <QFile>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Larger files would only exhaust memory; no business plan comes near this.
constexpr qint64 MaxOpenBytes = 128 * 1024 * 1024;

} // namespace

LoadResult loadDocumentFile(const QString &fileName, QTextDocument &doc, const QTextCharFormat &textFormat)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {false, file.errorString()};
    if (file.size() > MaxOpenBytes)
        return {false, Msg::FileTooLarge};
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, file.errorString()};
    file.close();

    if (rtf::looksLikeRtf(data)) {
        const rtf::ReadResult result = rtf::read(data, doc);
        return {result.ok, result.error};
    }
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false); // a file read is not an edit to undo
    doc.clear();
    QTextCursor(&doc).insertText(decodePlainText(data), textFormat);
    doc.setUndoRedoEnabled(undo);
    return {};
}

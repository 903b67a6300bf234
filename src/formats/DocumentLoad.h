#pragma once

// What Open shows for a file: RTF, Word and OpenDocument text read as such, text as plain
// text; anything else refused. The editor page and quorvane-rtf-to-text both load
// through here, so the tool prints exactly what the page would show.

#include "formats/Result.h"

#include <QString>

class QTextCharFormat;
class QTextDocument;

namespace formats {

// What a file turned out to be, as far as the editor must know: Save writes RTF back only
// into a file that was RTF.
enum class FileKind { Rtf, Text, Word, OpenDocument };

struct LoadInfo {
    FileKind kind = FileKind::Rtf;
    // What the file held that the editor cannot show ("pictures and comments"); empty
    // when nothing was left out.
    QString leftOut;
    // The file is of a kind Open does not read; the error is then the whole message.
    bool refused = false;
};

// Replaces the document's content with the file's. A plain-text file takes textFormat.
// Only a regular file is read (FileRead.h). On failure the document is left as it was.
// An Open runs without undo (UndoOff.h): reading a file is not an edit to undo.
Result loadFile(const QString &fileName, QTextDocument &doc, const QTextCharFormat &textFormat,
                LoadInfo *info = nullptr);

// The whole message for a file Open refuses; kind is "a PDF file"...
QString notADocument(const QString &file, const QString &kind);

} // namespace formats

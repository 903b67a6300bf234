#pragma once

// What Open shows for a file: RTF, Word and OpenDocument text read as such, text as plain
// text; anything else refused. The editor
// page and quorvane-rtf-to-text both load through here, so the tool prints exactly
// what the page would show.

#include "document/Result.h"

#include <QString>

class QTextCharFormat;
class QTextDocument;

// The largest file Open reads. Past it a file is refused before anything is built; the
// editor's limits on paragraphs and formats (rtf::MaxParagraphs...) hold within it.
inline constexpr qint64 MaxOpenBytes = 24 * 1024 * 1024;

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
Result loadDocumentFile(const QString &fileName, QTextDocument &doc, const QTextCharFormat &textFormat,
                        LoadInfo *info = nullptr);

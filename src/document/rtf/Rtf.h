#pragma once

// The RTF reader and writer. They know nothing of pages: they convert between a
// QTextDocument and RTF bytes and report problems as results, never as dialogs.

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace rtf {

// Whether the bytes start like an RTF file ("{\rtf", leading white space allowed).
bool looksLikeRtf(const QByteArray &data);

// The whole document as RTF.
QByteArray write(const QTextDocument &doc);

struct ReadResult {
    bool ok = true;
    QString error; // a sentence for the user when !ok
};

// Replaces the document's content with what the RTF holds. On failure the document is
// left as it was.
ReadResult read(const QByteArray &data, QTextDocument &doc);

// Limits of the reader. Real files stay far below them; a file beyond one is refused
// with a message instead of being allowed to exhaust memory or time.
inline constexpr int MaxGroupDepth = 1000000;    // nesting of { } groups; each level costs a few dozen bytes
inline constexpr int MaxFontTableEntries = 16384;
inline constexpr int MaxColorTableEntries = 1 << 20; // past any palette the writer can produce
inline constexpr int MaxDocumentPieces = 2000000;    // paragraphs plus runs of one format

} // namespace rtf

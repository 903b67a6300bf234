#pragma once

// The RTF reader and writer. They know nothing of pages: they convert between a
// QTextDocument and RTF bytes and report problems as results, never as dialogs.

#include "document/Result.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace rtf {

// Whether the bytes start like an RTF file ("{\rtf", leading white space allowed).
bool looksLikeRtf(const QByteArray &data);

// The whole document as RTF.
QByteArray write(const QTextDocument &doc);

// Replaces the document's content with what the RTF holds. On failure the document is
// left as it was.
Result read(const QByteArray &data, QTextDocument &doc);

// Limits of the reader. The shape limits are what the editor page can show and still
// open in about two seconds and answer a key at once (README, Performance); a file beyond
// one is refused with a message before any document is built. Text files opened as text
// keep the same paragraph limits.
inline constexpr int MaxGroupDepth = 1000000; // nesting of { } groups; each level costs a few dozen bytes
inline constexpr int MaxFontTableEntries = 16384;
inline constexpr int MaxColorTableEntries = 1 << 20; // past any palette the writer can produce
inline constexpr int MaxParagraphs = 150000;
inline constexpr int MaxParagraphLength = 300000; // characters in one paragraph
inline constexpr int MaxRuns = 500000;            // runs of one character format
inline constexpr int MaxCharFormats = 50000;      // distinct character formats
inline constexpr int MaxFontsUsed = 1000;         // fonts the text uses
inline constexpr int MaxTableColumns = 64;        // cells of a row past these join its last one
inline constexpr int MaxTableCells = 100000;      // cells of all tables, empty ones included

// The reasons given for the two paragraph limits, to RTF and text files alike.
QString tooManyParagraphs();
QString paragraphTooLong();

} // namespace rtf

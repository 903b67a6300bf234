#pragma once

// What Open refuses, for every format alike, and the reasons it gives. The shape limits
// are what the editor page can show and still open in about two seconds and answer a key
// at once (README, Performance); a file beyond one is refused with a message before any
// document is built.

#include <QString>
#include <QtGlobal>

namespace formats {

// The largest file Open reads; the limits below hold within it.
inline constexpr qint64 MaxOpenBytes = 24 * 1024 * 1024;

// Every reader: RTF, Word, OpenDocument and plain text.
inline constexpr int MaxParagraphs = 150000;
inline constexpr int MaxParagraphLength = 300000; // characters in one paragraph
inline constexpr int MaxRuns = 500000;            // runs of one character format
inline constexpr int MaxCharFormats = 50000;      // distinct character formats
inline constexpr int MaxFontsUsed = 1000;         // fonts the text uses
inline constexpr int MaxTableCells = 100000;      // cells of all tables, empty ones included

namespace rtf {
inline constexpr int MaxGroupDepth = 1000000; // nesting of { } groups; each level costs a few dozen bytes
inline constexpr int MaxFontTableEntries = 16384;
inline constexpr int MaxColorTableEntries = 1 << 20; // past any palette the writer can produce
inline constexpr int MaxTableColumns = 64;           // cells of a row past these join its last one
} // namespace rtf

namespace office {
inline constexpr int MaxXmlDepth = 256;                     // documents nest a few dozen levels
inline constexpr qint64 MaxPartBytes = 64 * 1024 * 1024;    // the largest part a reader inflates
inline constexpr int MaxTableColumns = 1000;                // a table's columns
inline constexpr qint64 MaxZipEntries = 10000;              // a document has a few dozen
} // namespace office

// The reasons given.
QString fileTooLarge(qint64 limitBytes = MaxOpenBytes);
inline const QString FileTooLarge = QStringLiteral("The file is too large to open.");
QString tooManyParagraphs();
QString paragraphTooLong();
QString tooManyRuns();
QString tooManyCharFormats();
QString tooManyFontsUsed();
QString tooManyTableCells();

} // namespace formats

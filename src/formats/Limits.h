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
inline constexpr int MaxXmlDepth = 256;          // documents nest a few dozen levels
inline constexpr int MaxTableColumns = 1000;     // a table's columns
inline constexpr qint64 MaxZipEntries = 10000;   // a document has a few dozen
// Styles a reader keeps (the rest are not used): our .odt has one for each distinct
// character format.
inline constexpr int MaxStyles = 2 * MaxCharFormats;
// What the parts read inflate to, each and all together: our own .docx of 500,000 runs
// (the limit above) is 85 MB of XML.
inline constexpr qint64 MaxPartBytes = 96 * 1024 * 1024;
inline constexpr qint64 MaxInflatedBytes = 96 * 1024 * 1024;
// XML elements and attributes of all parts together: a run takes 14 in our files, about
// 20 in Word's, and each costs Qt's XML reader about 0.2 microseconds. An element's 16th
// attribute and those after it count for more, as Qt compares each with all before it.
inline constexpr qint64 MaxXmlItems = 12000000;
// Qt's XML reader compares each attribute of an element with every other one, so an
// element's cost grows with the square of its attributes. Elements in documents have up
// to about 40 (namespace declarations, which count below, aside).
inline constexpr int MaxXmlAttributes = 64;
// Qt's XML reader looks each prefix up among all the namespaces declared around it, from
// the innermost out; files declare about 40, nearly all on their root. Past 32 in scope,
// an element and its prefixed attributes count for more in MaxXmlItems.
inline constexpr int MaxXmlNamespaces = 64;
inline constexpr int MaxXmlNameBytes = 1000;          // names are a few dozen
inline constexpr int MaxXmlValueBytes = 64 * 1024;    // so one element holds at most 4 MB
// A text between two tags: a paragraph's longest text at 8 bytes a character (&#65535;).
inline constexpr int MaxXmlTextBytes = 8 * MaxParagraphLength;
} // namespace office

// Pictures, in every reader and in Insert Picture. A picture costs four bytes a pixel once
// decoded, however few its file has: the limits are checked on the size its header declares.
inline constexpr int MaxPictureSide = 10000;                  // pixels either way, past any camera a plan needs
inline constexpr qint64 MaxPictureBytes = 256LL * 1024 * 1024; // one picture decoded: QImageReader's own limit
inline constexpr qint64 MaxPicturesBytes = 512LL * 1024 * 1024; // all of a file's: ten photographs from a phone
inline constexpr int MaxPictures = 1000;                      // a plan has a few dozen; each is an image to lay out

// The reasons given.
QString fileTooLarge(qint64 limitBytes = MaxOpenBytes);
inline const QString FileTooLarge = QStringLiteral("The file is too large to open.");
QString tooManyParagraphs();
QString paragraphTooLong();
QString tooManyRuns();
QString tooManyCharFormats();
QString tooManyFontsUsed();
QString tooManyTableCells();
QString pictureTooLarge(int width, int height);
QString pictureTooLarge(qint64 decodedBytes);
QString tooManyPictures();
QString picturesTooLarge();

} // namespace formats

#pragma once

// What a file is, told from its first bytes before anything is shown: Open reads RTF,
// Word, OpenDocument text and plain text, and refuses the rest with a message that
// says what the file is instead of showing pages of garbage.

#include <QByteArray>
#include <QString>

namespace formats {

// How far into a file text must look like text.
inline constexpr qsizetype FirstBlock = 4096;

// Whether the bytes start like a zip archive (Word and OpenDocument files are zips).
bool looksLikeZip(const QByteArray &data);

// The kind of a file Open does not read, in words that follow "is" ("a PDF file",
// "a PNG image", "a ZIP archive"...); empty when the file may be text. A zip counts: the
// caller asks only after it found no text document in it.
QString binaryKind(const QByteArray &data);

} // namespace formats

#pragma once

// Files that stress one dimension of a document each: many fonts, many distinct formats,
// many runs, many (empty) paragraphs, many pages, one long paragraph, as RTF and as
// text. The benchmarks read them at two sizes; editor_limits opens them in the editor.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace bench {

// The shapes by name: fonts, formats, runs, empty-paragraphs, paragraphs, pages,
// cell-paragraphs, paragraph-length, text-lines, text-line-length, prose (n bytes of
// generated business RTF).
QStringList shapeNames();

// A file of the shape with n of its unit (fonts, formats, runs, paragraphs, pages,
// characters, bytes). Empty for an unknown shape.
QByteArray shapeFile(const QString &shape, qint64 n);

} // namespace bench

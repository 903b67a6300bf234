#pragma once

// The document as a Word file (.docx): paragraphs with their styles, runs with their
// formats, lists, tables, page breaks, the formatted plan's contents as a TOC field, and
// a footer with "Page N of M".

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace formats::office::docx {

// The file's bytes; title goes into the document's properties. Empty when the archive
// cannot be built.
QByteArray write(const QTextDocument &doc, const QString &title);

} // namespace formats::office::docx

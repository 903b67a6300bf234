#pragma once

// The document as a Word file (.docx): paragraphs with their styles, runs with their
// formats, lists, tables, page breaks, the formatted plan's contents as a TOC field that
// Word updates on opening, and a footer with "Page N of M".

#include "formats/PageSetup.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace formats::office::docx {

// The file's bytes on pages of the given size; title goes into the document's properties,
// and into the footer when the document opens with a title. Empty when the archive cannot
// be built.
QByteArray write(const QTextDocument &doc, const QString &title, const QPageSize &page = formats::page::localSize());

} // namespace formats::office::docx

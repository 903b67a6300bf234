#pragma once

// The document as an OpenDocument text file (.odt): headings as outline headings, the
// document's fonts, page breaks, lists, tables, the formatted plan's contents as a table of
// contents, and a footer with the page number and count.

#include "formats/PageSetup.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace formats::office::odt {

// The file's bytes on pages of the given size; title goes into its metadata, and into the
// footer when the document opens with a title. Empty when the archive cannot be built.
QByteArray write(const QTextDocument &doc, const QString &title, const QPageSize &page = formats::page::localSize());

} // namespace formats::office::odt

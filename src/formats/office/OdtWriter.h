#pragma once

// The document as an OpenDocument text file (.odt): headings as outline headings, the
// document's fonts, page breaks, lists, tables, and a footer with the page number and
// count.

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace formats::office::odt {

// The file's bytes; title goes into its metadata. Empty when the archive cannot be built.
QByteArray write(const QTextDocument &doc, const QString &title);

} // namespace formats::office::odt

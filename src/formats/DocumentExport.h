#pragma once

// Writing a copy of the document in the formats people send: PDF, Word, OpenDocument Text,
// HTML, Markdown and plain text. Files are written whole or not at all.

#include "formats/PageSetup.h"
#include "formats/SafeWrite.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QTextDocument;

namespace formats::exports {

enum class Format { Pdf, Docx, Odt, Html, Markdown, Text };

// The save dialog's filters, in the order offered, and the extension each adds to a
// name typed without one.
QStringList filters();
QStringList suffixes();
// The format a filter stands for (PDF for an unknown filter), and the filter of a format.
Format formatForFilter(const QString &filter);
QString filterFor(Format format);
// The format a known extension of the name stands for (.pdf .docx .odt .html .htm .md .txt,
// in any case); none for other names.
std::optional<Format> formatForName(const QString &fileName);
// The name with the format's extension added when it has none.
QString withExtension(const QString &fileName, Format format);

// The file's bytes; empty when the document cannot be converted. name is the title in the
// file's properties and, in a PDF or a document that opens with a title, in the footer.
// PDF, Word and OpenDocument files get pages of the given size, whose pages the contents name.
QByteArray encode(const QTextDocument &doc, Format format, const QString &name,
                  const QPageSize &page = formats::page::localSize());
// Writes the document to the file.
Result writeFile(const QTextDocument &doc, Format format, const QString &fileName, const QString &name,
                 const QPageSize &page = formats::page::localSize());

} // namespace formats::exports

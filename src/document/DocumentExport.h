#pragma once

// Writing a copy of the document in the formats people send: PDF, OpenDocument Text,
// HTML, Markdown and plain text. Files are written whole or not at all.

#include <QString>
#include <QStringList>

class QTextDocument;

namespace docexport {

enum class Format { Pdf, Odt, Html, Markdown, Text };

// The save dialog's filters, in the order offered.
QStringList filters();
// The format a filter stands for (PDF for an unknown filter).
Format formatForFilter(const QString &filter);
// The name with the format's extension added when it has none.
QString withExtension(const QString &fileName, Format format);

struct Result {
    bool ok = true;
    QString error; // the reason, when !ok
};

// Writes the document to the file; name is the footer's document name for PDF.
Result write(const QTextDocument &doc, Format format, const QString &fileName, const QString &name);

} // namespace docexport

#include "document/DocumentExport.h"

#include "document/PrintLayout.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextDocumentWriter>

namespace docexport {

namespace {

struct FormatInfo {
    Format format;
    const char *filter;
    const char *extension;
};

const FormatInfo kFormats[] = {
    {Format::Pdf, "PDF Files (*.pdf)", "pdf"},
    {Format::Odt, "OpenDocument Text (*.odt)", "odt"},
    {Format::Html, "Web Pages (*.html)", "html"},
    {Format::Markdown, "Markdown Files (*.md)", "md"},
    {Format::Text, "Text Files (*.txt)", "txt"},
};

QByteArray plainTextBytes(const QTextDocument &doc)
{
    QString text = doc.toPlainText();
    // Paragraph and line separators become the platform's line ends.
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'));
#ifdef Q_OS_WIN
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
#endif
    return text.toUtf8();
}

} // namespace

QStringList filters()
{
    QStringList out;
    for (const FormatInfo &f : kFormats)
        out << QString::fromLatin1(f.filter);
    return out;
}

QStringList suffixes()
{
    QStringList out;
    for (const FormatInfo &f : kFormats)
        out << QString::fromLatin1(f.extension);
    return out;
}

std::optional<Format> formatForName(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("htm"))
        return Format::Html;
    for (const FormatInfo &f : kFormats)
        if (suffix == QLatin1String(f.extension))
            return f.format;
    return std::nullopt;
}

Format formatForFilter(const QString &filter)
{
    for (const FormatInfo &f : kFormats)
        if (filter == QLatin1String(f.filter))
            return f.format;
    return Format::Pdf;
}

QString withExtension(const QString &fileName, Format format)
{
    // The file dialog's own rule: any dot in the name counts as an extension.
    if (QFileInfo(fileName).fileName().contains(QLatin1Char('.')))
        return fileName;
    for (const FormatInfo &f : kFormats)
        if (f.format == format)
            return fileName + QLatin1Char('.') + QLatin1String(f.extension);
    return fileName;
}

QByteArray encode(const QTextDocument &doc, Format format, const QString &name)
{
    switch (format) {
    case Format::Pdf: {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(name);
        pdf.setCreator(QStringLiteral("Quorvane"));
        printlayout::useLocalePageSize(pdf);
        if (printlayout::paint(doc, pdf, name) == 0)
            return {};
        return bytes;
    }
    case Format::Odt: {
        QBuffer buffer;
        QTextDocumentWriter writer(&buffer, "ODF");
        return writer.write(&doc) ? buffer.data() : QByteArray();
    }
    case Format::Html:
        return doc.toHtml().toUtf8();
    case Format::Markdown:
        return doc.toMarkdown(QTextDocument::MarkdownDialectGitHub).toUtf8();
    case Format::Text:
        return plainTextBytes(doc);
    }
    return {};
}

Result write(const QTextDocument &doc, Format format, const QString &fileName, const QString &name)
{
    const QByteArray bytes = encode(doc, format, name);
    // Only a PDF or ODT file is never empty; a text of an empty document is.
    if (bytes.isEmpty() && (format == Format::Pdf || format == Format::Odt))
        return {false, QStringLiteral("The document could not be converted.")};
    return safewrite::write(fileName, bytes);
}

} // namespace docexport

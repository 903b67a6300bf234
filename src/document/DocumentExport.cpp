#include "document/DocumentExport.h"

#include "document/PrintLayout.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
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

Format formatForFilter(const QString &filter)
{
    for (const FormatInfo &f : kFormats)
        if (filter == QLatin1String(f.filter))
            return f.format;
    return Format::Pdf;
}

QString withExtension(const QString &fileName, Format format)
{
    if (!QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    for (const FormatInfo &f : kFormats)
        if (f.format == format)
            return fileName + QLatin1Char('.') + QLatin1String(f.extension);
    return fileName;
}

Result write(const QTextDocument &doc, Format format, const QString &fileName, const QString &name)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};

    bool written = true;
    switch (format) {
    case Format::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setTitle(name);
        pdf.setCreator(QStringLiteral("Quorvane"));
        printlayout::useLocalePageSize(pdf);
        written = printlayout::paint(doc, pdf, name) > 0;
        break;
    }
    case Format::Odt: {
        // The ODF writer closes its device when done, which a QSaveFile forbids, so
        // it writes to memory first.
        QBuffer buffer;
        QTextDocumentWriter writer(&buffer, "ODF");
        written = writer.write(&doc) && file.write(buffer.data()) == buffer.data().size();
        break;
    }
    case Format::Html:
        written = file.write(doc.toHtml().toUtf8()) >= 0;
        break;
    case Format::Markdown:
        written = file.write(doc.toMarkdown(QTextDocument::MarkdownDialectGitHub).toUtf8()) >= 0;
        break;
    case Format::Text:
        written = file.write(plainTextBytes(doc)) >= 0;
        break;
    }
    if (!written) {
        file.cancelWriting();
        return {false, file.error() != QFileDevice::NoError ? file.errorString()
                                                            : QStringLiteral("The document could not be converted.")};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {};
}

} // namespace docexport

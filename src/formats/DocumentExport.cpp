#include "formats/DocumentExport.h"

#include "formats/DocumentStructure.h"
#include "formats/office/DocxWriter.h"
#include "formats/office/OdtWriter.h"
#include "formats/PictureExport.h"
#include "formats/PrintLayout.h"
#include "formats/TableText.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <memory>
#include <vector>

namespace formats::exports {

namespace {

struct FormatInfo {
    Format format;
    const char *filter;
    const char *extension;
};

const FormatInfo kFormats[] = {
    {Format::Pdf, "PDF Files (*.pdf)", "pdf"},
    {Format::Docx, "Word Document (*.docx)", "docx"},
    {Format::Odt, "OpenDocument Text (*.odt)", "odt"},
    {Format::Html, "Web Pages (*.html)", "html"},
    {Format::Markdown, "Markdown Files (*.md)", "md"},
    {Format::Text, "Text Files (*.txt)", "txt"},
};

QByteArray plainTextBytes(const QTextDocument &doc)
{
    // A table's rows as lines of tab-separated cells; separators as line ends.
    QString text = formats::tabletext::plainText(doc);
#ifdef Q_OS_WIN
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
#endif
    return text.toUtf8();
}

// Markdown marks emphasis around a run's text, spaces included, and "**word **" does
// not render: spaces at the edges of an emphasised run lose the emphasis, so the
// markers close against the words.
void keepEmphasisOffSpaces(QTextDocument &doc)
{
    struct Range {
        int from, to;
    };
    std::vector<Range> spaces;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat cf = f.charFormat();
            if (cf.fontWeight() <= QFont::Normal && !cf.fontItalic() && !cf.fontStrikeOut())
                continue;
            const QString text = f.text();
            qsizetype lead = 0;
            while (lead < text.size() && text.at(lead).isSpace())
                ++lead;
            qsizetype trail = 0;
            while (trail < text.size() - lead && text.at(text.size() - 1 - trail).isSpace())
                ++trail;
            if (lead > 0)
                spaces.push_back({f.position(), f.position() + int(lead)});
            if (trail > 0)
                spaces.push_back({f.position() + f.length() - int(trail), f.position() + f.length()});
        }
    }
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    plain.setFontItalic(false);
    plain.setFontStrikeOut(false);
    QTextCursor c(&doc);
    for (const Range &r : spaces) {
        c.setPosition(r.from);
        c.setPosition(r.to, QTextCursor::KeepAnchor);
        c.mergeCharFormat(plain);
    }
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

QString filterFor(Format format)
{
    for (const FormatInfo &f : kFormats)
        if (f.format == format)
            return QString::fromLatin1(f.filter);
    return filters().first();
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

namespace {

QByteArray markdown(const QTextDocument &doc, const QString &base, std::vector<std::pair<QString, QByteArray>> &beside)
{
    const std::unique_ptr<QTextDocument> copy(doc.clone());
    keepEmphasisOffSpaces(*copy);
    return markdownWithPictures(*copy, base, beside).toUtf8();
}

// Qt writes the title unescaped, so an "&" in a business name breaks the page; a
// document without a title of its own gets the name.
QString html(const QTextDocument &doc, const QString &name)
{
    QString out = doc.toHtml();
    const qsizetype open = out.indexOf(QLatin1String("<title>"));
    const qsizetype close = out.indexOf(QLatin1String("</title>"), open);
    if (open < 0 || close < 0)
        return out;
    const QString title = doc.metaInformation(QTextDocument::DocumentTitle);
    const qsizetype start = open + 7;
    return out.replace(start, close - start, (title.isEmpty() ? name : title).toHtmlEscaped());
}

// A copy for a word processor's pages: the contents name the pages of this page size, and
// the copy is laid out at the page's width, which gives the widths of tables that set none.
// Null when the document needs neither.
std::unique_ptr<QTextDocument> laidOutForPages(const QTextDocument &doc, const QPageSize &page)
{
    bool needed = false;
    for (QTextFrame *frame : doc.rootFrame()->childFrames())
        if (const auto *table = qobject_cast<QTextTable *>(frame))
            needed = needed || table->format().columnWidthConstraints().size() != table->columns();
    for (QTextBlock b = doc.begin(); b.isValid() && !needed; b = b.next())
        needed = formats::contentsLevel(b.blockFormat()) > 0;
    if (!needed)
        return nullptr;
    std::unique_ptr<QTextDocument> copy(doc.clone());
    formats::printlayout::numberContents(*copy, page);
    copy->setUseDesignMetrics(true);
    copy->setDocumentMargin(0);
    copy->setTextWidth(formats::page::textArea(page).width() * 96 / 72);
    return copy;
}

} // namespace

QByteArray encode(const QTextDocument &doc, Format format, const QString &name, const QPageSize &page)
{
    switch (format) {
    case Format::Pdf: {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(name);
        pdf.setCreator(QStringLiteral("Quorvane"));
        pdf.setPageSize(page);
        if (formats::printlayout::paint(doc, pdf, name) == 0)
            return {};
        return bytes;
    }
    case Format::Docx: {
        const std::unique_ptr<QTextDocument> copy = laidOutForPages(doc, page);
        return formats::office::docx::write(copy ? *copy : doc, name, page);
    }
    case Format::Odt: {
        const std::unique_ptr<QTextDocument> copy = laidOutForPages(doc, page);
        return formats::office::odt::write(copy ? *copy : doc, name, page);
    }
    case Format::Html:
        return withDataUris(doc, html(doc, name)).toUtf8();
    case Format::Markdown: {
        std::vector<std::pair<QString, QByteArray>> beside; // written only by writeFile
        return markdown(doc, name, beside);
    }
    case Format::Text:
        return plainTextBytes(doc);
    }
    return {};
}

Result writeFile(const QTextDocument &doc, Format format, const QString &fileName, const QString &name,
                 const QPageSize &page)
{
    if (format == Format::Markdown) {
        // The pictures first, beside the file: the text links to them.
        const QFileInfo info(fileName);
        std::vector<std::pair<QString, QByteArray>> beside;
        const QByteArray text = markdown(doc, info.completeBaseName(), beside);
        for (const auto &[file, bytes] : beside)
            if (const Result r = formats::writeFileSafely(info.dir().filePath(file), bytes); !r.ok)
                return r;
        return formats::writeFileSafely(fileName, text);
    }
    const QByteArray bytes = encode(doc, format, name, page);
    // Only a PDF, Word or ODT file is never empty; a text of an empty document is.
    if (bytes.isEmpty() && (format == Format::Pdf || format == Format::Docx || format == Format::Odt))
        return {false, QStringLiteral("The document could not be converted.")};
    return formats::writeFileSafely(fileName, bytes);
}

} // namespace formats::exports

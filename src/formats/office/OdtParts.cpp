#include "formats/office/OdtParts.h"

#include "formats/PageSetup.h"
#include "formats/office/XmlText.h"

#include <QXmlStreamWriter>

namespace formats::office::odt {

namespace {

const char *const kNamespaces[][2] = {
    {"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
    {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
    {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
    {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
    {"fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
    {"svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
    {"meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
    {"dc", "http://purl.org/dc/elements/1.1/"},
    {"draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
    {"xlink", "http://www.w3.org/1999/xlink"},
};

QString mm(double v) { return QString::number(v, 'f', 1) + QStringLiteral("mm"); }
QString pt(double v) { return QString::number(v, 'f', 2) + QStringLiteral("pt"); }

void paragraphStyle(QXmlStreamWriter &w, const QString &name, const QString &display, int outline, const QString &size,
                    bool bold, const QString &align = {}, const QString &indent = {})
{
    w.writeStartElement(QStringLiteral("style:style"));
    w.writeAttribute(QStringLiteral("style:name"), name);
    w.writeAttribute(QStringLiteral("style:display-name"), display);
    w.writeAttribute(QStringLiteral("style:family"), QStringLiteral("paragraph"));
    w.writeAttribute(QStringLiteral("style:parent-style-name"), QStringLiteral("Standard"));
    w.writeAttribute(QStringLiteral("style:next-style-name"), QStringLiteral("Standard"));
    if (outline > 0)
        w.writeAttribute(QStringLiteral("style:default-outline-level"), QString::number(outline));
    w.writeAttribute(QStringLiteral("style:class"), outline > 0 ? QStringLiteral("text") : QStringLiteral("chapter"));
    w.writeEmptyElement(QStringLiteral("style:paragraph-properties"));
    if (outline > 0) {
        w.writeAttribute(QStringLiteral("fo:margin-top"), QStringLiteral("4mm"));
        w.writeAttribute(QStringLiteral("fo:margin-bottom"), QStringLiteral("2mm"));
        w.writeAttribute(QStringLiteral("fo:keep-with-next"), QStringLiteral("always"));
    }
    if (!align.isEmpty())
        w.writeAttribute(QStringLiteral("fo:text-align"), align);
    if (!indent.isEmpty())
        w.writeAttribute(QStringLiteral("fo:margin-left"), indent);
    w.writeEmptyElement(QStringLiteral("style:text-properties"));
    w.writeAttribute(QStringLiteral("fo:font-size"), size);
    if (bold)
        w.writeAttribute(QStringLiteral("fo:font-weight"), QStringLiteral("bold"));
    w.writeEndElement();
}

} // namespace

QByteArray document(const char *root, const QByteArray &inner)
{
    QByteArray out = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<") + root;
    for (const auto &ns : kNamespaces)
        out += QByteArray(" xmlns:") + ns[0] + "=\"" + ns[1] + '"';
    out += QByteArray(" office:version=\"1.2\">") + inner + "</" + root + '>';
    return out;
}

QByteArray fontFaces(const QStringList &families)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartElement(QStringLiteral("office:font-face-decls"));
    for (const QString &f : families) {
        w.writeEmptyElement(QStringLiteral("style:font-face"));
        w.writeAttribute(QStringLiteral("style:name"), f);
        // Quoted, as a family with spaces must be in svg:font-family.
        w.writeAttribute(QStringLiteral("svg:font-family"), QLatin1Char('\'') + f + QLatin1Char('\''));
    }
    w.writeEndElement();
    return out;
}

QByteArray styles(const QStringList &families, const QPageSize &pageSize, const QString &footerName)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartElement(QStringLiteral("office:styles"));
    // Arial 12 like the editor, kerned as in print, and at least two lines of a paragraph
    // on each page, as in print.
    w.writeStartElement(QStringLiteral("style:default-style"));
    w.writeAttribute(QStringLiteral("style:family"), QStringLiteral("paragraph"));
    w.writeEmptyElement(QStringLiteral("style:paragraph-properties"));
    w.writeAttribute(QStringLiteral("fo:orphans"), QStringLiteral("2"));
    w.writeAttribute(QStringLiteral("fo:widows"), QStringLiteral("2"));
    w.writeEmptyElement(QStringLiteral("style:text-properties"));
    w.writeAttribute(QStringLiteral("style:font-name"), QStringLiteral("Arial"));
    w.writeAttribute(QStringLiteral("fo:font-size"), QStringLiteral("12pt"));
    w.writeAttribute(QStringLiteral("style:letter-kerning"), QStringLiteral("true"));
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("style:style"));
    w.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Standard"));
    w.writeAttribute(QStringLiteral("style:family"), QStringLiteral("paragraph"));
    w.writeAttribute(QStringLiteral("style:class"), QStringLiteral("text"));
    w.writeEndElement();
    paragraphStyle(w, QStringLiteral("Title"), QStringLiteral("Title"), 0, QStringLiteral("18pt"), true,
                   QStringLiteral("center"));
    paragraphStyle(w, QStringLiteral("Heading_20_1"), QStringLiteral("Heading 1"), 1, QStringLiteral("16pt"), true);
    paragraphStyle(w, QStringLiteral("Heading_20_2"), QStringLiteral("Heading 2"), 2, QStringLiteral("14pt"), true);
    paragraphStyle(w, QStringLiteral("Contents_20_1"), QStringLiteral("Contents 1"), 0, QStringLiteral("12pt"), false);
    // Contents entries of level 2 stand a step of 30 points in, as in print.
    paragraphStyle(w, QStringLiteral("Contents_20_2"), QStringLiteral("Contents 2"), 0, QStringLiteral("12pt"), false, {},
                   QStringLiteral("30pt"));
    w.writeEndElement();

    using namespace formats::page;
    const QSizeF page = pageSize.size(QPageSize::Millimeter);
    w.writeStartElement(QStringLiteral("office:automatic-styles"));
    w.writeStartElement(QStringLiteral("style:page-layout"));
    w.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Page"));
    w.writeEmptyElement(QStringLiteral("style:page-layout-properties"));
    w.writeAttribute(QStringLiteral("fo:page-width"), mm(page.width()));
    w.writeAttribute(QStringLiteral("fo:page-height"), mm(page.height()));
    for (const char *side : {"fo:margin-top", "fo:margin-bottom", "fo:margin-left", "fo:margin-right"})
        w.writeAttribute(QLatin1String(side), mm(MarginMm));
    // The footer's band at the foot of the text, as in print: a line of space, its line.
    w.writeStartElement(QStringLiteral("style:footer-style"));
    w.writeEmptyElement(QStringLiteral("style:header-footer-properties"));
    w.writeAttribute(QStringLiteral("fo:min-height"), pt(FooterLinePt));
    w.writeAttribute(QStringLiteral("fo:margin-top"), pt(FooterLinePt));
    w.writeEndElement();
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("style:style"));
    w.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Footer"));
    w.writeAttribute(QStringLiteral("style:family"), QStringLiteral("paragraph"));
    w.writeAttribute(QStringLiteral("style:parent-style-name"), QStringLiteral("Standard"));
    w.writeStartElement(QStringLiteral("style:paragraph-properties"));
    if (footerName.isEmpty()) {
        w.writeAttribute(QStringLiteral("fo:text-align"), QStringLiteral("end"));
    } else {
        w.writeStartElement(QStringLiteral("style:tab-stops"));
        w.writeEmptyElement(QStringLiteral("style:tab-stop"));
        w.writeAttribute(QStringLiteral("style:position"), pt(textArea(pageSize).width()));
        w.writeAttribute(QStringLiteral("style:type"), QStringLiteral("right"));
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEmptyElement(QStringLiteral("style:text-properties"));
    w.writeAttribute(QStringLiteral("fo:font-size"), pt(FooterPt));
    w.writeEndElement();
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("office:master-styles"));
    w.writeEmptyElement(QStringLiteral("style:master-page"));
    w.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Cover"));
    w.writeAttribute(QStringLiteral("style:page-layout-name"), QStringLiteral("Page"));
    w.writeAttribute(QStringLiteral("style:next-style-name"), QStringLiteral("Standard"));
    w.writeStartElement(QStringLiteral("style:master-page"));
    w.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Standard"));
    w.writeAttribute(QStringLiteral("style:page-layout-name"), QStringLiteral("Page"));
    w.writeStartElement(QStringLiteral("style:footer"));
    w.writeStartElement(QStringLiteral("text:p"));
    w.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Footer"));
    if (!footerName.isEmpty()) {
        w.writeCharacters(formats::office::validXml(footerName));
        w.writeEmptyElement(QStringLiteral("text:tab"));
    }
    w.writeCharacters(QStringLiteral("Page "));
    w.writeStartElement(QStringLiteral("text:page-number"));
    w.writeAttribute(QStringLiteral("text:select-page"), QStringLiteral("current"));
    w.writeCharacters(QStringLiteral("1"));
    w.writeEndElement();
    w.writeCharacters(QStringLiteral(" of "));
    w.writeTextElement(QStringLiteral("text:page-count"), QStringLiteral("1"));
    w.writeEndDocument();
    return document("office:document-styles", fontFaces(families) + out);
}

QByteArray meta(const QString &title)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartElement(QStringLiteral("office:meta"));
    w.writeTextElement(QStringLiteral("meta:generator"), QStringLiteral("Quorvane"));
    w.writeTextElement(QStringLiteral("dc:title"), formats::office::validXml(title));
    w.writeEndDocument();
    return document("office:document-meta", out);
}

QByteArray manifest(const std::vector<std::pair<QString, QString>> &pictures)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"));
    w.writeStartElement(QStringLiteral("manifest:manifest"));
    w.writeAttribute(QStringLiteral("xmlns:manifest"), QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"));
    w.writeAttribute(QStringLiteral("manifest:version"), QStringLiteral("1.2"));
    const auto entry = [&](const char *path, const char *type) {
        w.writeEmptyElement(QStringLiteral("manifest:file-entry"));
        w.writeAttribute(QStringLiteral("manifest:full-path"), QLatin1String(path));
        if (path[0] == '/')
            w.writeAttribute(QStringLiteral("manifest:version"), QStringLiteral("1.2"));
        w.writeAttribute(QStringLiteral("manifest:media-type"), QLatin1String(type));
    };
    entry("/", "application/vnd.oasis.opendocument.text");
    entry("content.xml", "text/xml");
    entry("styles.xml", "text/xml");
    entry("meta.xml", "text/xml");
    for (const auto &[path, type] : pictures) {
        w.writeEmptyElement(QStringLiteral("manifest:file-entry"));
        w.writeAttribute(QStringLiteral("manifest:full-path"), path);
        w.writeAttribute(QStringLiteral("manifest:media-type"), type);
    }
    w.writeEndDocument();
    return out;
}

} // namespace formats::office::odt

#include "formats/office/DocxParts.h"

#include "formats/PageSetup.h"
#include "formats/office/XmlText.h"

#include <QXmlStreamWriter>

#include <cmath>
#include <functional>

namespace formats::office::docx {

namespace {

const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString RelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString RelTypes = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");
const QString Wml = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");

// One XML part: the declaration, the root element with its namespaces, the body.
QByteArray part(const QString &root, const std::vector<std::pair<QString, QString>> &namespaces,
                const std::function<void(QXmlStreamWriter &)> &body)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(root);
    for (const auto &[prefix, uri] : namespaces)
        w.writeAttribute(prefix.isEmpty() ? QStringLiteral("xmlns") : QStringLiteral("xmlns:") + prefix, uri);
    body(w);
    w.writeEndDocument();
    return out;
}

void val(QXmlStreamWriter &w, const QString &element, const QString &value)
{
    w.writeStartElement(element);
    w.writeAttribute(QStringLiteral("w:val"), value);
    w.writeEndElement();
}

void relationship(QXmlStreamWriter &w, const QString &id, const QString &type, const QString &target)
{
    w.writeStartElement(QStringLiteral("Relationship"));
    w.writeAttribute(QStringLiteral("Id"), id);
    w.writeAttribute(QStringLiteral("Type"), type);
    w.writeAttribute(QStringLiteral("Target"), target);
    w.writeEndElement();
}

// A paragraph style based on Normal and followed by it.
void paragraphStyle(QXmlStreamWriter &w, const QString &id, const QString &name, int outline, int halfPoints,
                    bool bold, int indent = 0)
{
    w.writeStartElement(QStringLiteral("w:style"));
    w.writeAttribute(QStringLiteral("w:type"), QStringLiteral("paragraph"));
    w.writeAttribute(QStringLiteral("w:styleId"), id);
    val(w, QStringLiteral("w:name"), name);
    val(w, QStringLiteral("w:basedOn"), QStringLiteral("Normal"));
    val(w, QStringLiteral("w:next"), QStringLiteral("Normal"));
    w.writeEmptyElement(QStringLiteral("w:qFormat"));
    w.writeStartElement(QStringLiteral("w:pPr"));
    if (outline >= 0) {
        w.writeEmptyElement(QStringLiteral("w:keepNext"));
        w.writeEmptyElement(QStringLiteral("w:spacing"));
        w.writeAttribute(QStringLiteral("w:before"), QStringLiteral("240"));
        w.writeAttribute(QStringLiteral("w:after"), QStringLiteral("120"));
        val(w, QStringLiteral("w:outlineLvl"), QString::number(outline));
    }
    if (indent > 0) {
        w.writeEmptyElement(QStringLiteral("w:ind"));
        w.writeAttribute(QStringLiteral("w:left"), QString::number(indent));
    }
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("w:rPr"));
    if (bold)
        w.writeEmptyElement(QStringLiteral("w:b"));
    val(w, QStringLiteral("w:sz"), QString::number(halfPoints));
    val(w, QStringLiteral("w:szCs"), QString::number(halfPoints));
    w.writeEndElement();
    w.writeEndElement();
}

// The footer's runs are in the footer's type.
void footerSize(QXmlStreamWriter &w)
{
    w.writeStartElement(QStringLiteral("w:rPr"));
    val(w, QStringLiteral("w:sz"), QString::number(int(formats::page::FooterPt * 2)));
    w.writeEndElement();
}

void field(QXmlStreamWriter &w, const QString &instruction, const QString &shown)
{
    w.writeStartElement(QStringLiteral("w:fldSimple"));
    w.writeAttribute(QStringLiteral("w:instr"), instruction);
    w.writeStartElement(QStringLiteral("w:r"));
    footerSize(w);
    w.writeTextElement(QStringLiteral("w:t"), shown);
    w.writeEndElement();
    w.writeEndElement();
}

void textRun(QXmlStreamWriter &w, const QString &text)
{
    w.writeStartElement(QStringLiteral("w:r"));
    footerSize(w);
    w.writeStartElement(QStringLiteral("w:t"));
    w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    w.writeCharacters(text);
    w.writeEndElement();
    w.writeEndElement();
}

} // namespace

int twips(double points) { return int(std::lround(points * 20)); }

QByteArray contentTypes()
{
    return part(QStringLiteral("Types"), {{{}, QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types")}},
                [](QXmlStreamWriter &w) {
                    const auto byDefault = [&](const char *ext, const QString &type) {
                        w.writeEmptyElement(QStringLiteral("Default"));
                        w.writeAttribute(QStringLiteral("Extension"), QLatin1String(ext));
                        w.writeAttribute(QStringLiteral("ContentType"), type);
                    };
                    const auto override = [&](const char *name, const QString &type) {
                        w.writeEmptyElement(QStringLiteral("Override"));
                        w.writeAttribute(QStringLiteral("PartName"), QLatin1String(name));
                        w.writeAttribute(QStringLiteral("ContentType"), type);
                    };
                    byDefault("rels", QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
                    byDefault("xml", QStringLiteral("application/xml"));
                    for (const char *picture : {"png", "jpg", "gif"})
                        byDefault(picture, QStringLiteral("image/") + QLatin1String(picture[0] == 'j' ? "jpeg" : picture));
                    override("/word/document.xml", Wml + QStringLiteral("document.main+xml"));
                    override("/word/styles.xml", Wml + QStringLiteral("styles+xml"));
                    override("/word/settings.xml", Wml + QStringLiteral("settings+xml"));
                    override("/word/numbering.xml", Wml + QStringLiteral("numbering+xml"));
                    override("/word/footer1.xml", Wml + QStringLiteral("footer+xml"));
                    override("/docProps/core.xml", QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml"));
                });
}

QByteArray packageRels()
{
    return part(QStringLiteral("Relationships"), {{{}, QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships")}},
                [](QXmlStreamWriter &w) {
                    relationship(w, QStringLiteral("rId1"), RelTypes + QStringLiteral("officeDocument"),
                                 QStringLiteral("word/document.xml"));
                    relationship(w, QStringLiteral("rId2"),
                                 QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties"),
                                 QStringLiteral("docProps/core.xml"));
                });
}

QByteArray documentRels(const QStringList &pictures)
{
    return part(QStringLiteral("Relationships"), {{{}, QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships")}},
                [&pictures](QXmlStreamWriter &w) {
                    for (qsizetype i = 0; i < pictures.size(); ++i)
                        relationship(w, QStringLiteral("rIdPic%1").arg(i + 1), RelTypes + QStringLiteral("image"), pictures[i]);
                    relationship(w, QStringLiteral("rId1"), RelTypes + QStringLiteral("styles"), QStringLiteral("styles.xml"));
                    relationship(w, QStringLiteral("rId2"), RelTypes + QStringLiteral("settings"), QStringLiteral("settings.xml"));
                    relationship(w, QStringLiteral("rId3"), RelTypes + QStringLiteral("numbering"), QStringLiteral("numbering.xml"));
                    relationship(w, QStringLiteral("rId4"), RelTypes + QStringLiteral("footer"), QStringLiteral("footer1.xml"));
                });
}

QByteArray styles()
{
    return part(QStringLiteral("w:styles"), {{QStringLiteral("w"), W}}, [](QXmlStreamWriter &w) {
        // Arial 12 like the editor, kerned as in print, and at least two lines of a
        // paragraph on each page, as in print.
        w.writeStartElement(QStringLiteral("w:docDefaults"));
        w.writeStartElement(QStringLiteral("w:rPrDefault"));
        w.writeStartElement(QStringLiteral("w:rPr"));
        w.writeEmptyElement(QStringLiteral("w:rFonts"));
        for (const char *a : {"w:ascii", "w:hAnsi", "w:cs", "w:eastAsia"})
            w.writeAttribute(QLatin1String(a), QStringLiteral("Arial"));
        val(w, QStringLiteral("w:kern"), QStringLiteral("2"));
        val(w, QStringLiteral("w:sz"), QStringLiteral("24"));
        val(w, QStringLiteral("w:szCs"), QStringLiteral("24"));
        w.writeEndElement();
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("w:pPrDefault"));
        w.writeStartElement(QStringLiteral("w:pPr"));
        w.writeEmptyElement(QStringLiteral("w:widowControl"));
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();

        w.writeStartElement(QStringLiteral("w:style"));
        w.writeAttribute(QStringLiteral("w:type"), QStringLiteral("paragraph"));
        w.writeAttribute(QStringLiteral("w:default"), QStringLiteral("1"));
        w.writeAttribute(QStringLiteral("w:styleId"), QStringLiteral("Normal"));
        val(w, QStringLiteral("w:name"), QStringLiteral("Normal"));
        w.writeEmptyElement(QStringLiteral("w:qFormat"));
        w.writeEndElement();
        paragraphStyle(w, QStringLiteral("Title"), QStringLiteral("Title"), -1, 36, true);
        paragraphStyle(w, QStringLiteral("Heading1"), QStringLiteral("heading 1"), 0, 32, true);
        paragraphStyle(w, QStringLiteral("Heading2"), QStringLiteral("heading 2"), 1, 28, true);
        paragraphStyle(w, QStringLiteral("TOC1"), QStringLiteral("toc 1"), -1, 24, false);
        paragraphStyle(w, QStringLiteral("TOC2"), QStringLiteral("toc 2"), -1, 24, false, 600);
    });
}

QByteArray settings()
{
    return part(QStringLiteral("w:settings"), {{QStringLiteral("w"), W}}, [](QXmlStreamWriter &w) {
        // The stored contents are right for our layout; Word's own may differ, so it
        // numbers them again on opening.
        val(w, QStringLiteral("w:updateFields"), QStringLiteral("true"));
        val(w, QStringLiteral("w:defaultTabStop"), QStringLiteral("720"));
        val(w, QStringLiteral("w:characterSpacingControl"), QStringLiteral("doNotCompress"));
    });
}

QByteArray footer(const QString &name, int textWidth)
{
    return part(QStringLiteral("w:ftr"), {{QStringLiteral("w"), W}}, [&](QXmlStreamWriter &w) {
        w.writeStartElement(QStringLiteral("w:p"));
        w.writeStartElement(QStringLiteral("w:pPr"));
        if (name.isEmpty()) {
            val(w, QStringLiteral("w:jc"), QStringLiteral("right"));
        } else {
            w.writeStartElement(QStringLiteral("w:tabs"));
            w.writeEmptyElement(QStringLiteral("w:tab"));
            w.writeAttribute(QStringLiteral("w:val"), QStringLiteral("right"));
            w.writeAttribute(QStringLiteral("w:pos"), QString::number(textWidth));
            w.writeEndElement();
        }
        w.writeStartElement(QStringLiteral("w:rPr"));
        val(w, QStringLiteral("w:sz"), QString::number(int(formats::page::FooterPt * 2)));
        w.writeEndElement();
        w.writeEndElement();
        if (!name.isEmpty()) {
            textRun(w, formats::office::validXml(name));
            w.writeStartElement(QStringLiteral("w:r"));
            footerSize(w);
            w.writeEmptyElement(QStringLiteral("w:tab"));
            w.writeEndElement();
        }
        textRun(w, QStringLiteral("Page "));
        field(w, QStringLiteral(" PAGE "), QStringLiteral("1"));
        textRun(w, QStringLiteral(" of "));
        field(w, QStringLiteral(" NUMPAGES "), QStringLiteral("1"));
        w.writeEndElement();
    });
}

QByteArray coreProperties(const QString &title)
{
    return part(QStringLiteral("cp:coreProperties"),
                {{QStringLiteral("cp"), QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties")},
                 {QStringLiteral("dc"), QStringLiteral("http://purl.org/dc/elements/1.1/")},
                 {QStringLiteral("dcterms"), QStringLiteral("http://purl.org/dc/terms/")}},
                [&](QXmlStreamWriter &w) {
                    w.writeTextElement(QStringLiteral("dc:title"), formats::office::validXml(title));
                    w.writeTextElement(QStringLiteral("dc:creator"), QStringLiteral("Quorvane"));
                });
}

QByteArray numbering(const std::vector<ListDef> &lists)
{
    return part(QStringLiteral("w:numbering"), {{QStringLiteral("w"), W}}, [&](QXmlStreamWriter &w) {
        // One abstract numbering per list, so each list counts from 1.
        for (size_t i = 0; i < lists.size(); ++i) {
            const ListDef &l = lists[i];
            w.writeStartElement(QStringLiteral("w:abstractNum"));
            w.writeAttribute(QStringLiteral("w:abstractNumId"), QString::number(i));
            val(w, QStringLiteral("w:multiLevelType"), QStringLiteral("singleLevel"));
            w.writeStartElement(QStringLiteral("w:lvl"));
            w.writeAttribute(QStringLiteral("w:ilvl"), QStringLiteral("0"));
            val(w, QStringLiteral("w:start"), QStringLiteral("1"));
            val(w, QStringLiteral("w:numFmt"), l.format);
            val(w, QStringLiteral("w:lvlText"), l.format == QLatin1String("bullet") ? l.bullet : QStringLiteral("%1."));
            w.writeStartElement(QStringLiteral("w:pPr"));
            w.writeEmptyElement(QStringLiteral("w:ind"));
            // Where print puts a list's text: a step of 30 points for each level.
            w.writeAttribute(QStringLiteral("w:left"), QString::number(600 * (l.level + 1)));
            w.writeAttribute(QStringLiteral("w:hanging"), QStringLiteral("360"));
            w.writeEndElement();
            w.writeEndElement();
            w.writeEndElement();
        }
        for (size_t i = 0; i < lists.size(); ++i) {
            w.writeStartElement(QStringLiteral("w:num"));
            w.writeAttribute(QStringLiteral("w:numId"), QString::number(i + 1));
            val(w, QStringLiteral("w:abstractNumId"), QString::number(i));
            w.writeEndElement();
        }
    });
}

} // namespace formats::office::docx

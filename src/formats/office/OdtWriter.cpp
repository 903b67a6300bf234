#include "formats/office/OdtWriter.h"

#include "formats/DocumentStructure.h"
#include "formats/office/OdtParts.h"
#include "formats/office/OfficePictures.h"
#include "formats/office/XmlText.h"
#include "formats/office/Zip.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QXmlStreamWriter>

namespace formats::office::odt {

namespace {

QString fontFamily(const QTextCharFormat &cf)
{
    const QStringList families = cf.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() ? cf.stringProperty(QTextFormat::FontFamily) : families.first();
}

using Attributes = QList<std::pair<QString, QString>>;

class Content {
public:
    Content(double textWidthMm, PictureParts &pictures)
        : m_textWidthMm(textWidthMm), m_body(&m_bodyBytes), m_styles(&m_styleBytes), m_pictures(pictures)
    {
        m_fonts << QStringLiteral("Arial");
    }

    void frame(QTextFrame::iterator it, const QTextFrame::iterator &end)
    {
        for (; it != end; ++it) {
            if (QTextTable *t = qobject_cast<QTextTable *>(it.currentFrame())) {
                closeList();
                table(*t);
            } else if (it.currentBlock().isValid()) {
                paragraph(it.currentBlock());
            }
        }
        closeList();
    }

    QByteArray body()
    {
        m_body.writeEndDocument();
        return m_bodyBytes;
    }
    QByteArray automaticStyles()
    {
        m_styles.writeEndDocument();
        return m_styleBytes;
    }
    const QStringList &fonts() const { return m_fonts; }

private:
    // The name of an automatic style with these properties, written the first time.
    QString style(const QString &family, const QString &parent, const QString &element, const Attributes &props,
                  const char *prefix, bool tabStop = false, const QString &masterPage = {})
    {
        QString key = family + QLatin1Char('|') + parent + QLatin1Char('|') + (tabStop ? QStringLiteral("tab") : QString())
            + QLatin1Char('|') + masterPage;
        for (const auto &[k, v] : props)
            key += QLatin1Char('|') + k + QLatin1Char('=') + v;
        if (const auto it = m_styleNames.constFind(key); it != m_styleNames.cend())
            return *it;
        const QString name = QLatin1String(prefix) + QString::number(m_styleNames.size() + 1);
        m_styleNames.insert(key, name);
        m_styles.writeStartElement(QStringLiteral("style:style"));
        m_styles.writeAttribute(QStringLiteral("style:name"), name);
        m_styles.writeAttribute(QStringLiteral("style:family"), family);
        if (!parent.isEmpty())
            m_styles.writeAttribute(QStringLiteral("style:parent-style-name"), parent);
        if (!masterPage.isEmpty())
            m_styles.writeAttribute(QStringLiteral("style:master-page-name"), masterPage);
        m_styles.writeStartElement(element);
        for (const auto &[k, v] : props)
            m_styles.writeAttribute(k, v);
        if (tabStop) {
            // The page numbers at the right margin, dots leading to them.
            m_styles.writeStartElement(QStringLiteral("style:tab-stops"));
            m_styles.writeEmptyElement(QStringLiteral("style:tab-stop"));
            m_styles.writeAttribute(QStringLiteral("style:position"), QString::number(m_textWidthMm, 'f', 1) + QStringLiteral("mm"));
            m_styles.writeAttribute(QStringLiteral("style:type"), QStringLiteral("right"));
            m_styles.writeAttribute(QStringLiteral("style:leader-style"), QStringLiteral("dotted"));
            m_styles.writeAttribute(QStringLiteral("style:leader-text"), QStringLiteral("."));
            m_styles.writeEndElement();
        }
        m_styles.writeEndElement();
        m_styles.writeEndElement();
        return name;
    }

    void paragraph(const QTextBlock &b)
    {
        const QTextBlockFormat bf = b.blockFormat();
        const int contents = formats::contentsLevel(bf);
        const int heading = std::min(bf.headingLevel(), 2);
        QString parent = QStringLiteral("Standard");
        if (formats::isTitle(bf))
            parent = QStringLiteral("Title");
        else if (heading > 0)
            parent = QStringLiteral("Heading_20_%1").arg(heading);
        else if (contents > 0)
            parent = QStringLiteral("Contents_20_%1").arg(std::min(contents, 2));
        Attributes props;
        const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            props.append({QStringLiteral("fo:text-align"), QStringLiteral("center")});
        else if (align & Qt::AlignJustify)
            props.append({QStringLiteral("fo:text-align"), QStringLiteral("justify")});
        else if (align & (Qt::AlignRight | Qt::AlignTrailing))
            props.append({QStringLiteral("fo:text-align"), QStringLiteral("end")});
        if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            props.append({QStringLiteral("fo:break-before"), QStringLiteral("page")});
        if (contents > 0 && bf.indent() == 0 && contents == 2)
            props.append({QStringLiteral("fo:margin-left"), QStringLiteral("4mm")});
        const QString name =
            style(QStringLiteral("paragraph"), parent, QStringLiteral("style:paragraph-properties"), props, "P", contents > 0,
                  // A cover page (the document opens with its title) has no footer, as in print.
                  b.position() == 0 && formats::isTitle(bf) ? QStringLiteral("Cover") : QString());

        QTextList *list = b.textList();
        if (list != m_openList) {
            closeList();
            if (list) {
                m_body.writeStartElement(QStringLiteral("text:list"));
                m_body.writeAttribute(QStringLiteral("text:style-name"), listStyle(*list));
                m_openList = list;
            }
        }
        if (list)
            m_body.writeStartElement(QStringLiteral("text:list-item"));
        if (heading > 0) {
            m_body.writeStartElement(QStringLiteral("text:h"));
            m_body.writeAttribute(QStringLiteral("text:style-name"), name);
            m_body.writeAttribute(QStringLiteral("text:outline-level"), QString::number(heading));
        } else {
            m_body.writeStartElement(QStringLiteral("text:p"));
            m_body.writeAttribute(QStringLiteral("text:style-name"), name);
        }
        m_lastWasSpace = true; // spaces at the start of a paragraph must be kept as text:s
        for (auto it = b.begin(); !it.atEnd(); ++it)
            span(it.fragment());
        m_body.writeEndElement();
        if (list)
            m_body.writeEndElement();
    }

    void closeList()
    {
        if (m_openList)
            m_body.writeEndElement();
        m_openList = nullptr;
    }

    QString listStyle(const QTextList &list)
    {
        if (const auto it = m_listNames.constFind(&list); it != m_listNames.cend())
            return *it;
        const QString name = QStringLiteral("L") + QString::number(m_listNames.size() + 1);
        m_listNames.insert(&list, name);
        const QTextListFormat::Style s = list.format().style();
        const bool bullet = s == QTextListFormat::ListDisc || s == QTextListFormat::ListCircle || s == QTextListFormat::ListSquare;
        m_styles.writeStartElement(QStringLiteral("text:list-style"));
        m_styles.writeAttribute(QStringLiteral("style:name"), name);
        m_styles.writeStartElement(bullet ? QStringLiteral("text:list-level-style-bullet") : QStringLiteral("text:list-level-style-number"));
        m_styles.writeAttribute(QStringLiteral("text:level"), QStringLiteral("1"));
        if (bullet) {
            m_styles.writeAttribute(QStringLiteral("text:bullet-char"), s == QTextListFormat::ListCircle ? QStringLiteral("\u25E6")
                                                                        : s == QTextListFormat::ListSquare ? QStringLiteral("\u25AA")
                                                                                                           : QStringLiteral("\u2022"));
        } else {
            const char *format = s == QTextListFormat::ListLowerAlpha   ? "a"
                                 : s == QTextListFormat::ListUpperAlpha ? "A"
                                 : s == QTextListFormat::ListLowerRoman ? "i"
                                 : s == QTextListFormat::ListUpperRoman ? "I"
                                                                        : "1";
            m_styles.writeAttribute(QStringLiteral("style:num-format"), QLatin1String(format));
            m_styles.writeAttribute(QStringLiteral("style:num-suffix"), QStringLiteral("."));
        }
        m_styles.writeStartElement(QStringLiteral("style:list-level-properties"));
        m_styles.writeAttribute(QStringLiteral("text:list-level-position-and-space-mode"), QStringLiteral("label-alignment"));
        m_styles.writeEmptyElement(QStringLiteral("style:list-level-label-alignment"));
        m_styles.writeAttribute(QStringLiteral("text:label-followed-by"), QStringLiteral("listtab"));
        m_styles.writeAttribute(QStringLiteral("fo:text-indent"), QStringLiteral("-6mm"));
        m_styles.writeAttribute(QStringLiteral("fo:margin-left"), QString::number(12 * std::max(list.format().indent(), 1)) + QStringLiteral("mm"));
        m_styles.writeEndElement();
        m_styles.writeEndElement();
        m_styles.writeEndElement();
        return name;
    }

    QString textStyle(const QTextCharFormat &cf)
    {
        Attributes props;
        if (const QString family = fontFamily(cf); !family.isEmpty()) {
            if (!m_fonts.contains(family))
                m_fonts << family;
            props.append({QStringLiteral("style:font-name"), family});
        }
        if (cf.hasProperty(QTextFormat::FontPointSize) && cf.fontPointSize() > 0)
            props.append({QStringLiteral("fo:font-size"), QString::number(cf.fontPointSize()) + QStringLiteral("pt")});
        if (cf.hasProperty(QTextFormat::FontWeight))
            props.append({QStringLiteral("fo:font-weight"), cf.fontWeight() > QFont::Normal ? QStringLiteral("bold") : QStringLiteral("normal")});
        if (cf.hasProperty(QTextFormat::FontItalic))
            props.append({QStringLiteral("fo:font-style"), cf.fontItalic() ? QStringLiteral("italic") : QStringLiteral("normal")});
        if (cf.fontUnderline()) {
            props.append({QStringLiteral("style:text-underline-style"), QStringLiteral("solid")});
            props.append({QStringLiteral("style:text-underline-width"), QStringLiteral("auto")});
            props.append({QStringLiteral("style:text-underline-color"), QStringLiteral("font-color")});
        }
        if (cf.fontStrikeOut())
            props.append({QStringLiteral("style:text-line-through-style"), QStringLiteral("solid")});
        if (cf.hasProperty(QTextFormat::ForegroundBrush) && cf.foreground().style() != Qt::NoBrush)
            props.append({QStringLiteral("fo:color"), cf.foreground().color().name(QColor::HexRgb)});
        if (cf.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            props.append({QStringLiteral("style:text-position"), QStringLiteral("super 58%")});
        else if (cf.verticalAlignment() == QTextCharFormat::AlignSubScript)
            props.append({QStringLiteral("style:text-position"), QStringLiteral("sub 58%")});
        return props.isEmpty() ? QString() : style(QStringLiteral("text"), {}, QStringLiteral("style:text-properties"), props, "T");
    }

    void span(const QTextFragment &f)
    {
        if (f.charFormat().isImageFormat()) {
            const PictureParts::Added added = m_pictures.add(f.charFormat().toImageFormat(), {"png", "jpeg", "gif", "svg"});
            for (int i = 0; i < f.length(); ++i)
                writeFrame(m_body, added.picture, added.entry, ++m_frames);
            m_lastWasSpace = false;
            return;
        }
        const QString text = formats::office::validXml(f.text());
        const QString name = textStyle(f.charFormat());
        if (!name.isEmpty()) {
            m_body.writeStartElement(QStringLiteral("text:span"));
            m_body.writeAttribute(QStringLiteral("text:style-name"), name);
        }
        // Spaces collapse in OpenDocument as in HTML: every one after the first, or at
        // the start, is a text:s.
        qsizetype from = 0;
        int spaces = 0;
        const auto flush = [&](qsizetype to) {
            if (to > from)
                m_body.writeCharacters(text.mid(from, to - from));
            from = to + 1;
        };
        const auto flushSpaces = [&] {
            if (spaces > 0) {
                m_body.writeEmptyElement(QStringLiteral("text:s"));
                if (spaces > 1)
                    m_body.writeAttribute(QStringLiteral("text:c"), QString::number(spaces));
            }
            spaces = 0;
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char(' ') && m_lastWasSpace) {
                flush(i);
                ++spaces;
                continue;
            }
            flushSpaces();
            m_lastWasSpace = c == QLatin1Char(' ');
            if (c == QLatin1Char('\t')) {
                flush(i);
                m_body.writeEmptyElement(QStringLiteral("text:tab"));
                m_lastWasSpace = true;
            } else if (isLineSeparator(c.unicode()) || isLineEnd(c.unicode())) {
                flush(i);
                m_body.writeEmptyElement(QStringLiteral("text:line-break"));
                m_lastWasSpace = true;
            } else if (isMarker(c.unicode())) {
                flush(i); // an image or a frame mark: nothing to show as text
            }
        }
        flush(text.size());
        flushSpaces();
        if (!name.isEmpty())
            m_body.writeEndElement();
    }

    void table(QTextTable &t)
    {
        const int columns = t.columns();
        Attributes props{{QStringLiteral("style:width"), QString::number(m_textWidthMm, 'f', 1) + QStringLiteral("mm")},
                         {QStringLiteral("table:align"), QStringLiteral("margins")}};
        if (t.format().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            props.append({QStringLiteral("fo:break-before"), QStringLiteral("page")});
        const QString tableStyle = style(QStringLiteral("table"), {}, QStringLiteral("style:table-properties"), props, "Tbl");
        const QString cellStyle = style(QStringLiteral("table-cell"), {}, QStringLiteral("style:table-cell-properties"),
                                        {{QStringLiteral("fo:border"), QStringLiteral("0.5pt solid #000000")},
                                         {QStringLiteral("fo:padding"), QStringLiteral("1mm")}},
                                        "Cell");
        m_body.writeStartElement(QStringLiteral("table:table"));
        m_body.writeAttribute(QStringLiteral("table:name"), QStringLiteral("Table%1").arg(++m_tables));
        m_body.writeAttribute(QStringLiteral("table:style-name"), tableStyle);
        m_body.writeEmptyElement(QStringLiteral("table:table-column"));
        m_body.writeAttribute(QStringLiteral("table:number-columns-repeated"), QString::number(columns));
        for (int r = 0; r < t.rows(); ++r) {
            m_body.writeStartElement(QStringLiteral("table:table-row"));
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = t.cellAt(r, c);
                if (cell.row() != r || cell.column() != c) {
                    m_body.writeEmptyElement(QStringLiteral("table:covered-table-cell"));
                    continue;
                }
                m_body.writeStartElement(QStringLiteral("table:table-cell"));
                m_body.writeAttribute(QStringLiteral("table:style-name"), cellStyle);
                m_body.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
                if (cell.columnSpan() > 1)
                    m_body.writeAttribute(QStringLiteral("table:number-columns-spanned"), QString::number(cell.columnSpan()));
                if (cell.rowSpan() > 1)
                    m_body.writeAttribute(QStringLiteral("table:number-rows-spanned"), QString::number(cell.rowSpan()));
                QTextList *outer = m_openList;
                m_openList = nullptr;
                frame(cell.begin(), cell.end());
                m_openList = outer;
                m_body.writeEndElement();
            }
            m_body.writeEndElement();
        }
        m_body.writeEndElement();
    }

    double m_textWidthMm;
    QByteArray m_bodyBytes, m_styleBytes;
    QXmlStreamWriter m_body, m_styles;
    QHash<QString, QString> m_styleNames;
    QHash<const QTextList *, QString> m_listNames;
    QStringList m_fonts;
    QTextList *m_openList = nullptr;
    bool m_lastWasSpace = true;
    int m_tables = 0;
    PictureParts &m_pictures;
    int m_frames = 0;
};

} // namespace

QByteArray write(const QTextDocument &doc, const QString &title)
{
    const double textWidth = formats::office::pageSize().size(QPageSize::Millimeter).width() - 2 * formats::office::MarginMm;
    PictureParts pictures(doc, QStringLiteral("Pictures/"));
    Content content(textWidth, pictures);
    content.frame(doc.rootFrame()->begin(), doc.rootFrame()->end());
    const QByteArray body = content.body();
    const QByteArray automatic = content.automaticStyles();
    const QByteArray xml =
        document("office:document-content", fontFaces(content.fonts()) + "<office:automatic-styles>" + automatic +
                                                "</office:automatic-styles><office:body><office:text>" + body +
                                                "</office:text></office:body>");
    std::vector<std::pair<QString, QString>> inManifest;
    for (const PicturePart &p : pictures.parts())
        inManifest.push_back({p.name, p.mimeType});
    std::vector<formats::office::zip::Entry> entries = {
        {QStringLiteral("mimetype"), QByteArrayLiteral("application/vnd.oasis.opendocument.text"), true},
        {QStringLiteral("content.xml"), xml},
        {QStringLiteral("styles.xml"), styles(content.fonts())},
        {QStringLiteral("meta.xml"), meta(title)},
        {QStringLiteral("META-INF/manifest.xml"), manifest(inManifest)},
    };
    for (const PicturePart &p : pictures.parts())
        entries.push_back({p.name, p.bytes});
    return formats::office::zip::write(entries);
}

} // namespace formats::office::odt

#include "formats/office/OdtWriter.h"

#include "formats/DocumentStructure.h"
#include "formats/PageSetup.h"
#include "formats/office/OdtParts.h"
#include "formats/office/OdtStyles.h"
#include "formats/office/OfficeLayout.h"
#include "formats/office/OfficePictures.h"
#include "formats/office/XmlText.h"
#include "formats/office/Zip.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QXmlStreamWriter>

namespace formats::office::odt {

namespace {

class Content {
public:
    Content(const QTextDocument &doc, double textWidthPt, PictureParts &pictures)
        : m_doc(doc), m_textWidthPt(textWidthPt), m_body(&m_bodyBytes), m_pictures(pictures)
    {
    }

    void frame(QTextFrame::iterator it, const QTextFrame::iterator &end)
    {
        for (; it != end; ++it) {
            if (QTextTable *t = qobject_cast<QTextTable *>(it.currentFrame())) {
                m_afterHeading = false;
                closeList();
                closeContents();
                table(*t);
            } else if (it.currentBlock().isValid() && !takesNoRoom(it, end)) {
                paragraph(it.currentBlock(), spaceAfter(it, end));
            }
        }
        closeList();
        closeContents();
    }

    QByteArray body()
    {
        m_body.writeEndDocument();
        return m_bodyBytes;
    }
    AutomaticStyles &styles() { return m_styles; }

private:
    void paragraph(const QTextBlock &b, double afterPt)
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
        // Spacing and indents as in print.
        props.append({QStringLiteral("fo:margin-top"), QStringLiteral("0pt")});
        props.append({QStringLiteral("fo:margin-bottom"), pt(afterPt)});
        if (!b.textList()) {
            const Indents ind = indents(bf, m_doc);
            props.append({QStringLiteral("fo:margin-left"), pt(ind.leftPt)});
            props.append({QStringLiteral("fo:margin-right"), pt(ind.rightPt)});
            props.append({QStringLiteral("fo:text-indent"), pt(ind.firstPt)});
        }
        // A heading stays on the page of the paragraph after it, which is kept whole.
        if (bf.headingLevel() > 0)
            props.append({QStringLiteral("fo:keep-with-next"), QStringLiteral("always")});
        else if (m_afterHeading)
            props.append({QStringLiteral("fo:keep-together"), QStringLiteral("always")});
        m_afterHeading = bf.headingLevel() > 0;
        // An empty paragraph is as tall as its own mark's type.
        Attributes markProps;
        if (const QTextCharFormat mark = b.charFormat(); mark.fontPointSize() > 0 && b.length() <= 1)
            markProps.append({QStringLiteral("fo:font-size"), QString::number(mark.fontPointSize()) + QStringLiteral("pt")});
        const QString name =
            m_styles.style(QStringLiteral("paragraph"), parent, QStringLiteral("style:paragraph-properties"), props, "P", tabStops(bf),
                  // A cover page (the document opens with its title) has no footer, as in print.
                  b.position() == 0 && formats::isTitle(bf) ? QStringLiteral("Cover") : QString(), markProps);
        if (contents > 0)
            openContents();
        else
            closeContents();

        QTextList *list = b.textList();
        if (list != m_openList) {
            closeList();
            if (list) {
                m_body.writeStartElement(QStringLiteral("text:list"));
                m_body.writeAttribute(QStringLiteral("text:style-name"), m_styles.listStyle(*list, points(m_doc.indentWidth())));
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

    // The contents lines are the body of a table of contents of headings 1 and 2, which
    // the word processor can update: the entry, dots to a right tab, the page.
    void openContents()
    {
        if (m_inContents)
            return;
        closeList();
        m_inContents = true;
        m_body.writeStartElement(QStringLiteral("text:table-of-content"));
        m_body.writeAttribute(QStringLiteral("text:protected"), QStringLiteral("true"));
        m_body.writeAttribute(QStringLiteral("text:name"), QStringLiteral("Table of Contents%1").arg(++m_indexes));
        m_body.writeStartElement(QStringLiteral("text:table-of-content-source"));
        m_body.writeAttribute(QStringLiteral("text:outline-level"), QStringLiteral("2"));
        m_body.writeAttribute(QStringLiteral("text:use-index-marks"), QStringLiteral("false"));
        for (int level = 1; level <= 2; ++level) {
            m_body.writeStartElement(QStringLiteral("text:table-of-content-entry-template"));
            m_body.writeAttribute(QStringLiteral("text:outline-level"), QString::number(level));
            m_body.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Contents_20_%1").arg(level));
            m_body.writeEmptyElement(QStringLiteral("text:index-entry-text"));
            m_body.writeEmptyElement(QStringLiteral("text:index-entry-tab-stop"));
            m_body.writeAttribute(QStringLiteral("style:type"), QStringLiteral("right"));
            m_body.writeAttribute(QStringLiteral("style:leader-char"), QStringLiteral("."));
            m_body.writeEmptyElement(QStringLiteral("text:index-entry-page-number"));
            m_body.writeEndElement();
        }
        m_body.writeEndElement();
        m_body.writeStartElement(QStringLiteral("text:index-body"));
    }

    void closeContents()
    {
        if (!m_inContents)
            return;
        m_inContents = false;
        m_body.writeEndElement();
        m_body.writeEndElement();
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
        const QString name = m_styles.textStyle(f.charFormat());
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
        const QTextTableFormat format = t.format();
        const QTextLength width = format.width();
        const double tableWidth = width.type() == QTextLength::PercentageLength ? m_textWidthPt * width.rawValue() / 100
                                  : width.type() == QTextLength::FixedLength   ? points(width.rawValue())
                                                                               : m_textWidthPt;
        // The table's own borders and padding, so that it is as tall as in print, where a
        // border round the whole table comes on top of the cells' own.
        const bool bordered = format.border() > 0 && format.borderStyle() != QTextFrameFormat::BorderStyle_None;
        const QString outer = pt(bordered ? points(format.border()) : 0);
        Attributes props{{QStringLiteral("style:width"), pt(tableWidth)},
                         {QStringLiteral("table:align"), QStringLiteral("left")},
                         {QStringLiteral("fo:margin-top"), outer},
                         {QStringLiteral("fo:margin-bottom"), outer}};
        if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            props.append({QStringLiteral("fo:break-before"), QStringLiteral("page")});
        const QString tableStyle = m_styles.style(QStringLiteral("table"), {}, QStringLiteral("style:table-properties"), props, "Tbl");
        const QColor colour = format.borderBrush().style() == Qt::NoBrush ? QColor(Qt::black) : format.borderBrush().color();
        const QString cellStyle = m_styles.style(
            QStringLiteral("table-cell"), {}, QStringLiteral("style:table-cell-properties"),
            {{QStringLiteral("fo:border"), bordered ? pt(points(format.border())) + QStringLiteral(" solid ") + colour.name()
                                                    : QStringLiteral("none")},
             {QStringLiteral("fo:padding"), pt(points(format.cellPadding()))}},
            "Cell");
        m_body.writeStartElement(QStringLiteral("table:table"));
        m_body.writeAttribute(QStringLiteral("table:name"), QStringLiteral("Table%1").arg(++m_tables));
        m_body.writeAttribute(QStringLiteral("table:style-name"), tableStyle);
        for (const double share : columnShares(t)) {
            m_body.writeEmptyElement(QStringLiteral("table:table-column"));
            m_body.writeAttribute(QStringLiteral("table:style-name"),
                                  m_styles.style(QStringLiteral("table-column"), {}, QStringLiteral("style:table-column-properties"),
                                        {{QStringLiteral("style:column-width"), pt(tableWidth * share)}}, "Col"));
        }
        // Header rows repeat on every page the table runs onto, as in print.
        const int headerRows = std::clamp(format.headerRowCount(), 0, t.rows());
        for (int r = 0; r < t.rows(); ++r) {
            if (r == 0 && headerRows > 0)
                m_body.writeStartElement(QStringLiteral("table:table-header-rows"));
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
            if (r + 1 == headerRows)
                m_body.writeEndElement();
        }
        m_body.writeEndElement();
    }

    const QTextDocument &m_doc;
    double m_textWidthPt;
    QByteArray m_bodyBytes;
    QXmlStreamWriter m_body;
    AutomaticStyles m_styles;
    QTextList *m_openList = nullptr;
    bool m_lastWasSpace = true;
    bool m_inContents = false;
    bool m_afterHeading = false;
    int m_tables = 0;
    int m_indexes = 0;
    PictureParts &m_pictures;
    int m_frames = 0;
};

} // namespace

QByteArray write(const QTextDocument &doc, const QString &title, const QPageSize &page)
{
    PictureParts pictures(doc, QStringLiteral("Pictures/"));
    Content content(doc, formats::page::textArea(page).width(), pictures);
    content.frame(doc.rootFrame()->begin(), doc.rootFrame()->end());
    const QByteArray body = content.body();
    const QByteArray automatic = content.styles().take();
    const QStringList &fonts = content.styles().fonts();
    const QByteArray xml =
        document("office:document-content", fontFaces(fonts) + "<office:automatic-styles>" + automatic +
                                                "</office:automatic-styles><office:body><office:text>" + body +
                                                "</office:text></office:body>");
    std::vector<std::pair<QString, QString>> inManifest;
    for (const PicturePart &p : pictures.parts())
        inManifest.push_back({p.name, p.mimeType});
    std::vector<formats::office::zip::Entry> entries = {
        {QStringLiteral("mimetype"), QByteArrayLiteral("application/vnd.oasis.opendocument.text"), true},
        {QStringLiteral("content.xml"), xml},
        // A document with a title names it in the footer, as in print.
        {QStringLiteral("styles.xml"),
         styles(fonts, page, formats::isTitle(doc.begin().blockFormat()) ? title : QString())},
        {QStringLiteral("meta.xml"), meta(title)},
        {QStringLiteral("META-INF/manifest.xml"), manifest(inManifest)},
    };
    for (const PicturePart &p : pictures.parts())
        entries.push_back({p.name, p.bytes});
    return formats::office::zip::write(entries);
}

} // namespace formats::office::odt

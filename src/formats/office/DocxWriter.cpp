#include "formats/office/DocxWriter.h"

#include "formats/DocumentStructure.h"
#include "formats/PageSetup.h"
#include "formats/office/DocxParts.h"
#include "formats/office/OfficeLayout.h"
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

namespace formats::office::docx {

namespace {

void val(QXmlStreamWriter &w, const QString &element, const QString &value)
{
    w.writeEmptyElement(element);
    w.writeAttribute(QStringLiteral("w:val"), value);
}

QString colourHex(const QColor &c) { return c.name(QColor::HexRgb).mid(1).toUpper(); }

QString fontFamily(const QTextCharFormat &cf)
{
    const QStringList families = cf.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() ? cf.stringProperty(QTextFormat::FontFamily) : families.first();
}

QString listFormat(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal: return QStringLiteral("decimal");
    case QTextListFormat::ListLowerAlpha: return QStringLiteral("lowerLetter");
    case QTextListFormat::ListUpperAlpha: return QStringLiteral("upperLetter");
    case QTextListFormat::ListLowerRoman: return QStringLiteral("lowerRoman");
    case QTextListFormat::ListUpperRoman: return QStringLiteral("upperRoman");
    default: return QStringLiteral("bullet");
    }
}

QString bullet(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle: return QStringLiteral("\u25E6");
    case QTextListFormat::ListSquare: return QStringLiteral("\u25AA");
    default: return QStringLiteral("\u2022");
    }
}

class Body {
public:
    Body(QXmlStreamWriter &w, const QTextDocument &doc, int textWidth, PictureParts &pictures)
        : m_w(w), m_doc(doc), m_textWidth(textWidth), m_pictures(pictures)
    {
    }

    // The blocks and tables between two positions of a frame; false when the last was a
    // table (a table cell must end with a paragraph).
    bool frame(QTextFrame::iterator it, const QTextFrame::iterator &end, bool breakBefore = false)
    {
        bool endsInParagraph = true;
        for (; it != end; ++it) {
            if (QTextTable *t = qobject_cast<QTextTable *>(it.currentFrame())) {
                m_afterHeading = false;
                table(*t);
                endsInParagraph = false;
            } else if (it.currentBlock().isValid() && !takesNoRoom(it, end)) {
                paragraph(it.currentBlock(), breakBefore, spaceAfter(it, end));
                endsInParagraph = true;
            }
            breakBefore = false;
        }
        return endsInParagraph;
    }

    std::vector<ListDef> lists;

private:
    void paragraph(const QTextBlock &b, bool breakBefore, double afterPt)
    {
        const QTextBlockFormat bf = b.blockFormat();
        const int contents = formats::contentsLevel(bf);
        m_w.writeStartElement(QStringLiteral("w:p"));
        m_w.writeStartElement(QStringLiteral("w:pPr"));
        QString style;
        if (formats::isTitle(bf))
            style = QStringLiteral("Title");
        else if (bf.headingLevel() == 1)
            style = QStringLiteral("Heading1");
        else if (bf.headingLevel() >= 2)
            style = QStringLiteral("Heading2");
        else if (contents > 0)
            style = contents == 1 ? QStringLiteral("TOC1") : QStringLiteral("TOC2");
        if (!style.isEmpty())
            val(m_w, QStringLiteral("w:pStyle"), style);
        // A heading stays on the page of the paragraph after it, which is kept whole, as in
        // print.
        if (bf.headingLevel() > 0)
            m_w.writeEmptyElement(QStringLiteral("w:keepNext"));
        else if (m_afterHeading)
            m_w.writeEmptyElement(QStringLiteral("w:keepLines"));
        m_afterHeading = bf.headingLevel() > 0;
        if (breakBefore || (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
            m_w.writeEmptyElement(QStringLiteral("w:pageBreakBefore"));
        if (QTextList *list = b.textList()) {
            m_w.writeStartElement(QStringLiteral("w:numPr"));
            val(m_w, QStringLiteral("w:ilvl"), QStringLiteral("0"));
            val(m_w, QStringLiteral("w:numId"), QString::number(listId(list)));
            m_w.writeEndElement();
        }
        paragraphLayout(bf, afterPt, b.textList() != nullptr);
        const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            val(m_w, QStringLiteral("w:jc"), QStringLiteral("center"));
        else if (align & Qt::AlignJustify)
            val(m_w, QStringLiteral("w:jc"), QStringLiteral("both"));
        else if (align & (Qt::AlignRight | Qt::AlignTrailing))
            val(m_w, QStringLiteral("w:jc"), QStringLiteral("right"));
        // An empty paragraph is as tall as its own mark's type.
        if (const QTextCharFormat mark = b.charFormat(); mark.fontPointSize() > 0 && b.length() <= 1) {
            m_w.writeStartElement(QStringLiteral("w:rPr"));
            fontSize(mark.fontPointSize());
            m_w.writeEndElement();
        }
        m_w.writeEndElement();

        // The contents are one TOC field: Word shows the stored lines and can update them.
        if (contents > 0 && !m_inContents) {
            m_inContents = true;
            fieldChar(QStringLiteral("begin"));
            m_w.writeStartElement(QStringLiteral("w:r"));
            m_w.writeStartElement(QStringLiteral("w:instrText"));
            m_w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            m_w.writeCharacters(QStringLiteral(" TOC \\o \"1-2\" \\h \\z \\u "));
            m_w.writeEndElement();
            m_w.writeEndElement();
            fieldChar(QStringLiteral("separate"));
        }
        for (auto it = b.begin(); !it.atEnd(); ++it)
            run(it.fragment());
        if (m_inContents && !(b.next().isValid() && formats::contentsLevel(b.next().blockFormat()) > 0)) {
            m_inContents = false;
            fieldChar(QStringLiteral("end"));
        }
        m_w.writeEndElement();
    }

    // Tab stops (Word counts them from the margin), spacing and indents. A list item's
    // indent is its list's.
    void paragraphLayout(const QTextBlockFormat &bf, double afterPt, bool listItem)
    {
        const Indents ind = indents(bf, m_doc);
        if (const QList<TabStop> stops = tabStops(bf); !stops.isEmpty()) {
            m_w.writeStartElement(QStringLiteral("w:tabs"));
            for (const TabStop &t : stops) {
                m_w.writeEmptyElement(QStringLiteral("w:tab"));
                m_w.writeAttribute(QStringLiteral("w:val"), t.type == QTextOption::RightTab    ? QStringLiteral("right")
                                                            : t.type == QTextOption::CenterTab ? QStringLiteral("center")
                                                            : t.type == QTextOption::DelimiterTab ? QStringLiteral("decimal")
                                                                                                  : QStringLiteral("left"));
                if (t.leader != QLatin1Char(' '))
                    m_w.writeAttribute(QStringLiteral("w:leader"), t.leader == QLatin1Char('-')   ? QStringLiteral("hyphen")
                                                                   : t.leader == QLatin1Char('_') ? QStringLiteral("underscore")
                                                                                                  : QStringLiteral("dot"));
                m_w.writeAttribute(QStringLiteral("w:pos"), QString::number(twips(ind.leftPt + t.positionPt)));
            }
            m_w.writeEndElement();
        }
        m_w.writeEmptyElement(QStringLiteral("w:spacing"));
        m_w.writeAttribute(QStringLiteral("w:before"), QStringLiteral("0"));
        m_w.writeAttribute(QStringLiteral("w:after"), QString::number(twips(afterPt)));
        if (!listItem && (ind.leftPt != 0 || ind.rightPt != 0 || ind.firstPt != 0)) {
            m_w.writeEmptyElement(QStringLiteral("w:ind"));
            m_w.writeAttribute(QStringLiteral("w:left"), QString::number(twips(ind.leftPt)));
            m_w.writeAttribute(QStringLiteral("w:right"), QString::number(twips(ind.rightPt)));
            if (ind.firstPt < 0)
                m_w.writeAttribute(QStringLiteral("w:hanging"), QString::number(twips(-ind.firstPt)));
            else
                m_w.writeAttribute(QStringLiteral("w:firstLine"), QString::number(twips(ind.firstPt)));
        }
    }

    void fontSize(double pointSize)
    {
        const QString half = QString::number(qRound(pointSize * 2));
        val(m_w, QStringLiteral("w:sz"), half);
        val(m_w, QStringLiteral("w:szCs"), half);
    }

    void fieldChar(const QString &type)
    {
        m_w.writeStartElement(QStringLiteral("w:r"));
        m_w.writeEmptyElement(QStringLiteral("w:fldChar"));
        m_w.writeAttribute(QStringLiteral("w:fldCharType"), type);
        m_w.writeEndElement();
    }

    void run(const QTextFragment &f)
    {
        if (f.charFormat().isImageFormat()) {
            const PictureParts::Added added = m_pictures.add(f.charFormat().toImageFormat(), {"png", "jpeg", "gif"});
            for (int i = 0; i < f.length(); ++i)
                writeDrawing(m_w, added.picture, QStringLiteral("rIdPic%1").arg(added.number), ++m_drawings);
            return;
        }
        const QString text = formats::office::validXml(f.text());
        const QTextCharFormat cf = f.charFormat();
        m_w.writeStartElement(QStringLiteral("w:r"));
        m_w.writeStartElement(QStringLiteral("w:rPr"));
        if (const QString family = fontFamily(cf); !family.isEmpty()) {
            m_w.writeEmptyElement(QStringLiteral("w:rFonts"));
            for (const char *a : {"w:ascii", "w:hAnsi", "w:cs"})
                m_w.writeAttribute(QLatin1String(a), family);
        }
        if (cf.hasProperty(QTextFormat::FontWeight))
            val(m_w, QStringLiteral("w:b"), cf.fontWeight() > QFont::Normal ? QStringLiteral("1") : QStringLiteral("0"));
        if (cf.hasProperty(QTextFormat::FontItalic))
            val(m_w, QStringLiteral("w:i"), cf.fontItalic() ? QStringLiteral("1") : QStringLiteral("0"));
        if (cf.fontStrikeOut())
            m_w.writeEmptyElement(QStringLiteral("w:strike"));
        if (cf.hasProperty(QTextFormat::ForegroundBrush) && cf.foreground().style() != Qt::NoBrush)
            val(m_w, QStringLiteral("w:color"), colourHex(cf.foreground().color()));
        if (cf.hasProperty(QTextFormat::FontPointSize) && cf.fontPointSize() > 0)
            fontSize(cf.fontPointSize());
        if (cf.fontUnderline())
            val(m_w, QStringLiteral("w:u"), QStringLiteral("single"));
        if (cf.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            val(m_w, QStringLiteral("w:vertAlign"), QStringLiteral("superscript"));
        else if (cf.verticalAlignment() == QTextCharFormat::AlignSubScript)
            val(m_w, QStringLiteral("w:vertAlign"), QStringLiteral("subscript"));
        m_w.writeEndElement();

        qsizetype from = 0;
        const auto flush = [&](qsizetype to) {
            if (to > from) {
                m_w.writeStartElement(QStringLiteral("w:t"));
                m_w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
                m_w.writeCharacters(text.mid(from, to - from));
                m_w.writeEndElement();
            }
            from = to + 1;
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('\t')) {
                flush(i);
                m_w.writeEmptyElement(QStringLiteral("w:tab"));
            } else if (isLineSeparator(c.unicode()) || isLineEnd(c.unicode())) {
                flush(i);
                m_w.writeEmptyElement(QStringLiteral("w:br"));
            } else if (isMarker(c.unicode())) {
                flush(i); // an image or a frame mark: nothing Word shows as text
            }
        }
        flush(text.size());
        m_w.writeEndElement();
    }

    void table(QTextTable &t)
    {
        const int columns = t.columns();
        const QTextTableFormat format = t.format();
        const QTextLength width = format.width();
        const int tableWidth = width.type() == QTextLength::PercentageLength ? int(m_textWidth * width.rawValue() / 100)
                               : width.type() == QTextLength::FixedLength   ? twips(points(width.rawValue()))
                                                                            : m_textWidth;
        QList<int> gridWidths;
        for (const double share : columnShares(t))
            gridWidths.push_back(int(tableWidth * share));
        m_w.writeStartElement(QStringLiteral("w:tbl"));
        m_w.writeStartElement(QStringLiteral("w:tblPr"));
        m_w.writeEmptyElement(QStringLiteral("w:tblW"));
        m_w.writeAttribute(QStringLiteral("w:w"), QString::number(tableWidth));
        m_w.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
        // The table's own borders and padding, so its rows are as tall as in print.
        const bool bordered = format.border() > 0 && format.borderStyle() != QTextFrameFormat::BorderStyle_None;
        const QString colour = format.borderBrush().style() == Qt::NoBrush ? QStringLiteral("000000")
                                                                           : colourHex(format.borderBrush().color());
        m_w.writeStartElement(QStringLiteral("w:tblBorders"));
        for (const char *side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
            m_w.writeEmptyElement(QLatin1String(side));
            m_w.writeAttribute(QStringLiteral("w:val"), bordered ? QStringLiteral("single") : QStringLiteral("nil"));
            if (!bordered)
                continue;
            // Eighths of a point, of which Word draws no fewer than two.
            m_w.writeAttribute(QStringLiteral("w:sz"), QString::number(std::max(2, qRound(points(format.border()) * 8))));
            m_w.writeAttribute(QStringLiteral("w:space"), QStringLiteral("0"));
            m_w.writeAttribute(QStringLiteral("w:color"), colour);
        }
        m_w.writeEndElement();
        m_w.writeEmptyElement(QStringLiteral("w:tblLayout"));
        m_w.writeAttribute(QStringLiteral("w:type"), QStringLiteral("fixed"));
        // Qt draws each cell's own border inside the row, Word one line between rows: half
        // a border more padding keeps the rows as tall.
        const double padding = points(format.cellPadding() + (bordered ? format.border() / 2 : 0));
        m_w.writeStartElement(QStringLiteral("w:tblCellMar"));
        for (const char *side : {"w:top", "w:left", "w:bottom", "w:right"}) {
            m_w.writeEmptyElement(QLatin1String(side));
            m_w.writeAttribute(QStringLiteral("w:w"), QString::number(twips(padding)));
            m_w.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
        }
        m_w.writeEndElement();
        m_w.writeEndElement();
        m_w.writeStartElement(QStringLiteral("w:tblGrid"));
        for (const int w : std::as_const(gridWidths)) {
            m_w.writeEmptyElement(QStringLiteral("w:gridCol"));
            m_w.writeAttribute(QStringLiteral("w:w"), QString::number(w));
        }
        m_w.writeEndElement();
        bool firstCell = true;
        for (int r = 0; r < t.rows(); ++r) {
            m_w.writeStartElement(QStringLiteral("w:tr"));
            if (r < format.headerRowCount()) {
                m_w.writeStartElement(QStringLiteral("w:trPr"));
                m_w.writeEmptyElement(QStringLiteral("w:tblHeader"));
                m_w.writeEndElement();
            }
            for (int c = 0; c < columns;) {
                const QTextTableCell cell = t.cellAt(r, c);
                const int span = std::clamp(cell.columnSpan(), 1, columns - c);
                int cellWidth = 0;
                for (int k = c; k < c + span; ++k)
                    cellWidth += gridWidths.value(k);
                m_w.writeStartElement(QStringLiteral("w:tc"));
                m_w.writeStartElement(QStringLiteral("w:tcPr"));
                m_w.writeEmptyElement(QStringLiteral("w:tcW"));
                m_w.writeAttribute(QStringLiteral("w:w"), QString::number(cellWidth));
                m_w.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
                if (span > 1)
                    val(m_w, QStringLiteral("w:gridSpan"), QString::number(span));
                const bool covered = cell.row() != r;
                if (covered)
                    m_w.writeEmptyElement(QStringLiteral("w:vMerge"));
                else if (cell.rowSpan() > 1)
                    val(m_w, QStringLiteral("w:vMerge"), QStringLiteral("restart"));
                m_w.writeEndElement();
                bool endsInParagraph = false;
                // A page break before the table goes on its first paragraph.
                if (!covered)
                    endsInParagraph = frame(cell.begin(), cell.end(),
                                            firstCell && (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
                if (!endsInParagraph || covered)
                    m_w.writeEmptyElement(QStringLiteral("w:p"));
                m_w.writeEndElement();
                firstCell = false;
                c += span;
            }
            m_w.writeEndElement();
        }
        m_w.writeEndElement();
    }

    int listId(QTextList *list)
    {
        if (const auto it = m_listIds.constFind(list); it != m_listIds.cend())
            return *it;
        const QTextListFormat lf = list->format();
        lists.push_back({listFormat(lf.style()), bullet(lf.style()), std::max(lf.indent() - 1, 0)});
        const int id = int(lists.size());
        m_listIds.insert(list, id);
        return id;
    }

    QXmlStreamWriter &m_w;
    const QTextDocument &m_doc;
    int m_textWidth;
    PictureParts &m_pictures;
    int m_drawings = 0;
    bool m_inContents = false;
    bool m_afterHeading = false;
    QHash<const QTextList *, int> m_listIds;
};

} // namespace

QByteArray write(const QTextDocument &doc, const QString &title, const QPageSize &pageSize)
{
    const QSizeF page = formats::page::inPoints(pageSize);
    const int margin = twips(formats::page::MarginPt);
    const int textWidth = twips(formats::page::textArea(pageSize).width());
    const bool cover = formats::isTitle(doc.begin().blockFormat());

    QByteArray document;
    QXmlStreamWriter w(&document);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("w:document"));
    w.writeAttribute(QStringLiteral("xmlns:w"), QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main"));
    w.writeAttribute(QStringLiteral("xmlns:r"), QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships"));
    for (const auto &[prefix, uri] : {std::pair{"wp", "wordprocessingDrawing"}, {"a", "main"}, {"pic", "picture"}})
        w.writeAttribute(QStringLiteral("xmlns:") + QLatin1String(prefix),
                         QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/") + QLatin1String(uri));
    w.writeStartElement(QStringLiteral("w:body"));
    PictureParts pictures(doc, QStringLiteral("word/media/"));
    Body body(w, doc, textWidth, pictures);
    body.frame(doc.rootFrame()->begin(), doc.rootFrame()->end());

    w.writeStartElement(QStringLiteral("w:sectPr"));
    w.writeEmptyElement(QStringLiteral("w:footerReference"));
    w.writeAttribute(QStringLiteral("w:type"), QStringLiteral("default"));
    w.writeAttribute(QStringLiteral("r:id"), QStringLiteral("rId4"));
    w.writeEmptyElement(QStringLiteral("w:pgSz"));
    w.writeAttribute(QStringLiteral("w:w"), QString::number(twips(page.width())));
    w.writeAttribute(QStringLiteral("w:h"), QString::number(twips(page.height())));
    // The text ends above the footer's band, and the footer's line ends at the margin, as
    // in print.
    w.writeEmptyElement(QStringLiteral("w:pgMar"));
    w.writeAttribute(QStringLiteral("w:top"), QString::number(margin));
    w.writeAttribute(QStringLiteral("w:right"), QString::number(margin));
    w.writeAttribute(QStringLiteral("w:bottom"), QString::number(margin + twips(formats::page::FooterBandPt)));
    w.writeAttribute(QStringLiteral("w:left"), QString::number(margin));
    w.writeAttribute(QStringLiteral("w:header"), QString::number(margin / 2));
    w.writeAttribute(QStringLiteral("w:footer"), QString::number(margin));
    w.writeAttribute(QStringLiteral("w:gutter"), QStringLiteral("0"));
    // A cover page (the document opens with its title) has no footer, as in print.
    if (cover)
        w.writeEmptyElement(QStringLiteral("w:titlePg"));
    w.writeEndElement();
    w.writeEndDocument();

    QStringList media;
    for (const PicturePart &p : pictures.parts())
        media << p.name.mid(5); // relative to word/
    std::vector<formats::office::zip::Entry> entries = {
        {QStringLiteral("[Content_Types].xml"), contentTypes()},
        {QStringLiteral("_rels/.rels"), packageRels()},
        {QStringLiteral("word/_rels/document.xml.rels"), documentRels(media)},
        {QStringLiteral("word/document.xml"), document},
        {QStringLiteral("word/styles.xml"), styles()},
        {QStringLiteral("word/settings.xml"), settings()},
        {QStringLiteral("word/numbering.xml"), numbering(body.lists)},
        // A document with a title names it in the footer, as in print.
        {QStringLiteral("word/footer1.xml"), footer(cover ? title : QString(), textWidth)},
        {QStringLiteral("docProps/core.xml"), coreProperties(title)},
    };
    for (const PicturePart &p : pictures.parts())
        entries.push_back({p.name, p.bytes});
    return formats::office::zip::write(entries);
}

} // namespace formats::office::docx

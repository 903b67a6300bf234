#include "formats/office/DocxWriter.h"

#include "formats/DocumentStructure.h"
#include "formats/office/DocxParts.h"
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
    Body(QXmlStreamWriter &w, int textWidth, PictureParts &pictures) : m_w(w), m_textWidth(textWidth), m_pictures(pictures) {}

    // The blocks and tables between two positions of a frame; false when the last was a
    // table (a table cell must end with a paragraph).
    bool frame(QTextFrame::iterator it, const QTextFrame::iterator &end)
    {
        bool endsInParagraph = true;
        for (; it != end; ++it) {
            if (QTextTable *t = qobject_cast<QTextTable *>(it.currentFrame())) {
                table(*t);
                endsInParagraph = false;
            } else if (it.currentBlock().isValid()) {
                paragraph(it.currentBlock(), false);
                endsInParagraph = true;
            }
        }
        return endsInParagraph;
    }

    std::vector<ListDef> lists;

private:
    void paragraph(const QTextBlock &b, bool breakBefore)
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
        if (breakBefore || (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
            m_w.writeEmptyElement(QStringLiteral("w:pageBreakBefore"));
        if (QTextList *list = b.textList()) {
            m_w.writeStartElement(QStringLiteral("w:numPr"));
            val(m_w, QStringLiteral("w:ilvl"), QStringLiteral("0"));
            val(m_w, QStringLiteral("w:numId"), QString::number(listId(list)));
            m_w.writeEndElement();
        }
        if (contents > 0) {
            // The page numbers at the right margin, dots leading to them.
            m_w.writeStartElement(QStringLiteral("w:tabs"));
            m_w.writeEmptyElement(QStringLiteral("w:tab"));
            m_w.writeAttribute(QStringLiteral("w:val"), QStringLiteral("right"));
            m_w.writeAttribute(QStringLiteral("w:leader"), QStringLiteral("dot"));
            m_w.writeAttribute(QStringLiteral("w:pos"), QString::number(m_textWidth));
            m_w.writeEndElement();
        }
        const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            val(m_w, QStringLiteral("w:jc"), QStringLiteral("center"));
        else if (align & Qt::AlignJustify)
            val(m_w, QStringLiteral("w:jc"), QStringLiteral("both"));
        else if (align & (Qt::AlignRight | Qt::AlignTrailing))
            val(m_w, QStringLiteral("w:jc"), QStringLiteral("right"));
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
        if (cf.hasProperty(QTextFormat::FontPointSize) && cf.fontPointSize() > 0) {
            const QString half = QString::number(qRound(cf.fontPointSize() * 2));
            val(m_w, QStringLiteral("w:sz"), half);
            val(m_w, QStringLiteral("w:szCs"), half);
        }
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
        m_w.writeStartElement(QStringLiteral("w:tbl"));
        m_w.writeStartElement(QStringLiteral("w:tblPr"));
        m_w.writeEmptyElement(QStringLiteral("w:tblW"));
        m_w.writeAttribute(QStringLiteral("w:w"), QString::number(m_textWidth));
        m_w.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
        m_w.writeStartElement(QStringLiteral("w:tblBorders"));
        for (const char *side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
            m_w.writeEmptyElement(QLatin1String(side));
            m_w.writeAttribute(QStringLiteral("w:val"), QStringLiteral("single"));
            m_w.writeAttribute(QStringLiteral("w:sz"), QStringLiteral("4"));
            m_w.writeAttribute(QStringLiteral("w:space"), QStringLiteral("0"));
            m_w.writeAttribute(QStringLiteral("w:color"), QStringLiteral("000000"));
        }
        m_w.writeEndElement();
        m_w.writeEndElement();
        const int columnWidth = m_textWidth / std::max(columns, 1);
        m_w.writeStartElement(QStringLiteral("w:tblGrid"));
        for (int c = 0; c < columns; ++c) {
            m_w.writeEmptyElement(QStringLiteral("w:gridCol"));
            m_w.writeAttribute(QStringLiteral("w:w"), QString::number(columnWidth));
        }
        m_w.writeEndElement();
        bool firstCell = true;
        for (int r = 0; r < t.rows(); ++r) {
            m_w.writeStartElement(QStringLiteral("w:tr"));
            for (int c = 0; c < columns;) {
                const QTextTableCell cell = t.cellAt(r, c);
                const int span = std::max(cell.columnSpan(), 1);
                m_w.writeStartElement(QStringLiteral("w:tc"));
                m_w.writeStartElement(QStringLiteral("w:tcPr"));
                m_w.writeEmptyElement(QStringLiteral("w:tcW"));
                m_w.writeAttribute(QStringLiteral("w:w"), QString::number(columnWidth * span));
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
                if (!covered) {
                    // A page break before the table goes on its first paragraph.
                    if (firstCell && (t.format().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)) {
                        paragraph(cell.firstCursorPosition().block(), true);
                        endsInParagraph = frame(++cell.begin(), cell.end());
                    } else {
                        endsInParagraph = frame(cell.begin(), cell.end());
                    }
                }
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
    int m_textWidth;
    PictureParts &m_pictures;
    int m_drawings = 0;
    bool m_inContents = false;
    QHash<const QTextList *, int> m_listIds;
};

} // namespace

QByteArray write(const QTextDocument &doc, const QString &title)
{
    const QSizeF page = formats::office::pageSize().size(QPageSize::Point);
    const int margin = twips(formats::office::MarginMm * 72.0 / 25.4);
    const int textWidth = twips(page.width()) - 2 * margin;

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
    Body body(w, textWidth, pictures);
    body.frame(doc.rootFrame()->begin(), doc.rootFrame()->end());

    w.writeStartElement(QStringLiteral("w:sectPr"));
    w.writeEmptyElement(QStringLiteral("w:footerReference"));
    w.writeAttribute(QStringLiteral("w:type"), QStringLiteral("default"));
    w.writeAttribute(QStringLiteral("r:id"), QStringLiteral("rId4"));
    w.writeEmptyElement(QStringLiteral("w:pgSz"));
    w.writeAttribute(QStringLiteral("w:w"), QString::number(twips(page.width())));
    w.writeAttribute(QStringLiteral("w:h"), QString::number(twips(page.height())));
    w.writeEmptyElement(QStringLiteral("w:pgMar"));
    for (const char *side : {"w:top", "w:right", "w:bottom", "w:left"})
        w.writeAttribute(QLatin1String(side), QString::number(margin));
    w.writeAttribute(QStringLiteral("w:header"), QString::number(margin / 2));
    w.writeAttribute(QStringLiteral("w:footer"), QString::number(margin / 2));
    w.writeAttribute(QStringLiteral("w:gutter"), QStringLiteral("0"));
    // A cover page (the document opens with its title) has no footer, as in print.
    if (formats::isTitle(doc.begin().blockFormat()))
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
        {QStringLiteral("word/footer1.xml"), footer()},
        {QStringLiteral("docProps/core.xml"), coreProperties(title)},
    };
    for (const PicturePart &p : pictures.parts())
        entries.push_back({p.name, p.bytes});
    return formats::office::zip::write(entries);
}

} // namespace formats::office::docx

#include "formats/office/OfficeBuild.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QXmlStreamReader>

namespace formats::office {

QString damaged(const QXmlStreamReader &r)
{
    return QStringLiteral("The file is damaged: its XML is broken at line %1 (%2).").arg(r.lineNumber()).arg(r.errorString());
}
QString nestedTooDeep()
{
    return QStringLiteral("The file nests its content more than %1 levels deep, so it cannot be read.").arg(MaxXmlDepth);
}
QString tableTooLarge()
{
    return QStringLiteral("The file holds a table larger than this program can show, so it cannot be read.");
}

bool nextElement(QXmlStreamReader &r, int &depth, QString &error, QString *text)
{
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > MaxXmlDepth) {
                error = nestedTooDeep();
                return false;
            }
            return true;
        case QXmlStreamReader::EndElement:
            --depth;
            return true;
        case QXmlStreamReader::Characters:
            if (text)
                text->append(r.text());
            break;
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            error = QStringLiteral("The file is damaged: it declares XML entities, which Word and OpenDocument files never do.");
            return false;
        default:
            break;
        }
    }
    if (r.hasError())
        error = damaged(r);
    return false;
}

Builder::Builder(QTextDocument *doc) : m_doc(doc)
{
    if (m_doc) {
        m_doc->clear();
        m_cursor = new QTextCursor(m_doc);
        // One edit: the cursor leaves the layout alone until the whole text is in.
        m_cursor->beginEditBlock();
    }
}

Builder::~Builder()
{
    if (m_cursor)
        m_cursor->endEditBlock();
    delete m_cursor;
}

void Builder::fail(const QString &why)
{
    if (m_error.isEmpty())
        m_error = why;
}

void Builder::paragraph(const QTextBlockFormat &format)
{
    if (failed())
        return;
    if (++m_paragraphs + m_cells > formats::MaxParagraphs) {
        fail(formats::tooManyParagraphs());
        return;
    }
    m_length = 0;
    m_format = format;
    QTextBlockFormat f = format;
    if (m_breakNext)
        f.setPageBreakPolicy(f.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    m_breakNext = false;
    if (!m_cursor)
        return;
    if (m_fresh)
        m_cursor->setBlockFormat(f);
    else
        m_cursor->insertBlock(f);
    m_fresh = false;
}

bool Builder::place(qsizetype length)
{
    if (failed())
        return false;
    // Text after a page break inside a paragraph goes on in a new one on the next page.
    if (m_fresh || m_breakNext)
        paragraph(m_fresh ? QTextBlockFormat() : m_format);
    m_length += length;
    if (m_length > formats::MaxParagraphLength) {
        fail(formats::paragraphTooLong());
        return false;
    }
    if (++m_runs > formats::MaxRuns) {
        fail(QStringLiteral("The file changes its character format more than %1 times, more than this program can show, "
                            "so it cannot be read.").arg(formats::MaxRuns));
        return false;
    }
    return !failed();
}

void Builder::text(const QString &text, const QTextCharFormat &format)
{
    if (!text.isEmpty() && place(text.size()) && m_cursor)
        m_cursor->insertText(text, format);
}

void Builder::picture(const formats::Picture &picture)
{
    if (place(1) && m_cursor)
        formats::pictures::insert(*m_cursor, picture);
}

void Builder::listItem(const QString &key, QTextListFormat::Style style, int level)
{
    if (failed() || !m_cursor)
        return;
    if (QTextList *list = m_lists.value(key)) {
        list->add(m_cursor->block());
        return;
    }
    QTextListFormat f;
    f.setStyle(style);
    f.setIndent(std::clamp(level, 0, 8) + 1);
    m_lists.insert(key, m_cursor->createList(f));
}

void Builder::startTable()
{
    if (failed())
        return;
    Table t;
    if (m_cursor) {
        QTextTableFormat tf;
        tf.setBorder(1);
        tf.setCellPadding(2);
        tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        if (m_breakNext)
            tf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        t.table = m_cursor->insertTable(1, 1, tf);
    }
    m_breakNext = false;
    t.columns = 1;
    m_tables.push_back(t);
}

void Builder::startRow()
{
    if (failed() || m_tables.empty())
        return;
    Table &t = m_tables.back();
    if (++t.row > 0 && t.table)
        t.table->appendRows(1);
    t.column = 0;
}

void Builder::cell(int columnSpan)
{
    if (failed() || m_tables.empty())
        return;
    Table &t = m_tables.back();
    if (t.row < 0)
        startRow();
    const int span = std::clamp(columnSpan, 1, MaxTableColumns);
    const int needed = t.column + span;
    if (needed > MaxTableColumns || qint64(t.row + 1) * std::max(needed, t.columns) > formats::MaxParagraphs) {
        fail(tableTooLarge());
        return;
    }
    if (needed > t.columns) {
        if (t.table)
            t.table->appendColumns(needed - t.columns);
        m_cells += qint64(t.row + 1) * (needed - t.columns);
        t.columns = needed;
    } else if (t.column == 0 && t.row > 0) {
        m_cells += t.columns; // the new row
    }
    if (m_paragraphs + m_cells > formats::MaxParagraphs) {
        fail(formats::tooManyParagraphs());
        return;
    }
    if (t.table) {
        if (span > 1)
            t.spans.push_back({t.row, t.column, span});
        *m_cursor = t.table->cellAt(t.row, t.column).firstCursorPosition();
    }
    t.column += span;
    m_fresh = true;
    m_length = 0;
}

void Builder::endTable()
{
    if (m_tables.empty())
        return;
    Table t = m_tables.back();
    m_tables.pop_back();
    if (failed() || !t.table)
        return;
    for (const Span &s : t.spans)
        t.table->mergeCells(s.row, s.column, 1, s.length);
    m_cursor->setPosition(t.table->lastPosition() + 1);
    m_fresh = true; // the block after the table
}

void Builder::leftOut(const QString &what)
{
    if (!m_leftOut.contains(what))
        m_leftOut << what;
}

QString Builder::leftOutText() const
{
    if (m_leftOut.size() <= 1)
        return m_leftOut.value(0);
    return m_leftOut.mid(0, m_leftOut.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + m_leftOut.last();
}

Result readTwice(QTextDocument &doc, const std::function<QString(Builder &)> &read, QString &leftOut)
{
    for (QTextDocument *target : {static_cast<QTextDocument *>(nullptr), &doc}) {
        Builder b(target);
        if (const QString error = read(b); !error.isEmpty())
            return Result::failed(error);
        if (b.failed())
            return Result::failed(b.error());
        leftOut = b.leftOutText();
    }
    return {};
}

} // namespace formats::office

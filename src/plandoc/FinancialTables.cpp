#include "plandoc/FinancialTables.h"

#include "formats/DocumentStructure.h"
#include "formats/Pictures.h"
#include "formats/PrintLayout.h"
#include "formats/TableText.h"
#include "plandoc/Charts.h"
#include "plandoc/FinancialText.h"
#include "plandoc/TableWidths.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextImageFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <map>
#include <vector>

namespace plandoc::finance {

namespace {

// The monthly chart and the three years' one stand over the tables.
constexpr int ChartCount = 2;

bool isMonthLabel(const QString &cell)
{
    static const QRegularExpression month(QStringLiteral(R"(^[A-Z][a-z]{2} \d{4}$)"));
    return month.match(cell).hasMatch();
}

// The paragraphs that follow the figures' tables.
bool isFiguresLine(const QString &text)
{
    for (const char *start : {"Break-even: ", "Break-even sales: ", "Lowest cash: ", "Loan repayment: ", "Assumptions: "})
        if (text.startsWith(QLatin1String(start)))
            return true;
    return false;
}

bool isDifference(const QString &text)
{
    return text.startsWith(QLatin1String("Uses exceed sources by "))
        || text.startsWith(QLatin1String("Sources exceed uses by "));
}

bool isBold(const QList<QStringList> &cells, int row, int column)
{
    static const QStringList strong = {rowLabel(MonthRow::Net), rowLabel(MonthRow::Cash), rowLabel(MonthRow::Cumulative),
                                       UsesLabel, UsesTotalLabel, SourcesLabel, SourcesTotalLabel};
    return row == 0 || strong.contains(cells[row].first()) || cells[0].value(column) == TotalLabel;
}

// Writes paragraphs and tables one after another from an empty paragraph on.
class Writer {
public:
    Writer(QTextCursor &at, const QTextCharFormat &text) : m_at(at), m_text(text), m_bold(text)
    {
        m_bold.setFontWeight(QFont::Bold);
        m_at.setBlockFormat(paragraphFormat());
        m_at.setBlockCharFormat(m_text);
    }

    void paragraph(const QString &text, bool bold = false)
    {
        if (!m_fresh)
            m_at.insertBlock(paragraphFormat(), m_text);
        m_fresh = false;
        m_at.insertText(text, bold ? m_bold : m_text);
    }

    // A chart in a centred paragraph of its own, as wide as the text allows.
    void chart(const QImage &image)
    {
        paragraph(QString());
        QTextBlockFormat centred = m_at.blockFormat();
        centred.setAlignment(Qt::AlignHCenter);
        m_at.setBlockFormat(centred);
        const QSizeF inches = QSizeF(image.width(), image.height()) / charts::Dpi;
        const QSizeF size = formats::pictures::fitted(inches * 96, formats::printlayout::textWidth());
        formats::pictures::insert(m_at, formats::pictures::fromImage(image, size));
    }

    void leadIn(const QString &label, const QString &value)
    {
        paragraph(label + QStringLiteral(": "), true);
        m_at.insertText(value, m_text);
    }

    // The table's columns at the type and widths the layout chose, after the paragraph
    // before it; the cursor then stands in the empty paragraph after it.
    void table(const QList<QStringList> &cells, const TablePart &part)
    {
        QTextTableFormat format;
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setColumnWidthConstraints(part.widths);
        format.setCellPadding(CellPadding);
        format.setCellSpacing(0);
        format.setBorder(CellBorder);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(QColor(Qt::darkGray));
        format.setHeaderRowCount(1);
        QTextTable *table = m_at.insertTable(int(cells.size()), int(part.columns.size()), format);
        for (int r = 0; r < cells.size(); ++r) {
            for (int i = 0; i < part.columns.size(); ++i) {
                const int c = part.columns.at(i);
                QTextCursor cell = table->cellAt(r, i).firstCursorPosition();
                QTextBlockFormat block;
                block.setAlignment(c == 0 ? Qt::AlignLeft : Qt::AlignRight);
                cell.setBlockFormat(block);
                QTextCharFormat chars = m_text;
                chars.setFontPointSize(part.points);
                chars.setFontWeight(isBold(cells, r, c) ? QFont::Bold : QFont::Normal);
                // An empty cell keeps the table's type too, so its row is no taller.
                cell.setBlockCharFormat(chars);
                cell.insertText(cells.at(r).at(c), chars);
            }
        }
        m_at = table->lastCursorPosition();
        m_at.movePosition(QTextCursor::NextBlock);
        m_at.setBlockFormat(paragraphFormat());
        m_at.setBlockCharFormat(m_text);
        m_fresh = true;
    }

private:
    static QTextBlockFormat paragraphFormat()
    {
        QTextBlockFormat block;
        block.setBottomMargin(6);
        return block;
    }

    QTextCursor &m_at;
    QTextCharFormat m_text;
    QTextCharFormat m_bold;
    bool m_fresh = true;
};

// The top-level tables by the position of their first cell.
std::map<int, QTextTable *> tables(const QTextDocument &doc)
{
    std::map<int, QTextTable *> out;
    for (QTextFrame *frame : doc.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            out[table->firstPosition()] = table;
    return out;
}

QTextBlock blockBefore(const QTextTable *t) { return t->firstCursorPosition().block().previous(); }
QTextBlock blockAfter(const QTextTable *t) { return t->lastCursorPosition().block().next(); }
int blockEnd(const QTextBlock &b) { return b.position() + b.length() - 1; }
// A paragraph of the page itself, not of a table's cell.
bool onPage(const QTextBlock &b) { return b.isValid() && !QTextCursor(b).currentTable(); }

// The table that starts right after the block, if any.
QTextTable *tableAfter(const std::map<int, QTextTable *> &all, const QTextBlock &b)
{
    const QTextBlock next = b.next();
    if (!next.isValid())
        return nullptr;
    const auto it = all.find(next.position());
    return it == all.end() ? nullptr : it->second;
}

// A paragraph that holds a picture and nothing else, as the charts stand.
bool isPictureAlone(const QTextBlock &b)
{
    const QString text = b.text();
    return onPage(b) && !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return formats::isObjectReplacement(c.unicode()); });
}

TableKind kindOf(const QTextTable *t) { return tableKind(formats::tabletext::cells(*t)); }

// From the first month table: its lead, the tables that follow with only a lead or an
// empty paragraph between, then the sentences and the assumptions.
Span figuresSpan(const std::map<int, QTextTable *> &all, const QTextTable *first)
{
    const QTextBlock lead = blockBefore(first);
    Span span{onPage(lead) && lead.text() == ProjectionLead ? lead.position() : first->firstPosition() - 1, 0};
    // The two charts over the tables, made and replaced with them.
    if (onPage(lead) && lead.text() == ProjectionLead) {
        QTextBlock b = lead.previous();
        for (int n = 0; n < ChartCount && isPictureAlone(b); ++n, b = b.previous())
            span.start = b.position();
    }
    const QTextTable *last = first;
    for (;;) {
        const QTextBlock between = blockAfter(last);
        const QTextTable *next = tableAfter(all, between);
        if (!next || (!between.text().isEmpty() && between.text() != YearsLead) || kindOf(next) == TableKind::Other
            || kindOf(next) == TableKind::SourcesAndUses)
            break;
        last = next;
    }
    QTextBlock b = blockAfter(last);
    span.end = b.position();
    for (; b.isValid() && isFiguresLine(b.text()) && !tableAfter(all, b.previous()); b = b.next())
        span.end = blockEnd(b);
    return span;
}

// From the funding lines before the sources and uses table to the sentence after it.
Span fundingSpan(const QTextTable *table)
{
    QTextBlock b = blockBefore(table);
    Span span{table->firstPosition() - 1, blockAfter(table).position()};
    if (onPage(b) && b.text() == FundingLead) {
        span.start = b.position();
        FinancialPlan scratch;
        for (b = b.previous(); onPage(b) && readFundingLine(b.text(), scratch); b = b.previous())
            span.start = b.position();
    }
    if (const QTextBlock after = blockAfter(table); isDifference(after.text()))
        span.end = blockEnd(after);
    return span;
}

// Empties the span and leaves the cursor in the empty paragraph it leaves.
void clear(QTextCursor &at, const Span &span)
{
    at.setPosition(span.start);
    at.setPosition(span.end, QTextCursor::KeepAnchor);
    at.removeSelectedText();
    if (!at.block().text().isEmpty()) {
        at.insertBlock();
        if (!at.block().text().isEmpty()) {
            at.insertBlock();
            at.movePosition(QTextCursor::PreviousBlock);
        }
    }
}

charts::Figures monthChart(const FinancialPlan &plan)
{
    charts::Figures out;
    out.currency = plan.currency;
    for (const MonthPoint &m : monthSeries(plan)) {
        out.labels << m.label;
        out.income.push_back(m.income);
        out.expenses.push_back(m.expenses);
        out.cash.push_back(m.cash);
    }
    return out;
}

charts::Figures yearChart(const FinancialPlan &plan)
{
    charts::Figures out;
    out.currency = plan.currency;
    for (const YearPoint &y : yearSeries(plan)) {
        out.labels << y.label;
        out.income.push_back(y.income);
        out.expenses.push_back(y.expenses);
    }
    return out;
}

} // namespace

TableKind tableKind(const QList<QStringList> &cells)
{
    if (cells.size() < 2 || cells[0].size() < 2)
        return TableKind::Other;
    const QStringList &header = cells[0];
    if (header.size() == 2 && header[0] == UsesLabel)
        return TableKind::SourcesAndUses;
    if (header.size() == Years + 1 && header[1] == yearLabel(1) && header[3] == yearLabel(3))
        return TableKind::Years;
    // Told by its first month, its last column and its first row, so that a heading
    // edited by hand does not hide it.
    const bool months = isMonthLabel(header[1]) && (isMonthLabel(header.last()) || header.last() == TotalLabel);
    return months && cells[1].first() == rowLabel(MonthRow::Income) ? TableKind::Months : TableKind::Other;
}

MadeSpans findMade(const QTextDocument &doc)
{
    MadeSpans out;
    const std::map<int, QTextTable *> all = tables(doc);
    for (const auto &[position, table] : all) {
        const TableKind kind = kindOf(table);
        if (kind == TableKind::Months && !out.figures)
            out.figures = figuresSpan(all, table);
        else if (kind == TableKind::SourcesAndUses && !out.funding)
            out.funding = fundingSpan(table);
    }
    return out;
}

void writeFunding(QTextCursor &at, const FinancialPlan &plan, const QTextCharFormat &text)
{
    const Figures f = compute(plan);
    Writer w(at, text);
    for (const auto &[label, value] : fundingLines(plan))
        w.leadIn(label, value);
    w.paragraph(FundingLead, true);
    const QList<QStringList> cells = sourcesAndUsesCells(plan, f);
    w.table(cells, layoutTable(cells, false).front());
    if (const QString difference = differenceSentence(f); !difference.isEmpty())
        w.paragraph(difference);
}

void writeFigures(QTextCursor &at, const FinancialPlan &plan, const QTextCharFormat &text)
{
    const Figures f = compute(plan);
    Writer w(at, text);
    // The charts first, so a reader sees the year before the figures behind it.
    w.chart(charts::monthlyChart(monthChart(plan)));
    w.chart(charts::yearlyChart(yearChart(plan)));
    w.paragraph(ProjectionLead, true);
    const QList<QStringList> months = monthCells(plan, f);
    for (const TablePart &part : layoutTable(months, true))
        w.table(months, part);
    w.paragraph(YearsLead, true);
    const QList<QStringList> years = yearCells(plan, f);
    w.table(years, layoutTable(years, false).front());
    for (const QString &sentence : sentences(plan, f))
        w.paragraph(sentence);
    w.paragraph(assumptionsLine(plan));
}

void placeInDocument(QTextCursor &cursor, const FinancialPlan &plan)
{
    QTextDocument *doc = cursor.document();
    QTextCharFormat text = cursor.charFormat();
    text.setFontWeight(QFont::Normal);
    text.setFontItalic(false);
    // Taking a link's look would make every cell a link.
    for (int property : {QTextFormat::IsAnchor, QTextFormat::AnchorHref, QTextFormat::AnchorName})
        text.clearProperty(property);
    cursor.beginEditBlock();
    const MadeSpans made = findMade(*doc);
    QTextCursor at(doc);
    const auto both = [&] {
        if (plan.hasLoan()) {
            writeFunding(at, plan, text);
            at.insertBlock();
        }
        writeFigures(at, plan, text);
    };
    if (!made.funding && !made.figures) {
        // Inside a table's cell they would be a table within a table: they go after it.
        int position = cursor.position();
        for (QTextTable *t = cursor.currentTable(); t; t = QTextCursor(blockAfter(t)).currentTable())
            position = blockAfter(t).position();
        clear(at, Span{position, position});
        both();
    }
    // The later stretch first, so that the earlier one's positions still hold.
    std::vector<std::pair<Span, bool>> spans;
    if (made.figures)
        spans.push_back({*made.figures, false});
    if (made.funding)
        spans.push_back({*made.funding, true});
    std::sort(spans.begin(), spans.end(), [](const auto &a, const auto &b) { return a.first.start > b.first.start; });
    for (const auto &[span, funding] : spans) {
        clear(at, span);
        if (!funding)
            made.funding ? writeFigures(at, plan, text) : both();
        else if (!made.figures)
            both();
        else if (plan.hasLoan())
            writeFunding(at, plan, text);
        else if (at.block().previous().isValid())
            at.deletePreviousChar(); // no request any more: its paragraph goes too
    }
    if (const auto figures = findMade(*doc).figures)
        at.setPosition(figures->end);
    cursor.endEditBlock();
    cursor.setPosition(at.position());
}

} // namespace plandoc::finance

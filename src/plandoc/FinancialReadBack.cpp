#include "plandoc/FinancialReadBack.h"

#include "formats/TableText.h"
#include "plandoc/FinancialTables.h"
#include "plandoc/FinancialText.h"

#include <QTextDocument>
#include <QTextTable>

namespace plandoc::finance {

namespace {

Cents amountIn(const QString &cell) { return parseAmount(cell.trimmed()).value_or(0); }

// The months of one table of the twelve (the whole year or a half), placed by their names.
void readMonths(const QList<QStringList> &cells, FinancialPlan &plan)
{
    const QStringList &header = cells[0];
    if (!plan.firstMonth.isValid()) {
        plan.firstMonth = monthFromName(header[1]).value_or(QDate());
        plan.currency = header[0].trimmed();
    }
    for (qsizetype c = 1; c < header.size(); ++c) {
        const auto month = monthFromName(header[c]);
        if (!month || !plan.firstMonth.isValid())
            continue;
        const int m = (month->year() - plan.firstMonth.year()) * 12 + month->month() - plan.firstMonth.month();
        if (m < 0 || m >= Months)
            continue;
        for (const QStringList &row : cells) {
            if (row.first() == rowLabel(MonthRow::Income))
                plan.income[size_t(m)] = amountIn(row.value(c));
            else if (row.first() == rowLabel(MonthRow::Expenses))
                plan.expenses[size_t(m)] = amountIn(row.value(c));
        }
    }
}

void readSourcesAndUses(const QList<QStringList> &cells, Funding &f)
{
    bool sources = false;
    for (const QStringList &row : cells.mid(1)) {
        const QString label = row.first().trimmed();
        const Cents amount = amountIn(row.value(1));
        if (label == UsesTotalLabel || label == SourcesTotalLabel)
            continue;
        if (label == SourcesLabel)
            sources = true;
        else if (!sources)
            f.uses << Line{label, amount};
        else if (label == OwnLabel)
            f.ownInvestment = amount;
        else if (label == LoanLabel)
            f.requested = amount;
        else
            f.otherSources << Line{label, amount};
    }
}

// The paragraphs of a stretch outside its tables.
QStringList lines(const QTextDocument &doc, const Span &span)
{
    QStringList out;
    for (QTextBlock b = doc.findBlock(span.start); b.isValid() && b.position() <= span.end; b = b.next())
        if (!QTextCursor(b).currentTable())
            out << b.text();
    return out;
}

} // namespace

std::optional<FinancialPlan> readFinancialPlan(const QTextDocument &doc)
{
    const MadeSpans made = findMade(doc);
    if (!made.figures)
        return std::nullopt;
    FinancialPlan plan;
    const auto within = [](const QTextTable *t, const std::optional<Span> &s) {
        return s && t->firstPosition() > s->start && t->lastPosition() <= s->end + 1;
    };
    for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
        const auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        const QList<QStringList> cells = formats::tabletext::cells(*table);
        const TableKind kind = tableKind(cells);
        if (kind == TableKind::Months && within(table, made.figures))
            readMonths(cells, plan);
        else if (kind == TableKind::SourcesAndUses && within(table, made.funding))
            readSourcesAndUses(cells, plan.funding);
    }
    // The funding month is named, so it is placed once the first month is known.
    QStringList all = lines(doc, *made.figures);
    if (made.funding)
        all = lines(doc, *made.funding) + all;
    for (const QString &line : std::as_const(all))
        if (!readAssumptions(line, plan) && made.funding)
            readFundingLine(line, plan);
    return clamped(plan);
}

} // namespace plandoc::finance

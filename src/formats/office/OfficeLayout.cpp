#include "formats/office/OfficeLayout.h"

#include "formats/DocumentStructure.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <numeric>

namespace formats::office {

namespace {

bool isTable(const QTextFrame::iterator &it) { return qobject_cast<QTextTable *>(it.currentFrame()) != nullptr; }

} // namespace

bool takesNoRoom(QTextFrame::iterator it, const QTextFrame::iterator &end)
{
    const QTextBlock b = it.currentBlock();
    if (!b.isValid() || b.length() > 1 || b.textList())
        return false;
    ++it;
    return it != end && isTable(it);
}

double spaceAfter(QTextFrame::iterator it, const QTextFrame::iterator &end)
{
    const double after = points(it.currentBlock().blockFormat().bottomMargin());
    ++it;
    if (it != end && takesNoRoom(it, end))
        ++it;
    if (it == end)
        return after;
    if (isTable(it))
        return 0;
    return std::max(after, points(it.currentBlock().blockFormat().topMargin()));
}

Indents indents(const QTextBlockFormat &f, const QTextDocument &doc)
{
    return {points(f.leftMargin() + f.indent() * doc.indentWidth()), points(f.rightMargin()), points(f.textIndent())};
}

QList<TabStop> tabStops(const QTextBlockFormat &f)
{
    QList<TabStop> out;
    const QList<QTextOption::Tab> tabs = f.tabPositions();
    for (qsizetype i = 0; i < tabs.size(); ++i)
        out.push_back({points(tabs[i].position), tabs[i].type, formats::tabLeader(f, i)});
    return out;
}

namespace {

QList<double> normalised(QList<double> widths)
{
    const double total = std::accumulate(widths.cbegin(), widths.cend(), 0.0);
    for (double &w : widths)
        w = total > 0 ? w / total : 1.0 / widths.size();
    return widths;
}

// The columns' widths as the document's layout made them: the left edges of cells that
// span one column, and the table's right edge. Empty when the document has no width.
QList<double> laidOutWidths(const QTextTable &table)
{
    const QTextDocument *doc = table.document();
    if (!doc || doc->textWidth() <= 0)
        return {};
    QAbstractTextDocumentLayout *layout = doc->documentLayout();
    QList<double> lefts(table.columns(), -1);
    for (int r = 0; r < table.rows(); ++r) {
        for (int c = 0; c < table.columns(); ++c) {
            const QTextTableCell cell = table.cellAt(r, c);
            if (lefts[c] < 0 && cell.columnSpan() == 1 && cell.column() == c)
                lefts[c] = layout->blockBoundingRect(cell.firstCursorPosition().block()).left();
        }
    }
    if (std::any_of(lefts.cbegin(), lefts.cend(), [](double x) { return x < 0; }))
        return {};
    const double padding = table.format().cellPadding() + table.format().border();
    lefts.push_back(layout->frameBoundingRect(const_cast<QTextTable *>(&table)).right() + padding);
    QList<double> widths;
    for (int c = 0; c < table.columns(); ++c) {
        if (lefts[c + 1] <= lefts[c])
            return {};
        widths.push_back(lefts[c + 1] - lefts[c]);
    }
    return widths;
}

} // namespace

QList<double> columnShares(const QTextTable &table)
{
    const int columns = std::max(table.columns(), 1);
    const QList<QTextLength> constraints = table.format().columnWidthConstraints();
    if (constraints.size() == columns) {
        QList<double> widths;
        for (const QTextLength &l : constraints)
            if (l.type() != QTextLength::VariableLength && l.rawValue() > 0)
                widths.push_back(l.rawValue());
        // Percentages and fixed widths are not mixed: shares of fixed widths are their own.
        const bool oneKind = std::all_of(constraints.cbegin(), constraints.cend(),
                                         [&](const QTextLength &l) { return l.type() == constraints.first().type(); });
        if (widths.size() == columns && oneKind)
            return normalised(widths);
    }
    if (const QList<double> laidOut = laidOutWidths(table); !laidOut.isEmpty())
        return normalised(laidOut);
    return QList<double>(columns, 1.0 / columns);
}

} // namespace formats::office

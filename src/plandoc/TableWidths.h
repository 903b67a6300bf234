#pragma once

// How a table of figures fits the printed page: the largest type from 9 down to 7 points
// at which every amount and every word of a heading stays whole, and column widths sized
// to their content, so every writer can keep them. A twelve-month table that does not
// fit at 7 points comes as two halves of six months, each under the row labels.

#include <QList>
#include <QStringList>
#include <QTextLength>

namespace plandoc::finance {

constexpr qreal CellPadding = 2;
constexpr qreal CellBorder = 0.5;
constexpr int SmallestType = 7;

struct TablePart {
    QList<int> columns; // of the cells, the label column first
    QList<QTextLength> widths; // percentages of the table's width, one per column
    int points = SmallestType;
};

// One part, or two halves when `splittable` and a whole row does not fit.
QList<TablePart> layoutTable(const QList<QStringList> &cells, bool splittable);

} // namespace plandoc::finance

#pragma once

// The financial plan's charts, drawn for print: monthly income and expenses as bars with
// the cash at each month's end as a line over them, and the same for whole years. Drawn
// at 300 dpi in Arial, amounts with thousands separators, and readable in black and white:
// income dark and solid, expenses light and hatched, cash a black line with dots.
//
// The figures come in as they are, in whole cents, so the charts do not depend on how
// they were worked out.

#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <vector>

namespace plandoc::charts {

inline constexpr int Dpi = 300;

struct Figures {
    QStringList labels;           // one per bar pair: "Jan 2027"..., or "Year 1"...
    std::vector<qint64> income;   // cents, one per label
    std::vector<qint64> expenses; // cents, one per label
    std::vector<qint64> cash;     // cents at each period's end; none: no line
    QString currency = QStringLiteral("$");
};

// The chart over the figures, `inches` wide and high, at 300 dpi; its resolution set, so
// a document shows it at that size.
QImage monthlyChart(const Figures &months, QSizeF inches = QSizeF(6.5, 3.6));
QImage yearlyChart(const Figures &years, QSizeF inches = QSizeF(6.5, 3.0));

// "$12,500" for 1250000 cents, "-$300" below zero: whole units with thousands separators.
QString amount(qint64 cents, const QString &currency);

} // namespace plandoc::charts

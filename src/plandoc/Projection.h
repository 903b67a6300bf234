#pragma once

// A 12-month financial projection: income and expenses per month, the net and the cash
// it adds up to from an opening amount, the year's totals and the month of break-even.
// Amounts are whole cents, so sums are exact.

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>

class QTextCursor;

namespace plandoc::projection {

using Cents = qint64;
constexpr int Months = 12;
// The largest amount a cell, a total or the opening cash takes: a trillion.
constexpr Cents MaxAmount = Cents(1'000'000'000'000) * 100;

using Row = std::array<Cents, Months>;

struct Input {
    Row income{};
    Row expenses{};
    Cents openingCash = 0;
    QString currency; // shown in the table's corner cell; may be empty
    QDate firstMonth; // any day of the first month
};

struct Figures {
    Row net{};
    Row cumulative{};
    Cents totalIncome = 0;
    Cents totalExpenses = 0;
    Cents totalNet = 0;
    // The first month (1 to 12) whose cumulative net is zero or more; 0 when none is.
    int breakEvenMonth = 0;
};

Figures compute(const Input &input);

// The amounts an answer holds, in order, at most twelve: the answer is cut at line ends,
// semicolons and a comma followed by a space, and each part holding a number gives its
// last number ("Month 1: $1,000" gives 1000).
QList<Cents> amountsInAnswer(const QString &answer);
// The same as a row, the months without an amount 0.
Row prefillRow(const QString &answer);

// "1,234", "1,234.50", "-75": thousands separators, cents only when there are any.
QString formatAmount(Cents amount);
// An amount as a person types it: an optional minus, an optional currency sign, digits
// with or without thousands commas, up to two decimals; at most MaxAmount either way.
// Surrounding spaces are ignored; anything else gives nothing.
std::optional<Cents> parseAmount(const QString &text, const QString &currency = QString());

// The month after today's, on its first day.
QDate defaultFirstMonth(const QDate &today);
// Month i (0 to 11) from the first: "Jan 2027".
QString shortMonthName(const QDate &firstMonth, int i);
// "January 2027".
QString longMonthName(const QDate &firstMonth, int i);

// "Break-even: month N (Month YYYY), ..." or "Break-even: not reached ...".
QString breakEvenSentence(const Input &input, const Figures &figures);

// The labels of the rows and columns, for every view of the table.
QString rowLabel(int row); // 0 Income, 1 Expenses, 2 Net, 3 Cumulative
inline const QString TotalLabel = QStringLiteral("Total");

// The table's text, row by row: the header row (corner, twelve months, "Total"), then
// Income, Expenses, Net and Cumulative with their formatted amounts. The Cumulative
// row's total is the cash at the end of the year.
QList<QStringList> tableCells(const Input &input);

// Inserts the table at the cursor, followed by the break-even paragraph, as one undo
// step. The table takes the page's width in a type small enough for its widest amount;
// when even the smallest type cannot hold a year on one page width, the year comes in
// two tables of six months.
void insertTable(QTextCursor &cursor, const Input &input);

} // namespace plandoc::projection

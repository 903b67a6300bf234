#pragma once

// The plan's money, held for the run beside the answers: what the owner expects month by
// month, the loan asked for and what it pays for, and the figures a lender reads from
// them (the year's totals, the cash month by month, three years, break-even, the loan's
// repayments and their cover). Amounts are whole cents (Money.h).

#include "plandoc/Money.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace plandoc::finance {

constexpr int Months = 12;
constexpr int Years = 3;
constexpr int MinTermYears = 1;
constexpr int MaxTermYears = 40;

using Row = std::array<Cents, Months>;

// A row of the uses or the other sources of funds.
struct Line {
    QString item;
    Cents amount = 0;
    bool operator==(const Line &) const = default;
};

struct Funding {
    Cents requested = 0; // the loan asked for; none when 0
    int termYears = 5;
    Rate rate = 0; // yearly interest
    int month = 1; // the month of the projection (1 to 12) the money comes in
    QString purpose; // "to buy a second deck oven"
    QList<Line> uses;
    Cents ownInvestment = 0;
    QList<Line> otherSources;
    bool operator==(const Funding &) const = default;
};

// A figure read from an answer that deserves a second look: which row (0 income,
// 1 expenses), which month (0 to 11), and the part of the answer it came from.
struct Check {
    int row = 0;
    int month = 0;
    Cents amount = 0;
    QString part;
    bool operator==(const Check &) const = default;
};

struct FinancialPlan {
    Row income{};
    Row expenses{};
    Cents openingCash = 0;
    // The part of expenses that grows with sales, as a share of income.
    Rate costOfSales = 0;
    // Yearly growth from year 1 to 2 and from year 2 to 3.
    Rate incomeGrowth = 0;
    Rate expenseGrowth = 0;
    Funding funding;
    QString currency; // "$": in the tables' corner and before amounts in sentences
    QDate firstMonth; // the first day of the projection's first month
    QList<Check> checks;
    // The answers the rows were last read from; nothing before the first reading.
    std::optional<QString> incomeAnswer;
    std::optional<QString> expensesAnswer;

    bool hasLoan() const { return funding.requested > 0; }
    // Whether there is anything to show: an amount anywhere among the months, the
    // opening cash or the loan.
    bool hasFigures() const;
    bool operator==(const FinancialPlan &) const = default;
};

// Reads a row again from its answer when the answer changed since it was last read (or
// was never read), with its checks; rows whose answer is unchanged keep the owner's
// corrections. The first reading also sets the first month, the currency and, when the
// income answer starts with a month's name, that month.
void refreshFromAnswers(FinancialPlan &plan, const QString &yrIncome, const QString &moExpenses, const QDate &today,
                        const QString &localCurrency);

// Every amount within MaxAmount, rates within 0 to 100 %, the term within 1 to 40 years,
// the month within 1 to 12, a valid first month.
FinancialPlan clamped(FinancialPlan plan);

struct YearFigures {
    Cents income = 0;
    Cents expenses = 0;
    Cents net = 0;
    Cents repayments = 0; // principal and interest paid in the year
};

struct Figures {
    Row net{};
    // With a loan: the sources of funds received and the uses paid, both in the month
    // the money comes in, and the monthly repayment from the month after.
    Row fundsIn{};
    Row purchases{};
    Row repayment{};
    // The cash at each month's end: the opening cash and the running sum of the rows
    // above (without a loan, the running net).
    Row cash{};
    Cents totalIncome = 0;
    Cents totalExpenses = 0;
    Cents totalNet = 0;
    std::array<YearFigures, Years> years{};
    Cents usesTotal = 0; // with or without a loan
    Cents sourcesTotal = 0;
    Cents payment = 0; // the level monthly repayment
    Cents yearOfRepayments = 0; // the loan's first twelve repayments
    // The first month (1 to 12) from which every month's income covers its expenses.
    int breakEvenMonth = 0;
    // The monthly sales that cover the fixed costs; none at a cost of sales of 100 %.
    std::optional<Cents> breakEvenSales;
    int lowestCashMonth = 1;
    Cents lowestCash = 0;
    // Year 1's net over a year of repayments, in hundredths; none without a loan.
    std::optional<qint64> coverage;
};

Figures compute(const FinancialPlan &plan);

// The figures as charts draw them: per month (labelled "Jan 2027") income, expenses,
// net and the cash at the month's end; per year ("Year 1" to "Year 3") income, expenses
// and net.
struct MonthPoint {
    QString label;
    Cents income = 0;
    Cents expenses = 0;
    Cents net = 0;
    Cents cash = 0;
};
struct YearPoint {
    QString label;
    Cents income = 0;
    Cents expenses = 0;
    Cents net = 0;
};
QList<MonthPoint> monthSeries(const FinancialPlan &plan);
QList<YearPoint> yearSeries(const FinancialPlan &plan);

// "Year 1".
QString yearLabel(int year);

} // namespace plandoc::finance

#pragma once

// The financial plan in words and cells: the tables' text, the sentences a lender reads,
// the funding lines and the assumptions, each written by one function that every view
// (the dialog, the documents, the read-back) shares.

#include "plandoc/FinancialPlan.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace plandoc::finance {

// The rows of the twelve-month table; with a loan the cash rows, without it Cumulative.
enum class MonthRow { Income, Expenses, Net, FundsIn, Purchases, Repayment, Cash, Cumulative };
QString rowLabel(MonthRow row);
QList<MonthRow> monthRows(bool loan);
// The amounts of a row per month, and its Total (the year's end for the cash rows).
Row rowAmounts(const FinancialPlan &plan, const Figures &f, MonthRow row);
Cents rowTotal(const Figures &f, MonthRow row, const Row &amounts);
inline const QString TotalLabel = QStringLiteral("Total");

// The three-year table's rows: income, expenses and net, with a loan its repayments.
QStringList yearRowLabels(bool loan);

// Table text, row by row, header row first: the corner holds the currency sign.
QList<QStringList> monthCells(const FinancialPlan &plan, const Figures &f);
QList<QStringList> yearCells(const FinancialPlan &plan, const Figures &f);
// Uses with their total, then the sources (the owner's investment, the loan, the other
// rows) with theirs.
QList<QStringList> sourcesAndUsesCells(const FinancialPlan &plan, const Figures &f);
inline const QString UsesLabel = QStringLiteral("Uses of funds");
inline const QString UsesTotalLabel = QStringLiteral("Total uses");
inline const QString SourcesLabel = QStringLiteral("Sources of funds");
inline const QString SourcesTotalLabel = QStringLiteral("Total sources");
inline const QString OwnLabel = QStringLiteral("Owner's investment");
inline const QString LoanLabel = QStringLiteral("Loan");

// "Break-even: ...", "Break-even sales: ...", "Lowest cash: ..." and, with a loan,
// "Loan repayment: ...".
QStringList sentences(const FinancialPlan &plan, const Figures &f);
// "Uses exceed sources by 2,500." or the other way; empty when they match.
QString differenceSentence(const Figures &f);
// Check March: read 16,900 from "Mar 16,900 - 3 weddings"
QString checkLine(const FinancialPlan &plan, const Check &check);
// What the tables rest on beyond the months: the opening cash, the cost of sales and
// the growth of years 2 and 3, in one line that the read-back takes apart again.
QString assumptionsLine(const FinancialPlan &plan);
bool readAssumptions(const QString &line, FinancialPlan &plan);

// The funding request's lines as lead-in and text ("Amount requested", "$37,500").
QList<std::pair<QString, QString>> fundingLines(const FinancialPlan &plan);
// Takes a funding line back; false when it is none.
bool readFundingLine(const QString &line, FinancialPlan &plan);

// The executive summary's closing paragraph: the request and the first year's figures.
// Empty when there is nothing to say.
QString summaryParagraph(const FinancialPlan &plan, const Figures &f);

// The lead lines over the two tables.
inline const QString ProjectionLead = QStringLiteral("12-month projection");
inline const QString YearsLead = QStringLiteral("Three-year forecast");
inline const QString FundingLead = QStringLiteral("Sources and uses of funds");

} // namespace plandoc::finance

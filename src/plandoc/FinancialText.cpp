#include "plandoc/FinancialText.h"

#include <QRegularExpression>

#include <numeric>

namespace plandoc::finance {

namespace {

QString years(int n) { return n == 1 ? QStringLiteral("1 year") : QStringLiteral("%1 years").arg(n); }

// "1.85", "-0.40": hundredths as a ratio.
QString ratio(qint64 hundredths)
{
    const qint64 magnitude = hundredths < 0 ? -hundredths : hundredths;
    return QStringLiteral("%1%2.%3")
        .arg(hundredths < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

// The purpose completes "We are asking for a loan of ... over 5 years ".
QString purposePhrase(QString purpose)
{
    purpose = purpose.trimmed();
    while (purpose.endsWith(QLatin1Char('.')))
        purpose.chop(1);
    if (purpose.isEmpty() || purpose.startsWith(QLatin1String("to "), Qt::CaseInsensitive)
        || purpose.startsWith(QLatin1String("for "), Qt::CaseInsensitive))
        return purpose;
    return QStringLiteral("to ") + purpose;
}

QStringList amountRow(const QString &label, const Row &amounts, Cents total)
{
    QStringList line{label};
    for (Cents c : amounts)
        line << formatAmount(c);
    line << formatAmount(total);
    return line;
}

// The funding lines' lead-ins, in their order.
const QString AmountLead = QStringLiteral("Amount requested");
const QString TermLead = QStringLiteral("Term");
const QString RateLead = QStringLiteral("Interest rate");
const QString MonthLead = QStringLiteral("Funds needed");
const QString PurposeLead = QStringLiteral("Purpose");
const QString RateAfter = QStringLiteral(" a year");

} // namespace

QString rowLabel(MonthRow row)
{
    switch (row) {
    case MonthRow::Income: return QStringLiteral("Income");
    case MonthRow::Expenses: return QStringLiteral("Expenses");
    case MonthRow::Net: return QStringLiteral("Net");
    case MonthRow::FundsIn: return QStringLiteral("Funds received");
    case MonthRow::Purchases: return QStringLiteral("Purchases");
    case MonthRow::Repayment: return QStringLiteral("Loan repayment");
    case MonthRow::Cash: return QStringLiteral("Cash at month end");
    case MonthRow::Cumulative: return QStringLiteral("Cumulative");
    }
    return QString();
}

QList<MonthRow> monthRows(bool loan)
{
    if (loan)
        return {MonthRow::Income,    MonthRow::Expenses,  MonthRow::Net, MonthRow::FundsIn,
                MonthRow::Purchases, MonthRow::Repayment, MonthRow::Cash};
    return {MonthRow::Income, MonthRow::Expenses, MonthRow::Net, MonthRow::Cumulative};
}

Row rowAmounts(const FinancialPlan &plan, const Figures &f, MonthRow row)
{
    switch (row) {
    case MonthRow::Income: return plan.income;
    case MonthRow::Expenses: return plan.expenses;
    case MonthRow::Net: return f.net;
    case MonthRow::FundsIn: return f.fundsIn;
    case MonthRow::Purchases: return f.purchases;
    case MonthRow::Repayment: return f.repayment;
    case MonthRow::Cash:
    case MonthRow::Cumulative: return f.cash;
    }
    return Row{};
}

Cents rowTotal(const Figures &f, MonthRow row, const Row &amounts)
{
    if (row == MonthRow::Cash || row == MonthRow::Cumulative)
        return f.cash[Months - 1];
    return std::accumulate(amounts.begin(), amounts.end(), Cents(0));
}

QStringList yearRowLabels(bool loan)
{
    QStringList labels{rowLabel(MonthRow::Income), rowLabel(MonthRow::Expenses), rowLabel(MonthRow::Net)};
    if (loan)
        labels << QStringLiteral("Loan repayments");
    return labels;
}

QList<QStringList> monthCells(const FinancialPlan &plan, const Figures &f)
{
    QStringList header{plan.currency.trimmed()};
    // The month over its year: every month's heading takes two lines alike, where some
    // would fit on one and others wrap.
    for (int m = 0; m < Months; ++m)
        header << shortMonthName(plan.firstMonth, m).replace(QLatin1Char(' '), QChar::LineSeparator);
    header << TotalLabel;
    QList<QStringList> cells{header};
    for (MonthRow row : monthRows(plan.hasLoan())) {
        const Row amounts = rowAmounts(plan, f, row);
        cells << amountRow(rowLabel(row), amounts, rowTotal(f, row, amounts));
    }
    return cells;
}

QList<QStringList> yearCells(const FinancialPlan &plan, const Figures &f)
{
    QStringList header{plan.currency.trimmed()};
    for (int y = 1; y <= Years; ++y)
        header << yearLabel(y);
    QList<QStringList> cells{header};
    const QStringList labels = yearRowLabels(plan.hasLoan());
    for (int r = 0; r < labels.size(); ++r) {
        QStringList line{labels[r]};
        for (const YearFigures &y : f.years) {
            const Cents values[] = {y.income, y.expenses, y.net, y.repayments};
            line << formatAmount(values[r]);
        }
        cells << line;
    }
    return cells;
}

QList<QStringList> sourcesAndUsesCells(const FinancialPlan &plan, const Figures &f)
{
    const Funding &funding = plan.funding;
    QList<QStringList> cells{{UsesLabel, plan.currency.trimmed()}};
    for (const Line &use : funding.uses)
        cells << QStringList{use.item, formatAmount(use.amount)};
    cells << QStringList{UsesTotalLabel, formatAmount(f.usesTotal)};
    cells << QStringList{SourcesLabel, QString()};
    cells << QStringList{OwnLabel, formatAmount(funding.ownInvestment)};
    cells << QStringList{LoanLabel, formatAmount(funding.requested)};
    for (const Line &source : funding.otherSources)
        cells << QStringList{source.item, formatAmount(source.amount)};
    cells << QStringList{SourcesTotalLabel, formatAmount(f.sourcesTotal)};
    return cells;
}

QStringList sentences(const FinancialPlan &plan, const Figures &f)
{
    QStringList out;
    if (f.breakEvenMonth)
        out << QStringLiteral("Break-even: month %1 (%2); from then on income covers expenses every month.")
                   .arg(f.breakEvenMonth)
                   .arg(longMonthName(plan.firstMonth, f.breakEvenMonth - 1));
    else
        out << QStringLiteral("Break-even: not reached within these 12 months.");
    if (f.breakEvenSales)
        out << QStringLiteral("Break-even sales: %1 a month.").arg(formatAmount(*f.breakEvenSales));
    else
        out << QStringLiteral("Break-even sales: not reachable at this margin.");
    out << QStringLiteral("Lowest cash: %1 in month %2 (%3).")
               .arg(formatAmount(f.lowestCash))
               .arg(f.lowestCashMonth)
               .arg(longMonthName(plan.firstMonth, f.lowestCashMonth - 1));
    if (plan.hasLoan() && f.coverage)
        out << QStringLiteral("Loan repayment: %1 a month over %2 at %3; debt service coverage in year 1: %4.")
                   .arg(formatAmount(f.payment), years(plan.funding.termYears), formatRate(plan.funding.rate),
                        ratio(*f.coverage));
    return out;
}

QString differenceSentence(const Figures &f)
{
    if (f.usesTotal > f.sourcesTotal)
        return QStringLiteral("Uses exceed sources by %1.").arg(formatAmount(f.usesTotal - f.sourcesTotal));
    if (f.sourcesTotal > f.usesTotal)
        return QStringLiteral("Sources exceed uses by %1.").arg(formatAmount(f.sourcesTotal - f.usesTotal));
    return QString();
}

QString checkLine(const FinancialPlan &plan, const Check &check)
{
    return QStringLiteral("Check %1: read %2 from \"%3\"")
        .arg(monthOnlyName(plan.firstMonth, check.month), formatAmount(check.amount), check.part);
}

QString assumptionsLine(const FinancialPlan &plan)
{
    return QStringLiteral("Assumptions: opening cash %1; cost of sales %2 of income; yearly growth in years 2 and 3: "
                          "income %3, expenses %4.")
        .arg(formatAmount(plan.openingCash), formatRate(plan.costOfSales), formatRate(plan.incomeGrowth),
             formatRate(plan.expenseGrowth));
}

bool readAssumptions(const QString &line, FinancialPlan &plan)
{
    static const QRegularExpression re(QStringLiteral(
        R"(^Assumptions: opening cash (\S+); cost of sales (\S+ %) of income; yearly growth in years 2 and 3: )"
        R"(income (\S+ %), expenses (\S+ %)\.$)"));
    const QRegularExpressionMatch m = re.match(line.trimmed());
    const auto opening = m.hasMatch() ? parseAmount(m.captured(1)) : std::nullopt;
    const auto cost = parseRate(m.captured(2));
    const auto income = parseRate(m.captured(3));
    const auto expenses = parseRate(m.captured(4));
    if (!opening || !cost || !income || !expenses)
        return false;
    plan.openingCash = *opening;
    plan.costOfSales = *cost;
    plan.incomeGrowth = *income;
    plan.expenseGrowth = *expenses;
    return true;
}

QList<std::pair<QString, QString>> fundingLines(const FinancialPlan &plan)
{
    const Funding &f = plan.funding;
    QList<std::pair<QString, QString>> lines{
        {AmountLead, withCurrency(f.requested, plan.currency)},
        {TermLead, years(f.termYears)},
        {RateLead, formatRate(f.rate) + RateAfter},
        {MonthLead, longMonthName(plan.firstMonth, f.month - 1)},
    };
    if (const QString purpose = purposePhrase(f.purpose); !purpose.isEmpty())
        lines.append({PurposeLead, purpose});
    return lines;
}

bool readFundingLine(const QString &line, FinancialPlan &plan)
{
    const qsizetype colon = line.indexOf(QStringLiteral(": "));
    if (colon < 0)
        return false;
    const QString lead = line.left(colon);
    const QString value = line.mid(colon + 2).trimmed();
    Funding &f = plan.funding;
    if (lead == AmountLead) {
        QString digits = value;
        digits.remove(QRegularExpression(QStringLiteral(R"([^\d.,])")));
        f.requested = parseAmount(digits).value_or(0);
    } else if (lead == TermLead) {
        static const QRegularExpression term(QStringLiteral(R"(^(\d{1,2}) years?$)"));
        const QRegularExpressionMatch m = term.match(value);
        f.termYears = m.hasMatch() ? std::clamp(m.captured(1).toInt(), MinTermYears, MaxTermYears) : f.termYears;
    } else if (lead == RateLead) {
        f.rate = parseRate(value.endsWith(RateAfter) ? value.chopped(RateAfter.size()) : value).value_or(0);
    } else if (lead == MonthLead) {
        const auto month = monthFromName(value);
        const int in = month && plan.firstMonth.isValid()
            ? (month->year() - plan.firstMonth.year()) * 12 + month->month() - plan.firstMonth.month() + 1
            : 1;
        f.month = std::clamp(in, 1, Months);
    } else if (lead == PurposeLead) {
        f.purpose = value;
    } else {
        return false;
    }
    return true;
}

QString summaryParagraph(const FinancialPlan &plan, const Figures &f)
{
    const Funding &funding = plan.funding;
    const auto money = [&plan](Cents c) { return withCurrency(c, plan.currency); };
    QStringList out;
    if (plan.hasLoan()) {
        QString ask = QStringLiteral("We are asking for a loan of %1 over %2").arg(money(funding.requested), years(funding.termYears));
        if (const QString purpose = purposePhrase(funding.purpose); !purpose.isEmpty())
            ask += QLatin1Char(' ') + purpose;
        out << ask + QLatin1Char('.');
        if (f.usesTotal > 0) {
            QStringList with;
            if (funding.ownInvestment > 0)
                with << QStringLiteral("%1 of our own").arg(money(funding.ownInvestment));
            if (const Cents other = f.sourcesTotal - funding.ownInvestment - funding.requested; other > 0)
                with << QStringLiteral("%1 from other sources").arg(money(other));
            const QString covers = with.isEmpty() ? QStringLiteral("It covers")
                                                  : QStringLiteral("With %1, it covers").arg(with.join(QStringLiteral(" and ")));
            out << (f.sourcesTotal >= f.usesTotal
                        ? QStringLiteral("%1 the whole %2.").arg(covers, money(f.usesTotal))
                        : QStringLiteral("%1 %2 of the %3 we need.").arg(covers, money(f.sourcesTotal), money(f.usesTotal)));
        }
    }
    if (f.totalIncome != 0 || f.totalExpenses != 0) {
        const QString net = f.totalNet < 0 ? QStringLiteral("a net loss of %1").arg(money(-f.totalNet))
                                           : QStringLiteral("a net of %1").arg(money(f.totalNet));
        const QString breakEven = f.breakEvenMonth
            ? QStringLiteral("with break-even in month %1").arg(f.breakEvenMonth)
            : QStringLiteral("without break-even within the first twelve months");
        out << QStringLiteral("We project income of %1 and %2 in the first year, %3.").arg(money(f.totalIncome), net, breakEven);
    }
    return out.join(QLatin1Char(' '));
}

} // namespace plandoc::finance

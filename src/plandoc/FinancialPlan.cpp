#include "plandoc/FinancialPlan.h"

#include "plandoc/AnswerAmounts.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace plandoc::finance {

namespace {

// The three years of months the loan's repayments are followed over.
constexpr int Horizon = Years * Months;

Cents sum(const Row &row) { return std::accumulate(row.begin(), row.end(), Cents(0)); }

Cents sum(const QList<Line> &lines)
{
    Cents total = 0;
    for (const Line &l : lines)
        total += l.amount;
    return total;
}

// A use that stays in the bank rather than being spent when the money comes in.
bool keptAsCash(const Line &use)
{
    return use.item.contains(QLatin1String("working capital"), Qt::CaseInsensitive)
        || use.item.contains(QLatin1String("reserve"), Qt::CaseInsensitive);
}

Cents grown(Cents amount, Rate rate) { return mulDiv(amount, MaxRate + rate, MaxRate); }

// The level monthly repayment of a loan: an annuity, or the principal over the months
// when there is no interest; at least a cent so the loan is always paid off.
Cents levelPayment(Cents principal, Rate rate, int months)
{
    if (rate == 0)
        return std::max<Cents>(1, mulDiv(principal, 1, months));
    const long double i = static_cast<long double>(rate) / (12.0L * MaxRate);
    const long double payment = principal * i / (1.0L - std::pow(1.0L + i, -months));
    return std::max<Cents>(1, Cents(std::llround(payment)));
}

// The loan's repayments per month of the three years, the level payment and its first
// year of repayments.
void repayments(const Funding &f, std::array<Cents, Horizon> &perMonth, Figures &out)
{
    const int count = f.termYears * Months;
    out.payment = levelPayment(f.requested, f.rate, count);
    Cents balance = f.requested;
    for (int k = 1; k <= count && balance > 0; ++k) {
        const Cents interest = mulDiv(balance, f.rate, 12 * MaxRate);
        const Cents due = k == count ? balance + interest : std::min(out.payment, balance + interest);
        balance -= due - interest;
        if (const int month = f.month + k; month <= Horizon)
            perMonth[size_t(month - 1)] = due;
        else if (k > Months)
            break;
        if (k <= Months)
            out.yearOfRepayments += due;
    }
}

// The first year's cost of sales: each month's share of income, never more than the
// month's expenses, of which it is a part.
Cents costOfSales(const FinancialPlan &p)
{
    Cents variable = 0;
    for (int m = 0; m < Months; ++m)
        variable += std::clamp(mulDiv(p.income[m], p.costOfSales, MaxRate), Cents(0), std::max(p.expenses[m], Cents(0)));
    return variable;
}

// Years 2 and 3: income grows at its rate, the fixed costs at the expenses' rate, and the
// cost of sales keeps its share of income.
void fillYears(const FinancialPlan &p, const std::array<Cents, Horizon> &paid, Figures &f)
{
    const Cents variable = costOfSales(p);
    Cents fixed = f.totalExpenses - variable;
    Cents income = f.totalIncome;
    for (int y = 0; y < Years; ++y) {
        YearFigures &year = f.years[size_t(y)];
        if (y == 0) {
            year.expenses = f.totalExpenses;
        } else {
            income = grown(income, p.incomeGrowth);
            fixed = grown(fixed, p.expenseGrowth);
            year.expenses = fixed + (f.totalIncome > 0 ? mulDiv(income, variable, f.totalIncome) : 0);
        }
        year.income = income;
        year.net = year.income - year.expenses;
        year.repayments = std::accumulate(paid.begin() + y * Months, paid.begin() + (y + 1) * Months, Cents(0));
    }
}

} // namespace

bool FinancialPlan::hasFigures() const
{
    const auto any = [](const Row &r) { return std::any_of(r.begin(), r.end(), [](Cents c) { return c != 0; }); };
    return any(income) || any(expenses) || openingCash != 0 || hasLoan();
}

void refreshFromAnswers(FinancialPlan &plan, const QString &yrIncome, const QString &moExpenses, const QDate &today,
                        const QString &localCurrency)
{
    if (!plan.incomeAnswer && !plan.expensesAnswer) {
        if (!plan.firstMonth.isValid()) {
            QDate first = defaultFirstMonth(today);
            // "Jan $15,800; Feb ..." starts in the next January.
            if (const auto named = firstNamedMonth(yrIncome))
                while (first.month() != *named)
                    first = first.addMonths(1);
            plan.firstMonth = first;
        }
        if (plan.currency.isEmpty())
            plan.currency = localCurrency;
    }
    const std::pair<const QString &, std::optional<QString> &> answers[] = {{yrIncome, plan.incomeAnswer},
                                                                           {moExpenses, plan.expensesAnswer}};
    for (int r = 0; r < 2; ++r) {
        const auto &[answer, readFrom] = answers[r];
        if (readFrom == answer)
            continue;
        readFrom = answer;
        Row &row = r == 0 ? plan.income : plan.expenses;
        row.fill(0);
        plan.checks.removeIf([r](const Check &c) { return c.row == r; });
        const QList<AnswerAmount> amounts = readAmounts(answer, Months);
        for (int m = 0; m < amounts.size(); ++m) {
            row[size_t(m)] = amounts[m].amount;
            if (amounts[m].marked)
                plan.checks << Check{r, m, amounts[m].amount, amounts[m].part};
        }
    }
    std::sort(plan.checks.begin(), plan.checks.end(),
              [](const Check &a, const Check &b) { return std::pair(a.month, a.row) < std::pair(b.month, b.row); });
}

FinancialPlan clamped(FinancialPlan p)
{
    for (Row *row : {&p.income, &p.expenses})
        for (Cents &c : *row)
            c = clampAmount(c);
    p.openingCash = clampAmount(p.openingCash);
    for (Rate *r : {&p.costOfSales, &p.incomeGrowth, &p.expenseGrowth, &p.funding.rate})
        *r = std::clamp(*r, 0, MaxRate);
    Funding &f = p.funding;
    f.requested = std::clamp(f.requested, Cents(0), MaxAmount);
    f.ownInvestment = std::clamp(f.ownInvestment, Cents(0), MaxAmount);
    for (QList<Line> *lines : {&f.uses, &f.otherSources})
        for (Line &l : *lines)
            l.amount = std::clamp(l.amount, Cents(0), MaxAmount);
    f.termYears = std::clamp(f.termYears, MinTermYears, MaxTermYears);
    f.month = std::clamp(f.month, 1, Months);
    if (p.firstMonth.isValid())
        p.firstMonth = QDate(p.firstMonth.year(), p.firstMonth.month(), 1);
    return p;
}

Figures compute(const FinancialPlan &plan)
{
    const FinancialPlan p = clamped(plan);
    Figures f;
    for (int m = 0; m < Months; ++m)
        f.net[m] = p.income[m] - p.expenses[m];
    f.totalIncome = sum(p.income);
    f.totalExpenses = sum(p.expenses);
    f.totalNet = f.totalIncome - f.totalExpenses;

    std::array<Cents, Horizon> paid{};
    const Funding &funding = p.funding;
    f.usesTotal = sum(funding.uses);
    f.sourcesTotal = funding.ownInvestment + funding.requested + sum(funding.otherSources);
    if (p.hasLoan()) {
        const int in = funding.month - 1;
        f.fundsIn[in] = f.sourcesTotal;
        for (const Line &use : funding.uses)
            if (!keptAsCash(use))
                f.purchases[in] += use.amount;
        repayments(funding, paid, f);
        std::copy(paid.begin(), paid.begin() + Months, f.repayment.begin());
    }
    Cents cash = p.openingCash;
    for (int m = 0; m < Months; ++m) {
        cash += f.net[m] + f.fundsIn[m] - f.purchases[m] - f.repayment[m];
        f.cash[m] = cash;
        if (m == 0 || cash < f.lowestCash) {
            f.lowestCash = cash;
            f.lowestCashMonth = m + 1;
        }
    }
    fillYears(p, paid, f);

    for (int m = Months; m > 0 && f.net[m - 1] >= 0; --m)
        f.breakEvenMonth = m;

    if (p.costOfSales < MaxRate) {
        const Cents fixed = std::max(Cents(0), f.totalExpenses - costOfSales(p));
        // Rounded up to a whole unit: the sales that surely cover the costs.
        const Cents cents = mulDiv(fixed, MaxRate, Cents(Months) * (MaxRate - p.costOfSales));
        f.breakEvenSales = (cents + 99) / 100 * 100;
    }
    if (p.hasLoan() && f.yearOfRepayments > 0)
        f.coverage = mulDiv(f.totalNet, 100, f.yearOfRepayments);
    return f;
}

QString yearLabel(int year) { return QStringLiteral("Year %1").arg(year); }

QList<MonthPoint> monthSeries(const FinancialPlan &plan)
{
    const Figures f = compute(plan);
    QList<MonthPoint> out;
    for (int m = 0; m < Months; ++m)
        out << MonthPoint{shortMonthName(plan.firstMonth, m), plan.income[m], plan.expenses[m], f.net[m], f.cash[m]};
    return out;
}

QList<YearPoint> yearSeries(const FinancialPlan &plan)
{
    const Figures f = compute(plan);
    QList<YearPoint> out;
    for (int y = 0; y < Years; ++y)
        out << YearPoint{yearLabel(y + 1), f.years[size_t(y)].income, f.years[size_t(y)].expenses, f.years[size_t(y)].net};
    return out;
}

} // namespace plandoc::finance

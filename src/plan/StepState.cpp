#include "plan/StepState.h"

#include <initializer_list>

namespace {

int answered(const QString &field, const QString &start = {}) { return holdsAnswer(field, start); }

template <int W>
int answered(const FixedText<W> &field)
{
    return holdsAnswer(field.text());
}

StepState texts(std::initializer_list<const QString *> fields)
{
    StepState s{0, int(fields.size())};
    for (const QString *f : fields)
        s.stored += answered(*f);
    return s;
}

// The employee and product lists count as one answer: stored while an entry in use
// holds more than its number.
template <std::size_t N>
StepState list(const std::array<QString, N> &flags, const std::array<QString, N> &names)
{
    for (std::size_t i = 0; i < N; ++i)
        if (flags[i] == SlotOn && answered(names[i], goalPrefix(int(i) + 1)))
            return {1, 1};
    return {0, 1};
}

} // namespace

StepMark StepState::mark() const
{
    if (stored <= 0)
        return StepMark::Empty;
    return stored >= total ? StepMark::Check : StepMark::Half;
}

QString StepState::text() const
{
    return QStringLiteral("%1 of %2 %3 stored.")
        .arg(stored)
        .arg(total)
        .arg(total == 1 ? QStringLiteral("answer") : QStringLiteral("answers"));
}

StepState stepState(const PlanRecord &p, const SharedState &shared, int step)
{
    switch (step) {
    case 1: {
        StepState s = texts({&p.Name, &p.Add1, &p.Add2, &p.City, &p.State, &p.Zip, &p.Phone, &p.Fax, &p.Email});
        // The web-address box starts with "http://", so saving it untouched answers nothing.
        s.stored += answered(p.URL, QStringLiteral("http://"));
        s.total += 1;
        return s;
    }
    case 2: return {answered(p.BusType), 1};
    case 3: return {answered(p.Offer) + answered(p.Customers) + answered(p.SoldVia), 3};
    case 4: return texts({&p.BusPurp});
    case 5: {
        StepState s{0, 10};
        for (int i = 0; i < 5; ++i)
            s.stored += answered(p.BusSTG[i], goalPrefix(i + 1)) + answered(p.BusLTG[i], goalPrefix(i + 1));
        return s;
    }
    case 6: return texts({&p.Idea, &p.People, &p.Market, &p.How});
    case 7: return texts({&p.Where, &p.Advertising, &p.Amount, &p.Personnel});
    case 8: return list(shared.EmpSlot, p.Emp);
    case 9: return list(shared.ProdSlot, p.ProdServ);
    case 10: return texts({&p.ToWhom, &p.Number, &p.Reach, &p.Differ, &p.Types, &p.Plans});
    case 11: // its three pages together
        return texts({&p.Cost, &p.Expenses, &p.Adv, &p.Equip, &p.Charge, &p.Sell, &p.MoIncome, &p.YrIncome,
                      &p.MoExpenses, &p.InGoals});
    case 12: return texts({&p.Info});
    default: return {};
    }
}

#include "plan/PlanRecord.h"

#include <QHash>

QString goalPrefix(int number) { return QString::number(number) + QStringLiteral(".  "); }

QString employeeEmpty(int number) { return QString::number(number) + QLatin1Char('.'); }

QString employeePrefix(int number)
{
    // Every prefix is four characters wide, so "10. " has one space.
    return (QString::number(number) + QLatin1Char('.')).leftJustified(4, QLatin1Char(' '));
}

QString blankPadded(int width) { return BlankMarker.leftJustified(width, QLatin1Char(' ')); }

bool holdsAnswer(const QString &value, const QString &start)
{
    const QString t = value.trimmed();
    return !t.isEmpty() && t != BlankMarker && (start.isEmpty() || t != start.trimmed());
}

void PlanRecord::reset()
{
    for (QString *f : {&Name, &Add1, &Add2, &City, &State, &Zip, &Phone, &Fax, &Email, &URL})
        *f = BlankMarker;
    BusType = BlankMarker;
    Offer = BlankMarker;
    Customers = BlankMarker;
    SoldVia = BusPurp = BlankMarker;
    for (int i = 0; i < 5; ++i)
        BusSTG[i] = BusLTG[i] = goalPrefix(i + 1);
    for (QString *f : {&Idea, &People, &Market, &How, &Where, &Advertising, &Amount, &Personnel})
        *f = BlankMarker;
    for (int i = 0; i < 10; ++i)
        Emp[i] = employeeEmpty(i + 1);
    for (int i = 0; i < 5; ++i) {
        ProdServ[i] = goalPrefix(i + 1);
        ProdDesc[i] = ProdProd[i] = ProdCompare[i] = ProdDiffer[i] = BlankMarker;
    }
    for (QString *f : {&ToWhom, &Number, &Reach, &Differ, &Types, &Plans, &Cost, &Expenses, &Adv,
                       &Equip, &Charge, &Sell, &MoIncome, &YrIncome, &MoExpenses, &InGoals, &Info})
        *f = BlankMarker;
}

void SharedState::freeSlots()
{
    EmpSlot.fill(SlotOff);
    ProdSlot.fill(SlotOff);
}

void resetPlan(PlanRecord &plan, SharedState &shared)
{
    plan.reset();
    shared.freeSlots(); // InfoOrigin is left alone
}

void markEmployeeSlots(const PlanRecord &plan, SharedState &shared)
{
    for (int i = 0; i < int(plan.Emp.size()); ++i)
        shared.EmpSlot[i] = holdsAnswer(plan.Emp[i], employeeEmpty(i + 1)) ? SlotOn : SlotOff;
}

void markProductSlots(const PlanRecord &plan, SharedState &shared)
{
    // An entry without a name but with a description is still an entry.
    for (int i = 0; i < int(plan.ProdServ.size()); ++i) {
        const bool held = holdsAnswer(plan.ProdServ[i], goalPrefix(i + 1)) || holdsAnswer(plan.ProdDesc[i])
                          || holdsAnswer(plan.ProdProd[i]) || holdsAnswer(plan.ProdCompare[i])
                          || holdsAnswer(plan.ProdDiffer[i]);
        shared.ProdSlot[i] = held ? SlotOn : SlotOff;
    }
}

namespace {

PlanField plain(const char *name, QString PlanRecord::*member)
{
    return {QString::fromLatin1(name), [member](const PlanRecord &r) { return r.*member; },
            [member](PlanRecord &r, const QString &v) { r.*member = v; }};
}

template <int W>
PlanField fixed(const char *name, FixedText<W> PlanRecord::*member)
{
    return {QString::fromLatin1(name), [member](const PlanRecord &r) { return (r.*member).text(); },
            [member](PlanRecord &r, const QString &v) { r.*member = v; }};
}

template <std::size_t N>
void numbered(std::vector<PlanField> &out, const char *name, std::array<QString, N> PlanRecord::*member)
{
    for (std::size_t i = 0; i < N; ++i)
        out.push_back({QString::fromLatin1(name) + QString::number(i + 1),
                       [member, i](const PlanRecord &r) { return (r.*member)[i]; },
                       [member, i](PlanRecord &r, const QString &v) { (r.*member)[i] = v; }});
}

std::vector<PlanField> buildFields()
{
    std::vector<PlanField> f;
    using R = PlanRecord;
    for (auto [n, m] : std::initializer_list<std::pair<const char *, QString R::*>>{
             {"Name", &R::Name}, {"Add1", &R::Add1}, {"Add2", &R::Add2}, {"City", &R::City},
             {"State", &R::State}, {"Zip", &R::Zip}, {"Phone", &R::Phone}, {"Fax", &R::Fax},
             {"Email", &R::Email}, {"URL", &R::URL}})
        f.push_back(plain(n, m));
    f.push_back(fixed("BusType", &R::BusType));
    f.push_back(fixed("Offer", &R::Offer));
    f.push_back(fixed("Customers", &R::Customers));
    f.push_back(plain("SoldVia", &R::SoldVia));
    f.push_back(plain("BusPurp", &R::BusPurp));
    numbered(f, "BusSTG", &R::BusSTG);
    numbered(f, "BusLTG", &R::BusLTG);
    for (auto [n, m] : std::initializer_list<std::pair<const char *, QString R::*>>{
             {"Idea", &R::Idea}, {"People", &R::People}, {"Market", &R::Market}, {"How", &R::How},
             {"Where", &R::Where}, {"Advertising", &R::Advertising}, {"Amount", &R::Amount},
             {"Personnel", &R::Personnel}})
        f.push_back(plain(n, m));
    numbered(f, "Emp", &R::Emp);
    numbered(f, "ProdServ", &R::ProdServ);
    numbered(f, "ProdDesc", &R::ProdDesc);
    numbered(f, "ProdProd", &R::ProdProd);
    numbered(f, "ProdCompare", &R::ProdCompare);
    numbered(f, "ProdDiffer", &R::ProdDiffer);
    for (auto [n, m] : std::initializer_list<std::pair<const char *, QString R::*>>{
             {"ToWhom", &R::ToWhom}, {"Number", &R::Number}, {"Reach", &R::Reach},
             {"Differ", &R::Differ}, {"Types", &R::Types}, {"Plans", &R::Plans},
             {"Cost", &R::Cost}, {"Expenses", &R::Expenses}, {"Adv", &R::Adv},
             {"Equip", &R::Equip}, {"Charge", &R::Charge}, {"Sell", &R::Sell},
             {"MoIncome", &R::MoIncome}, {"YrIncome", &R::YrIncome},
             {"MoExpenses", &R::MoExpenses}, {"InGoals", &R::InGoals}, {"Info", &R::Info}})
        f.push_back(plain(n, m));
    return f;
}

} // namespace

const std::vector<PlanField> &planFields()
{
    static const std::vector<PlanField> fields = buildFields();
    return fields;
}

const PlanField &planField(const QString &name)
{
    static const QHash<QString, const PlanField *> byName = [] {
        QHash<QString, const PlanField *> h;
        for (const PlanField &f : planFields())
            h.insert(f.name, &f);
        return h;
    }();
    const PlanField *found = byName.value(name);
    Q_ASSERT(found);
    return *found;
}

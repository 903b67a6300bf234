#pragma once

#include "plan/FixedText.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

// The literal that stands for an answer the user has not stored yet.
inline const QString BlankMarker = QStringLiteral("(blank)");

// The user's answers for one run, in record order. Numbered groups are arrays: index 0
// holds field 1 (BusSTG[0] is BusSTG1).
struct PlanRecord {
    QString Name, Add1, Add2, City, State, Zip, Phone, Fax, Email, URL;
    FixedText<19> BusType;
    FixedText<21> Offer;
    FixedText<24> Customers;
    QString SoldVia, BusPurp;
    std::array<QString, 5> BusSTG, BusLTG;
    QString Idea, People, Market, How;
    QString Where, Advertising, Amount, Personnel;
    std::array<QString, 10> Emp;
    std::array<QString, 5> ProdServ, ProdDesc, ProdProd, ProdCompare, ProdDiffer;
    QString ToWhom, Number, Reach, Differ, Types, Plans;
    QString Cost, Expenses, Adv, Equip, Charge, Sell;
    QString MoIncome, YrIncome, MoExpenses, InGoals;
    QString Info;

    PlanRecord() { reset(); }
    // Every field back to its initial value (the answers part of ResetPlan).
    void reset();
};

// State that several pages share beside the answers; the document never shows it.
struct SharedState {
    QString InfoOrigin = QStringLiteral("N"); // "S", "M" or "N": who opened the Info page
    std::array<QString, 10> EmpSlot;          // "On" while employee line N is in use
    std::array<QString, 5> ProdSlot;          // "On" while product entry N is in use

    SharedState() { freeSlots(); }
    void freeSlots();
};

inline const QString SlotOn = QStringLiteral("On");
inline const QString SlotOff = QStringLiteral("Off");

// The index of the lowest free slot, or -1 when every slot is in use.
template <std::size_t N>
int lowestFreeSlot(const std::array<QString, N> &flags)
{
    for (std::size_t i = 0; i < N; ++i)
        if (flags[i] == SlotOff)
            return int(i);
    return -1;
}

// ResetPlan: every answer to its initial value and every entry slot free.
void resetPlan(PlanRecord &plan, SharedState &shared);

// The slot flags from what the record holds: a slot whose entry holds more than its number
// (for a product, any of its five answers) is in use, every other one free. For a record
// that was filled from elsewhere (Fill Steps) before a list page kept its own flags.
void markEmployeeSlots(const PlanRecord &plan, SharedState &shared);
void markProductSlots(const PlanRecord &plan, SharedState &shared);

// Initial values of the numbered groups.
QString goalPrefix(int number);      // "1.  "
QString employeeEmpty(int number);   // "1." .. "10."
QString employeePrefix(int number);  // "1.  " .. "9.  ", "10. "
QString blankPadded(int width);      // BlankMarker padded to a fixed width

// Whether a stored value answers its question: more than spaces, more than the blank
// marker (padding included) and more than what its box starts with ("1.  ", "http://").
bool holdsAnswer(const QString &value, const QString &start = {});

// Named access to every field in record order, for code that walks the whole record.
struct PlanField {
    QString name;
    std::function<QString(const PlanRecord &)> get;
    std::function<void(PlanRecord &, const QString &)> set;
};
const std::vector<PlanField> &planFields();
// The field of that name; it must exist.
const PlanField &planField(const QString &name);

#include "plan/StepState.h"

#include <QRegularExpression>
#include <QTest>

#include <functional>

namespace {

using Fill = std::function<void(PlanRecord &, SharedState &)>;

struct Case {
    const char *name;
    int step;
    Fill fill;
    const char *text;
    StepMark mark;
};

void fillAll(std::initializer_list<QString *> fields, const QString &v = QStringLiteral("x"))
{
    for (QString *f : fields)
        *f = v;
}

// Plans as the step pages leave them, and what each step's mark must say about them.
const Case kCases[] = {
    {"step 1 saved untouched: http:// answers nothing", 1,
     [](PlanRecord &p, SharedState &) { p.URL = QStringLiteral("http://"); }, "0 of 10 answers stored.",
     StepMark::Empty},
    {"step 1 empty web address answers nothing", 1, [](PlanRecord &p, SharedState &) { p.URL.clear(); },
     "0 of 10 answers stored.", StepMark::Empty},
    {"step 1 only the name typed, the rest saved empty or spaces", 1,
     [](PlanRecord &p, SharedState &) {
         fillAll({&p.Add1, &p.Add2, &p.City, &p.State, &p.Zip, &p.Phone, &p.Fax}, {});
         p.Name = QStringLiteral("Ana's Bikes");
         p.Email = QStringLiteral("   ");
         p.URL = QStringLiteral("http://");
     },
     "1 of 10 answers stored.", StepMark::Half},
    {"step 1 complete", 1,
     [](PlanRecord &p, SharedState &) {
         fillAll({&p.Name, &p.Add1, &p.Add2, &p.City, &p.State, &p.Zip, &p.Phone, &p.Fax, &p.Email});
         p.URL = QStringLiteral("http://example.com");
     },
     "10 of 10 answers stored.", StepMark::Check},
    {"step 2 chosen", 2, [](PlanRecord &p, SharedState &) { p.BusType = QStringLiteral("Partnership"); },
     "1 of 1 answer stored.", StepMark::Check},
    {"step 3 offer only", 3, [](PlanRecord &p, SharedState &) { p.Offer = QStringLiteral("Services"); },
     "1 of 3 answers stored.", StepMark::Half},
    {"step 3 complete with empty sold-via", 3,
     [](PlanRecord &p, SharedState &) {
         p.Offer = QStringLiteral("Products");
         p.Customers = QStringLiteral("Consumers");
         p.SoldVia.clear();
     },
     "2 of 3 answers stored.", StepMark::Half},
    {"step 5 one goal and one emptied box", 5,
     [](PlanRecord &p, SharedState &) {
         p.BusSTG[0] = QStringLiteral("1.  Open on Sundays");
         p.BusLTG[4].clear();
         p.BusLTG[0] = QStringLiteral("1. ");
     },
     "1 of 10 answers stored.", StepMark::Half},
    {"step 8 the flags decide, not the text", 8,
     [](PlanRecord &p, SharedState &) { p.Emp[0] = QStringLiteral("1.  Ana"); }, "0 of 1 answer stored.",
     StepMark::Empty},
    {"step 8 last line in use", 8,
     [](PlanRecord &p, SharedState &s) {
         s.EmpSlot[9] = SlotOn;
         p.Emp[9] = QStringLiteral("10. Ana");
     },
     "1 of 1 answer stored.", StepMark::Check},
    {"step 8 a line in use with only its number", 8,
     [](PlanRecord &p, SharedState &s) {
         s.EmpSlot[9] = SlotOn;
         p.Emp[9] = QStringLiteral("10. ");
     },
     "0 of 1 answer stored.", StepMark::Empty},
    {"step 9 one entry in use", 9,
     [](PlanRecord &p, SharedState &s) {
         s.ProdSlot[4] = SlotOn;
         p.ProdServ[4] = QStringLiteral("Tune-ups");
     },
     "1 of 1 answer stored.", StepMark::Check},
    {"step 11 one answer on each of its three pages", 11,
     [](PlanRecord &p, SharedState &) { fillAll({&p.Cost, &p.Sell, &p.InGoals}); }, "3 of 10 answers stored.",
     StepMark::Half},
};

} // namespace

class StepStateTest : public QObject {
    Q_OBJECT
private slots:
    void freshPlan_everyStepEmpty();
    void plan_givesStateOfItsStep_data();
    void plan_givesStateOfItsStep();
    void everyField_countsInExactlyOneStep();
};

void StepStateTest::freshPlan_everyStepEmpty()
{
    const PlanRecord plan;
    const SharedState shared;
    const int totals[kStepCount] = {10, 1, 3, 1, 10, 4, 4, 1, 1, 6, 10, 1};
    for (int step = 1; step <= kStepCount; ++step) {
        const StepState s = stepState(plan, shared, step);
        QCOMPARE(s, (StepState{0, totals[step - 1]}));
        QCOMPARE(s.mark(), StepMark::Empty);
    }
}

void StepStateTest::plan_givesStateOfItsStep_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kCases)); ++i)
        QTest::newRow(kCases[i].name) << i;
}

void StepStateTest::plan_givesStateOfItsStep()
{
    QFETCH(int, index);
    const Case &c = kCases[index];
    PlanRecord plan;
    SharedState shared;
    c.fill(plan, shared);
    const StepState s = stepState(plan, shared, c.step);
    QCOMPARE(s.text(), QString::fromLatin1(c.text));
    QCOMPARE(s.mark(), c.mark);
}

void StepStateTest::everyField_countsInExactlyOneStep()
{
    // The employee and product fields count through their slot flags instead.
    const QStringList listFields{"Emp", "ProdServ", "ProdDesc", "ProdProd", "ProdCompare", "ProdDiffer"};
    for (const PlanField &f : planFields()) {
        PlanRecord plan;
        const SharedState shared;
        f.set(plan, QStringLiteral("answer"));
        QStringList counted;
        for (int step = 1; step <= kStepCount; ++step)
            if (stepState(plan, shared, step).stored > 0)
                counted << QString::number(step);
        QString group = f.name;
        group.remove(QRegularExpression(QStringLiteral("\\d+$")));
        const int expected = listFields.contains(group) ? 0 : 1;
        QVERIFY2(counted.size() == expected,
                 qPrintable(f.name + QStringLiteral(" counts in steps: ") + counted.join(u',')));
    }
}

QTEST_GUILESS_MAIN(StepStateTest)
#include "test_step_state.moc"

#include "plan/PlanRecord.h"

#include <QTest>

class PlanTest : public QObject {
    Q_OBJECT
private slots:
    void initialRecord_holdsEveryInitialValueInRecordOrder();
    void fixedWidthFields_padOrCutOnStore();
    void resetPlan_restoresAnswersAndFreesSlotsButKeepsInfoOrigin();
    void resetPlan_twiceEqualsOnce();
};

void PlanTest::initialRecord_holdsEveryInitialValueInRecordOrder()
{
    PlanRecord r;
    const auto &fields = planFields();
    QCOMPARE(int(fields.size()), 85);
    QCOMPARE(fields.front().name, QStringLiteral("Name"));
    QCOMPARE(fields[10].name, QStringLiteral("BusType"));
    QCOMPARE(fields[33].name, QStringLiteral("Emp1"));
    QCOMPARE(fields.back().name, QStringLiteral("Info"));

    for (const PlanField &f : fields) {
        const QString v = f.get(r);
        if (f.name.startsWith(QLatin1String("BusSTG")) || f.name.startsWith(QLatin1String("BusLTG"))
            || f.name.startsWith(QLatin1String("ProdServ"))) {
            QCOMPARE(v, f.name.right(1) + QStringLiteral(".  "));
        } else if (f.name.startsWith(QLatin1String("Emp"))) {
            QCOMPARE(v, f.name.mid(3) + QStringLiteral("."));
        } else if (f.name == QLatin1String("BusType")) {
            QCOMPARE(v, QStringLiteral("(blank)            "));
        } else if (f.name == QLatin1String("Offer")) {
            QCOMPARE(v, QStringLiteral("(blank)              "));
        } else if (f.name == QLatin1String("Customers")) {
            QCOMPARE(v, QStringLiteral("(blank)                 "));
        } else {
            QVERIFY2(v == BlankMarker, qPrintable(f.name));
        }
    }
    QCOMPARE(r.Emp[9], QStringLiteral("10."));
    QCOMPARE(employeePrefix(3), QStringLiteral("3.  "));
    QCOMPARE(employeePrefix(10), QStringLiteral("10. "));
}

void PlanTest::fixedWidthFields_padOrCutOnStore()
{
    PlanRecord r;
    r.BusType = QStringLiteral("Corporation");
    QCOMPARE(r.BusType.text(), QStringLiteral("Corporation        "));
    QCOMPARE(r.BusType.text().size(), 19);
    r.Offer = QStringLiteral("Products and Services and more");
    QCOMPARE(r.Offer.text(), QStringLiteral("Products and Services"));
    r.Customers = QString();
    QCOMPARE(r.Customers.text(), QString(24, QLatin1Char(' ')));
    r.Customers = QStringLiteral("Businesses and Consumers");
    QCOMPARE(r.Customers.text().size(), 24);
    // Comparisons are of the padded texts.
    QVERIFY(r.BusType == FixedText<19>::padded(QStringLiteral("Corporation")));
    QVERIFY(!(r.BusType == QStringLiteral("Corporation")));

    // Storing through the named field access pads the same way.
    for (const PlanField &f : planFields())
        if (f.name == QLatin1String("BusType"))
            f.set(r, QStringLiteral("Partnership"));
    QCOMPARE(r.BusType.text(), QStringLiteral("Partnership        "));
}

void PlanTest::resetPlan_restoresAnswersAndFreesSlotsButKeepsInfoOrigin()
{
    PlanRecord r;
    SharedState s;
    for (const PlanField &f : planFields())
        f.set(r, QStringLiteral("answer"));
    s.EmpSlot[2] = SlotOn;
    s.ProdSlot[4] = SlotOn;
    s.InfoOrigin = QStringLiteral("M");

    resetPlan(r, s);
    const PlanRecord fresh;
    for (const PlanField &f : planFields())
        QCOMPARE(f.get(r), f.get(fresh));
    for (const QString &slot : s.EmpSlot)
        QCOMPARE(slot, SlotOff);
    for (const QString &slot : s.ProdSlot)
        QCOMPARE(slot, SlotOff);
    QCOMPARE(s.InfoOrigin, QStringLiteral("M"));
}

void PlanTest::resetPlan_twiceEqualsOnce()
{
    PlanRecord once, twice;
    SharedState s1, s2;
    once.Name = twice.Name = QStringLiteral("x");
    resetPlan(once, s1);
    resetPlan(twice, s2);
    resetPlan(twice, s2);
    for (const PlanField &f : planFields())
        QCOMPARE(f.get(twice), f.get(once));
    QCOMPARE(s1.EmpSlot, s2.EmpSlot);
}

QTEST_APPLESS_MAIN(PlanTest)
#include "test_plan.moc"

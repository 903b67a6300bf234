#include "plandoc/PlanDocument.h"
#include "plan/PlanHints.h"
#include "support/TestSupport.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// The number at the end of a numbered field's name ("Emp10" gives 10), or 0.
int numberOf(const QString &name)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("(\\d+)$")).match(name);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

class PlanHintsTest : public QObject {
    Q_OBJECT
private slots:
    void table_hasOneRowPerFieldInRecordOrder();
    void everyField_hasOneSentenceHintAndExample_data();
    void everyField_hasOneSentenceHintAndExample();
    void examples_keepFixedWidthsAndNumberPrefixes();
    void examples_useFictionalContacts();
    void hintText_layout();
    void examplePlan_composesToFullDocument();
};

void PlanHintsTest::table_hasOneRowPerFieldInRecordOrder()
{
    QStringList fields, rows;
    for (const PlanField &f : planFields())
        fields << f.name;
    for (const FieldHint &h : fieldHints())
        rows << h.field;
    QCOMPARE(rows, fields);
    QVERIFY(findFieldHint(u"Emp10"));
    QVERIFY(!findFieldHint(u"Emp11"));
    QVERIFY(!findFieldHint(u"ProdServ"));
}

void PlanHintsTest::everyField_hasOneSentenceHintAndExample_data()
{
    QTest::addColumn<QString>("name");
    for (const PlanField &f : planFields())
        QTest::newRow(qPrintable(f.name)) << f.name;
}

void PlanHintsTest::everyField_hasOneSentenceHintAndExample()
{
    QFETCH(QString, name);
    const FieldHint *row = findFieldHint(name);
    QVERIFY2(row, "no hint for this field");
    QVERIFY(row->hint.size() > 20);
    QVERIFY2(row->hint.endsWith(QLatin1Char('.')) && !row->hint.contains(QLatin1String(". ")),
             qPrintable(row->hint));
    QVERIFY(!row->example.trimmed().isEmpty());
    QVERIFY(!row->example.contains(BlankMarker));
    QVERIFY(!row->example.contains(QLatin1Char('\n')));
    QCOMPARE(row->example, row->example.trimmed());
}

void PlanHintsTest::examples_keepFixedWidthsAndNumberPrefixes()
{
    // The examples are what the pages would store: a choice's answer, and the numbered
    // lines with the prefix their page puts in front.
    QCOMPARE(findFieldHint(u"BusType")->example, QStringLiteral("Partnership"));
    QCOMPARE(findFieldHint(u"Offer")->example, QStringLiteral("Products and Services"));
    QCOMPARE(findFieldHint(u"Customers")->example, QStringLiteral("Businesses and Consumers"));
    for (const FieldHint &h : fieldHints()) {
        const int n = numberOf(h.field);
        QString prefix;
        if (h.field.startsWith(QLatin1String("BusSTG")) || h.field.startsWith(QLatin1String("BusLTG"))
            || h.field.startsWith(QLatin1String("ProdServ")))
            prefix = goalPrefix(n);
        else if (h.field.startsWith(QLatin1String("Emp")))
            prefix = employeePrefix(n);
        if (prefix.isEmpty())
            continue;
        QVERIFY2(h.example.startsWith(prefix) && h.example.size() > prefix.size() + 3, qPrintable(h.field));
        QVERIFY2(!h.example.at(prefix.size()).isSpace(), qPrintable(h.field));
    }
}

void PlanHintsTest::examples_useFictionalContacts()
{
    const QRegularExpression fictionalPhone(QStringLiteral("^\\(\\d{3}\\) 555-01\\d\\d$"));
    QVERIFY(fictionalPhone.match(findFieldHint(u"Phone")->example).hasMatch());
    QVERIFY(fictionalPhone.match(findFieldHint(u"Fax")->example).hasMatch());
    QVERIFY(findFieldHint(u"Email")->example.endsWith(QLatin1String(".example.com")));
    QVERIFY(findFieldHint(u"URL")->example.startsWith(QLatin1String("http://")));
    QVERIFY(findFieldHint(u"URL")->example.endsWith(QLatin1String(".example.com")));
}

void PlanHintsTest::hintText_layout()
{
    QCOMPARE(hintText(QStringLiteral("Say who."), QStringLiteral("Us")), QStringLiteral("Hint: Say who.\n\nExample: Us"));
    const FieldHint *row = findFieldHint(u"City");
    QCOMPARE(hintText(*row), QStringLiteral("Hint: ") + row->hint + QStringLiteral("\n\nExample: Linden Falls"));
}

void PlanHintsTest::examplePlan_composesToFullDocument()
{
    const PlanRecord plan = examplePlan();
    for (const FieldHint &h : fieldHints())
        QCOMPARE(planField(h.field).get(plan), h.field == QLatin1String("BusType") ? h.example.leftJustified(19)
                                           : h.field == QLatin1String("Offer")  ? h.example.leftJustified(21)
                                           : h.field == QLatin1String("Customers") ? h.example.leftJustified(24)
                                                                                   : h.example);

    const QString doc = plandoc::composePlan(plan);
    QVERIFY(!doc.contains(BlankMarker));
    QStringList lines = doc.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString()); // the document ends with a line break
    QCOMPARE(lines.size(), 126);           // every line of the template, Add2 included
    QCOMPARE(lines.at(10), QStringLiteral("Our business is a Partnership        "));
    for (const FieldHint &h : fieldHints())
        QVERIFY2(doc.contains(h.example), qPrintable(h.field));
}

QTEST_GUILESS_MAIN(PlanHintsTest)
#include "test_plan_hints.moc"

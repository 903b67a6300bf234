#include "plandoc/PlanDocument.h"
#include "plan/PlanRecord.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The document's lines; the final CR LF ends the last line, so nothing follows it.
QStringList linesOf(const QString &doc)
{
    QStringList lines = doc.split(CrLf);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The document of a freshly reset plan, written out line by line.
QStringList initialDocument()
{
    QStringList l = {
        "(blank)", "(blank)", "(blank)", "(blank) (blank) (blank)", "",
        "Business Phone:  (blank)", "Fax:  (blank)", "Email:  (blank)", "WWW:  (blank)", "",
        "Our business is a (blank)            ", "",
        "Our business provides (blank)              ", " for (blank)                 ", "",
        "Our business's products and/or services are sold via:  (blank)", "",
        "The purpose of our business is to (blank)", "",
        "Short-Term Goals:", "1.  ", "2.  ", "3.  ", "4.  ", "5.  ", "",
        "Long-Term Goals:", "1.  ", "2.  ", "3.  ", "4.  ", "5.  ", "",
        "The Basic Idea/Concept of Our Business:  (blank)", "",
        "Type of People Who Will Buy Our Products and/or Services:  (blank)", "",
        "Why There is a Market at this Time:  (blank)", "",
        "How We Will Reach Our Targeted Customers:  (blank)", "",
        "Where Our Business is Today:  (blank)", "",
        "Our Current Advertising:  (blank)", "",
        "Our Current Earnings:  (blank)", "",
        "Our Current Personnel Situation:  (blank)", "",
        "Our Current Employees:", "1.", "2.", "3.", "4.", "5.", "6.", "7.", "8.", "9.", "10.", "",
        "Our Products and/or Services:",
    };
    for (int i = 1; i <= 5; ++i)
        l << QStringLiteral("%1.  ").arg(i) << "(blank)" << "(blank)" << "(blank)" << "(blank)" << "";
    l << "We Plan to Market To:  (blank)" << ""
      << "The Estimated Number of People Included Is:  (blank)" << ""
      << "We Intend to Reach These People By:  (blank)" << ""
      << "How Our Products and/or Services Differ from the Competition:  (blank)" << ""
      << "Our Current Advertising/Marketing Types:  (blank)" << ""
      << "Our Advertising Plans:  (blank)" << ""
      << "Our Production Costs:  (blank)" << ""
      << "Our Current and Projected Basic Monthly Expenses:  (blank)" << ""
      << "Our Advertising Budget:  (blank)" << ""
      << "Our Equipment Purchasing Plans:  (blank)" << ""
      << "Selling Prices for Our Products and/or Services:  (blank)" << ""
      << "Our Sales Goals:  (blank)" << ""
      << "Our Current Monthly Income:  (blank)" << ""
      << "Our Projected Monthly Income:  (blank)" << ""
      << "Our Projected Monthly Expenses:  (blank)" << ""
      << "Our Advertising Strategies:  (blank)" << ""
      << "Other:  (blank)" << "";
    return l;
}

} // namespace

class PlanDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void initialPlan_composesTemplateLineByLine();
    void composition_endsInTwoLineEndsAndUsesOnlyCrLf();
    void emptyAdd2_leavesOutItsLine();
    void add2NotEmpty_isPrinted_data();
    void add2NotEmpty_isPrinted();
    void emptyCityStateZip_giveTwoSpaces();
    void choiceFields_printAtFullWidth();
    void everyFieldAppearsOnceInStepOrder();
    void multiLineAnswers_addCrLfLines_data();
    void multiLineAnswers_addCrLfLines();
    void values_areInsertedVerbatim();
    void emptyNumberedField_keepsItsLine();
};

void PlanDocumentTest::initialPlan_composesTemplateLineByLine()
{
    const PlanRecord plan;
    const QStringList got = linesOf(plandoc::composePlan(plan));
    const QStringList want = initialDocument();
    QCOMPARE(want.size(), 126);
    for (int i = 0; i < std::min(got.size(), want.size()); ++i)
        QVERIFY2(got[i] == want[i], qPrintable(QStringLiteral("line %1: [%2] instead of [%3]").arg(i + 1).arg(got[i], want[i])));
    QCOMPARE(got.size(), 126);

    const QStringList parts = plandoc::composePlanParts(plan);
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[0], QStringLiteral("(blank)\r\n(blank)\r\n"));
    QCOMPARE(parts[1], QStringLiteral("(blank)\r\n"));
    QVERIFY(parts[2].startsWith(QStringLiteral("(blank) (blank) (blank)\r\n\r\nBusiness Phone:  ")));
}

void PlanDocumentTest::composition_endsInTwoLineEndsAndUsesOnlyCrLf()
{
    PlanRecord plan;
    plan.Info = QStringLiteral("Nothing else.");
    const QString doc = plandoc::composePlan(plan);
    QVERIFY(doc.endsWith(QStringLiteral("Other:  Nothing else.\r\n\r\n")));
    QCOMPARE(doc.count(QLatin1Char('\n')), 126);
    QCOMPARE(doc.count(QLatin1Char('\r')), 126);
    QCOMPARE(doc.count(CrLf), 126);
}

void PlanDocumentTest::emptyAdd2_leavesOutItsLine()
{
    PlanRecord plan;
    plan.Add1 = QStringLiteral("12 Main Street");
    plan.Add2 = QString();
    plan.City = QStringLiteral("Springfield");
    const QStringList parts = plandoc::composePlanParts(plan);
    QCOMPARE(parts.size(), 2);
    const QStringList lines = linesOf(plandoc::composePlan(plan));
    QCOMPARE(lines.size(), 125);
    QCOMPARE(lines[1], QStringLiteral("12 Main Street"));
    QCOMPARE(lines[2], QStringLiteral("Springfield (blank) (blank)"));
    QCOMPARE(lines[4], QStringLiteral("Business Phone:  (blank)"));
    QCOMPARE(lines[124], QStringLiteral(""));
    QCOMPARE(lines[123], QStringLiteral("Other:  (blank)"));
}

void PlanDocumentTest::add2NotEmpty_isPrinted_data()
{
    QTest::addColumn<QString>("add2");
    QTest::newRow("blank marker") << QStringLiteral("(blank)");
    QTest::newRow("one space") << QStringLiteral(" ");
    QTest::newRow("text") << QStringLiteral("Suite 4");
}

void PlanDocumentTest::add2NotEmpty_isPrinted()
{
    QFETCH(QString, add2);
    PlanRecord plan;
    plan.Add2 = add2;
    const QStringList lines = linesOf(plandoc::composePlan(plan));
    QCOMPARE(lines.size(), 126);
    QCOMPARE(lines[2], add2);
}

void PlanDocumentTest::emptyCityStateZip_giveTwoSpaces()
{
    PlanRecord plan;
    plan.City = plan.State = plan.Zip = QString();
    QCOMPARE(linesOf(plandoc::composePlan(plan))[3], QStringLiteral("  "));
    plan.State = QStringLiteral("IL");
    QCOMPARE(linesOf(plandoc::composePlan(plan))[3], QStringLiteral(" IL "));
}

void PlanDocumentTest::choiceFields_printAtFullWidth()
{
    PlanRecord plan;
    plan.BusType = QStringLiteral("Corporation");
    plan.Offer = QStringLiteral("Services");
    plan.Customers = QStringLiteral("Consumers");
    const QStringList lines = linesOf(plandoc::composePlan(plan));
    QCOMPARE(lines[10], QStringLiteral("Our business is a Corporation") + QString(8, QLatin1Char(' ')));
    QCOMPARE(lines[12], QStringLiteral("Our business provides Services") + QString(13, QLatin1Char(' ')));
    QCOMPARE(lines[13], QStringLiteral(" for Consumers") + QString(15, QLatin1Char(' ')));

    plan.BusType = QStringLiteral("Sole Proprietorship");
    plan.Offer = QStringLiteral("Products and Services");
    plan.Customers = QStringLiteral("Businesses and Consumers");
    const QStringList full = linesOf(plandoc::composePlan(plan));
    QCOMPARE(full[10], QStringLiteral("Our business is a Sole Proprietorship"));
    QCOMPARE(full[12], QStringLiteral("Our business provides Products and Services"));
    QCOMPARE(full[13], QStringLiteral(" for Businesses and Consumers"));
}

void PlanDocumentTest::everyFieldAppearsOnceInStepOrder()
{
    // Give every field a unique value; the document must show each exactly once, in
    // record order except for the products, which come entry by entry.
    PlanRecord plan;
    const auto &fields = planFields();
    for (const PlanField &f : fields)
        f.set(plan, QStringLiteral("<%1>").arg(f.name));
    const QString doc = plandoc::composePlan(plan);
    qsizetype last = -1;
    for (const PlanField &f : fields) {
        const QString v = f.get(plan);
        QCOMPARE(doc.count(v), 1);
        if (f.name.startsWith(QLatin1String("Prod")))
            continue;
        const qsizetype at = doc.indexOf(v);
        QVERIFY2(at > last, qPrintable(f.name));
        last = at;
    }
    const QStringList lines = linesOf(doc);
    for (int i = 0; i < 5; ++i) {
        const QString n = QString::number(i + 1);
        const QStringList entry = {"<ProdServ" + n + ">", "<ProdDesc" + n + ">", "<ProdProd" + n + ">",
                                   "<ProdCompare" + n + ">", "<ProdDiffer" + n + ">", ""};
        QCOMPARE(lines.mid(62 + 6 * i, 6), entry);
    }
    QCOMPARE(lines[61], QStringLiteral("Our Products and/or Services:"));
    QCOMPARE(lines[92], QStringLiteral("We Plan to Market To:  <ToWhom>"));
    QCOMPARE(lines[98], QStringLiteral("How Our Products and/or Services Differ from the Competition:  <Differ>"));
    QCOMPARE(lines[100], QStringLiteral("Our Current Advertising/Marketing Types:  <Types>"));
}

void PlanDocumentTest::multiLineAnswers_addCrLfLines_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("line feeds") << QStringLiteral("First\nSecond\nThird");
    QTest::newRow("CR LF") << QStringLiteral("First\r\nSecond\r\nThird");
    QTest::newRow("carriage returns") << QStringLiteral("First\rSecond\rThird");
}

void PlanDocumentTest::multiLineAnswers_addCrLfLines()
{
    QFETCH(QString, where);
    PlanRecord plan;
    plan.Where = where;
    const QString doc = plandoc::composePlan(plan);
    const QStringList lines = linesOf(doc);
    QCOMPARE(lines.size(), 128);
    QCOMPARE(lines[41], QStringLiteral("Where Our Business is Today:  First"));
    QCOMPARE(lines[42], QStringLiteral("Second"));
    QCOMPARE(lines[43], QStringLiteral("Third"));
    QCOMPARE(lines[44], QString());
    QCOMPARE(lines[45], QStringLiteral("Our Current Advertising:  (blank)"));
    // Every line break is a CR LF pair.
    QCOMPARE(doc.count(QLatin1Char('\n')), 128);
    QCOMPARE(doc.count(QLatin1Char('\r')), 128);
}

void PlanDocumentTest::values_areInsertedVerbatim()
{
    PlanRecord plan;
    plan.Name = QStringLiteral("  Acme & Sons {RTF} \\par  ");
    plan.Phone = QString();
    plan.Email = QStringLiteral("(blank)");
    plan.Idea = QStringLiteral("Caf\u00e9 \u201cquoted\u201d \u20ac5 \U0001F600\ttab");
    const QStringList lines = linesOf(plandoc::composePlan(plan));
    QCOMPARE(lines[0], plan.Name);
    QCOMPARE(lines[5], QStringLiteral("Business Phone:  "));
    QCOMPARE(lines[7], QStringLiteral("Email:  (blank)"));
    QCOMPARE(lines[33], QStringLiteral("The Basic Idea/Concept of Our Business:  ") + plan.Idea);
}

void PlanDocumentTest::emptyNumberedField_keepsItsLine()
{
    PlanRecord plan;
    plan.BusSTG[2] = QString();
    plan.Emp[0] = QString();
    const QStringList lines = linesOf(plandoc::composePlan(plan));
    QCOMPARE(lines.size(), 126);
    QCOMPARE(lines.mid(19, 8),
             (QStringList{"Short-Term Goals:", "1.  ", "2.  ", "", "4.  ", "5.  ", "", "Long-Term Goals:"}));
    QCOMPARE(lines[50], QString());
    QCOMPARE(lines[51], QStringLiteral("2."));
}

QTEST_MAIN(PlanDocumentTest)
#include "test_plandocument.moc"

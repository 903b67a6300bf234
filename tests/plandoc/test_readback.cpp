#include "text/WholeText.h"
#include "formats/DocumentExport.h"
#include "formats/DocumentLoad.h"
#include "formats/rtf/Rtf.h"
#include "plan/PlanHints.h"
#include "plan/PlanRecord.h"
#include "plandoc/FinancialReadBack.h"
#include "plandoc/FormattedPlan.h"
#include "plandoc/PlanDocument.h"
#include "plandoc/PlanReadBack.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <functional>

namespace {

using Fill = std::function<void(PlanRecord &)>;

// The text the editor holds after showing the composition of `plan`.
QString shownText(const PlanRecord &plan)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(plandoc::composePlan(plan));
    return text::WholeText(doc).text();
}

// A plan's money with every part the documents show: the months, the opening cash, the
// cost of sales, growth and a loan with its uses and sources.
// In millions, and with cents, the year comes in two halves.
plandoc::finance::FinancialPlan money(bool millions = false)
{
    plandoc::finance::FinancialPlan m;
    for (int i = 0; i < plandoc::finance::Months; ++i) {
        m.income[size_t(i)] = millions ? plandoc::finance::Cents(1580000 + i * 90000) * 1000 + (i == 4 ? 25 : 0) : 1580000 + i * 90000;
        m.expenses[size_t(i)] = 1900000 - i * 10000;
    }
    m.openingCash = millions ? -200050 : -200000;
    m.costOfSales = 3550;
    m.incomeGrowth = 500;
    m.expenseGrowth = 275;
    m.currency = QStringLiteral("$");
    m.firstMonth = QDate(2027, 3, 1);
    m.funding = {3750000, 7, 725, 4, QStringLiteral("to buy a second deck oven"),
                 {{QStringLiteral("Deck oven"), 3000000}, {QStringLiteral("Working capital"), 500000}},
                 500000, {{QStringLiteral("Family loan"), 250050}}};
    return m;
}

} // namespace

class ReadBackTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_isExact_data();
    void roundTrip_isExact();
    void editedDocument_data();
    void editedDocument();
    void formattedPlan_readsBackWhatItShows();
    void savedAndReopened_givesTheSameAnswers_data();
    void savedAndReopened_givesTheSameAnswers();
};

void ReadBackTest::roundTrip_isExact_data()
{
    QTest::addColumn<Fill>("fill");
    QTest::addColumn<int>("employees");
    QTest::addColumn<int>("products");
    QTest::newRow("untouched") << Fill([](PlanRecord &) {}) << 0 << 0;
    QTest::newRow("example") << Fill([](PlanRecord &p) { p = examplePlan(); }) << -1 << -1;
    QTest::newRow("odd answers") << Fill([](PlanRecord &p) {
        p.Name = QStringLiteral("Café & Co");
        p.Add2.clear(); // no line at all
        p.City = QStringLiteral("San José");
        p.State = QString();
        p.Zip = QStringLiteral("95 110");
        p.BusType = QStringLiteral("Sole Proprietorship");
        p.Customers = QStringLiteral("Businesses and Consumers");
        p.Where = QStringLiteral("line one\nline two\n\nafter an empty line\n");
        p.BusSTG[2] = QStringLiteral("3.  Fax:  not a label here");
        p.Emp[1] = QStringLiteral("2.  Zoë, baker");
        p.Emp[9] = QStringLiteral("10. ");
        p.ProdServ[3] = QStringLiteral("Bread");
        p.ProdDesc[3] = QString();
        p.Info = QStringLiteral("Other:  twice\u00a0kept");
    }) << 1 << 1;
}

void ReadBackTest::roundTrip_isExact()
{
    QFETCH(Fill, fill);
    QFETCH(int, employees);
    QFETCH(int, products);
    PlanRecord plan;
    fill(plan);
    const plandoc::PlanReadBack read = plandoc::readPlanBack(shownText(plan));
    QCOMPARE(read.found, int(planFields().size()));
    QCOMPARE(plandoc::composePlan(read.plan), plandoc::composePlan(plan));
    const auto inUse = [](const auto &flags) { return int(std::count(flags.begin(), flags.end(), SlotOn)); };
    if (employees >= 0) {
        QCOMPARE(inUse(read.shared.EmpSlot), employees);
        QCOMPARE(inUse(read.shared.ProdSlot), products);
    }
}

void ReadBackTest::editedDocument_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    const QString plain = plandoc::composePlan(examplePlan());
    QString noFax = plain;
    noFax.replace(QStringLiteral("Fax:  "), QStringLiteral("Telefax "));
    QTest::newRow("a label edited: its answer joins the one before") << noFax << 84 << "Phone"
                                                                     << examplePlan().Phone + "\nTelefax " + examplePlan().Fax;
    QString choice = plain;
    choice.replace(QStringLiteral("Our business is a Partnership"), QStringLiteral("Our business is a Cooperative"));
    QTest::newRow("a choice that is no option") << choice << 84 << "BusType" << blankPadded(19);
    QTest::newRow("no label at all") << QStringLiteral("Dear bank,\nplease lend us money.\n") << 0 << "Name"
                                     << BlankMarker;
}

void ReadBackTest::editedDocument()
{
    QFETCH(QString, text);
    QFETCH(int, found);
    QFETCH(QString, field);
    QFETCH(QString, value);
    const plandoc::PlanReadBack read = plandoc::readPlanBack(text);
    QCOMPARE(read.found, found);
    QCOMPARE(planField(field).get(read.plan), value);
}

void ReadBackTest::formattedPlan_readsBackWhatItShows()
{
    // What the formatted plan shows comes back; composing it again gives the same plan.
    for (const PlanRecord &plan : {examplePlan(), PlanRecord()}) {
        QTextDocument doc;
        plandoc::formattedplan::compose(doc, plan, QDate(2026, 12, 8));
        const plandoc::PlanReadBack read = plandoc::readPlanBack(text::WholeText(doc).text());
        QTextDocument again;
        plandoc::formattedplan::compose(again, read.plan, QDate(2026, 12, 8));
        QCOMPARE(again.toPlainText(), doc.toPlainText());
        QCOMPARE(read.found > 80, plan.Name != BlankMarker);
    }
}

void ReadBackTest::savedAndReopened_givesTheSameAnswers_data()
{
    QTest::addColumn<bool>("formatted");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("millions");
    for (const char *suffix : {"rtf", "docx", "odt"}) {
        QTest::addRow("composition as %s", suffix) << false << suffix << false;
        QTest::addRow("formatted plan as %s", suffix) << true << suffix << false;
        QTest::addRow("formatted plan, a year in halves, as %s", suffix) << true << suffix << true;
    }
}

void ReadBackTest::savedAndReopened_givesTheSameAnswers()
{
    QFETCH(bool, formatted);
    QFETCH(QString, suffix);
    QFETCH(bool, millions);
    const PlanRecord plan = examplePlan();
    QTextDocument doc;
    if (formatted)
        plandoc::formattedplan::compose(doc, plan, money(millions), QDate(2026, 12, 8));
    else
        QTextCursor(&doc).insertText(plandoc::composePlan(plan));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.") + suffix);
    if (suffix == u"rtf") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(formats::rtf::write(doc)) > 0);
    } else {
        QVERIFY(formats::exports::writeFile(doc, *formats::exports::formatForName(path), path, QStringLiteral("Plan")).ok);
    }
    QTextDocument reopened;
    QVERIFY(formats::loadFile(path, reopened, QTextCharFormat()).ok);
    const plandoc::PlanReadBack read = plandoc::readPlanBack(text::WholeText(reopened).text());
    QCOMPARE(read.found, plandoc::readPlanBack(text::WholeText(doc).text()).found);
    QCOMPARE(plandoc::composePlan(read.plan), plandoc::composePlan(plandoc::readPlanBack(text::WholeText(doc).text()).plan));
    if (!formatted)
        return;
    // The answers read right with the funding request before them, and the figures come
    // back from the tables.
    QTextDocument without;
    plandoc::formattedplan::compose(without, plan, QDate(2026, 12, 8));
    QCOMPARE(read.found, plandoc::readPlanBack(text::WholeText(without).text()).found);
    QCOMPARE(doc.rootFrame()->childFrames().size(), millions ? 4 : 3);
    QCOMPARE(plandoc::finance::readFinancialPlan(reopened), std::optional(money(millions)));
}

QTEST_MAIN(ReadBackTest)
#include "test_readback.moc"

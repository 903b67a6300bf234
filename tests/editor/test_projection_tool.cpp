// Insert > Financial Projection: the dialog prefilled from the plan, the owner's
// corrections kept for the run, the tables it inserts and then replaces, each in one undo
// step, and the dialog's own keys.

#include "EditorToolsSupport.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "plan/PlanHints.h"
#include "plandoc/PlanReadBack.h"
#include "editor/ProjectionDialog.h"
#include "plandoc/FinancialText.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTextTable>

using namespace plandoc::finance;

namespace {

int tableCount(EditorPage *p) { return int(p->textEdit()->document()->rootFrame()->childFrames().size()); }

int charts(EditorPage *p) { return int(EditorRun::wholeText(p).count(QChar::ObjectReplacementCharacter)); }

QString monthCell(EditorPage *p, int row, int column)
{
    auto *table = qobject_cast<QTextTable *>(p->textEdit()->document()->rootFrame()->childFrames().first());
    return table ? table->cellAt(row, column).firstCursorPosition().block().text() : QString();
}

} // namespace

class ProjectionToolTest : public ToolsTestBase {
    Q_OBJECT
private slots:
    void init() { setUpRun(); }
    void cleanup() { tearDownRun(); }

    void insert_prefillsKeepsCorrectionsAndReplaces_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void insert_prefillsKeepsCorrectionsAndReplaces()
    {
        QFETCH(bool, accept);
        run->ctx->plan.YrIncome = QStringLiteral("Jan $8,000\nFeb 9,500 - 3 weddings");
        run->ctx->plan.MoExpenses = QStringLiteral("12000, 11000");
        OPEN_EDITOR(p);
        const QString composed = EditorRun::wholeText(p);
        run->prompts.expectProjection([accept](FinancialPlan in) -> std::optional<FinancialPlan> {
            in.expenses[0] = 1150000;
            return accept ? std::optional(in) : std::nullopt;
        });
        run->trigger(p, "mnuInsertProjection");
        const FinancialPlan &given = run->prompts.lastProjectionInitial;
        QCOMPARE(given.income[1], Cents(950000));
        QCOMPARE(given.expenses[0], Cents(1200000));
        QCOMPARE(given.firstMonth.month(), 1); // the answer starts with January
        QCOMPARE(given.checks.size(), 1);
        QCOMPARE(checkLine(given, given.checks.first()), QStringLiteral("Check February: read 9,500 from \"Feb 9,500 - 3 weddings\""));
        if (!accept) {
            QCOMPARE(EditorRun::wholeText(p), composed);
            QVERIFY(!p->textEdit()->document()->isUndoAvailable());
            QCOMPARE(run->ctx->finance.expenses[0], Cents(1200000));
            return;
        }
        QCOMPARE(tableCount(p), 2);
        QCOMPARE(charts(p), 2); // the monthly and the yearly chart over the tables
        QCOMPARE(monthCell(p, 2, 1), QStringLiteral("11,500"));
        QVERIFY(p->docChanged());
        const QString once = EditorRun::wholeText(p);

        // Opened again, the dialog shows the correction; OK replaces the tables in place.
        run->prompts.expectProjection([](FinancialPlan in) -> std::optional<FinancialPlan> {
            in.income[0] = 700000;
            return in;
        });
        p->textEdit()->moveCursor(QTextCursor::Start);
        run->trigger(p, "mnuInsertProjection");
        QCOMPARE(run->prompts.lastProjectionInitial.expenses[0], Cents(1150000));
        QCOMPARE(tableCount(p), 2);
        QCOMPARE(charts(p), 2);
        QCOMPARE(monthCell(p, 1, 1), QStringLiteral("7,000"));
        QTest::keyClick(p->textEdit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(EditorRun::wholeText(p), once);
        QTest::keyClick(p->textEdit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(EditorRun::wholeText(p), composed);

        // A changed answer is read again; the other row keeps its correction.
        run->ctx->plan.MoExpenses = QStringLiteral("13000");
        run->prompts.expectProjection([](FinancialPlan) { return std::optional<FinancialPlan>(); });
        run->trigger(p, "mnuInsertProjection");
        QCOMPARE(run->prompts.lastProjectionInitial.expenses[0], Cents(1300000));
        QCOMPARE(run->prompts.lastProjectionInitial.income[0], Cents(700000));
    }

    // Saved and opened in a later run, the plan gives its figures back to Fill Steps, so
    // New Formatted Plan makes the same tables again.
    void formattedPlan_afterARestartMakesTheSameTables()
    {
        run->ctx->plan = examplePlan();
        refreshFinance(*run->ctx);
        FinancialPlan &money = run->ctx->finance;
        money.income[2] = 4321000; // a correction
        money.funding = {3750000, 5, 750, 2, QStringLiteral("to buy a deck oven"),
                         {{QStringLiteral("Deck oven"), 4250000}}, 500000, {}};
        const FinancialPlan kept = money;
        OPEN_EDITOR(p);
        run->trigger(p, "mnuFileFormattedPlan");
        const QString made = EditorRun::wholeText(p);
        const QString path = save(p, QStringLiteral("plan.rtf"));

        run = std::make_unique<EditorRun>();
        EditorPage *later = open();
        QVERIFY(later);
        run->openFile(later, path);
        const int found = plandoc::readPlanBack(EditorRun::wholeText(later)).found;
        run->prompts.expectYesNo(Msg::FillStepsQuestion, true);
        run->prompts.expectNotice(Msg::answersTaken(found, int(planFields().size())), Msg::AppTitle);
        run->trigger(later, "mnuFileFillSteps");
        QCOMPARE(run->ctx->finance.income, kept.income);
        QCOMPARE(run->ctx->finance.funding, kept.funding);
        run->trigger(later, "mnuFileFormattedPlan"); // the file is as saved: no question
        QCOMPARE(EditorRun::wholeText(later), made);
    }

    // Tables inserted inside the plain document are figures, not part of the answer
    // before them.
    void fillSteps_readsTheAnswersAroundInsertedTables()
    {
        run->ctx->plan = examplePlan();
        const PlanRecord before = run->ctx->plan;
        OPEN_EDITOR(p);
        QTextCursor caret = p->textEdit()->document()->find(QStringLiteral("Our Projected Monthly Expenses:  "));
        caret.movePosition(QTextCursor::EndOfBlock);
        p->textEdit()->setTextCursor(caret);
        run->prompts.expectProjection([](FinancialPlan in) -> std::optional<FinancialPlan> {
            in.funding.requested = 100000;
            return in;
        });
        run->trigger(p, "mnuInsertProjection");
        QCOMPARE(tableCount(p), 3);
        run->prompts.expectYesNo(Msg::FillStepsQuestion, true);
        run->prompts.expectNotice(Msg::answersTaken(85, 85), Msg::AppTitle);
        run->trigger(p, "mnuFileFillSteps");
        QCOMPARE(run->ctx->plan.MoExpenses, before.MoExpenses);
        QCOMPARE(run->ctx->plan.InGoals, before.InGoals);
        QCOMPARE(run->ctx->finance.funding.requested, Cents(100000));
    }

    void dialog_computesAsTypedAndReturnAcceptsWithTheEdit_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return keeps the edit") << int(Qt::Key_Return);
        QTest::newRow("Escape gives it up") << int(Qt::Key_Escape);
    }
    void dialog_computesAsTypedAndReturnAcceptsWithTheEdit()
    {
        QFETCH(int, key);
        FinancialPlan in;
        in.income[0] = 100000;
        in.firstMonth = QDate(2027, 1, 1);
        in.checks << Check{1, 0, 0, QStringLiteral("Jan nothing but 2 notes")};
        ProjectionDialog dialog(in);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Financial Projection"));
        QTableWidget *grid = dialog.grid();
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(grid->horizontalHeaderItem(12)->text(), QStringLiteral("Total"));
        QVERIFY(!(grid->item(2, 0)->flags() & Qt::ItemIsEditable));
        auto *checks = dialog.findChild<QLabel *>(QStringLiteral("lblChecks"));
        QCOMPARE(checks->text(), QStringLiteral("Check January: read 0 from \"Jan nothing but 2 notes\""));

        // Expenses of January, typed but not yet handed over by the cell.
        const int cumulative = int(MonthRow::Cumulative);
        grid->setCurrentCell(1, 0);
        QTest::keyClick(grid, Qt::Key_1);
        auto *cell = grid->findChild<QLineEdit *>(QStringLiteral("txtProjectionCell"));
        QVERIFY(cell);
        QTest::keyClicks(cell, QStringLiteral(",500x.5"));
        QCOMPARE(cell->text(), QStringLiteral("1,500.5"));
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("-500.50"));
        QCOMPARE(grid->item(cumulative, 12)->text(), QStringLiteral("-500.50"));
        QTest::keyClick(cell, Qt::Key(key));
        if (key == Qt::Key_Escape) {
            QTRY_COMPARE(grid->item(2, 0)->text(), QStringLiteral("1,000"));
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.plan().expenses[0], Cents(0));
            QCOMPARE(dialog.plan().checks.size(), 1);
            return;
        }
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.plan().expenses[0], Cents(150050));
        QVERIFY(dialog.plan().checks.isEmpty()); // the owner set it
        QCOMPARE(compute(dialog.plan()).breakEvenMonth, 2);
    }

    // A use typed into the last, empty row becomes a line, a new empty row follows, and
    // the totals and their difference follow.
    void dialog_usesFollowTheTyping()
    {
        FinancialPlan in;
        in.funding.requested = 3750000;
        in.funding.ownInvestment = 500000;
        ProjectionDialog dialog(in);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.findChild<QTabWidget *>()->setCurrentIndex(1);
        auto *uses = dialog.findChild<QTableWidget *>(QStringLiteral("grdUses"));
        uses->setFocus();
        uses->setCurrentCell(0, 0);
        QTest::keyClick(uses, Qt::Key_O);
        auto *item = uses->findChild<QLineEdit *>(QStringLiteral("txtProjectionItem"));
        QVERIFY(item);
        QTest::keyClicks(item, QStringLiteral("ven"));
        QTest::keyClick(item, Qt::Key_Tab);
        QLineEdit *amount = nullptr;
        QTRY_VERIFY((amount = uses->findChild<QLineEdit *>(QStringLiteral("txtProjectionCell"))));
        QTest::keyClicks(amount, QStringLiteral("45,000"));
        QTest::keyClick(amount, Qt::Key_Tab);
        QTRY_COMPARE(uses->rowCount(), 2);
        QCOMPARE(dialog.plan().funding.uses, (QList<Line>{{QStringLiteral("oven"), 4500000}}));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblDifference"))->text(),
                 QStringLiteral("Uses exceed sources by 2,500."));
        QCOMPARE(dialog.grid()->item(int(MonthRow::Purchases), 0)->text(), QStringLiteral("45,000"));
    }

    // A rate takes 0 to 100 % with two decimals at most; an emptied field is 0 %.
    void dialog_ratesTakeOnlyZeroToAHundred_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("rate");
        QTest::newRow("decimal comma") << "txtRate" << "7,5" << "7,5" << 750;
        QTest::newRow("above 100 refused") << "txtRate" << "150" << "15" << 1500;
        QTest::newRow("three decimals refused") << "txtCostOfSales" << "35.125" << "35.12" << 3512;
        QTest::newRow("emptied") << "txtIncomeGrowth" << "" << "" << 0;
    }
    void dialog_ratesTakeOnlyZeroToAHundred()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, rate);
        FinancialPlan in;
        in.funding.rate = in.costOfSales = in.incomeGrowth = 900;
        ProjectionDialog dialog(in);
        auto *edit = dialog.findChild<QLineEdit *>(field);
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
        const FinancialPlan out = dialog.plan();
        QCOMPARE(field == u"txtRate" ? out.funding.rate : field == u"txtCostOfSales" ? out.costOfSales : out.incomeGrowth,
                 rate);
    }

    void dialog_returnAcceptsFromAnywhere_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("opening");
        QTest::addColumn<qint64>("requested");
        QTest::newRow("grid") << "grdProjection" << "" << qint64(0) << qint64(0);
        QTest::newRow("opening cash") << "txtOpeningCash" << "-2,000" << qint64(-200000) << qint64(0);
        QTest::newRow("amount requested") << "txtRequested" << "37,500" << qint64(0) << qint64(3750000);
        QTest::newRow("first month") << "dtpFirstMonth" << "" << qint64(0) << qint64(0);
        QTest::newRow("Cancel") << "cmdCancel" << "" << qint64(0) << qint64(0);
    }
    void dialog_returnAcceptsFromAnywhere()
    {
        QFETCH(QString, focus);
        QFETCH(QString, typed);
        QFETCH(qint64, opening);
        QFETCH(qint64, requested);
        ProjectionDialog dialog(FinancialPlan{});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // Every control a screen reader reaches has a name to say.
        for (QWidget *w : dialog.findChildren<QWidget *>()) {
            if (w->focusPolicy() == Qt::NoFocus || w->focusProxy() || qobject_cast<QAbstractScrollArea *>(w->parentWidget()))
                continue;
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(iface && !iface->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
        }
        auto *target = dialog.findChild<QWidget *>(focus);
        QVERIFY(target);
        if (QWidget *page = target->parentWidget(); page && page->objectName() == u"pgFunding")
            dialog.findChild<QTabWidget *>()->setCurrentWidget(page);
        target->setFocus();
        if (auto *line = qobject_cast<QLineEdit *>(target)) {
            line->selectAll();
            QTest::keyClicks(line, typed);
        }
        if (opening)
            QCOMPARE(dialog.grid()->item(int(MonthRow::Cumulative), 0)->text(), formatAmount(opening));
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.plan().openingCash, opening);
        QCOMPARE(dialog.plan().funding.requested, requested);
        QCOMPARE(dialog.grid()->isRowHidden(int(MonthRow::Cash)), requested == 0);
    }
};

QTEST_MAIN(ProjectionToolTest)
#include "test_projection_tool.moc"

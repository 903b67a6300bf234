// Insert > Financial Projection: the dialog prefilled from the plan, the table it inserts
// and takes back in one undo step, and the dialog's own keys.

#include "EditorToolsSupport.h"

#include "editor/ProjectionDialog.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QTextTable>

using namespace plandoc::projection;

class ProjectionToolTest : public ToolsTestBase {
    Q_OBJECT
private slots:
    void init() { setUpRun(); }
    void cleanup() { tearDownRun(); }

    void insert_prefillsFromPlanAndUndoesInOneStep_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void insert_prefillsFromPlanAndUndoesInOneStep()
    {
        QFETCH(bool, accept);
        run->ctx->plan.YrIncome = QStringLiteral("Month 1: $8,000\nMonth 2: $9,500.25");
        run->ctx->plan.MoExpenses = QStringLiteral("12000, 11000");
        OPEN_EDITOR(p);
        const QString composed = EditorRun::wholeText(p);
        run->prompts.expectProjection([accept](Input in) -> std::optional<Input> {
            in.openingCash = 500000;
            return accept ? std::optional<Input>(in) : std::nullopt;
        });
        run->trigger(p, "mnuInsertProjection");
        const Input &given = run->prompts.lastProjectionInitial;
        QCOMPARE(given.income[1], Cents(950025));
        QCOMPARE(given.expenses[0], Cents(1200000));
        QCOMPARE(given.firstMonth, defaultFirstMonth(QDate::currentDate()));

        QTextCursor caret = p->textEdit()->textCursor();
        if (!accept) {
            QCOMPARE(EditorRun::wholeText(p), composed);
            QVERIFY(!p->textEdit()->document()->isUndoAvailable());
            return;
        }
        QTextCursor inTable(p->textEdit()->document());
        inTable.movePosition(QTextCursor::NextBlock);
        QTextTable *table = inTable.currentTable();
        QVERIFY(table);
        QCOMPARE(table->cellAt(4, 1).firstCursorPosition().block().text(), QStringLiteral("1,000"));
        QCOMPARE(caret.block().previous().text(),
                 QStringLiteral("Break-even: month 1 (%1), when the cumulative net first reaches zero or more.")
                     .arg(longMonthName(given.firstMonth, 0)));
        QVERIFY(p->docChanged());
        QTest::keyClick(p->textEdit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(EditorRun::wholeText(p), composed);
        QVERIFY(p->textEdit()->document()->rootFrame()->childFrames().isEmpty());
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
        Input in;
        in.income[0] = 100000;
        in.firstMonth = QDate(2027, 1, 1);
        ProjectionDialog dialog(in);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Financial Projection"));
        QTableWidget *grid = dialog.grid();
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(grid->horizontalHeaderItem(12)->text(), QStringLiteral("Total"));
        QVERIFY(!(grid->item(2, 0)->flags() & Qt::ItemIsEditable));

        // Expenses of January, typed but not yet handed over by the cell.
        grid->setCurrentCell(1, 0);
        QTest::keyClick(grid, Qt::Key_1);
        auto *cell = grid->findChild<QLineEdit *>(QStringLiteral("txtProjectionCell"));
        QVERIFY(cell);
        QTest::keyClicks(cell, QStringLiteral(",500x.5"));
        QCOMPARE(cell->text(), QStringLiteral("1,500.5"));
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("-500.50"));
        QCOMPARE(grid->item(3, 12)->text(), QStringLiteral("-500.50"));
        QTest::keyClick(cell, Qt::Key(key));
        if (key == Qt::Key_Escape) {
            QTRY_COMPARE(grid->item(2, 0)->text(), QStringLiteral("1,000"));
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.input().expenses[0], Cents(0));
            return;
        }
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.input().expenses[0], Cents(150050));
        QCOMPARE(compute(dialog.input()).breakEvenMonth, 0);
    }

    void dialog_returnAcceptsFromAnywhere_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("opening");
        QTest::newRow("grid") << "grdProjection" << "" << qint64(0);
        QTest::newRow("opening cash") << "txtOpeningCash" << "-2,000" << qint64(-200000);
        QTest::newRow("first month") << "dtpFirstMonth" << "" << qint64(0);
        QTest::newRow("Cancel") << "cmdCancel" << "" << qint64(0);
    }
    void dialog_returnAcceptsFromAnywhere()
    {
        QFETCH(QString, focus);
        QFETCH(QString, typed);
        QFETCH(qint64, opening);
        ProjectionDialog dialog(Input{});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *target = dialog.findChild<QWidget *>(focus);
        QVERIFY(target);
        target->setFocus();
        if (auto *line = qobject_cast<QLineEdit *>(target)) {
            line->selectAll();
            QTest::keyClicks(line, typed);
        }
        if (opening)
            QCOMPARE(dialog.grid()->item(3, 0)->text(), formatAmount(opening));
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.input().openingCash, opening);
    }
};

QTEST_MAIN(ProjectionToolTest)
#include "test_projection_tool.moc"

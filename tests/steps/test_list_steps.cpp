#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "plandoc/PlanDocument.h"
#include "plandoc/PlanReadBack.h"
#include "steps/AnswerLine.h"
#include "steps/ProductsPage.h"
#include "steps/StepPage.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString Y = QStringLiteral("Y");
const QString N = QStringLiteral("N");

QString flagOf(Page *page) { return static_cast<StepPage *>(page)->changedFlag(); }

QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QLineEdit *edit(const QWidget *page, const char *name) { return child<QLineEdit>(page, name); }
QLabel *label(const QWidget *page, const char *name) { return child<QLabel>(page, name); }
QLabel *label(const QWidget *page, const QString &name) { return label(page, qPrintable(name)); }
void click(const QWidget *page, const char *name) { child<QPushButton>(page, name)->click(); }

Question confirmN(int n) { return Question::okCancel(Msg::prodConfirm(n), Msg::AppTitle); }

} // namespace

class ListStepsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // Employees
    void emp_freshPage_showsTenEmptyLines();
    void emp_saveAndNext_fillsFirstLineAndEmptiesBox();
    void emp_clearOne_freesLineWithoutClosingGap();
    void emp_clearOne_withoutSelection_asksNothing();
    void emp_tenthSaveKeepsText_eleventhAndReturnYesTellAndKeepIt();
    void emp_fullListReturnYes_withEmptyBoxLeaves();
    void emp_longEntry_elidedWithWholeTextInTooltip_data();
    void emp_longEntry_elidedWithWholeTextInTooltip();
    void emp_saveOnEmptyBox_usesUpLine();
    void emp_clearAll_noKeeps_yesEmpties();
    void emp_returnYes_storesBareTextAndOnlyChangedLines();
    void emp_returnNo_storesNothing_unchangedAsksNothing();
    void emp_afterMainClear_nextSaveGoesToLineOne();
    void emp_accessKey_fromBoxSaves();

    // Products entry page
    void prod_freshPage_offersOneWithCaretAfterPrefix();
    void prod_save_okStoresAndOffersNext();
    void prod_save_cancelStoresNothingAndKeepsTheTyping();
    void prod_clearOneOnView_slotIsReused();
    void prod_fifthEntry_showsFullText_thenFullInfoOnSaveAndReturn();
    void prod_descriptionWhileFull_isNotAnEdit();
    void prod_view_yesThenCancel_staysWithTheTyping();
    void prod_view_yesOk_storesWithoutResettingBoxes();
    void prod_view_no_keepsFlag();
    void prod_viewWhenFull_fullInfoOnlyIfNameBoxEdited();
    void prod_returnYes_storesWithoutConfirm();
    void prod_afterMainClear_offersOneAgain();

    // Products view page
    void view_page_showsEntriesWithFullTextTooltips();
    void view_clearOne_noSelectionAsksNothing_noKeeps_yesClears();
    void view_clearAll_thenGoBack_offersOne();
    void view_nameStoredAsMarker_doesNotShowEarlierName();

    // After File > Fill Steps from Document
    void fillSteps_firstLoadThenAdd_keepsRestoredEntries();

    // All three
    void close_asksExitQuestion_data();
    void close_asksExitQuestion();

private:
    Page *openFromMain(const char *button);
    Page *employees() { return openFromMain("cmdStep8"); }
    Page *products() { return openFromMain("cmdStep9"); }
    void saveEmployee(Page *page, const QString &text);
    void storeProduct(Page *page, int expectedSlot, const QString &name);
    Page *goToView(Page *entry);

    std::unique_ptr<TestRun> run;
};

void ListStepsTest::init()
{
    run = std::make_unique<TestRun>();
    run->open(PageId::Main);
}

void ListStepsTest::cleanup()
{
    VERIFY_PROMPTS(run->prompts);
    run.reset();
}

Page *ListStepsTest::openFromMain(const char *button)
{
    Page *main = run->page(PageId::Main);
    if (!main->isVisible())
        run->ctx->nav.switchPage(nullptr, QString::fromLatin1(PageId::Main));
    auto *b = main->findChild<QPushButton *>(QString::fromLatin1(button));
    if (!b)
        return nullptr;
    b->click();
    return QString::fromLatin1(button) == QLatin1String("cmdStep8") ? run->page(PageId::BusEmp)
                                                                    : run->page(PageId::BusDesc);
}

void ListStepsTest::saveEmployee(Page *page, const QString &text)
{
    auto *box = edit(page, "txtEmpInfo");
    box->setText(text);
    click(page, "cmdSave");
}

// Types a name after the offered prefix and saves with OK on the confirmation.
void ListStepsTest::storeProduct(Page *page, int expectedSlot, const QString &name)
{
    auto *box = edit(page, "txtProdServ");
    QTest::keyClicks(box, name);
    edit(page, "txtDesc")->setText(name + QStringLiteral(" description"));
    run->prompts.expect(confirmN(expectedSlot), PromptButton::Ok);
    click(page, "cmdSave");
}

Page *ListStepsTest::goToView(Page *entry)
{
    click(entry, "cmdView");
    return run->page(PageId::View);
}

// ---- Employees -------------------------------------------------------------------------

void ListStepsTest::emp_freshPage_showsTenEmptyLines()
{
    Page *page = employees();
    QVERIFY(page && page->isVisible());
    QVERIFY(!run->visible(PageId::Main));
    QCOMPARE(page->windowTitle(), QStringLiteral("Quorvane - Employees"));
    QCOMPARE(page->size(), QSize(twips(7230), twips(5640)));

    FIND(intro, QLabel, page, "Label1");
    QCOMPARE(intro->text(), QStringLiteral("In the box below, enter your current employees, including volunteers (up "
                                           "to 10), their position within the business and their qualifications.  "
                                           "Then click to save that one and move on to the next one."));
    QCOMPARE(intro->font().family(), QStringLiteral("Arial"));
    for (int n = 1; n <= 10; ++n) {
        const QLabel *line = label(page, QStringLiteral("lblEmp%1").arg(n));
        QCOMPARE(line->text(), QStringLiteral("%1.").arg(n));
        QCOMPARE(line->font().family(), QStringLiteral("Arial"));
    }
    FIND(list, QListWidget, page, "lstEntry");
    QCOMPARE(itemTexts(list), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(list->selectedItems().isEmpty());

    FIND(box, QLineEdit, page, "txtEmpInfo");
    FIND(save, QPushButton, page, "cmdSave");
    FIND(clearAll, QPushButton, page, "cmdClearAll");
    FIND(clearOne, QPushButton, page, "cmdClearOne");
    FIND(ret, QPushButton, page, "cmdReturn");
    QCOMPARE(save->text(), QStringLiteral("&Save && Next"));
    QCOMPARE(clearAll->text(), QStringLiteral("&Clear All"));
    QCOMPARE(clearAll->toolTip(), QStringLiteral("Click here to clear all employee entries."));
    QCOMPARE(clearOne->text(), QStringLiteral("Clear &One Entry"));
    QCOMPARE(clearOne->toolTip(), QStringLiteral("Click here to clear chosen employee entry."));
    QCOMPARE(ret->text(), QStringLiteral("&Return to Main Screen"));
    QCOMPARE(ret->toolTip(), QStringLiteral("Click here to return to the main screen."));
    for (QPushButton *b : {save, clearAll, clearOne, ret}) {
        QVERIFY(b->autoDefault());
        QVERIFY(!b->isDefault());
    }
    QCOMPARE(tabOrder(box, 6),
             (QStringList{"txtEmpInfo", "cmdSave", "cmdClearAll", "lstEntry", "cmdClearOne", "cmdReturn"}));
    QVERIFY(box->text().isEmpty());
    QCOMPARE(page->focusWidget(), box);
    QCOMPARE(flagOf(page), N);
    QCOMPARE(run->ctx->shared.EmpSlot[0], SlotOff);

    // Nothing typed: leaving asks nothing.
    ret->click();
    QVERIFY(run->visible(PageId::Main));
    QVERIFY(!page->isVisible());
}

void ListStepsTest::emp_saveAndNext_fillsFirstLineAndEmptiesBox()
{
    Page *page = employees();
    FIND(box, QLineEdit, page, "txtEmpInfo");
    QTest::keyClicks(box, QStringLiteral("Jane Doe, owner"));
    QCOMPARE(flagOf(page), Y);
    click(page, "cmdSave");

    const PlanRecord &plan = run->ctx->plan;
    QCOMPARE(label(page, "lblEmp1")->text(), QStringLiteral("1.  Jane Doe, owner"));
    QCOMPARE(plan.Emp[0], QStringLiteral("1.  Jane Doe, owner"));
    QCOMPARE(label(page, "lblEmp1")->toolTip(), QStringLiteral("1.  Jane Doe, owner")); // for lines cut off
    for (int n = 2; n <= 10; ++n)
        QCOMPARE(plan.Emp[n - 1], employeeEmpty(n));
    QCOMPARE(run->ctx->shared.EmpSlot[0], SlotOn);
    QCOMPARE(run->ctx->shared.EmpSlot[1], SlotOff);
    QVERIFY(box->text().isEmpty());
    QCOMPARE(page->focusWidget(), box);
    QCOMPARE(flagOf(page), N);
}

void ListStepsTest::emp_clearOne_freesLineWithoutClosingGap()
{
    Page *page = employees();
    for (int n = 1; n <= 5; ++n)
        saveEmployee(page, QStringLiteral("Person %1").arg(n));
    FIND(list, QListWidget, page, "lstEntry");
    FIND(clearOne, QPushButton, page, "cmdClearOne");
    FIND(box, QLineEdit, page, "txtEmpInfo");
    list->setCurrentRow(2);
    box->setText(QStringLiteral("half typed"));

    run->prompts.expectYesNo(Msg::EmpDeleteOne, false);
    clearOne->click();
    QCOMPARE(run->ctx->plan.Emp[2], QStringLiteral("3.  Person 3"));
    QCOMPARE(run->ctx->shared.EmpSlot[2], SlotOn);

    run->prompts.expectYesNo(Msg::EmpDeleteOne, true);
    clearOne->click();
    const PlanRecord &plan = run->ctx->plan;
    QCOMPARE(plan.Emp[2], QStringLiteral("3."));
    QCOMPARE(label(page, "lblEmp3")->text(), QStringLiteral("3."));
    QCOMPARE(run->ctx->shared.EmpSlot[2], SlotOff);
    // No renumbering: the entries after it keep their lines.
    QCOMPARE(plan.Emp[3], QStringLiteral("4.  Person 4"));
    QCOMPARE(plan.Emp[4], QStringLiteral("5.  Person 5"));
    // The selection, the box and the unsaved mark stay as they were.
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(list->selectedItems().first()->text(), QStringLiteral("3"));
    QCOMPARE(box->text(), QStringLiteral("half typed"));
    QCOMPARE(flagOf(page), Y);
    QCOMPARE(page->focusWidget(), box);

    saveEmployee(page, QStringLiteral("New person"));
    QCOMPARE(plan.Emp[2], QStringLiteral("3.  New person"));
    QCOMPARE(plan.Emp[5], QStringLiteral("6."));
    QCOMPARE(run->ctx->shared.EmpSlot[5], SlotOff);
    saveEmployee(page, QStringLiteral("Next"));
    QCOMPARE(plan.Emp[5], QStringLiteral("6.  Next"));
}

void ListStepsTest::emp_clearOne_withoutSelection_asksNothing()
{
    Page *page = employees();
    saveEmployee(page, QStringLiteral("Jane"));
    FIND(clearOne, QPushButton, page, "cmdClearOne");
    FIND(list, QListWidget, page, "lstEntry");
    list->setCurrentRow(4, QItemSelectionModel::NoUpdate); // as after focus: a current row, nothing selected
    clearOne->setFocus();
    clearOne->click();
    QCOMPARE(run->ctx->plan.Emp[0], QStringLiteral("1.  Jane"));
    QCOMPARE(run->ctx->shared.EmpSlot[0], SlotOn);
    QCOMPARE(page->focusWidget(), edit(page, "txtEmpInfo"));
}

void ListStepsTest::emp_tenthSaveKeepsText_eleventhAndReturnYesTellAndKeepIt()
{
    Page *page = employees();
    for (int n = 1; n <= 9; ++n)
        saveEmployee(page, QStringLiteral("P%1").arg(n));
    FIND(box, QLineEdit, page, "txtEmpInfo");
    FIND(save, QPushButton, page, "cmdSave");
    box->setText(QStringLiteral("Tenth"));
    save->setFocus();
    save->click();
    const PlanRecord &plan = run->ctx->plan;
    QCOMPARE(plan.Emp[8], QStringLiteral("9.  P9"));
    QCOMPARE(plan.Emp[9], QStringLiteral("10. Tenth"));
    QCOMPARE(label(page, "lblEmp10")->text(), QStringLiteral("10. Tenth"));
    QCOMPARE(box->text(), QStringLiteral("Tenth"));
    QCOMPARE(page->focusWidget(), save);
    QCOMPARE(flagOf(page), N);
    // Pressed again on the entry just stored: nothing would be lost, so nothing is said.
    save->click();
    VERIFY_PROMPTS(run->prompts);
    QCOMPARE(plan.Emp[9], QStringLiteral("10. Tenth"));

    // An eleventh save stores nothing, says so and keeps the typing as unsaved.
    const auto before = plan.Emp;
    box->setText(QStringLiteral("Eleventh"));
    run->prompts.expectNotice(Msg::EmpFull, Msg::AppTitle);
    save->click();
    VERIFY_PROMPTS(run->prompts);
    QCOMPARE(plan.Emp, before);
    QCOMPARE(box->text(), QStringLiteral("Eleventh"));
    QCOMPARE(flagOf(page), Y);

    // Yes on leaving says the same and stays, so the typing is not lost.
    run->prompts.expectSaveChanges(true);
    run->prompts.expectNotice(Msg::EmpFull, Msg::AppTitle);
    click(page, "cmdReturn");
    VERIFY_PROMPTS(run->prompts);
    QVERIFY(page->isVisible());
    QVERIFY(!run->visible(PageId::Main));
    QCOMPARE(plan.Emp, before);
    QCOMPARE(box->text(), QStringLiteral("Eleventh"));
    QCOMPARE(flagOf(page), Y);

    // Once a line is cleared, Yes stores the text there.
    child<QListWidget>(page, "lstEntry")->setCurrentRow(3);
    run->prompts.expectYesNo(Msg::EmpDeleteOne, true);
    click(page, "cmdClearOne");
    run->prompts.expectSaveChanges(true);
    click(page, "cmdReturn");
    QCOMPARE(plan.Emp[3], QStringLiteral("Eleventh"));
    QVERIFY(run->visible(PageId::Main));
}

void ListStepsTest::emp_fullListReturnYes_withEmptyBoxLeaves()
{
    Page *page = employees();
    for (int n = 1; n <= 10; ++n)
        saveEmployee(page, QStringLiteral("P%1").arg(n));
    FIND(box, QLineEdit, page, "txtEmpInfo");
    box->clear(); // nothing typed that could be lost
    QCOMPARE(flagOf(page), Y);
    run->prompts.expectSaveChanges(true);
    click(page, "cmdReturn");
    QVERIFY(run->visible(PageId::Main));
    QCOMPARE(run->ctx->plan.Emp[9], QStringLiteral("10. P10"));
}

void ListStepsTest::emp_longEntry_elidedWithWholeTextInTooltip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shownStart"); // what the line shows before any "…"
    QTest::addColumn<bool>("elided");
    const QString longText = QStringLiteral("Jane Doe, manager of the shop floor and the warehouse, ten years in "
                                            "retail, trained in first aid and forklift driving");
    QTest::newRow("short") << QStringLiteral("Bob, driver") << QStringLiteral("1.  Bob, driver") << false;
    QTest::newRow("long") << longText << QStringLiteral("1.  Jane Doe, manager") << true;
    QTest::newRow("one long word") << QString(300, QLatin1Char('W')) << QStringLiteral("1.  WWW") << true;
    QTest::newRow("pasted lines") << QStringLiteral("Ann\nbookkeeper") << QStringLiteral("1.  Ann") << true;
}

void ListStepsTest::emp_longEntry_elidedWithWholeTextInTooltip()
{
    QFETCH(QString, text);
    QFETCH(QString, shownStart);
    QFETCH(bool, elided);
    Page *page = employees();
    saveEmployee(page, text);
    auto *line = dynamic_cast<AnswerLine *>(label(page, "lblEmp1"));
    QVERIFY(line);
    // The whole entry stays the line's text, its tooltip and the stored answer.
    QCOMPARE(line->text(), QStringLiteral("1.  ") + text);
    QCOMPARE(line->toolTip(), line->text());
    QCOMPARE(run->ctx->plan.Emp[0], line->text());

    const QString shown = line->shownText();
    QVERIFY2(shown.startsWith(shownStart), qPrintable(shown));
    QCOMPARE(shown.endsWith(QChar(0x2026)), elided);
    if (!elided)
        QCOMPARE(shown, line->text());
    QVERIFY(line->fontMetrics().horizontalAdvance(shown) <= line->contentsRect().width());
    QVERIFY(!shown.contains(QLatin1Char('\n')));
}

void ListStepsTest::emp_saveOnEmptyBox_usesUpLine()
{
    Page *page = employees();
    click(page, "cmdSave");
    QCOMPARE(run->ctx->plan.Emp[0], QStringLiteral("1.  "));
    QCOMPARE(run->ctx->shared.EmpSlot[0], SlotOn);
    saveEmployee(page, QStringLiteral("Bob"));
    QCOMPARE(run->ctx->plan.Emp[1], QStringLiteral("2.  Bob"));
}

void ListStepsTest::emp_clearAll_noKeeps_yesEmpties()
{
    Page *page = employees();
    saveEmployee(page, QStringLiteral("A"));
    saveEmployee(page, QStringLiteral("B"));
    FIND(box, QLineEdit, page, "txtEmpInfo");
    FIND(clearAll, QPushButton, page, "cmdClearAll");
    box->setText(QStringLiteral("typing"));
    clearAll->setFocus();

    run->prompts.expectYesNo(Msg::EmpDeleteAll, false);
    clearAll->click();
    QCOMPARE(run->ctx->plan.Emp[1], QStringLiteral("2.  B"));
    QCOMPARE(box->text(), QStringLiteral("typing"));
    QCOMPARE(flagOf(page), Y);
    QCOMPARE(page->focusWidget(), box);

    run->prompts.expectYesNo(Msg::EmpDeleteAll, true);
    clearAll->click();
    for (int n = 1; n <= 10; ++n) {
        QCOMPARE(run->ctx->plan.Emp[n - 1], employeeEmpty(n));
        QCOMPARE(label(page, QStringLiteral("lblEmp%1").arg(n))->text(), employeeEmpty(n));
        QCOMPARE(run->ctx->shared.EmpSlot[n - 1], SlotOff);
    }
    QVERIFY(box->text().isEmpty());
    QCOMPARE(flagOf(page), N);
    saveEmployee(page, QStringLiteral("C"));
    QCOMPARE(run->ctx->plan.Emp[0], QStringLiteral("1.  C"));
}

void ListStepsTest::emp_returnYes_storesBareTextAndOnlyChangedLines()
{
    Page *page = employees();
    saveEmployee(page, QStringLiteral("A"));
    saveEmployee(page, QStringLiteral("B"));
    PlanRecord &plan = run->ctx->plan;
    // Fields that drift from the lines while the page is open show which lines are copied.
    plan.Emp[1] = QStringLiteral("drifted");
    plan.Emp[4] = QStringLiteral("5.  kept");

    QTest::keyClicks(edit(page, "txtEmpInfo"), QStringLiteral("Carol"));
    run->prompts.expectSaveChanges(true);
    click(page, "cmdReturn");

    QCOMPARE(plan.Emp[0], QStringLiteral("1.  A"));
    QCOMPARE(plan.Emp[1], QStringLiteral("2.  B"));  // its line is in use: copied
    QCOMPARE(plan.Emp[2], QStringLiteral("Carol")); // no number prefix
    QCOMPARE(plan.Emp[4], QStringLiteral("5.  kept")); // its line shows "5.": left alone
    QCOMPARE(run->ctx->shared.EmpSlot[2], SlotOn);
    QCOMPARE(flagOf(page), N);
    QVERIFY(run->visible(PageId::Main));
    QVERIFY(!page->isVisible());

    employees();
    QCOMPARE(label(page, "lblEmp3")->text(), QStringLiteral("Carol"));
    QVERIFY(edit(page, "txtEmpInfo")->text().isEmpty());
    saveEmployee(page, QStringLiteral("D"));
    QCOMPARE(plan.Emp[3], QStringLiteral("4.  D"));
}

void ListStepsTest::emp_returnNo_storesNothing_unchangedAsksNothing()
{
    Page *page = employees();
    FIND(box, QLineEdit, page, "txtEmpInfo");
    FIND(ret, QPushButton, page, "cmdReturn");
    QTest::keyClicks(box, QStringLiteral("x"));
    QTest::keyClick(box, Qt::Key_Backspace);
    run->prompts.expectSaveChanges(false);
    ret->click();
    QCOMPARE(run->ctx->plan.Emp[0], QStringLiteral("1."));
    QCOMPARE(run->ctx->shared.EmpSlot[0], SlotOff);
    QVERIFY(run->visible(PageId::Main));

    employees();
    QCOMPARE(flagOf(page), N);
    ret->click(); // nothing asked
    QVERIFY(run->visible(PageId::Main));
}

void ListStepsTest::emp_afterMainClear_nextSaveGoesToLineOne()
{
    Page *page = employees();
    for (int n = 1; n <= 3; ++n)
        saveEmployee(page, QStringLiteral("P%1").arg(n));
    click(page, "cmdReturn");
    run->prompts.expectYesNo(Msg::ClearQuestion, true);
    click(run->page(PageId::Main), "cmdClear");

    employees();
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(label(page, QStringLiteral("lblEmp%1").arg(n))->text(), employeeEmpty(n));
    saveEmployee(page, QStringLiteral("Fresh"));
    QCOMPARE(run->ctx->plan.Emp[0], QStringLiteral("1.  Fresh"));
    QCOMPARE(run->ctx->plan.Emp[1], QStringLiteral("2."));
}

void ListStepsTest::emp_accessKey_fromBoxSaves()
{
    Page *page = employees();
    QVERIFY(QTest::qWaitForWindowActive(page));
    FIND(box, QLineEdit, page, "txtEmpInfo");
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("Keyboard"));
    QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(run->ctx->plan.Emp[0], QStringLiteral("1.  Keyboard"));
}

// ---- Products entry page ---------------------------------------------------------------

void ListStepsTest::prod_freshPage_offersOneWithCaretAfterPrefix()
{
    Page *page = products();
    QVERIFY(page && page->isVisible());
    QCOMPARE(page->windowTitle(), QStringLiteral("Quorvane - Description of Products/Services"));
    QCOMPARE(page->size(), QSize(twips(7140), twips(3870)));

    FIND(info, QLabel, page, "lblInfo");
    QCOMPARE(info->text(),
             QStringLiteral("List each product/service individually below with its description and information on "
                            "how it will be produced and how it compares and differs to/from similar/competing "
                            "products/services.  Limit of 5.  Click \"Save\" and then \"View\" to see entries."));
    const char *const captions[][2] = {{"lblProdServ", "Product/ Service:"},
                                       {"lblDesc", "Description:"},
                                       {"lblProduced", "How will it be produced?"},
                                       {"lblCompare", "How does it compare?"},
                                       {"lblDiffer", "How does it differ?"}};
    for (const auto &c : captions) {
        QCOMPARE(label(page, c[0])->text(), QString::fromLatin1(c[1]));
        QCOMPARE(label(page, c[0])->font().family(), QStringLiteral("Arial"));
    }
    FIND(save, QPushButton, page, "cmdSave");
    FIND(view, QPushButton, page, "cmdView");
    FIND(ret, QPushButton, page, "cmdReturn");
    QCOMPARE(save->text(), QStringLiteral("&Save Information"));
    QCOMPARE(save->toolTip(), QStringLiteral("Click here to save your information."));
    QCOMPARE(view->text(), QStringLiteral("&View Entries"));
    QCOMPARE(view->toolTip(), QStringLiteral("Click here to save your information."));
    QCOMPARE(ret->text(), QStringLiteral("&Return to Main Screen"));
    QCOMPARE(ret->toolTip(), QStringLiteral("Click here to return to the main screen."));

    FIND(name, QLineEdit, page, "txtProdServ");
    QCOMPARE(tabOrder(name, 8), (QStringList{"txtProdServ", "txtDesc", "txtHowProd", "txtHowCompare",
                                             "txtHowDiffer", "cmdSave", "cmdView", "cmdReturn"}));
    QCOMPARE(name->text(), QStringLiteral("1.  "));
    QCOMPARE(name->cursorPosition(), 4);
    QVERIFY(!name->hasSelectedText());
    QCOMPARE(page->focusWidget(), name);
    QCOMPARE(flagOf(page), N);
    ret->click(); // nothing asked
    QVERIFY(run->visible(PageId::Main));
}

void ListStepsTest::prod_save_okStoresAndOffersNext()
{
    Page *page = products();
    FIND(name, QLineEdit, page, "txtProdServ");
    QTest::keyClicks(name, QStringLiteral("Chairs"));
    edit(page, "txtDesc")->setText(QStringLiteral("Oak"));
    edit(page, "txtHowProd")->setText(QStringLiteral("By hand"));
    edit(page, "txtHowCompare")->setText(QStringLiteral("Sturdier"));
    QCOMPARE(flagOf(page), Y);
    run->prompts.expect(confirmN(1), PromptButton::Ok);
    click(page, "cmdSave");

    const PlanRecord &plan = run->ctx->plan;
    QCOMPARE(plan.ProdServ[0], QStringLiteral("1.  Chairs"));
    QCOMPARE(plan.ProdDesc[0], QStringLiteral("Oak"));
    QCOMPARE(plan.ProdProd[0], QStringLiteral("By hand"));
    QCOMPARE(plan.ProdCompare[0], QStringLiteral("Sturdier"));
    QCOMPARE(plan.ProdDiffer[0], QString()); // empty box: empty text, not the marker
    QCOMPARE(plan.ProdServ[1], QStringLiteral("2.  "));
    QCOMPARE(run->ctx->shared.ProdSlot[0], SlotOn);
    QCOMPARE(name->text(), QStringLiteral("2.  "));
    QCOMPARE(name->cursorPosition(), 4);
    QVERIFY(edit(page, "txtDesc")->text().isEmpty());
    QCOMPARE(page->focusWidget(), name);
    QCOMPARE(flagOf(page), N);
}

void ListStepsTest::prod_save_cancelStoresNothingAndKeepsTheTyping()
{
    Page *page = products();
    FIND(name, QLineEdit, page, "txtProdServ");
    FIND(desc, QLineEdit, page, "txtDesc");
    QTest::keyClicks(name, QStringLiteral("Chairs"));
    desc->setText(QStringLiteral("Oak"));
    run->prompts.expect(confirmN(1), PromptButton::Cancel);
    click(page, "cmdSave");
    QCOMPARE(run->ctx->plan.ProdServ[0], QStringLiteral("1.  "));
    QCOMPARE(run->ctx->plan.ProdDesc[0], BlankMarker);
    QCOMPARE(run->ctx->shared.ProdSlot[0], SlotOff);
    QCOMPARE(name->text(), QStringLiteral("1.  Chairs"));
    QCOMPARE(desc->text(), QStringLiteral("Oak"));
    QCOMPARE(flagOf(page), Y);
    // So leaving asks, and Yes keeps the product.
    run->prompts.expectSaveChanges(true);
    click(page, "cmdReturn");
    QVERIFY(run->visible(PageId::Main));
    QCOMPARE(run->ctx->plan.ProdServ[0], QStringLiteral("1.  Chairs"));
    QCOMPARE(run->ctx->plan.ProdDesc[0], QStringLiteral("Oak"));
}

void ListStepsTest::prod_clearOneOnView_slotIsReused()
{
    Page *page = products();
    storeProduct(page, 1, QStringLiteral("A"));
    storeProduct(page, 2, QStringLiteral("B"));
    storeProduct(page, 3, QStringLiteral("C"));
    Page *view = goToView(page); // nothing unsaved: no question
    QVERIFY(view && view->isVisible());
    QVERIFY(!page->isVisible());
    child<QListWidget>(view, "lstEntry")->setCurrentRow(1);
    run->prompts.expectYesNo(Msg::ProdDeleteOne, true);
    click(view, "cmdClearOne");
    QCOMPARE(run->ctx->shared.ProdSlot[1], SlotOff);

    click(view, "cmdBack");
    QVERIFY(page->isVisible());
    QVERIFY(!view->isVisible());
    FIND(name, QLineEdit, page, "txtProdServ");
    QCOMPARE(name->text(), QStringLiteral("2.  "));
    storeProduct(page, 2, QStringLiteral("B2"));
    QCOMPARE(run->ctx->plan.ProdServ[1], QStringLiteral("2.  B2"));
    QCOMPARE(run->ctx->plan.ProdServ[2], QStringLiteral("3.  C"));
    QCOMPARE(name->text(), QStringLiteral("4.  "));
    storeProduct(page, 4, QStringLiteral("D"));
    QCOMPARE(run->ctx->plan.ProdServ[3], QStringLiteral("4.  D"));
}

void ListStepsTest::prod_fifthEntry_showsFullText_thenFullInfoOnSaveAndReturn()
{
    Page *page = products();
    for (int n = 1; n <= 5; ++n)
        storeProduct(page, n, QStringLiteral("P%1").arg(n));
    FIND(name, QLineEdit, page, "txtProdServ");
    FIND(desc, QLineEdit, page, "txtDesc");
    QCOMPARE(name->text(), Msg::ProdFullText);
    QVERIFY(desc->text().isEmpty());
    QCOMPARE(page->focusWidget(), name);
    QCOMPARE(run->ctx->plan.ProdServ[4], QStringLiteral("5.  P5"));

    const PlanRecord before = run->ctx->plan;
    edit(page, "txtHowProd")->setText(QStringLiteral("more"));
    run->prompts.expectNotice(Msg::ProdFullInfo, Msg::AppTitle);
    click(page, "cmdSave");
    QCOMPARE(run->ctx->plan.ProdProd, before.ProdProd);
    QCOMPARE(run->ctx->plan.ProdServ, before.ProdServ);
    QCOMPARE(edit(page, "txtHowProd")->text(), QStringLiteral("more"));
    QCOMPARE(flagOf(page), N);

    // Yes on leaving shows the same notice and stores nothing.
    edit(page, "txtHowProd")->setText(QStringLiteral("x"));
    run->prompts.expectSaveChanges(true);
    run->prompts.expectNotice(Msg::ProdFullInfo, Msg::AppTitle);
    click(page, "cmdReturn");
    QCOMPARE(run->ctx->plan.ProdProd, before.ProdProd);
    QVERIFY(run->visible(PageId::Main));
    // Reopening a full page still says so.
    products();
    QCOMPARE(name->text(), Msg::ProdFullText);
}

void ListStepsTest::prod_descriptionWhileFull_isNotAnEdit()
{
    Page *page = products();
    for (int n = 1; n <= 5; ++n)
        storeProduct(page, n, QStringLiteral("P%1").arg(n));
    QTest::keyClicks(edit(page, "txtDesc"), QStringLiteral("desc"));
    QCOMPARE(flagOf(page), N);
    click(page, "cmdReturn"); // nothing asked
    QVERIFY(run->visible(PageId::Main));

    products();
    QTest::keyClicks(edit(page, "txtHowProd"), QStringLiteral("x"));
    QCOMPARE(flagOf(page), Y);
    run->prompts.expectSaveChanges(false);
    click(page, "cmdReturn");

    // With a free slot the description is an edit like any other.
    run->ctx->shared.ProdSlot[2] = SlotOff;
    products();
    QTest::keyClicks(edit(page, "txtDesc"), QStringLiteral("d"));
    QCOMPARE(flagOf(page), Y);
}

void ListStepsTest::prod_view_yesThenCancel_staysWithTheTyping()
{
    Page *page = products();
    QTest::keyClicks(edit(page, "txtProdServ"), QStringLiteral("Chairs"));
    run->prompts.expectSaveChanges(true);
    run->prompts.expect(confirmN(1), PromptButton::Cancel);
    click(page, "cmdView");
    QCOMPARE(run->ctx->plan.ProdServ[0], QStringLiteral("1.  "));
    QCOMPARE(run->ctx->shared.ProdSlot[0], SlotOff);
    QCOMPARE(edit(page, "txtProdServ")->text(), QStringLiteral("1.  Chairs"));
    QCOMPARE(flagOf(page), Y);
    QVERIFY(page->isVisible());
    QVERIFY(!run->visible(PageId::View));
}

void ListStepsTest::prod_view_yesOk_storesWithoutResettingBoxes()
{
    Page *page = products();
    FIND(name, QLineEdit, page, "txtProdServ");
    QTest::keyClicks(name, QStringLiteral("Chairs"));
    run->prompts.expectSaveChanges(true);
    run->prompts.expect(confirmN(1), PromptButton::Ok);
    Page *view = goToView(page);
    QCOMPARE(run->ctx->plan.ProdServ[0], QStringLiteral("1.  Chairs"));
    QCOMPARE(run->ctx->shared.ProdSlot[0], SlotOn);
    QCOMPARE(name->text(), QStringLiteral("1.  Chairs"));
    QCOMPARE(label(view, "lblProdServ1")->text(), QStringLiteral("1.  Chairs"));

    // Going back offers the next slot in fresh boxes.
    click(view, "cmdBack");
    QCOMPARE(name->text(), QStringLiteral("2.  "));
    QCOMPARE(flagOf(page), N);
}

void ListStepsTest::prod_view_no_keepsFlag()
{
    Page *page = products();
    QTest::keyClicks(edit(page, "txtProdServ"), QStringLiteral("Chairs"));
    run->prompts.expectSaveChanges(false);
    Page *view = goToView(page);
    QCOMPARE(run->ctx->plan.ProdServ[0], QStringLiteral("1.  "));
    QCOMPARE(flagOf(page), Y);
    QVERIFY(view->isVisible());
}

void ListStepsTest::prod_viewWhenFull_fullInfoOnlyIfNameBoxEdited()
{
    Page *page = products();
    for (int n = 1; n <= 5; ++n)
        storeProduct(page, n, QStringLiteral("P%1").arg(n));
    FIND(name, QLineEdit, page, "txtProdServ");

    // Full-text still in the name box: the page already says it is full.
    edit(page, "txtHowDiffer")->setText(QStringLiteral("x"));
    run->prompts.expectSaveChanges(true);
    Page *view = goToView(page);
    QCOMPARE(flagOf(page), N);
    click(view, "cmdBack");

    name->setText(QStringLiteral("6.  Extra"));
    run->prompts.expectSaveChanges(true);
    run->prompts.expectNotice(Msg::ProdFullInfo, Msg::AppTitle);
    goToView(page);
    QCOMPARE(run->ctx->plan.ProdServ[4], QStringLiteral("5.  P5"));
    QVERIFY(view->isVisible());
}

void ListStepsTest::prod_returnYes_storesWithoutConfirm()
{
    Page *page = products();
    storeProduct(page, 1, QStringLiteral("A"));
    QTest::keyClicks(edit(page, "txtProdServ"), QStringLiteral("Tables"));
    edit(page, "txtHowDiffer")->setText(QStringLiteral("Longer guarantee"));
    run->prompts.expectSaveChanges(true); // and no confirmation after it
    click(page, "cmdReturn");
    const PlanRecord &plan = run->ctx->plan;
    QCOMPARE(plan.ProdServ[1], QStringLiteral("2.  Tables"));
    QCOMPARE(plan.ProdDesc[1], QString());
    QCOMPARE(plan.ProdDiffer[1], QStringLiteral("Longer guarantee"));
    QCOMPARE(run->ctx->shared.ProdSlot[1], SlotOn);
    QCOMPARE(flagOf(page), N);
    QVERIFY(run->visible(PageId::Main));
    QVERIFY(!page->isVisible());
}

void ListStepsTest::prod_afterMainClear_offersOneAgain()
{
    Page *page = products();
    storeProduct(page, 1, QStringLiteral("A"));
    storeProduct(page, 2, QStringLiteral("B"));
    click(page, "cmdReturn");
    run->prompts.expectYesNo(Msg::ClearQuestion, true);
    click(run->page(PageId::Main), "cmdClear");
    products();
    QCOMPARE(edit(page, "txtProdServ")->text(), QStringLiteral("1.  "));
    storeProduct(page, 1, QStringLiteral("Again"));
    QCOMPARE(run->ctx->plan.ProdServ[0], QStringLiteral("1.  Again"));
}

// ---- Products view page ----------------------------------------------------------------

void ListStepsTest::view_page_showsEntriesWithFullTextTooltips()
{
    Page *page = products();
    const QString longName = QStringLiteral("Hand-made oak chairs, ") + QString(200, QLatin1Char('x'));
    QTest::keyClicks(edit(page, "txtProdServ"), longName);
    run->prompts.expect(confirmN(1), PromptButton::Ok);
    click(page, "cmdSave"); // description left empty
    Page *view = goToView(page);

    QCOMPARE(view->windowTitle(), QStringLiteral("Quorvane - Products & Services - View"));
    QCOMPARE(view->size(), QSize(twips(8430), twips(5745)));
    FIND(note, QLabel, view, "Label1");
    QCOMPARE(note->text(), QStringLiteral("(Don't worry if these lines are cut off - your information will be saved "
                                          "in the final output.)"));
    FIND(list, QListWidget, view, "lstEntry");
    QCOMPARE(itemTexts(list), (QStringList{"1", "2", "3", "4", "5"}));
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(child<QPushButton>(view, "cmdClearOne")->text(), QStringLiteral("Clear &One Entry"));
    QCOMPARE(child<QPushButton>(view, "cmdClearAll")->text(), QStringLiteral("&Clear All"));
    QCOMPARE(child<QPushButton>(view, "cmdBack")->text(), QStringLiteral("&Go Back"));
    QCOMPARE(tabOrder(list, 4), (QStringList{"lstEntry", "cmdClearOne", "cmdClearAll", "cmdBack"}));

    FIND(name1, QLabel, view, "lblProdServ1");
    QCOMPARE(name1->text(), QStringLiteral("1.  ") + longName);
    QCOMPARE(name1->toolTip(), name1->text());
    QVERIFY(!name1->wordWrap());
    QVERIFY(name1->sizeHint().width() > name1->width()); // cut off, not wrapped or widened
    FIND(desc1, QLabel, view, "lblProdDesc1");
    QVERIFY(desc1->text().isEmpty());
    QVERIFY(desc1->toolTip().isEmpty());
    // Unused entries: their number prefix and four empty lines.
    QCOMPARE(label(view, "lblProdServ5")->text(), QStringLiteral("5.  "));
    for (const char *line : {"lblProdDesc5", "lblProdProd5", "lblProdCompare5", "lblProdDiffer5"}) {
        QVERIFY2(label(view, line)->text().isEmpty(), line);
    }
    // Entries 1 to 3 on the left, 4 and 5 at the top on the right; no line overlaps another.
    QList<QLabel *> lines;
    for (int n = 1; n <= 5; ++n)
        for (const char *f : {"lblProdServ", "lblProdDesc", "lblProdProd", "lblProdCompare", "lblProdDiffer"})
            lines << label(view, QStringLiteral("%1%2").arg(QLatin1String(f)).arg(n));
    QCOMPARE(lines[15]->y(), lines[0]->y());
    QVERIFY(lines[15]->x() > lines[10]->geometry().right());
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY(view->rect().contains(lines[i]->geometry()));
        for (int j = i + 1; j < lines.size(); ++j)
            QVERIFY(!lines[i]->geometry().intersects(lines[j]->geometry()));
    }
    // Markup typed as text is shown as typed in the tooltip too.
    run->ctx->plan.ProdProd[0] = QStringLiteral("<b>bold</b>");
    click(view, "cmdBack");
    goToView(page);
    FIND(prod1, QLabel, view, "lblProdProd1");
    QCOMPARE(prod1->text(), QStringLiteral("<b>bold</b>"));
    QVERIFY(prod1->toolTip().contains(QStringLiteral("&lt;b&gt;bold&lt;/b&gt;")));
}

void ListStepsTest::view_clearOne_noSelectionAsksNothing_noKeeps_yesClears()
{
    Page *page = products();
    storeProduct(page, 1, QStringLiteral("A"));
    storeProduct(page, 2, QStringLiteral("B"));
    Page *view = goToView(page);
    FIND(list, QListWidget, view, "lstEntry");
    FIND(clearOne, QPushButton, view, "cmdClearOne");
    clearOne->click(); // nothing selected: nothing asked
    QCOMPARE(run->ctx->shared.ProdSlot[0], SlotOn);

    list->setCurrentRow(0);
    run->prompts.expectYesNo(Msg::ProdDeleteOne, false);
    clearOne->click();
    QCOMPARE(run->ctx->plan.ProdServ[0], QStringLiteral("1.  A"));

    run->prompts.expectYesNo(Msg::ProdDeleteOne, true);
    clearOne->click();
    const PlanRecord &plan = run->ctx->plan;
    QCOMPARE(plan.ProdServ[0], QStringLiteral("1.  "));
    QCOMPARE(plan.ProdDesc[0], BlankMarker);
    QCOMPARE(plan.ProdProd[0], BlankMarker);
    QCOMPARE(plan.ProdCompare[0], BlankMarker);
    QCOMPARE(plan.ProdDiffer[0], BlankMarker);
    QCOMPARE(run->ctx->shared.ProdSlot[0], SlotOff);
    QCOMPARE(label(view, "lblProdServ1")->text(), QStringLiteral("1.  "));
    QVERIFY(label(view, "lblProdDesc1")->text().isEmpty());
    QCOMPARE(plan.ProdServ[1], QStringLiteral("2.  B"));
    QCOMPARE(label(view, "lblProdDesc2")->text(), QStringLiteral("B description"));
    QCOMPARE(list->selectedItems().first()->text(), QStringLiteral("1"));
}

void ListStepsTest::view_clearAll_thenGoBack_offersOne()
{
    Page *page = products();
    storeProduct(page, 1, QStringLiteral("A"));
    storeProduct(page, 2, QStringLiteral("B"));
    Page *view = goToView(page);
    FIND(clearAll, QPushButton, view, "cmdClearAll");

    run->prompts.expectYesNo(Msg::ProdDeleteAll, false);
    clearAll->click();
    QCOMPARE(run->ctx->plan.ProdServ[1], QStringLiteral("2.  B"));

    run->prompts.expectYesNo(Msg::ProdDeleteAll, true);
    clearAll->click();
    const PlanRecord &plan = run->ctx->plan;
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(plan.ProdServ[n - 1], productPrefix(n));
        QCOMPARE(plan.ProdDesc[n - 1], BlankMarker);
        QCOMPARE(plan.ProdDiffer[n - 1], BlankMarker);
        QCOMPARE(run->ctx->shared.ProdSlot[n - 1], SlotOff);
    }
    QCOMPARE(label(view, "lblProdServ2")->text(), QStringLiteral("2.  "));
    QVERIFY(label(view, "lblProdDesc2")->text().isEmpty());

    click(view, "cmdBack");
    FIND(name, QLineEdit, page, "txtProdServ");
    QCOMPARE(name->text(), QStringLiteral("1.  "));
    QCOMPARE(name->cursorPosition(), 4);
    storeProduct(page, 1, QStringLiteral("New"));
}

void ListStepsTest::view_nameStoredAsMarker_doesNotShowEarlierName()
{
    Page *page = products();
    storeProduct(page, 1, QStringLiteral("Chairs"));
    Page *view = goToView(page);
    QCOMPARE(label(view, "lblProdServ1")->text(), QStringLiteral("1.  Chairs"));
    click(view, "cmdBack");
    click(page, "cmdReturn");
    run->prompts.expectYesNo(Msg::ClearQuestion, true);
    click(run->page(PageId::Main), "cmdClear");

    products();
    edit(page, "txtProdServ")->setText(BlankMarker);
    run->prompts.expect(confirmN(1), PromptButton::Ok);
    click(page, "cmdSave");
    goToView(page);
    QCOMPARE(run->ctx->plan.ProdServ[0], BlankMarker);
    QVERIFY(label(view, "lblProdServ1")->text().isEmpty());
}

// Fill Steps restored four employees and two products, the first known by its description
// alone: at the pages' first load they keep their slots, and new entries go beside them.
void ListStepsTest::fillSteps_firstLoadThenAdd_keepsRestoredEntries()
{
    PlanRecord answers;
    for (int i = 0; i < 4; ++i)
        answers.Emp[i] = employeePrefix(i + 1) + QStringLiteral("Kept");
    answers.ProdDesc[0] = QStringLiteral("Kept");
    answers.ProdServ[1] = productPrefix(2) + QStringLiteral("Kept");
    const plandoc::PlanReadBack read = plandoc::readPlanBack(plandoc::composePlan(answers));
    run->ctx->plan = read.plan; // as File > Fill Steps from Document takes them
    run->ctx->shared = read.shared;
    saveEmployee(employees(), QStringLiteral("New"));
    QCOMPARE(run->ctx->plan.Emp[4], QStringLiteral("5.  New"));
    click(run->page(PageId::BusEmp), "cmdReturn");
    storeProduct(products(), 3, QStringLiteral("New"));
    QCOMPARE(run->ctx->plan.Emp[0], answers.Emp[0]);
    QCOMPARE(run->ctx->plan.ProdDesc[0], answers.ProdDesc[0]);
}

// ---- All three pages -------------------------------------------------------------------

void ListStepsTest::close_asksExitQuestion_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("box");
    QTest::newRow("employees") << QString::fromLatin1(PageId::BusEmp) << QStringLiteral("txtEmpInfo");
    QTest::newRow("products") << QString::fromLatin1(PageId::BusDesc) << QStringLiteral("txtHowProd");
    QTest::newRow("view") << QString::fromLatin1(PageId::View) << QString();
}

void ListStepsTest::close_asksExitQuestion()
{
    QFETCH(QString, page);
    QFETCH(QString, box);
    Page *p = nullptr;
    if (page == QLatin1String(PageId::BusEmp))
        p = employees();
    else if (page == QLatin1String(PageId::BusDesc))
        p = products();
    else
        p = goToView(products());
    QVERIFY(p && p->isVisible());
    QLineEdit *typed = box.isEmpty() ? nullptr : p->findChild<QLineEdit *>(box);
    if (typed)
        typed->setText(QStringLiteral("unsaved"));

    run->prompts.expectExit(false);
    QVERIFY(!p->close());
    QVERIFY(p->isVisible());
    QCOMPARE(run->ctx->nav.loaded(page), p);
    if (typed) {
        QCOMPARE(typed->text(), QStringLiteral("unsaved"));
        QCOMPARE(flagOf(p), Y);
    }
    QVERIFY(!run->quit);

    run->prompts.expectExit(true); // and no save question
    p->close();
    QVERIFY(run->quit);
}

QTEST_MAIN(ListStepsTest)
#include "test_list_steps.moc"

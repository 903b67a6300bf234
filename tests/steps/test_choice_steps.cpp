#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "steps/ChoicePages.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString type19(const char *s) { return FixedText<19>::padded(QString::fromLatin1(s)); }
QString offer21(const char *s) { return FixedText<21>::padded(QString::fromLatin1(s)); }
QString cust24(const char *s) { return FixedText<24>::padded(QString::fromLatin1(s)); }

// The option buttons of a page that are selected, by name.
QStringList checkedOptions(QWidget *page)
{
    QStringList names;
    for (auto *b : page->findChildren<QRadioButton *>())
        if (b->isChecked())
            names << b->objectName();
    names.sort();
    return names;
}

// The controls that Tab really visits from `start`: an option group is entered once.
QStringList tabWalk(QWidget *start, int n)
{
    start->setFocus(Qt::TabFocusReason);
    QStringList names;
    for (int i = 0; i < n && QApplication::focusWidget(); ++i) {
        names << QApplication::focusWidget()->objectName();
        if (i + 1 < n)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return names;
}

} // namespace

class ChoiceStepsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // Both pages
    void page_hasCaptionSizeAndControls_data();
    void page_hasCaptionSizeAndControls();
    void page_controlsFitAndDoNotOverlap_data();
    void page_controlsFitAndDoNotOverlap();
    void closeRequest_noKeepsChoice_yesEndsWithoutSaveQuestion_data();
    void closeRequest_noKeepsChoice_yesEndsWithoutSaveQuestion();

    // Step 2
    void busType_unanswered_showsNothingAndLeavesWithoutQuestion();
    void busType_chooseAndSave_storesPaddedAnswer_data();
    void busType_chooseAndSave_storesPaddedAnswer();
    void busType_choosingStoredAnswerAgain_asksNothing();
    void busType_saveUnanswered_showsBlankInLabel();
    void busType_returnNo_keepsStoredAndSelectsItAgain();
    void busType_returnNoOnUnanswered_reopensWithNothingSelected();
    void busType_returnYes_storesChoice();
    void busType_afterClearAll_reopenClearsOptionsAndLabel();
    void busType_keyboard_spaceAndArrowsChoose();

    // Step 3
    void busKind_unanswered_showsNothingAndLeavesWithoutQuestion();
    void busKind_option_showsPendingInLabelAndAsksOnReturn_data();
    void busKind_option_showsPendingInLabelAndAsksOnReturn();
    void busKind_save_storesChoicesAndBoxThenLeavesWithoutQuestion();
    void busKind_emptiedSoldVia_asksNothingAndKeepsText();
    void busKind_unchangedOrRetypedSoldVia_asksNothing();
    void busKind_changedSoldVia_asksAndYesStoresWithPendingChoices();
    void busKind_returnYesWithEmptiedBox_storesEmptyText();
    void busKind_returnNo_bringsBackStoredChoices();
    void busKind_returnNoOnUnanswered_clearsOptionsAndLabels();
    void busKind_activation_showsStoredAnswers();
    void busKind_afterClearAll_reopenClearsEverything();
    void busKind_keyboard_spaceChoosesAndTabOrder();

private:
    // Opens a step from the main page by its entry button.
    Page *openStep(const char *button, const char *pageId);
    void clickReturn(Page *page);
    void clickSave(Page *page);
    void clearAll();

    std::unique_ptr<TestRun> run;
};

void ChoiceStepsTest::init()
{
    run = std::make_unique<TestRun>();
    startProgram(*run->ctx);
    run->ctx->nav.switchPage(run->page(PageId::Splash), QString::fromLatin1(PageId::Main));
}

void ChoiceStepsTest::cleanup()
{
    VERIFY_PROMPTS(run->prompts);
    run.reset();
}

Page *ChoiceStepsTest::openStep(const char *button, const char *pageId)
{
    Page *main = run->page(PageId::Main);
    auto *b = main ? main->findChild<QPushButton *>(QString::fromLatin1(button)) : nullptr;
    if (!b)
        return nullptr;
    b->click();
    Page *page = run->page(pageId);
    return page && page->isVisible() && !main->isVisible() ? page : nullptr;
}

void ChoiceStepsTest::clickReturn(Page *page)
{
    auto *b = page->findChild<QPushButton *>(QStringLiteral("cmdReturn"));
    QVERIFY(b);
    b->click();
    QVERIFY(!page->isVisible());
    QVERIFY(run->visible(PageId::Main));
}

void ChoiceStepsTest::clickSave(Page *page)
{
    auto *b = page->findChild<QPushButton *>(QStringLiteral("cmdSave"));
    QVERIFY(b);
    b->click();
    QVERIFY(page->isVisible());
}

void ChoiceStepsTest::clearAll()
{
    FIND(clear, QPushButton, run->page(PageId::Main), "cmdClear");
    run->prompts.expectYesNo(Msg::ClearQuestion, true);
    clear->click();
}

// --- both pages -----------------------------------------------------------------------

void ChoiceStepsTest::page_hasCaptionSizeAndControls_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("pageId");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    // object name = text, for the question labels and options in bold Arial 9.75
    QTest::addColumn<QStringList>("bold");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("step 2") << "cmdStep2" << PageId::BusType << "Quorvane - Type of Business" << QSize(340, 163)
                            << QStringList{"lblName=This business is a:", "optCorp=Corporation",
                                           "optPart=Partnership", "optSole=Sole Proprietorship"}
                            << QStringList{"(check one)"};
    QTest::newRow("step 3") << "cmdStep3" << PageId::BusKind << "Quorvane - Nature of Business" << QSize(459, 249)
                            << QStringList{"lblName=This business provides:",
                                           "optProduct=Products",
                                           "optService=Services",
                                           "optBoth1=Both",
                                           "lblFor=for:",
                                           "optBusinesses=Businesses",
                                           "optConsumers=Consumers",
                                           "optBoth2=Both",
                                           "lblSoldVia=These products/services are sold via:"}
                            << QStringList{"Choose one:", "Choose one:"};
}

void ChoiceStepsTest::page_hasCaptionSizeAndControls()
{
    QFETCH(QString, button);
    QFETCH(QString, pageId);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QStringList, bold);
    QFETCH(QStringList, frames);

    Page *page = openStep(qPrintable(button), qPrintable(pageId));
    QVERIFY(page);
    QCOMPARE(page->windowTitle(), caption);
    QCOMPARE(page->size(), size);
    QCOMPARE(page->minimumSize(), size);
    QCOMPARE(page->maximumSize(), size);

    for (const QString &entry : bold) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        const QString text = entry.section(QLatin1Char('='), 1);
        auto *w = page->findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        if (auto *l = qobject_cast<QLabel *>(w))
            QCOMPARE(l->text(), text);
        else
            QCOMPARE(qobject_cast<QRadioButton *>(w)->text(), text);
        QCOMPARE(w->font().family(), QStringLiteral("Arial"));
        QCOMPARE(w->font().pointSizeF(), 9.75);
        QVERIFY2(w->font().bold(), qPrintable(name));
    }
    QStringList titles;
    for (auto *f : page->findChildren<QGroupBox *>())
        titles << f->title();
    QCOMPARE(titles, frames);

    FIND(save, QPushButton, page, "cmdSave");
    FIND(ret, QPushButton, page, "cmdReturn");
    QCOMPARE(save->text(), QStringLiteral("&Save Information"));
    QCOMPARE(save->toolTip(), QStringLiteral("Click here to save your information."));
    QCOMPARE(ret->text(), QStringLiteral("&Return to Main Screen"));
    QCOMPARE(ret->toolTip(), QStringLiteral("Click here to return to the main screen."));
    QVERIFY(!save->isDefault() && !ret->isDefault());

    if (pageId == QLatin1String(PageId::BusKind)) {
        FIND(hint, QLabel, page, "lblSoldViaHint");
        QCOMPARE(hint->text(), QStringLiteral("(Wholesale, retail, mail order, online, etc.)"));
        QCOMPARE(hint->font().pointSizeF(), 8.25);
        QVERIFY(!hint->font().bold());
        FIND(soldVia, QLineEdit, page, "txtSoldVia");
        FIND(lbl1, QLabel, page, "lbl1");
        FIND(lbl2, QLabel, page, "lbl2");
        // The value labels stand to the right of their frames, the box to the right of its question.
        QVERIFY(lbl1->geometry().left() > page->findChild<QWidget *>(QStringLiteral("fraOffer"))->geometry().right());
        QVERIFY(lbl2->geometry().left()
                > page->findChild<QWidget *>(QStringLiteral("fraCustomers"))->geometry().right());
        QVERIFY(soldVia->geometry().left()
                > page->findChild<QWidget *>(QStringLiteral("lblSoldVia"))->geometry().right());
        QVERIFY(hint->geometry().top() >= soldVia->geometry().bottom());
    } else {
        FIND(test, QLabel, page, "lblTest");
        FIND(name, QLabel, page, "lblName");
        QVERIFY(test->geometry().top() > name->geometry().bottom());
        QVERIFY(page->findChild<QGroupBox *>()->geometry().left() > name->geometry().right());
    }
}

void ChoiceStepsTest::page_controlsFitAndDoNotOverlap_data()
{
    QTest::addColumn<QString>("pageId");
    QTest::addColumn<QStringList>("longestValues"); // label=text the label must be able to show
    QTest::newRow("step 2") << PageId::BusType << QStringList{"lblTest=Sole Proprietorship", "lblTest=(blank)"};
    QTest::newRow("step 3") << PageId::BusKind
                            << QStringList{"lbl1=Products and Services", "lbl2=Businesses and Consumers"};
}

void ChoiceStepsTest::page_controlsFitAndDoNotOverlap()
{
    QFETCH(QString, pageId);
    QFETCH(QStringList, longestValues);
    Page *page = run->ctx->nav.show(pageId);
    QVERIFY(page);

    // Every control inside its parent, no two siblings on top of each other, and every
    // text within its control.
    QList<QWidget *> parents{page};
    for (auto *f : page->findChildren<QGroupBox *>())
        parents << f;
    for (QWidget *parent : parents) {
        QList<QWidget *> kids;
        for (auto *w : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!w->isWindow() && w->isVisible())
                kids << w;
        for (int i = 0; i < kids.size(); ++i) {
            const QString name = kids[i]->objectName();
            QVERIFY2(parent->rect().contains(kids[i]->geometry()), qPrintable(name));
            for (int j = i + 1; j < kids.size(); ++j)
                QVERIFY2(!kids[i]->geometry().intersects(kids[j]->geometry()),
                         qPrintable(name + QLatin1String(" overlaps ") + kids[j]->objectName()));
            if (auto *l = qobject_cast<QLabel *>(kids[i]); l && !l->text().isEmpty())
                QVERIFY2(QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->width() || l->wordWrap(),
                         qPrintable(name));
            if (auto *b = qobject_cast<QAbstractButton *>(kids[i]))
                QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(name));
        }
    }
    for (const QString &entry : longestValues) {
        auto *l = page->findChild<QLabel *>(entry.section(QLatin1Char('='), 0, 0));
        QVERIFY(l);
        QVERIFY2(QFontMetrics(l->font()).horizontalAdvance(entry.section(QLatin1Char('='), 1)) <= l->width(),
                 qPrintable(entry));
    }
    if (pageId == QLatin1String(PageId::BusKind)) {
        FIND(hint, QLabel, page, "lblSoldViaHint");
        QVERIFY(QFontMetrics(hint->font()).horizontalAdvance(hint->text()) <= hint->width());
    }
}

void ChoiceStepsTest::closeRequest_noKeepsChoice_yesEndsWithoutSaveQuestion_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("pageId");
    QTest::addColumn<QString>("option");
    QTest::newRow("step 2") << "cmdStep2" << PageId::BusType << "optSole";
    QTest::newRow("step 3") << "cmdStep3" << PageId::BusKind << "optService";
}

void ChoiceStepsTest::closeRequest_noKeepsChoice_yesEndsWithoutSaveQuestion()
{
    QFETCH(QString, button);
    QFETCH(QString, pageId);
    QFETCH(QString, option);
    Page *page = openStep(qPrintable(button), qPrintable(pageId));
    QVERIFY(page);
    auto *opt = page->findChild<QRadioButton *>(option);
    QVERIFY(opt);
    QTest::mouseClick(opt, Qt::LeftButton);
    QVERIFY(opt->isChecked());

    run->prompts.expectExit(false);
    QVERIFY(!page->close());
    QVERIFY(page->isVisible());
    QCOMPARE(run->page(qPrintable(pageId)), page);
    QVERIFY(opt->isChecked());
    QVERIFY(!run->quit);

    // Still unsaved: the exit question ends the run without asking about it.
    run->prompts.expectExit(true);
    page->close();
    QVERIFY(run->quit);
    QCOMPARE(run->ctx->plan.BusType.text(), blankPadded(19));
    QCOMPARE(run->ctx->plan.Offer.text(), blankPadded(21));
}

// --- step 2 ---------------------------------------------------------------------------

void ChoiceStepsTest::busType_unanswered_showsNothingAndLeavesWithoutQuestion()
{
    Page *page = openStep("cmdStep2", PageId::BusType);
    QVERIFY(page);
    FIND(test, QLabel, page, "lblTest");
    QVERIFY(checkedOptions(page).isEmpty());
    QVERIFY(test->text().isEmpty());
    clickReturn(page);
    QCOMPARE(run->ctx->plan.BusType.text(), blankPadded(19));
}

void ChoiceStepsTest::busType_chooseAndSave_storesPaddedAnswer_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("stored");
    QTest::newRow("corporation") << "optCorp" << type19("Corporation");
    QTest::newRow("partnership") << "optPart" << type19("Partnership");
    QTest::newRow("sole proprietorship") << "optSole" << type19("Sole Proprietorship");
}

void ChoiceStepsTest::busType_chooseAndSave_storesPaddedAnswer()
{
    QFETCH(QString, option);
    QFETCH(QString, stored);
    Page *page = openStep("cmdStep2", PageId::BusType);
    QVERIFY(page);
    auto *opt = page->findChild<QRadioButton *>(option);
    FIND(test, QLabel, page, "lblTest");
    QVERIFY(opt);

    QTest::mouseClick(opt, Qt::LeftButton);
    QCOMPARE(static_cast<BusTypePage *>(page)->pendingBusType().text(), stored);
    // Choosing stores nothing and leaves the label alone.
    QCOMPARE(run->ctx->plan.BusType.text(), blankPadded(19));
    QVERIFY(test->text().isEmpty());

    clickSave(page);
    QCOMPARE(run->ctx->plan.BusType.text(), stored);
    QCOMPARE(run->ctx->plan.BusType.text().size(), 19);
    QCOMPARE(test->text().trimmed(), stored.trimmed());
    clickReturn(page); // saved: no question

    QVERIFY(openStep("cmdStep2", PageId::BusType));
    QCOMPARE(checkedOptions(page), QStringList{option});
    QCOMPARE(test->text().trimmed(), stored.trimmed());
    clickReturn(page);
}

void ChoiceStepsTest::busType_choosingStoredAnswerAgain_asksNothing()
{
    // The stored field is padded; choosing the same answer must compare equal.
    run->ctx->plan.BusType = QStringLiteral("Partnership");
    Page *page = openStep("cmdStep2", PageId::BusType);
    QVERIFY(page);
    FIND(corp, QRadioButton, page, "optCorp");
    FIND(part, QRadioButton, page, "optPart");
    QVERIFY(part->isChecked());
    QTest::mouseClick(corp, Qt::LeftButton);
    QTest::mouseClick(part, Qt::LeftButton);
    clickReturn(page);
    QCOMPARE(run->ctx->plan.BusType.text(), type19("Partnership"));
}

void ChoiceStepsTest::busType_saveUnanswered_showsBlankInLabel()
{
    Page *page = openStep("cmdStep2", PageId::BusType);
    QVERIFY(page);
    FIND(test, QLabel, page, "lblTest");
    clickSave(page);
    QCOMPARE(run->ctx->plan.BusType.text(), blankPadded(19));
    QCOMPARE(test->text().trimmed(), BlankMarker);
    QVERIFY(checkedOptions(page).isEmpty());
    clickReturn(page);
    // Unanswered again on reopening: the label is empty.
    QVERIFY(openStep("cmdStep2", PageId::BusType));
    QVERIFY(test->text().isEmpty());
}

void ChoiceStepsTest::busType_returnNo_keepsStoredAndSelectsItAgain()
{
    Page *page = openStep("cmdStep2", PageId::BusType);
    QVERIFY(page);
    FIND(corp, QRadioButton, page, "optCorp");
    FIND(part, QRadioButton, page, "optPart");
    FIND(test, QLabel, page, "lblTest");
    QTest::mouseClick(corp, Qt::LeftButton);
    clickSave(page);

    QTest::mouseClick(part, Qt::LeftButton);
    run->prompts.expectSaveChanges(false);
    clickReturn(page);
    QCOMPARE(run->ctx->plan.BusType.text(), type19("Corporation"));
    QVERIFY(corp->isChecked()); // selected again before the page was hidden
    QCOMPARE(static_cast<BusTypePage *>(page)->pendingBusType().text(), type19("Corporation"));

    QVERIFY(openStep("cmdStep2", PageId::BusType));
    QCOMPARE(checkedOptions(page), QStringList{"optCorp"});
    QCOMPARE(test->text().trimmed(), QStringLiteral("Corporation"));
    clickReturn(page); // nothing pending
}

void ChoiceStepsTest::busType_returnNoOnUnanswered_reopensWithNothingSelected()
{
    Page *page = openStep("cmdStep2", PageId::BusType);
    QVERIFY(page);
    FIND(sole, QRadioButton, page, "optSole");
    QTest::mouseClick(sole, Qt::LeftButton);
    run->prompts.expectSaveChanges(false);
    clickReturn(page);
    QCOMPARE(run->ctx->plan.BusType.text(), blankPadded(19));

    QVERIFY(openStep("cmdStep2", PageId::BusType));
    QVERIFY(checkedOptions(page).isEmpty());
    clickReturn(page);
}

void ChoiceStepsTest::busType_returnYes_storesChoice()
{
    Page *page = openStep("cmdStep2", PageId::BusType);
    QVERIFY(page);
    FIND(sole, QRadioButton, page, "optSole");
    QTest::mouseClick(sole, Qt::LeftButton);
    run->prompts.expectSaveChanges(true);
    clickReturn(page);
    QCOMPARE(run->ctx->plan.BusType.text(), type19("Sole Proprietorship"));

    QVERIFY(openStep("cmdStep2", PageId::BusType));
    FIND(test, QLabel, page, "lblTest");
    QCOMPARE(test->text().trimmed(), QStringLiteral("Sole Proprietorship"));
    QCOMPARE(checkedOptions(page), QStringList{"optSole"});
    clickReturn(page);
}

void ChoiceStepsTest::busType_afterClearAll_reopenClearsOptionsAndLabel()
{
    Page *page = openStep("cmdStep2", PageId::BusType);
    QVERIFY(page);
    FIND(part, QRadioButton, page, "optPart");
    FIND(test, QLabel, page, "lblTest");
    QTest::mouseClick(part, Qt::LeftButton);
    clickSave(page);
    clickReturn(page);

    clearAll();
    QVERIFY(openStep("cmdStep2", PageId::BusType));
    QVERIFY(checkedOptions(page).isEmpty());
    QVERIFY(test->text().isEmpty());
    QCOMPARE(static_cast<BusTypePage *>(page)->pendingBusType().text(), blankPadded(19));
    clickReturn(page); // nothing pending
}

void ChoiceStepsTest::busType_keyboard_spaceAndArrowsChoose()
{
    Page *page = openStep("cmdStep2", PageId::BusType);
    QVERIFY(page);
    QVERIFY(QTest::qWaitForWindowActive(page));
    FIND(corp, QRadioButton, page, "optCorp");
    FIND(part, QRadioButton, page, "optPart");
    // Tab enters the group of options once; arrows move inside it.
    QCOMPARE(tabWalk(corp, 4), (QStringList{"optCorp", "cmdSave", "cmdReturn", "optCorp"}));
    QCOMPARE(QApplication::focusWidget(), corp);
    QTest::keyClick(corp, Qt::Key_Space);
    QVERIFY(corp->isChecked());
    QCOMPARE(static_cast<BusTypePage *>(page)->pendingBusType().text(), type19("Corporation"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(part->isChecked());
    QCOMPARE(static_cast<BusTypePage *>(page)->pendingBusType().text(), type19("Partnership"));

    QCOMPARE(tabWalk(part, 2), (QStringList{"optPart", "cmdSave"}));

    // Alt+S saves from the options, Alt+R leaves without a question (buttons click
    // after a short press animation).
    part->setFocus();
    QTest::keyClick(page, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(run->ctx->plan.BusType.text(), type19("Partnership"));
    QTest::keyClick(page, Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(!page->isVisible());
}

// --- step 3 ---------------------------------------------------------------------------

void ChoiceStepsTest::busKind_unanswered_showsNothingAndLeavesWithoutQuestion()
{
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(lbl1, QLabel, page, "lbl1");
    FIND(lbl2, QLabel, page, "lbl2");
    FIND(soldVia, QLineEdit, page, "txtSoldVia");
    QVERIFY(checkedOptions(page).isEmpty());
    QVERIFY(lbl1->text().isEmpty());
    QVERIFY(lbl2->text().isEmpty());
    QVERIFY(soldVia->text().isEmpty());
    clickReturn(page);
    QCOMPARE(run->ctx->plan.SoldVia, BlankMarker);
}

void ChoiceStepsTest::busKind_option_showsPendingInLabelAndAsksOnReturn_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("offer");
    QTest::addColumn<QString>("customers");
    const QString noOffer = blankPadded(21), noCustomers = blankPadded(24);
    QTest::newRow("products") << "optProduct" << "lbl1" << offer21("Products") << noCustomers;
    QTest::newRow("services") << "optService" << "lbl1" << offer21("Services") << noCustomers;
    QTest::newRow("both products and services") << "optBoth1" << "lbl1" << offer21("Products and Services") << noCustomers;
    QTest::newRow("businesses") << "optBusinesses" << "lbl2" << noOffer << cust24("Businesses");
    QTest::newRow("consumers") << "optConsumers" << "lbl2" << noOffer << cust24("Consumers");
    QTest::newRow("both businesses and consumers") << "optBoth2" << "lbl2" << noOffer << cust24("Businesses and Consumers");
}

void ChoiceStepsTest::busKind_option_showsPendingInLabelAndAsksOnReturn()
{
    QFETCH(QString, option);
    QFETCH(QString, label);
    QFETCH(QString, offer);
    QFETCH(QString, customers);
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    auto *opt = page->findChild<QRadioButton *>(option);
    auto *lbl = page->findChild<QLabel *>(label);
    QVERIFY(opt && lbl);

    QTest::mouseClick(opt, Qt::LeftButton);
    const QString shown = label == QLatin1String("lbl1") ? offer : customers;
    QCOMPARE(lbl->text().trimmed(), shown.trimmed());
    QCOMPARE(run->ctx->plan.Offer.text(), blankPadded(21)); // nothing stored yet

    run->prompts.expectSaveChanges(true);
    clickReturn(page);
    QCOMPARE(run->ctx->plan.Offer.text(), offer);
    QCOMPARE(run->ctx->plan.Customers.text(), customers);
    // The box was never answered and is still empty: it stores the empty text with the choice.
    QCOMPARE(run->ctx->plan.SoldVia, QString());

    QVERIFY(openStep("cmdStep3", PageId::BusKind));
    QCOMPARE(checkedOptions(page), QStringList{option});
    QCOMPARE(lbl->text().trimmed(), shown.trimmed());
    clickReturn(page);
}

void ChoiceStepsTest::busKind_save_storesChoicesAndBoxThenLeavesWithoutQuestion()
{
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(both1, QRadioButton, page, "optBoth1");
    FIND(consumers, QRadioButton, page, "optConsumers");
    FIND(soldVia, QLineEdit, page, "txtSoldVia");
    QTest::mouseClick(both1, Qt::LeftButton);
    QTest::mouseClick(consumers, Qt::LeftButton);
    QTest::keyClicks(soldVia, QStringLiteral("  retail, online  "));
    clickSave(page);
    QCOMPARE(run->ctx->plan.Offer.text(), offer21("Products and Services"));
    QCOMPARE(run->ctx->plan.Customers.text(), cust24("Consumers"));
    QCOMPARE(run->ctx->plan.SoldVia, QStringLiteral("  retail, online  ")); // unchanged, untrimmed
    clickReturn(page);

    QVERIFY(openStep("cmdStep3", PageId::BusKind));
    QCOMPARE(soldVia->text(), QStringLiteral("  retail, online  "));
    QCOMPARE(checkedOptions(page), (QStringList{"optBoth1", "optConsumers"}));
    clickReturn(page);
}

void ChoiceStepsTest::busKind_emptiedSoldVia_asksNothingAndKeepsText()
{
    run->ctx->plan.SoldVia = QStringLiteral("Mail order");
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(soldVia, QLineEdit, page, "txtSoldVia");
    QCOMPARE(soldVia->text(), QStringLiteral("Mail order"));
    soldVia->selectAll();
    QTest::keyClick(soldVia, Qt::Key_Delete);
    QVERIFY(soldVia->text().isEmpty());
    clickReturn(page); // no question
    QCOMPARE(run->ctx->plan.SoldVia, QStringLiteral("Mail order"));

    QVERIFY(openStep("cmdStep3", PageId::BusKind));
    QCOMPARE(soldVia->text(), QStringLiteral("Mail order"));
    clickReturn(page);
}

void ChoiceStepsTest::busKind_unchangedOrRetypedSoldVia_asksNothing()
{
    run->ctx->plan.SoldVia = QStringLiteral("Retail");
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(soldVia, QLineEdit, page, "txtSoldVia");
    QTest::keyClick(soldVia, Qt::Key_Backspace);
    QTest::keyClick(soldVia, Qt::Key_L);
    QCOMPARE(soldVia->text(), QStringLiteral("Retail"));
    clickReturn(page); // same text as stored: nothing to ask
}

void ChoiceStepsTest::busKind_changedSoldVia_asksAndYesStoresWithPendingChoices()
{
    PlanRecord &plan = run->ctx->plan;
    plan.Offer = QStringLiteral("Services");
    plan.Customers = QStringLiteral("Businesses");
    plan.SoldVia = QStringLiteral("Retail");
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(soldVia, QLineEdit, page, "txtSoldVia");
    FIND(both2, QRadioButton, page, "optBoth2");
    soldVia->clear();
    QTest::keyClicks(soldVia, QStringLiteral("Online"));

    // Only the box changed.
    run->prompts.expectSaveChanges(true);
    clickReturn(page);
    QCOMPARE(plan.SoldVia, QStringLiteral("Online"));
    QCOMPARE(plan.Offer.text(), offer21("Services"));
    QCOMPARE(plan.Customers.text(), cust24("Businesses"));

    // The box and a choice changed: Yes stores both together.
    QVERIFY(openStep("cmdStep3", PageId::BusKind));
    QTest::keyClicks(soldVia, QStringLiteral(", catalogue"));
    QTest::mouseClick(both2, Qt::LeftButton);
    run->prompts.expectSaveChanges(true);
    clickReturn(page);
    QCOMPARE(plan.SoldVia, QStringLiteral("Online, catalogue"));
    QCOMPARE(plan.Offer.text(), offer21("Services"));
    QCOMPARE(plan.Customers.text(), cust24("Businesses and Consumers"));
}

void ChoiceStepsTest::busKind_returnYesWithEmptiedBox_storesEmptyText()
{
    // An emptied box is not a change on its own, but Yes stores what Save stores.
    run->ctx->plan.SoldVia = QStringLiteral("Retail");
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(soldVia, QLineEdit, page, "txtSoldVia");
    FIND(product, QRadioButton, page, "optProduct");
    soldVia->clear();
    QTest::mouseClick(product, Qt::LeftButton);
    run->prompts.expectSaveChanges(true);
    clickReturn(page);
    QCOMPARE(run->ctx->plan.SoldVia, QString());
    QCOMPARE(run->ctx->plan.Offer.text(), offer21("Products"));
}

void ChoiceStepsTest::busKind_returnNo_bringsBackStoredChoices()
{
    PlanRecord &plan = run->ctx->plan;
    plan.Offer = QStringLiteral("Products");
    plan.Customers = QStringLiteral("Businesses");
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(both1, QRadioButton, page, "optBoth1");
    FIND(both2, QRadioButton, page, "optBoth2");
    FIND(lbl1, QLabel, page, "lbl1");
    FIND(lbl2, QLabel, page, "lbl2");
    QCOMPARE(checkedOptions(page), (QStringList{"optBusinesses", "optProduct"}));
    QTest::mouseClick(both1, Qt::LeftButton);
    QTest::mouseClick(both2, Qt::LeftButton);
    QCOMPARE(lbl2->text().trimmed(), QStringLiteral("Businesses and Consumers"));

    run->prompts.expectSaveChanges(false);
    clickReturn(page);
    QCOMPARE(plan.Offer.text(), offer21("Products"));
    QCOMPARE(plan.Customers.text(), cust24("Businesses"));
    // The page shows the stored answers again, not the refused choice.
    QCOMPARE(checkedOptions(page), (QStringList{"optBusinesses", "optProduct"}));
    QCOMPARE(lbl1->text().trimmed(), QStringLiteral("Products"));
    QCOMPARE(lbl2->text().trimmed(), QStringLiteral("Businesses"));

    QVERIFY(openStep("cmdStep3", PageId::BusKind));
    QCOMPARE(checkedOptions(page), (QStringList{"optBusinesses", "optProduct"}));
    QCOMPARE(lbl1->text().trimmed(), QStringLiteral("Products"));
    clickReturn(page); // nothing pending
}

void ChoiceStepsTest::busKind_returnNoOnUnanswered_clearsOptionsAndLabels()
{
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(service, QRadioButton, page, "optService");
    FIND(consumers, QRadioButton, page, "optConsumers");
    FIND(lbl1, QLabel, page, "lbl1");
    FIND(lbl2, QLabel, page, "lbl2");
    QTest::mouseClick(service, Qt::LeftButton);
    QTest::mouseClick(consumers, Qt::LeftButton);
    run->prompts.expectSaveChanges(false);
    clickReturn(page);
    QCOMPARE(run->ctx->plan.Offer.text(), blankPadded(21));

    QVERIFY(openStep("cmdStep3", PageId::BusKind));
    QVERIFY(checkedOptions(page).isEmpty());
    QVERIFY(lbl1->text().isEmpty());
    QVERIFY(lbl2->text().isEmpty());
    clickReturn(page);
}

void ChoiceStepsTest::busKind_activation_showsStoredAnswers()
{
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(product, QRadioButton, page, "optProduct");
    FIND(lbl1, QLabel, page, "lbl1");
    QTest::mouseClick(product, Qt::LeftButton);
    clickSave(page);
    clickReturn(page);

    // Whatever the page showed when hidden, reopening shows what is stored.
    run->ctx->plan.Offer = QStringLiteral("Services");
    run->ctx->plan.Customers = QStringLiteral("Consumers");
    QVERIFY(openStep("cmdStep3", PageId::BusKind));
    QCOMPARE(checkedOptions(page), (QStringList{"optConsumers", "optService"}));
    QCOMPARE(lbl1->text().trimmed(), QStringLiteral("Services"));
    clickReturn(page);
}

void ChoiceStepsTest::busKind_afterClearAll_reopenClearsEverything()
{
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    FIND(both1, QRadioButton, page, "optBoth1");
    FIND(businesses, QRadioButton, page, "optBusinesses");
    FIND(soldVia, QLineEdit, page, "txtSoldVia");
    FIND(lbl1, QLabel, page, "lbl1");
    FIND(lbl2, QLabel, page, "lbl2");
    QTest::mouseClick(both1, Qt::LeftButton);
    QTest::mouseClick(businesses, Qt::LeftButton);
    QTest::keyClicks(soldVia, QStringLiteral("Retail"));
    clickSave(page);
    clickReturn(page);

    clearAll();
    QVERIFY(openStep("cmdStep3", PageId::BusKind));
    QVERIFY(checkedOptions(page).isEmpty());
    QVERIFY(lbl1->text().isEmpty());
    QVERIFY(lbl2->text().isEmpty());
    QVERIFY(soldVia->text().isEmpty());
    clickReturn(page); // nothing pending after the reset
}

void ChoiceStepsTest::busKind_keyboard_spaceChoosesAndTabOrder()
{
    Page *page = openStep("cmdStep3", PageId::BusKind);
    QVERIFY(page);
    QVERIFY(QTest::qWaitForWindowActive(page));
    FIND(product, QRadioButton, page, "optProduct");
    FIND(lbl1, QLabel, page, "lbl1");
    QCOMPARE(tabWalk(product, 6),
             (QStringList{"optProduct", "optBusinesses", "txtSoldVia", "cmdSave", "cmdReturn", "optProduct"}));
    product->setFocus();
    QTest::keyClick(product, Qt::Key_Space);
    QCOMPARE(lbl1->text().trimmed(), QStringLiteral("Products"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(lbl1->text().trimmed(), QStringLiteral("Services"));
    run->prompts.expectSaveChanges(true);
    QTest::keyClick(page, Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(!page->isVisible());
    QCOMPARE(run->ctx->plan.Offer.text(), offer21("Services"));
}

QTEST_MAIN(ChoiceStepsTest)
#include "test_choice_steps.moc"

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

QString shown(const QWidget *page, const QString &label) { return child<QLabel>(page, label)->text(); }
QLineEdit *soldViaBox(const QWidget *page) { return child<QLineEdit>(page, QStringLiteral("txtSoldVia")); }
void choose(const QWidget *page, const QString &option)
{
    QTest::mouseClick(child<QRadioButton>(page, option), Qt::LeftButton);
}
QString pendingType(Page *page) { return static_cast<BusTypePage *>(page)->pendingBusType().text(); }

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

// What a page shows: its selected options, then each value label and the box. Values are
// padded, so they are trimmed; an empty label must be truly empty.
QStringList state(QWidget *page)
{
    QStringList s = checkedOptions(page);
    for (const char *name : {"lblTest", "lbl1", "lbl2"})
        if (auto *l = page->findChild<QLabel *>(QLatin1String(name)))
            s << QLatin1String(name) + QLatin1Char('=') + (l->text().trimmed().isEmpty() ? l->text() : l->text().trimmed());
    if (auto *box = page->findChild<QLineEdit *>(QStringLiteral("txtSoldVia")))
        s << QStringLiteral("txtSoldVia=") + box->text();
    return s;
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
    void page_hasCaptionSizeAndControlsThatFit_data();
    void page_hasCaptionSizeAndControlsThatFit();
    void closeRequest_noKeepsChoice_yesEndsWithoutSaveQuestion_data();
    void closeRequest_noKeepsChoice_yesEndsWithoutSaveQuestion();
    void unanswered_showsNothingAndLeavesWithoutQuestion();
    void afterClearAll_reopenShowsNothing();

    // Step 2
    void busType_chooseAndSave_storesPaddedAnswer_data();
    void busType_chooseAndSave_storesPaddedAnswer();
    void busType_choosingStoredAnswerAgain_asksNothing();
    void busType_saveUnanswered_showsBlankInLabel();
    void busType_return_storesOrRestoresAnswer_data();
    void busType_return_storesOrRestoresAnswer();
    void busType_keyboard_spaceAndArrowsChoose();

    // Step 3
    void busKind_option_showsPendingInLabelAndAsksOnReturn_data();
    void busKind_option_showsPendingInLabelAndAsksOnReturn();
    void busKind_save_storesChoicesAndBoxThenShowsStoredOnReopening();
    void busKind_soldViaEditThatIsNoChange_asksNothingAndKeepsText_data();
    void busKind_soldViaEditThatIsNoChange_asksNothingAndKeepsText();
    void busKind_changedSoldVia_asksAndYesStoresWithPendingChoices();
    void busKind_returnNo_showsStoredChoicesAgain();
    void busKind_keyboard_spaceChoosesAndTabOrder();

private:
    // Opens a step from the main page by its entry button.
    Page *openStep(const char *button, const char *pageId);
    Page *step2() { return openStep("cmdStep2", PageId::BusType); }
    Page *step3() { return openStep("cmdStep3", PageId::BusKind); }
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

void ChoiceStepsTest::page_hasCaptionSizeAndControlsThatFit_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("pageId");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    // object name = text, for the question labels and options in bold Arial 9.75
    QTest::addColumn<QStringList>("bold");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("longestValues"); // label=text the label must be able to show
    QTest::newRow("step 2") << "cmdStep2" << PageId::BusType << "Quorvane - Type of Business" << QSize(340, 163)
                            << QStringList{"lblName=This business is a:", "optCorp=Corporation",
                                           "optPart=Partnership", "optSole=Sole Proprietorship"}
                            << QStringList{"(check one)"}
                            << QStringList{"lblTest=Sole Proprietorship", "lblTest=(blank)"};
    QTest::newRow("step 3") << "cmdStep3" << PageId::BusKind << "Quorvane - Nature of Business" << QSize(459, 249)
                            << QStringList{"lblName=This business provides:", "optProduct=Products",
                                           "optService=Services", "optBoth1=Both", "lblFor=for:",
                                           "optBusinesses=Businesses", "optConsumers=Consumers", "optBoth2=Both",
                                           "lblSoldVia=These products/services are sold via:"}
                            << QStringList{"Choose one:", "Choose one:"}
                            << QStringList{"lbl1=Products and Services", "lbl2=Businesses and Consumers"};
}

void ChoiceStepsTest::page_hasCaptionSizeAndControlsThatFit()
{
    QFETCH(QString, button);
    QFETCH(QString, pageId);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QStringList, bold);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, longestValues);

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
        QVERIFY(QFontMetrics(hint->font()).horizontalAdvance(hint->text()) <= hint->width());
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

void ChoiceStepsTest::unanswered_showsNothingAndLeavesWithoutQuestion()
{
    Page *page = step2();
    QVERIFY(page);
    QCOMPARE(state(page), QStringList{"lblTest="});
    clickReturn(page);
    QCOMPARE(run->ctx->plan.BusType.text(), blankPadded(19));

    QVERIFY((page = step3()));
    QCOMPARE(state(page), (QStringList{"lbl1=", "lbl2=", "txtSoldVia="}));
    clickReturn(page);
    QCOMPARE(run->ctx->plan.SoldVia, BlankMarker);
}

void ChoiceStepsTest::afterClearAll_reopenShowsNothing()
{
    Page *type = step2();
    QVERIFY(type);
    choose(type, "optPart");
    clickSave(type);
    clickReturn(type);
    Page *kind = step3();
    QVERIFY(kind);
    choose(kind, "optBoth1");
    choose(kind, "optBusinesses");
    QTest::keyClicks(soldViaBox(kind), QStringLiteral("Retail"));
    clickSave(kind);
    clickReturn(kind);

    clearAll();
    QVERIFY(step2());
    QCOMPARE(state(type), QStringList{"lblTest="});
    QCOMPARE(pendingType(type), blankPadded(19));
    clickReturn(type); // nothing pending after the reset
    QVERIFY(step3());
    QCOMPARE(state(kind), (QStringList{"lbl1=", "lbl2=", "txtSoldVia="}));
    clickReturn(kind);
}

// --- step 2 ---------------------------------------------------------------------------

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
    Page *page = step2();
    QVERIFY(page);
    choose(page, option);
    QCOMPARE(pendingType(page), stored);
    // Choosing stores nothing and leaves the label alone.
    QCOMPARE(run->ctx->plan.BusType.text(), blankPadded(19));
    QCOMPARE(state(page), (QStringList{option, "lblTest="}));

    clickSave(page);
    QCOMPARE(run->ctx->plan.BusType.text(), stored);
    const QStringList saved{option, QStringLiteral("lblTest=") + stored.trimmed()};
    QCOMPARE(state(page), saved);
    clickReturn(page); // saved: no question
    QVERIFY(step2());
    QCOMPARE(state(page), saved);
    clickReturn(page);
}

void ChoiceStepsTest::busType_choosingStoredAnswerAgain_asksNothing()
{
    // The stored field is padded; choosing the same answer must compare equal.
    run->ctx->plan.BusType = QStringLiteral("Partnership");
    Page *page = step2();
    QVERIFY(page);
    QCOMPARE(checkedOptions(page), QStringList{"optPart"});
    choose(page, "optCorp");
    choose(page, "optPart");
    clickReturn(page);
    QCOMPARE(run->ctx->plan.BusType.text(), type19("Partnership"));
}

void ChoiceStepsTest::busType_saveUnanswered_showsBlankInLabel()
{
    Page *page = step2();
    QVERIFY(page);
    clickSave(page);
    QCOMPARE(run->ctx->plan.BusType.text(), blankPadded(19));
    QCOMPARE(state(page), QStringList{"lblTest=" + BlankMarker});
    clickReturn(page);
    // Unanswered again on reopening: the label is empty.
    QVERIFY(step2());
    QCOMPARE(state(page), QStringList{"lblTest="});
}

void ChoiceStepsTest::busType_return_storesOrRestoresAnswer_data()
{
    QTest::addColumn<QString>("saved"); // option saved before, if any
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("shown"); // afterwards, and on reopening
    QTest::newRow("no keeps saved answer") << "optCorp" << "optPart" << false << type19("Corporation")
                                           << QStringList{"optCorp", "lblTest=Corporation"};
    QTest::newRow("no on unanswered") << "" << "optSole" << false << blankPadded(19) << QStringList{"lblTest="};
    QTest::newRow("yes stores choice") << "" << "optSole" << true << type19("Sole Proprietorship")
                                       << QStringList{"optSole", "lblTest=Sole Proprietorship"};
}

void ChoiceStepsTest::busType_return_storesOrRestoresAnswer()
{
    QFETCH(QString, saved);
    QFETCH(QString, chosen);
    QFETCH(bool, yes);
    QFETCH(QString, stored);
    QFETCH(QStringList, shown);
    Page *page = step2();
    QVERIFY(page);
    if (!saved.isEmpty()) {
        choose(page, saved);
        clickSave(page);
    }
    choose(page, chosen);
    run->prompts.expectSaveChanges(yes);
    clickReturn(page);
    QCOMPARE(run->ctx->plan.BusType.text(), stored);
    if (!yes) { // the stored answer is selected again before the page is hidden
        QCOMPARE(checkedOptions(page), shown.mid(0, shown.size() - 1));
        QCOMPARE(pendingType(page), stored);
    }
    QVERIFY(step2());
    QCOMPARE(state(page), shown);
    clickReturn(page); // nothing pending
}

void ChoiceStepsTest::busType_keyboard_spaceAndArrowsChoose()
{
    Page *page = step2();
    QVERIFY(page);
    QVERIFY(QTest::qWaitForWindowActive(page));
    FIND(corp, QRadioButton, page, "optCorp");
    FIND(part, QRadioButton, page, "optPart");
    // Tab enters the group of options once; arrows move inside it.
    QCOMPARE(tabWalk(corp, 4), (QStringList{"optCorp", "cmdSave", "cmdReturn", "optCorp"}));
    QCOMPARE(QApplication::focusWidget(), corp);
    QTest::keyClick(corp, Qt::Key_Space);
    QVERIFY(corp->isChecked());
    QCOMPARE(pendingType(page), type19("Corporation"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(part->isChecked());
    QCOMPARE(pendingType(page), type19("Partnership"));
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

void ChoiceStepsTest::busKind_option_showsPendingInLabelAndAsksOnReturn_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("offer");
    QTest::addColumn<QString>("customers");
    const QString noOffer = blankPadded(21), noCustomers = blankPadded(24);
    QTest::newRow("products") << "optProduct" << offer21("Products") << noCustomers;
    QTest::newRow("services") << "optService" << offer21("Services") << noCustomers;
    QTest::newRow("both products and services") << "optBoth1" << offer21("Products and Services") << noCustomers;
    QTest::newRow("businesses") << "optBusinesses" << noOffer << cust24("Businesses");
    QTest::newRow("consumers") << "optConsumers" << noOffer << cust24("Consumers");
    QTest::newRow("both businesses and consumers") << "optBoth2" << noOffer << cust24("Businesses and Consumers");
}

void ChoiceStepsTest::busKind_option_showsPendingInLabelAndAsksOnReturn()
{
    QFETCH(QString, option);
    QFETCH(QString, offer);
    QFETCH(QString, customers);
    // Only the chosen question's label shows a value: the other stays empty.
    const auto value = [](const QString &v) { return v == blankPadded(v.size()) ? QString() : v.trimmed(); };
    const QStringList shown{option, "lbl1=" + value(offer), "lbl2=" + value(customers), "txtSoldVia="};
    Page *page = step3();
    QVERIFY(page);
    choose(page, option);
    QCOMPARE(state(page), shown);
    QCOMPARE(run->ctx->plan.Offer.text(), blankPadded(21)); // nothing stored yet

    run->prompts.expectSaveChanges(true);
    clickReturn(page);
    QCOMPARE(run->ctx->plan.Offer.text(), offer);
    QCOMPARE(run->ctx->plan.Customers.text(), customers);
    // The box was never answered and is still empty: it stores the empty text with the choice.
    QCOMPARE(run->ctx->plan.SoldVia, QString());
    QVERIFY(step3());
    QCOMPARE(state(page), shown);
    clickReturn(page);
}

void ChoiceStepsTest::busKind_save_storesChoicesAndBoxThenShowsStoredOnReopening()
{
    Page *page = step3();
    QVERIFY(page);
    choose(page, "optBoth1");
    choose(page, "optConsumers");
    QTest::keyClicks(soldViaBox(page), QStringLiteral("  retail, online  "));
    clickSave(page);
    QCOMPARE(run->ctx->plan.Offer.text(), offer21("Products and Services"));
    QCOMPARE(run->ctx->plan.Customers.text(), cust24("Consumers"));
    QCOMPARE(run->ctx->plan.SoldVia, QStringLiteral("  retail, online  ")); // unchanged, untrimmed
    clickReturn(page); // saved: no question

    QVERIFY(step3());
    QCOMPARE(state(page), (QStringList{"optBoth1", "optConsumers", "lbl1=Products and Services",
                                       "lbl2=Consumers", "txtSoldVia=  retail, online  "}));
    clickReturn(page);

    // Whatever the page showed when hidden, reopening shows what is stored.
    run->ctx->plan.Offer = QStringLiteral("Services");
    run->ctx->plan.Customers = QStringLiteral("Businesses");
    QVERIFY(step3());
    QCOMPARE(state(page).mid(0, 3), (QStringList{"optBusinesses", "optService", "lbl1=Services"}));
    clickReturn(page);
}

void ChoiceStepsTest::busKind_soldViaEditThatIsNoChange_asksNothingAndKeepsText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("empty"); // empty the box, or retype its last letter
    QTest::newRow("emptied") << "Mail order" << true;
    QTest::newRow("retyped") << "Retail" << false;
}

void ChoiceStepsTest::busKind_soldViaEditThatIsNoChange_asksNothingAndKeepsText()
{
    QFETCH(QString, stored);
    QFETCH(bool, empty);
    run->ctx->plan.SoldVia = stored;
    Page *page = step3();
    QVERIFY(page);
    QLineEdit *soldVia = soldViaBox(page);
    QCOMPARE(soldVia->text(), stored);
    if (empty) {
        soldVia->selectAll();
        QTest::keyClick(soldVia, Qt::Key_Delete);
    } else {
        QTest::keyClick(soldVia, Qt::Key_Backspace);
        QTest::keyClick(soldVia, Qt::Key_L);
    }
    QCOMPARE(soldVia->text(), empty ? QString() : stored);
    clickReturn(page); // no question
    QCOMPARE(run->ctx->plan.SoldVia, stored);
    QVERIFY(step3());
    QCOMPARE(soldVia->text(), stored);
    clickReturn(page);
}

void ChoiceStepsTest::busKind_changedSoldVia_asksAndYesStoresWithPendingChoices()
{
    PlanRecord &plan = run->ctx->plan;
    plan.Offer = QStringLiteral("Services");
    plan.Customers = QStringLiteral("Businesses");
    plan.SoldVia = QStringLiteral("Retail");
    Page *page = step3();
    QVERIFY(page);
    soldViaBox(page)->clear();
    QTest::keyClicks(soldViaBox(page), QStringLiteral("Online"));

    // Only the box changed.
    run->prompts.expectSaveChanges(true);
    clickReturn(page);
    QCOMPARE(plan.SoldVia, QStringLiteral("Online"));
    QCOMPARE(plan.Offer.text(), offer21("Services"));
    QCOMPARE(plan.Customers.text(), cust24("Businesses"));

    // The box and a choice changed: Yes stores both together.
    QVERIFY(step3());
    QTest::keyClicks(soldViaBox(page), QStringLiteral(", catalogue"));
    choose(page, "optBoth2");
    run->prompts.expectSaveChanges(true);
    clickReturn(page);
    QCOMPARE(plan.SoldVia, QStringLiteral("Online, catalogue"));
    QCOMPARE(plan.Offer.text(), offer21("Services"));
    QCOMPARE(plan.Customers.text(), cust24("Businesses and Consumers"));

    // An emptied box is not a change on its own, but Yes stores what Save stores.
    QVERIFY(step3());
    soldViaBox(page)->clear();
    choose(page, "optProduct");
    run->prompts.expectSaveChanges(true);
    clickReturn(page);
    QCOMPARE(plan.SoldVia, QString());
    QCOMPARE(plan.Offer.text(), offer21("Products"));
}

void ChoiceStepsTest::busKind_returnNo_showsStoredChoicesAgain()
{
    // The page shows the stored answers again, not the refused choice, and still on reopening.
    const auto refuse = [this](const QStringList &chosen, const QString &pendingCustomers,
                               const QStringList &stored) {
        Page *page = step3();
        QVERIFY(page);
        QCOMPARE(state(page), stored);
        for (const QString &o : chosen)
            choose(page, o);
        QCOMPARE(state(page).filter(QStringLiteral("lbl2=")), QStringList{"lbl2=" + pendingCustomers});
        run->prompts.expectSaveChanges(false);
        clickReturn(page);
        QCOMPARE(state(page), stored);
        QVERIFY(step3());
        QCOMPARE(state(page), stored);
        clickReturn(page); // nothing pending
    };
    refuse({"optService", "optConsumers"}, "Consumers", {"lbl1=", "lbl2=", "txtSoldVia="});
    QCOMPARE(run->ctx->plan.Offer.text(), blankPadded(21));
    QCOMPARE(run->ctx->plan.Customers.text(), blankPadded(24));

    PlanRecord &plan = run->ctx->plan;
    plan.Offer = QStringLiteral("Products");
    plan.Customers = QStringLiteral("Businesses");
    refuse({"optBoth1", "optBoth2"}, "Businesses and Consumers",
           {"optBusinesses", "optProduct", "lbl1=Products", "lbl2=Businesses", "txtSoldVia="});
    QCOMPARE(plan.Offer.text(), offer21("Products"));
    QCOMPARE(plan.Customers.text(), cust24("Businesses"));
}

void ChoiceStepsTest::busKind_keyboard_spaceChoosesAndTabOrder()
{
    Page *page = step3();
    QVERIFY(page);
    QVERIFY(QTest::qWaitForWindowActive(page));
    FIND(product, QRadioButton, page, "optProduct");
    QCOMPARE(tabWalk(product, 6),
             (QStringList{"optProduct", "optBusinesses", "txtSoldVia", "cmdSave", "cmdReturn", "optProduct"}));
    product->setFocus();
    QTest::keyClick(product, Qt::Key_Space);
    QCOMPARE(shown(page, "lbl1").trimmed(), QStringLiteral("Products"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(shown(page, "lbl1").trimmed(), QStringLiteral("Services"));
    run->prompts.expectSaveChanges(true);
    QTest::keyClick(page, Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(!page->isVisible());
    QCOMPARE(run->ctx->plan.Offer.text(), offer21("Services"));
}

QTEST_MAIN(ChoiceStepsTest)
#include "test_choice_steps.moc"

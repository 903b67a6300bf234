#include "app/PageIds.h"
#include "app/Widgets.h"
#include "steps/StepPage.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <limits>

namespace {

void click(QWidget *page, const char *button) { child<QPushButton>(page, QString::fromLatin1(button))->click(); }
QString flag(QWidget *page) { return static_cast<StepPage *>(page)->changedFlag(); }

// Text of a single- or multi-line box.
QString boxText(QWidget *box)
{
    auto *line = qobject_cast<QLineEdit *>(box);
    return line ? line->text() : qobject_cast<QPlainTextEdit *>(box)->toPlainText();
}

void setBoxText(QWidget *box, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setText(text);
    else
        qobject_cast<QPlainTextEdit *>(box)->setPlainText(text);
}

// The caret is where it should be and nothing is selected.
#define VERIFY_CARET(box, pos)                                                                             \
    do {                                                                                                   \
        QCOMPARE((box)->cursorPosition(), pos);                                                            \
        QVERIFY(!(box)->hasSelectedText());                                                                \
    } while (0)

struct BoxRow {
    const char *box;
    const char *label; // null: no question label of its own
    bool multiLine;
};

} // namespace

Q_DECLARE_METATYPE(QList<BoxRow>)

class TextStepsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestRun> run;
    PlanRecord &plan() { return run->ctx->plan; }
    void leave(Page *page) { click(page, "cmdReturn"); }

    // Opens a page from the main page, as the user does, and waits until it is active.
    Page *open(const QString &id)
    {
        Page *main = run->page(PageId::Main);
        if (!main->isVisible())
            run->ctx->nav.switchPage(QApplication::activeWindow(), QString::fromLatin1(PageId::Main));
        run->ctx->nav.switchPage(main, id);
        Page *page = run->ctx->nav.loaded(id);
        if (page && !QTest::qWaitForWindowActive(page))
            qWarning("%s did not become active", qPrintable(id));
        return page;
    }
    Page *open(const char *id) { return open(QString::fromLatin1(id)); }
    // Leaves without a question and opens the page again.
    void reopen(Page *page, const char *id)
    {
        leave(page);
        QVERIFY(run->visible(PageId::Main));
        QVERIFY(!page->isVisible());
        open(id);
    }

private slots:
    void init()
    {
        run = std::make_unique<TestRun>();
        startProgram(*run->ctx);
        run->ctx->nav.switchPage(run->page(PageId::Splash), QString::fromLatin1(PageId::Main));
    }
    void cleanup()
    {
        VERIFY_PROMPTS(run->prompts);
        run.reset();
    }

    // --- The protocol, on step 1 ----------------------------------------------------------

    void firstOpening_showsEmptyBoxes_leaveOrSaveAsksNothing()
    {
        Page *page = open(PageId::BusName);
        for (const char *name : {"txtName", "txtAdd1", "txtAdd2", "txtCity", "txtState", "txtZip", "txtPhone", "txtFax", "txtEmail"})
            QVERIFY2(child<QLineEdit>(page, QString::fromLatin1(name))->text().isEmpty(), name);
        QCOMPARE(child<QLineEdit>(page, "txtURL")->text(), QStringLiteral("http://"));
        QCOMPARE(flag(page), QStringLiteral("N"));
        QCOMPARE(page->focusWidget()->objectName(), QStringLiteral("txtName"));
        reopen(page, PageId::BusName);
        QCOMPARE(plan().URL, BlankMarker);

        QTest::keyClicks(child(page, "txtName"), QStringLiteral("Acme"));
        click(page, "cmdSave");
        QCOMPARE(plan().Name, QStringLiteral("Acme"));
        QCOMPARE(plan().URL, QStringLiteral("http://")); // untouched box stores its scheme
        QCOMPARE(flag(page), QStringLiteral("N"));
        QVERIFY(page->isVisible());
        reopen(page, PageId::BusName);
        // Stored text is shown as it is, the scheme included.
        QCOMPARE(child<QLineEdit>(page, "txtURL")->text(), QStringLiteral("http://"));
    }

    void typingThenDeleting_stillAsks()
    {
        Page *page = open(PageId::BusName);
        FIND(name, QLineEdit, page, "txtName");
        QTest::keyClicks(name, QStringLiteral("x"));
        QTest::keyClick(name, Qt::Key_Backspace);
        QCOMPARE(name->text(), QString());
        QCOMPARE(flag(page), QStringLiteral("Y"));
        run->prompts.expectSaveChanges(false);
        leave(page);
        const Question &q = run->prompts.asked.last();
        QCOMPARE(q.text, QStringLiteral("Do you want to save your changes?"));
        QCOMPARE(q.title, QStringLiteral("Save Changes"));
        QCOMPARE(q.buttons, (QList<PromptButton>{PromptButton::Yes, PromptButton::No}));
        QCOMPARE(q.defaultButton, PromptButton::Yes);
        QCOMPARE(q.icon, PromptIcon::Exclamation);
        QCOMPARE(plan().Name, BlankMarker);
    }

    // No keeps the old values and the reopened page shows them; Yes stores every box unchanged.
    void leaveAnswer_noKeepsOldValues_yesStoresEveryBoxUnchanged()
    {
        plan().Name = QStringLiteral("Old name");
        plan().Add1 = QStringLiteral("12 Main St");
        Page *page = open(PageId::BusName);
        FIND(name, QLineEdit, page, "txtName");
        QCOMPARE(name->text(), QStringLiteral("Old name"));
        name->setText(QStringLiteral("New name"));
        run->prompts.expectSaveChanges(false);
        leave(page);
        QCOMPARE(plan().Name, QStringLiteral("Old name"));
        QVERIFY(run->visible(PageId::Main));
        open(PageId::BusName);
        QCOMPARE(name->text(), QStringLiteral("Old name"));
        QCOMPARE(flag(page), QStringLiteral("N"));

        const QList<QPair<const char *, QString>> typed{
            {"txtName", "  Acme  Ltd "}, {"txtAdd1", ""}, {"txtAdd2", "(blank)"}, {"txtURL", ""}};
        for (const auto &[box, text] : typed)
            child<QLineEdit>(page, QString::fromLatin1(box))->setText(text);
        run->prompts.expectSaveChanges(true);
        leave(page);
        QCOMPARE(plan().Name, QStringLiteral("  Acme  Ltd "));
        QCOMPARE(plan().Add1, QString());
        QCOMPARE(plan().Add2, QStringLiteral("(blank)"));
        QCOMPARE(plan().URL, QString());
        QCOMPARE(plan().City, QString()); // every box is stored, untouched ones too

        open(PageId::BusName);
        for (const char *box : {"txtAdd1", "txtAdd2", "txtURL"})
            QCOMPARE(child<QLineEdit>(page, QString::fromLatin1(box))->text(), QString());
        QCOMPARE(flag(page), QStringLiteral("N"));
    }

    void multiLineBox_storesLineBreaksUnchanged()
    {
        Page *page = open(PageId::BusPersp);
        FIND(idea, QPlainTextEdit, page, "txtIdea");
        const QString text = QStringLiteral("First line \n\n  third line\n");
        idea->setPlainText(text);
        click(page, "cmdSave");
        QCOMPARE(plan().Idea, text);
        reopen(page, PageId::BusPersp);
        QCOMPARE(idea->toPlainText(), text);
    }

    // What a box holds is stored as it is: no-break spaces and line separators too.
    void multiLineBox_storesRawText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored"); // null: the text itself
        const QChar nbsp(0x00A0), lineSep(QChar::LineSeparator), paraSep(QChar::ParagraphSeparator);
        QTest::newRow("no-break space") << QStringLiteral("12") + nbsp + QStringLiteral("500 customers") << QString();
        QTest::newRow("line separator") << QStringLiteral("first") + lineSep + QStringLiteral("second") << QString();
        QTest::newRow("both, between paragraphs")
            << QStringLiteral("a") + nbsp + QStringLiteral("b\n") + lineSep + QStringLiteral("\n\tc ") << QString();
        QTest::newRow("paragraph separator is a line end") << QStringLiteral("one") + paraSep + QStringLiteral("two")
                                                           << QStringLiteral("one\ntwo");
    }

    void multiLineBox_storesRawText()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        if (stored.isNull())
            stored = text;
        Page *page = open(PageId::BusAdMktg);
        FIND(number, QPlainTextEdit, page, "txtNumber");
        number->setPlainText(text);
        click(page, "cmdSave");
        QCOMPARE(plan().Number, stored);
        reopen(page, PageId::BusAdMktg);
        QCOMPARE(multiLineText(number), stored);
        click(page, "cmdSave"); // and back again unchanged
        QCOMPARE(plan().Number, stored);
    }

    void lineBox_hasNoLengthLimit_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("box");
        QTest::newRow("plain box") << "frmBusName" << "txtName";
        QTest::newRow("URL box") << "frmBusName" << "txtURL";
        QTest::newRow("goal box") << "frmBusGoals" << "txtBusLTG5";
    }

    void lineBox_hasNoLengthLimit()
    {
        QFETCH(QString, id);
        QFETCH(QString, box);
        Page *page = open(id);
        auto *line = child<QLineEdit>(page, box);
        const QString text = QStringLiteral("x").repeated(40000) + QStringLiteral("end");
        line->setText(text);
        QTest::keyClicks(line, QStringLiteral("!"));
        click(page, "cmdSave");
        QCOMPARE(planField(box.mid(3)).get(plan()).size(), text.size() + 1);
        QVERIFY(planField(box.mid(3)).get(plan()).startsWith(text));
    }

    // Every answer box of every step page, whatever kind of page it is on.
    void everyLineBox_ofEveryStepPage_hasNoLengthLimit()
    {
        int boxes = 0;
        for (const char *id : {PageId::BusName, PageId::BusType, PageId::BusKind, PageId::BusPurp, PageId::BusGoals,
                               PageId::BusPersp, PageId::BusStatus, PageId::BusEmp, PageId::BusDesc, PageId::View,
                               PageId::BusAdMktg, PageId::BusInEx, PageId::BusInEx2, PageId::BusInEx3, PageId::Other}) {
            Page *page = run->ctx->nav.load(QString::fromLatin1(id));
            QVERIFY2(page, id);
            for (QLineEdit *line : page->findChildren<QLineEdit *>()) {
                QVERIFY2(line->maxLength() == std::numeric_limits<int>::max(), qPrintable(line->objectName()));
                ++boxes;
            }
        }
        QCOMPARE(boxes, 10 + 10 + 1 + 1 + 5); // steps 1, 5, 3, 8 and 9
    }

    // The toolkit moves the focus on while a page is hidden (when the window system hands
    // the hidden window the focus back after the save question); the page gives it back
    // to the control the user left, and its own focus rule comes after that.
    void focus_returnsToTheControlLeft_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("left");  // focused when the page was left
        QTest::addColumn<QString>("moved"); // where the toolkit puts it meanwhile
        QTest::addColumn<bool>("yes");      // the answer to the save question
        QTest::addColumn<int>("caret");     // -1: no caret rule
        QTest::newRow("step 1, City, Yes") << "frmBusName" << "txtCity" << "txtState" << true << -1;
        QTest::newRow("step 1, URL, No") << "frmBusName" << "txtURL" << "cmdSave" << false << 7;
        QTest::newRow("step 4, Yes") << "frmBusPurp" << "txtBusPurp" << "cmdSave" << true << -1;
        QTest::newRow("step 10, No") << "frmBusAdMktg" << "txtNumber" << "txtReach" << false << -1;
        QTest::newRow("step 5, goal") << "frmBusGoals" << "txtBusSTG3" << "txtBusSTG4" << true << 5;
        QTest::newRow("step 3, sold via") << "frmBusKind" << "txtSoldVia" << "cmdSave" << true << -1;
    }

    void focus_returnsToTheControlLeft()
    {
        QFETCH(QString, id);
        QFETCH(QString, left);
        QFETCH(QString, moved);
        QFETCH(bool, yes);
        QFETCH(int, caret);
        if (id == "frmBusGoals")
            plan().BusSTG[2] = QStringLiteral("3.  Grow");
        Page *page = open(id);
        QWidget *box = child(page, left);
        box->setFocus();
        setBoxText(box, boxText(box) + QStringLiteral("x"));
        run->prompts.expectSaveChanges(yes);
        leave(page);
        QVERIFY(!page->isVisible());
        child(page, moved)->setFocus();
        QCOMPARE(page->focusWidget(), child(page, moved));

        open(id);
        QCOMPARE(page->focusWidget(), box);
        if (caret >= 0)
            QCOMPARE(qobject_cast<QLineEdit *>(box)->cursorPosition(), caret);
    }

    void focus_pageRuleStillWinsOverTheControlLeft()
    {
        Page *page = open(PageId::BusPersp);
        FIND(how, QPlainTextEdit, page, "txtHow");
        how->setFocus();
        leave(page);
        child(page, "cmdReturn")->setFocus();
        open(PageId::BusPersp);
        QCOMPARE(page->focusWidget(), child(page, "txtIdea")); // Idea is still unanswered
    }

    void closeRequest_noKeepsEdits_yesEndsWithoutSaveQuestion()
    {
        Page *page = open(PageId::BusStatus);
        FIND(where, QPlainTextEdit, page, "txtWhere");
        where->setPlainText(QStringLiteral("Planning"));
        run->prompts.expectExit(false);
        QVERIFY(!page->close());
        QVERIFY(page->isVisible());
        QCOMPARE(where->toPlainText(), QStringLiteral("Planning"));
        QCOMPARE(flag(page), QStringLiteral("Y"));
        QVERIFY(!run->quit);

        run->prompts.expectExit(true); // and no save question after it
        page->close();
        QVERIFY(run->quit);
        QCOMPARE(plan().Where, BlankMarker);
    }

    // --- What the table gives each page -----------------------------------------------------

    void page_hasCaptionSizeLabelsAndTabOrder_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("twipsSize");
        QTest::addColumn<QList<BoxRow>>("boxes"); // tab order
        QTest::addColumn<QStringList>("buttons"); // left to right, tab order

        const QStringList common{"cmdSave", "cmdReturn"};
        QTest::newRow("step 1") << "frmBusName" << "Quorvane - Business Name & Address" << QSize(7755, 4725)
                                << QList<BoxRow>{{"txtName", "Business name:", false},
                                                 {"txtAdd1", "Business address, line 1:", false},
                                                 {"txtAdd2", "Business address, line 2:", false},
                                                 {"txtCity", "City:", false},
                                                 {"txtState", "State:", false},
                                                 {"txtZip", "Zip Code:", false},
                                                 {"txtPhone", "Phone number:", false},
                                                 {"txtFax", "Fax number:", false},
                                                 {"txtEmail", "Email address:", false},
                                                 {"txtURL", "Web Site URL:", false}}
                                << common;
        QTest::newRow("step 4") << "frmBusPurp" << "Quorvane - Purpose of Business" << QSize(6075, 3510)
                                << QList<BoxRow>{{"txtBusPurp", "The purpose of this business is to:", true}} << common;
        QTest::newRow("step 5") << "frmBusGoals" << "Quorvane - Goals" << QSize(6030, 5295)
                                << QList<BoxRow>{{"txtBusSTG1", "Short-Term Goals:", false}, {"txtBusSTG2", nullptr, false},
                                                 {"txtBusSTG3", nullptr, false}, {"txtBusSTG4", nullptr, false},
                                                 {"txtBusSTG5", nullptr, false}, {"txtBusLTG1", "Long-Term Goals:", false},
                                                 {"txtBusLTG2", nullptr, false}, {"txtBusLTG3", nullptr, false},
                                                 {"txtBusLTG4", nullptr, false}, {"txtBusLTG5", nullptr, false}}
                                << common;
        QTest::newRow("step 6")
            << "frmBusPersp" << "Quorvane - Business Perspective" << QSize(7830, 3975)
            << QList<BoxRow>{{"txtIdea", "The basic idea/concept of your business:", true},
                             {"txtPeople", "The type of people who will buy your product or service:", true},
                             {"txtMarket", "Why you think there is a market for your product or service at this time:", true},
                             {"txtHow", "How you will reach your targeted customers:", true}}
            << common;
        QTest::newRow("step 7")
            << "frmBusStatus" << "Quorvane -  Current Business Status" << QSize(7830, 3915)
            << QList<BoxRow>{{"txtWhere", "Where your business is today:  (ie, Planning stages?  Already open?)", true},
                             {"txtAdvertising", "What kind of advertising you are doing currently (or planning):", true},
                             {"txtAmount", "Amount your business has been earning, if already open:", true},
                             {"txtPersonnel", "Your business's current personnel situation:", true}}
            << common;
        QTest::newRow("step 10")
            << "frmBusAdMktg" << "Quorvane - Advertising/Marketing" << QSize(6150, 5430)
            << QList<BoxRow>{{"txtToWhom", "To whom do you plan to market your products/services?", true},
                             {"txtNumber", "What is the estimated number of people that would include?", true},
                             {"txtReach", "How do you intend to reach these people?", true},
                             {"txtDiffer", "How does your business differ from the competition?", true},
                             {"txtTypes", "What types of advertising/ marketing are you doing now?", true},
                             {"txtPlans", "What are your current advertising plans for the next 1-2 years?", true}}
            << common;
        QTest::newRow("step 11 part 1")
            << "frmBusInEx" << "Quorvane - Income & Expenses - Part 1" << QSize(8325, 4215)
            << QList<BoxRow>{{"txtCost", "List each product/service and the cost to produce each:", true},
                             {"txtExpenses", "List current and projected basic monthly expenses:", true},
                             {"txtAdv", "List your advertising budget.  Be sure to include the time span (ie, 1 year, 5 years, "
                                        "etc.) and, if possible, break down by the type of advertising and the cost.", true}}
            << QStringList{"cmdSave", "cmdReturn", "cmdNext"};
        QTest::newRow("step 11 part 2")
            << "frmBusInEx2" << "Quorvane - Income & Expenses - Part 2" << QSize(7695, 4980)
            << QList<BoxRow>{
                   {"txtEquip", "List any equipment, furniture, etc., you plan to buy in the next 1-2 years and the estimated cost:", true},
                   {"txtCharge", "List each product/service and the amount you plan to charge for each:", true},
                   {"txtSell", "List how many of each product/service you estimate you will need to sell per month to cover the "
                               "cost of production and basic monthly expenses.  State whether or not it is a realistic goal for "
                               "each product/service and why.  If it's not a realistic goal, state what would be.", true}}
            << QStringList{"cmdSave", "cmdReturn", "cmdBack", "cmdNext"};
        QTest::newRow("step 11 part 3")
            << "frmBusInEx3" << "Quorvane - Income & Expenses - Part 3" << QSize(7275, 4935)
            << QList<BoxRow>{
                   {"txtMoIncome", "List your businesses's current monthly income and what this income is generally from:", true},
                   {"txtYrIncome", "List the projected monthly income from your business for each of the next 12 months:", true},
                   {"txtMoExpenses", "List the projected monthly expenses for your business for each of the next 12 months:", true},
                   {"txtInGoals", "Describe how your current advertising strategy will help you meet your income goals:", true}}
            << QStringList{"cmdSave", "cmdReturn", "cmdBack"};
        QTest::newRow("step 12")
            << "frmOther" << "Quorvane - Other Information" << QSize(5910, 3135)
            << QList<BoxRow>{{"txtInfo", "List any other information you feel is important regarding your business that was "
                                         "not covered previously:", true}}
            << common;
    }

    void page_hasCaptionSizeLabelsAndTabOrder()
    {
        QFETCH(QString, id);
        QFETCH(QString, caption);
        QFETCH(QSize, twipsSize);
        QFETCH(QList<BoxRow>, boxes);
        QFETCH(QStringList, buttons);

        Page *page = open(id);
        QVERIFY(page);
        QCOMPARE(page->windowTitle(), caption);
        QCOMPARE(page->size(), QSize(twips(twipsSize.width()), twips(twipsSize.height())));

        QStringList chain;
        int questions = 0;
        for (const BoxRow &row : boxes) {
            chain << QString::fromLatin1(row.box);
            QWidget *box = child(page, chain.last());
            QVERIFY2(box, row.box);
            QCOMPARE(qobject_cast<QPlainTextEdit *>(box) != nullptr, row.multiLine);
            if (auto *multi = qobject_cast<QPlainTextEdit *>(box)) {
                QVERIFY(multi->tabChangesFocus());
                QCOMPARE(multi->lineWrapMode(), QPlainTextEdit::WidgetWidth);
                QCOMPARE(multi->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            }
            QVERIFY(box->toolTip().contains(QLatin1String("Hint: "))); // the field's hint and example
            if (!row.label)
                continue;
            QLabel *label = nullptr;
            for (QLabel *l : page->findChildren<QLabel *>())
                if (l->text() == QString::fromLatin1(row.label))
                    label = l;
            QVERIFY2(label, row.label);
            QCOMPARE(label->font().family(), QStringLiteral("Arial"));
            QCOMPARE(label->font().pointSizeF(), 9.75);
            QVERIFY(label->font().bold());
            const bool purpose = row.box == QByteArray("txtBusPurp");
            QCOMPARE(label->toolTip(), purpose ? QStringLiteral("Type in a short paragraph about your business's purpose.") : box->toolTip());
            ++questions;
        }
        QCOMPARE(page->findChildren<QLabel *>().size(), questions); // no other labels

        // Buttons: captions, tooltips, one row left to right; none is a default button.
        const bool part1 = id == "frmBusInEx", part2 = id == "frmBusInEx2";
        const QHash<QString, QPair<QString, QString>> texts{
            {"cmdSave", {"&Save Information", "Click here to save your information."}},
            {"cmdReturn", {"&Return to Main Screen", "Click here to return to the main screen."}},
            {"cmdNext", {part1 ? "&Go to Part 2" : "&Go to Part 3", part1 ? "Click here to go to Part 2." : "Click here to go to Part 3."}},
            {"cmdBack", {part2 ? "Go &Back to Part 1" : "Go &Back to Part 2",
                         part2 ? "Click here to go back to Part 1." : "Click here to go back to Part 2."}},
        };
        QCOMPARE(page->findChildren<QPushButton *>().size(), buttons.size());
        int previousRight = -1;
        for (const QString &name : buttons) {
            auto *b = child<QPushButton>(page, name);
            QVERIFY2(b, qPrintable(name));
            QCOMPARE(b->text(), texts[name].first);
            QCOMPARE(b->toolTip(), texts[name].second);
            QVERIFY(b->autoDefault() && !b->isDefault());
            QVERIFY(b->geometry().left() > previousRight);
            previousRight = b->geometry().right();
            chain << name;
        }
        QCOMPARE(tabOrder(child(page, chain.first()), chain.size()), chain);
    }

    void page_loadsAndStoresItsOwnFields_data() { page_hasCaptionSizeLabelsAndTabOrder_data(); }

    void page_loadsAndStoresItsOwnFields()
    {
        QFETCH(QString, id);
        QFETCH(QList<BoxRow>, boxes);
        QStringList fields; // each box shows the field of its name
        for (const BoxRow &row : boxes)
            fields << QString::fromLatin1(row.box).mid(3);
        for (const QString &f : fields)
            planField(f).set(plan(), QStringLiteral("stored ") + f);
        const PlanRecord before = plan();

        Page *page = open(id);
        for (const QString &f : fields) {
            QWidget *box = child(page, QStringLiteral("txt") + f);
            QVERIFY2(box, qPrintable(f));
            QCOMPARE(boxText(box), QStringLiteral("stored ") + f);
            setBoxText(box, QStringLiteral("typed ") + f);
        }
        click(page, "cmdSave");
        for (const PlanField &f : planFields())
            QCOMPARE(f.get(plan()), fields.contains(f.name) ? QStringLiteral("typed ") + f.name : f.get(before));
    }

    void page_layoutIsReadableAndInsideThePage_data() { page_hasCaptionSizeLabelsAndTabOrder_data(); }

    void page_layoutIsReadableAndInsideThePage()
    {
        QFETCH(QString, id);
        const QString family = QFontInfo(questionFont()).family();
        if (family != QLatin1String("Arial") && family != QLatin1String("Liberation Sans"))
            QSKIP("layout is sized for Arial's metrics");
        Page *page = open(id);
        QList<QWidget *> widgets = page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QGroupBox *frame : page->findChildren<QGroupBox *>())
            widgets += frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        widgets.removeIf([page](QWidget *w) { return !w->isVisibleTo(page) || w->objectName().isEmpty(); });
        for (QWidget *w : widgets) {
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(w->objectName()));
            if (auto *label = qobject_cast<QLabel *>(w))
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(label->text()));
            for (QWidget *other : widgets)
                if (other != w && other->parentWidget() == w->parentWidget())
                    QVERIFY2(!w->geometry().intersects(other->geometry()),
                             qPrintable(w->objectName() + " overlaps " + other->objectName()));
        }
    }

    // --- Particular rules ----------------------------------------------------------------

    void url_showsSchemeOnlyWhileUnanswered_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("unanswered") << BlankMarker << "http://";
        QTest::newRow("saved empty") << "" << "";
        QTest::newRow("address") << "http://acme.example" << "http://acme.example";
        QTest::newRow("marker with a space") << "(blank) " << "(blank) ";
    }

    void url_showsSchemeOnlyWhileUnanswered()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        plan().URL = stored;
        plan().Fax = stored;
        Page *page = open(PageId::BusName);
        QCOMPARE(child<QLineEdit>(page, "txtURL")->text(), shown);
        QCOMPARE(child<QLineEdit>(page, "txtFax")->text(), stored == BlankMarker ? QString() : stored);
        QCOMPARE(flag(page), QStringLiteral("N"));
    }

    void url_caretAtOffsetEightOnEveryFocusIn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::newRow("scheme only") << "http://" << 7;
        QTest::newRow("address") << "http://www.acme.example" << 8;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("short") << "www" << 3;
    }

    void url_caretAtOffsetEightOnEveryFocusIn()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        Page *page = open(PageId::BusName);
        FIND(url, QLineEdit, page, "txtURL");
        FIND(email, QLineEdit, page, "txtEmail");
        url->setText(text);

        email->setFocus();
        QTest::keyClick(email, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), url);
        VERIFY_CARET(url, caret);

        QTest::keyClick(url, Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), email);
        QTest::mouseClick(url, Qt::LeftButton, {}, QPoint(4, url->height() / 2));
        QCOMPARE(QApplication::focusWidget(), url);
        VERIFY_CARET(url, caret);

        // A click inside the box that already has the focus places the caret as usual.
        QTest::mouseClick(url, Qt::LeftButton, {}, QPoint(url->width() - 4, url->height() / 2));
        QCOMPARE(url->cursorPosition(), int(text.size()));
    }

    void caret_untouchedWhenFocusReturnsWithTheWindow()
    {
        Page *page = open(PageId::BusGoals);
        FIND(goal, QLineEdit, page, "txtBusSTG2");
        goal->setFocus();
        goal->setText(QStringLiteral("2.  Open a shop"));
        goal->setCursorPosition(9);
        for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
            QFocusEvent back(QEvent::FocusIn, reason);
            QApplication::sendEvent(goal, &back);
            QCOMPARE(goal->cursorPosition(), 9);
        }
    }

    void focusRule_firstBlankFieldTakesFocusOnReopen_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("first"); // field whose box takes the focus; empty: no rule
        QTest::addColumn<QString>("other"); // control that has the focus when the page is left
        QTest::newRow("step 6") << "frmBusPersp" << "Idea" << "txtHow";
        QTest::newRow("step 7") << "frmBusStatus" << "Where" << "txtPersonnel";
        QTest::newRow("step 12") << "frmOther" << "Info" << "cmdSave";
        QTest::newRow("step 11 part 1") << "frmBusInEx" << "Cost" << "txtAdv";
        QTest::newRow("step 11 part 2") << "frmBusInEx2" << "Equip" << "txtSell";
        QTest::newRow("step 11 part 3") << "frmBusInEx3" << "MoIncome" << "txtInGoals";
        QTest::newRow("step 1, no rule") << "frmBusName" << "" << "txtZip";
        QTest::newRow("step 4, no rule") << "frmBusPurp" << "" << "cmdSave";
        QTest::newRow("step 10, no rule") << "frmBusAdMktg" << "" << "txtPlans";
    }

    void focusRule_firstBlankFieldTakesFocusOnReopen()
    {
        QFETCH(QString, id);
        QFETCH(QString, first);
        QFETCH(QString, other);
        Page *page = open(id);
        QWidget *otherWidget = child(page, other);
        QVERIFY(otherWidget);

        // Unanswered: the first field's box takes the focus back.
        otherWidget->setFocus();
        leave(page);
        open(id);
        QCOMPARE(page->focusWidget()->objectName(), first.isEmpty() ? other : QStringLiteral("txt") + first);

        // Answered, even with empty text: the focus stays where it was.
        if (!first.isEmpty())
            planField(first).set(plan(), QString());
        otherWidget->setFocus();
        leave(page);
        open(id);
        QCOMPARE(page->focusWidget(), otherWidget);
    }

    void adMktg_loadsInFieldOrder()
    {
        Page *page = open(PageId::BusAdMktg);
        QStringList order;
        for (QPlainTextEdit *box : page->findChildren<QPlainTextEdit *>())
            connect(box, &QPlainTextEdit::textChanged, this, [&order, box] { order << box->objectName(); });
        reopen(page, PageId::BusAdMktg);
        QCOMPARE(order, (QStringList{"txtToWhom", "txtNumber", "txtReach", "txtTypes", "txtDiffer", "txtPlans"}));
    }

    void chain_buttonsLeadAlongTheChain_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("to");
        QTest::newRow("part 1 next") << "frmBusInEx" << "cmdNext" << "frmBusInEx2";
        QTest::newRow("part 2 back") << "frmBusInEx2" << "cmdBack" << "frmBusInEx";
        QTest::newRow("part 2 next") << "frmBusInEx2" << "cmdNext" << "frmBusInEx3";
        QTest::newRow("part 3 back") << "frmBusInEx3" << "cmdBack" << "frmBusInEx2";
        QTest::newRow("part 3 return") << "frmBusInEx3" << "cmdReturn" << "frmMain";
    }

    void chain_buttonsLeadAlongTheChain()
    {
        QFETCH(QString, from);
        QFETCH(QString, button);
        QFETCH(QString, to);
        Page *page = open(from);
        child<QPushButton>(page, button)->click(); // no edits: no question
        QVERIFY(run->visible(to.toLatin1().constData()));
        QVERIFY(!page->isVisible());
    }

    // Next and Back ask about the page being left only: No loses its edits, Yes stores only its boxes.
    void chain_questionCoversOnlyTheLeftPage()
    {
        plan().Cost = QStringLiteral("old cost");
        Page *part1 = open(PageId::BusInEx);
        FIND(cost, QPlainTextEdit, part1, "txtCost");
        cost->setPlainText(QStringLiteral("new cost"));
        run->prompts.expectSaveChanges(false);
        click(part1, "cmdNext");
        QVERIFY(run->visible(PageId::BusInEx2));
        QVERIFY(!part1->isVisible());
        QCOMPARE(plan().Cost, QStringLiteral("old cost"));
        click(run->page(PageId::BusInEx2), "cmdBack");
        QVERIFY(part1->isVisible());
        QCOMPARE(cost->toPlainText(), QStringLiteral("old cost"));
        QCOMPARE(flag(part1), QStringLiteral("N"));

        click(part1, "cmdNext");
        Page *part2 = run->page(PageId::BusInEx2);
        child<QPlainTextEdit>(part2, "txtEquip")->setPlainText(QStringLiteral("a van"));
        run->prompts.expectSaveChanges(true);
        click(part2, "cmdNext");
        QCOMPARE(plan().Equip, QStringLiteral("a van"));
        QCOMPARE(plan().Charge, QString());
        QCOMPARE(plan().Cost, QStringLiteral("old cost"));
        QCOMPARE(plan().MoIncome, BlankMarker);
        QVERIFY(run->visible(PageId::BusInEx3));
        leave(run->page(PageId::BusInEx3)); // nothing edited here: no question
        QVERIFY(run->visible(PageId::Main));
    }

    void step11_alwaysOpensAtPart1FromMain()
    {
        Page *part1 = open(PageId::BusInEx);
        click(part1, "cmdNext");
        click(run->page(PageId::BusInEx2), "cmdNext");
        Page *part3 = run->page(PageId::BusInEx3);
        leave(part3);
        click(run->page(PageId::Main), "cmdStep11");
        QVERIFY(part1->isVisible());
        QVERIFY(!part3->isVisible());
        QVERIFY(!run->visible(PageId::BusInEx2));
    }

    void goals_firstOpeningShowsPrefixesWithCaretAfterThem()
    {
        Page *page = open(PageId::BusGoals);
        for (int i = 1; i <= 5; ++i) {
            for (const char *group : {"txtBusSTG", "txtBusLTG"}) {
                auto *box = child<QLineEdit>(page, QString::fromLatin1(group) + QString::number(i));
                QVERIFY(box);
                QCOMPARE(box->text(), QStringLiteral("%1.  ").arg(i));
            }
        }
        FIND(first, QLineEdit, page, "txtBusSTG1");
        QCOMPARE(page->focusWidget(), first);
        VERIFY_CARET(first, 4);

        // Typing goes after the prefix, and the prefix is stored with the goal.
        QTest::keyClicks(first, QStringLiteral("Open a shop"));
        click(page, "cmdSave");
        QCOMPARE(plan().BusSTG[0], QStringLiteral("1.  Open a shop"));
    }

    void goals_showsFieldsWithoutBlankTest()
    {
        plan().BusSTG[2] = BlankMarker;
        plan().BusLTG[4] = QString();
        Page *page = open(PageId::BusGoals);
        QCOMPARE(child<QLineEdit>(page, "txtBusSTG3")->text(), BlankMarker);
        QCOMPARE(child<QLineEdit>(page, "txtBusLTG5")->text(), QString());
        // An emptied box stores empty text; the prefix does not come back by itself.
        FIND(long1, QLineEdit, page, "txtBusLTG1");
        long1->clear();
        run->prompts.expectSaveChanges(true);
        leave(page);
        QCOMPARE(plan().BusLTG[0], QString());
        open(PageId::BusGoals);
        QCOMPARE(long1->text(), QString());
    }

    void goals_caretAtOffsetFiveOnEveryFocusIn()
    {
        plan().BusLTG[1] = QStringLiteral("2.  Open a second shop");
        Page *page = open(PageId::BusGoals);
        FIND(short5, QLineEdit, page, "txtBusSTG5");
        FIND(long1, QLineEdit, page, "txtBusLTG1");
        FIND(long2, QLineEdit, page, "txtBusLTG2");
        QCOMPARE(tabOrder(child(page, "txtBusSTG1"), 12),
                 (QStringList{"txtBusSTG1", "txtBusSTG2", "txtBusSTG3", "txtBusSTG4", "txtBusSTG5", "txtBusLTG1",
                              "txtBusLTG2", "txtBusLTG3", "txtBusLTG4", "txtBusLTG5", "cmdSave", "cmdReturn"}));

        short5->setFocus();
        QTest::keyClick(short5, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), long1);
        VERIFY_CARET(long1, 4);
        QTest::keyClick(long1, Qt::Key_Tab);
        VERIFY_CARET(long2, 5);
        QTest::keyClick(long2, Qt::Key_Tab, Qt::ShiftModifier);
        QTest::mouseClick(long2, Qt::LeftButton, {}, QPoint(long2->width() - 4, long2->height() / 2));
        QCOMPARE(QApplication::focusWidget(), long2);
        QCOMPARE(long2->cursorPosition(), 5);

        // Reopening the page gives the focused box its caret again after the reload.
        reopen(page, PageId::BusGoals);
        QCOMPARE(page->focusWidget(), long2);
        QCOMPARE(long2->cursorPosition(), 5);
    }

    // --- Keyboard ------------------------------------------------------------------------

    void multiLineBox_tabMovesOnEnterStartsNewLine()
    {
        Page *page = open(PageId::BusPersp);
        FIND(idea, QPlainTextEdit, page, "txtIdea");
        FIND(people, QPlainTextEdit, page, "txtPeople");
        QCOMPARE(QApplication::focusWidget(), idea);
        QTest::keyClicks(idea, QStringLiteral("one"));
        QTest::keyClick(idea, Qt::Key_Return);
        QTest::keyClicks(idea, QStringLiteral("two"));
        QCOMPARE(idea->toPlainText(), QStringLiteral("one\ntwo"));
        QVERIFY(page->isVisible()); // Enter pressed no button
        QTest::keyClick(idea, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), people);
        QTest::keyClick(people, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), idea);
        QCOMPARE(idea->toPlainText(), QStringLiteral("one\ntwo"));
    }

    void accessKeys_workFromAnyBox_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("Alt+S, line box") << "frmBusName" << "txtCity" << int(Qt::Key_S) << "frmBusName";
        QTest::newRow("Alt+S, multi-line box") << "frmBusInEx" << "txtAdv" << int(Qt::Key_S) << "frmBusInEx";
        QTest::newRow("Alt+R") << "frmOther" << "txtInfo" << int(Qt::Key_R) << "frmMain";
        QTest::newRow("Alt+G") << "frmBusInEx2" << "txtSell" << int(Qt::Key_G) << "frmBusInEx3";
        QTest::newRow("Alt+B") << "frmBusInEx3" << "txtMoExpenses" << int(Qt::Key_B) << "frmBusInEx2";
        QTest::newRow("Alt+R, goals") << "frmBusGoals" << "txtBusLTG3" << int(Qt::Key_R) << "frmMain";
    }

    void accessKeys_workFromAnyBox()
    {
        QFETCH(QString, id);
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(QString, shownAfter);
        Page *page = open(id);
        QWidget *w = child(page, box);
        QVERIFY(w);
        w->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w);
        setBoxText(w, QStringLiteral("typed"));
        if (key != Qt::Key_S)
            run->prompts.expectSaveChanges(false);
        QTest::keyClick(w, Qt::Key(key), Qt::AltModifier);
        QTRY_VERIFY(run->visible(shownAfter.toLatin1().constData()));
        if (key == Qt::Key_S) {
            QTRY_COMPARE(flag(page), QStringLiteral("N"));
            QCOMPARE(id == "frmBusName" ? plan().City : plan().Adv, QStringLiteral("typed"));
            QCOMPARE(QApplication::focusWidget(), w); // and keeps the focus
        } else {
            QVERIFY(!page->isVisible());
        }
    }
};

QTEST_MAIN(TextStepsTest)
#include "test_text_steps.moc"

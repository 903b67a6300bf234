#include "app/PageIds.h"
#include "plan/PlanHints.h"
#include "steps/StepPage.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

namespace {

// Every page a step of the plan is answered on.
const char *const StepPages[] = {PageId::BusName,  PageId::BusType,   PageId::BusKind, PageId::BusPurp,
                                 PageId::BusGoals, PageId::BusPersp,  PageId::BusStatus, PageId::BusEmp,
                                 PageId::BusDesc,  PageId::View,      PageId::BusAdMktg, PageId::BusInEx,
                                 PageId::BusInEx2, PageId::BusInEx3,  PageId::Other};

// A tooltip as the reader sees it (without the line breaks around its table).
QString plainTip(const QWidget *w)
{
    QTextDocument doc;
    doc.setHtml(w->toolTip());
    return doc.toPlainText().trimmed();
}

// What a control stands for: the hint of a field, the example without the number
// prefix when the page adds that itself.
QString expectedText(const char *field, bool withoutPrefix = false)
{
    const FieldHint *row = findFieldHint(QString::fromLatin1(field));
    if (!row)
        return QStringLiteral("<no hint for %1>").arg(QLatin1String(field));
    return withoutPrefix ? hintText(row->hint, row->example.mid(4)) : hintText(*row);
}

QString boxText(const QWidget *box)
{
    if (auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    if (auto *multi = qobject_cast<const QPlainTextEdit *>(box))
        return multi->toPlainText();
    return {};
}

void setBoxText(QWidget *box, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setText(text);
    else if (auto *multi = qobject_cast<QPlainTextEdit *>(box))
        multi->setPlainText(text);
}

// Caret position and selection anchor of a box; (-1, -1) for a control without text.
std::pair<int, int> caretOf(const QWidget *box)
{
    if (auto *line = qobject_cast<const QLineEdit *>(box)) {
        const int pos = line->cursorPosition();
        if (!line->hasSelectedText())
            return {pos, pos};
        return {pos, pos == line->selectionStart() ? line->selectionEnd() : line->selectionStart()};
    }
    if (auto *multi = qobject_cast<const QPlainTextEdit *>(box))
        return {multi->textCursor().position(), multi->textCursor().anchor()};
    return {-1, -1};
}

void setCaret(QWidget *box, int pos, int anchor)
{
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        if (pos == anchor)
            line->setCursorPosition(pos);
        else
            line->setSelection(anchor, pos - anchor);
    } else if (auto *multi = qobject_cast<QPlainTextEdit *>(box)) {
        QTextCursor c = multi->textCursor();
        c.setPosition(anchor);
        c.setPosition(pos, QTextCursor::KeepAnchor);
        multi->setTextCursor(c);
    }
}

// Answers as scripted, but like a real message box: another window holds the focus
// while the question is open.
class FocusTakingPrompts : public ScriptedPrompts {
public:
    PromptButton ask(const Question &q) override
    {
        QLineEdit other;
        other.show();
        other.activateWindow();
        if (QTest::qWaitForWindowActive(&other))
            other.setFocus(Qt::ActiveWindowFocusReason);
        tookFocus = QApplication::focusWidget() == &other;
        return ScriptedPrompts::ask(q);
    }
    bool tookFocus = false;
};

} // namespace

class FieldHelpTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestRun> run;

    Page *open(const char *id)
    {
        Page *page = run->open(id);
        if (page && !QTest::qWaitForWindowActive(page))
            qWarning("%s did not become active", id);
        return page;
    }

    // F1 in the box: the notice with `text`, and the focus back in the box.
    void pressF1(QWidget *box, const QString &text)
    {
        run->prompts.expectNotice(text, QStringLiteral("Quorvane"));
        QTest::keyClick(box, Qt::Key_F1);
        VERIFY_PROMPTS(run->prompts);
        QCOMPARE(QApplication::focusWidget(), box);
    }

private slots:
    void init()
    {
        run = std::make_unique<TestRun>();
        run->open(PageId::Main);
    }
    void cleanup()
    {
        VERIFY_PROMPTS(run->prompts);
        run.reset();
    }

    void everyBoxOnEveryStepPage_hasHintAndExample()
    {
        int boxes = 0;
        for (const char *id : StepPages) {
            Page *page = open(id);
            QVERIFY2(page, id);
            for (QWidget *w : page->findChildren<QWidget *>()) {
                if (!qobject_cast<QLineEdit *>(w) && !qobject_cast<QPlainTextEdit *>(w) && !qobject_cast<QRadioButton *>(w))
                    continue;
                const QString where = QStringLiteral("%1 %2").arg(QLatin1String(id), w->objectName());
                const QString tip = plainTip(w);
                QVERIFY2(tip.startsWith(QLatin1String("Hint: ")) && tip.contains(QLatin1String("\n\nExample: ")),
                         qPrintable(where + QStringLiteral(": ") + tip));
                ++boxes;
            }
        }
        // 10 + 3 + 7 + 1 + 10 + 4 + 4 + 1 + 5 + 6 + 3 + 3 + 4 + 1 boxes and option buttons
        QCOMPARE(boxes, 62);
    }

    void controls_showTheirFieldsHint_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        auto row = [](const char *page, const char *control, const QString &text) {
            QTest::addRow("%s %s", page, control) << QString::fromLatin1(page) << QString::fromLatin1(control) << text;
        };
        row(PageId::BusName, "txtURL", expectedText("URL"));
        row(PageId::BusName, "lblName", expectedText("Name"));
        row(PageId::BusType, "lblName", expectedText("BusType"));
        row(PageId::BusType, "optSole", expectedText("BusType"));
        row(PageId::BusKind, "lblName", expectedText("Offer"));
        row(PageId::BusKind, "optBoth1", expectedText("Offer"));
        row(PageId::BusKind, "lblFor", expectedText("Customers"));
        row(PageId::BusKind, "lblSoldVia", expectedText("SoldVia"));
        row(PageId::BusKind, "lblSoldViaHint", expectedText("SoldVia"));
        row(PageId::BusKind, "txtSoldVia", expectedText("SoldVia"));
        // The purpose label keeps the tooltip it always had; its box gets the hint.
        row(PageId::BusPurp, "lblBusPurp", QStringLiteral("Type in a short paragraph about your business's purpose."));
        row(PageId::BusPurp, "txtBusPurp", expectedText("BusPurp"));
        row(PageId::BusGoals, "lblShortGoals", expectedText("BusSTG1"));
        row(PageId::BusGoals, "lblLongGoals", expectedText("BusLTG1"));
        row(PageId::BusGoals, "txtBusLTG3", expectedText("BusLTG3"));
        row(PageId::BusEmp, "Label1", expectedText("Emp1", true));
        row(PageId::BusEmp, "txtEmpInfo", expectedText("Emp1", true));
        row(PageId::BusDesc, "lblProduced", expectedText("ProdProd1"));
        row(PageId::BusDesc, "txtProdServ", expectedText("ProdServ1"));
        row(PageId::BusAdMktg, "lblDiffer", expectedText("Differ"));
        row(PageId::BusInEx3, "lblYrIncome", expectedText("YrIncome"));
        // Buttons keep theirs.
        row(PageId::BusName, "cmdSave", QStringLiteral("Click here to save your information."));
        row(PageId::BusInEx, "cmdNext", QStringLiteral("Click here to go to Part 2."));
        row(PageId::BusEmp, "cmdClearAll", QStringLiteral("Click here to clear all employee entries."));
    }

    void controls_showTheirFieldsHint()
    {
        QFETCH(QString, page);
        QFETCH(QString, control);
        QFETCH(QString, text);
        Page *p = open(qPrintable(page));
        QVERIFY(p);
        const QWidget *w = child(p, control);
        QCOMPARE(plainTip(w), text);
    }

    void f1_showsHintAndLeavesTextAndCaret_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<QString>("notice");
        // Past the box's own caret offset, which focus from elsewhere would restore.
        QTest::newRow("web address, caret") << PageId::BusName << "txtURL" << "http://www.example.com" << 12 << 12
                                            << expectedText("URL");
        QTest::newRow("goal, selection") << PageId::BusGoals << "txtBusSTG2" << "2.  Grow sales" << 4 << 8
                                         << expectedText("BusSTG2");
        QTest::newRow("multi-line, selection") << PageId::BusPurp << "txtBusPurp" << "line one\nline two" << 13 << 3
                                               << expectedText("BusPurp");
        QTest::newRow("empty box") << PageId::Other << "txtInfo" << "" << 0 << 0 << expectedText("Info");
        QTest::newRow("choice page box") << PageId::BusKind << "txtSoldVia" << "Retail" << 0 << 6
                                         << expectedText("SoldVia");
        QTest::newRow("employee entry") << PageId::BusEmp << "txtEmpInfo" << "Ann" << 1 << 1
                                        << expectedText("Emp1", true);
        QTest::newRow("product entry") << PageId::BusDesc << "txtHowDiffer" << "Fresher" << 7 << 7
                                       << expectedText("ProdDiffer1");
        QTest::newRow("option button") << PageId::BusType << "optPart" << "" << -1 << -1 << expectedText("BusType");
    }

    void f1_showsHintAndLeavesTextAndCaret()
    {
        QFETCH(QString, page);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(int, pos);
        QFETCH(int, anchor);
        QFETCH(QString, notice);

        auto *p = qobject_cast<StepPage *>(open(qPrintable(page)));
        QVERIFY(p);
        QWidget *w = child(p, box);
        w->setFocus(Qt::TabFocusReason);
        setBoxText(w, text);
        setCaret(w, pos, anchor);
        const QString flag = p->changedFlag();
        const QStringList plan = planValues(run->ctx->plan);
        const bool checked = qobject_cast<QRadioButton *>(w) && qobject_cast<QRadioButton *>(w)->isChecked();

        pressF1(w, notice);
        const Question &q = run->prompts.asked.last();
        QCOMPARE(q.buttons, QList<PromptButton>{PromptButton::Ok});
        QCOMPARE(q.icon, PromptIcon::Information);

        QCOMPARE(boxText(w), text);
        QCOMPARE(caretOf(w), std::make_pair(pos, anchor));
        QCOMPARE(p->changedFlag(), flag);
        QCOMPARE(planValues(run->ctx->plan), plan);
        if (auto *option = qobject_cast<QRadioButton *>(w))
            QCOMPARE(option->isChecked(), checked);
    }

    void f1_focusBackAfterAWindow_keepsCaretAndSelection()
    {
        FocusTakingPrompts prompts;
        AppContext ctx(prompts);
        registerProgramPages(ctx.nav);
        Page *p = ctx.nav.show(QString::fromLatin1(PageId::BusName));
        QVERIFY(QTest::qWaitForWindowActive(p));
        FIND(url, QLineEdit, p, "txtURL");
        url->setFocus(Qt::TabFocusReason);
        url->setText(QStringLiteral("http://www.example.com"));
        url->setSelection(15, -3); // caret at 12, past the box's own offset of 8

        prompts.expectNotice(expectedText("URL"), QStringLiteral("Quorvane"));
        QTest::keyClick(url, Qt::Key_F1);
        VERIFY_PROMPTS(prompts);
        QVERIFY(prompts.tookFocus);
        p->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p));
        QTRY_COMPARE(QApplication::focusWidget(), url);
        QCOMPARE(url->cursorPosition(), 12);
        QCOMPARE(url->selectedText(), QStringLiteral("xam"));
        ctx.nav.endProgram();
    }

    void f1_withModifier_isNoHint()
    {
        Page *p = open(PageId::BusName);
        QVERIFY(p);
        FIND(box, QLineEdit, p, "txtCity");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F1, Qt::ShiftModifier);
        QTest::keyClick(box, Qt::Key_F2);
        QVERIFY(run->prompts.asked.isEmpty());
    }

    void entryPages_offerTheNextFreeSlotsExample()
    {
        // The employee page puts the next person on line 2 after the first is saved.
        Page *emp = open(PageId::BusEmp);
        QVERIFY(emp);
        FIND(person, QLineEdit, emp, "txtEmpInfo");
        QTest::keyClicks(person, QStringLiteral("Ann Lee, baker"));
        child<QPushButton>(emp, QStringLiteral("cmdSave"))->click();
        pressF1(person, expectedText("Emp2", true));
        QCOMPARE(person->text(), QString());
        QCOMPARE(run->ctx->plan.Emp[1], QStringLiteral("2."));

        // The product entry page moves on to entry 2; the tooltip follows when it shows.
        Page *prod = open(PageId::BusDesc);
        QVERIFY(prod);
        run->prompts.expect(Question::okCancel(QStringLiteral("This product or service will be saved as #1."),
                                               QStringLiteral("Quorvane")),
                            PromptButton::Ok);
        child<QPushButton>(prod, QStringLiteral("cmdSave"))->click();
        FIND(desc, QLineEdit, prod, "txtDesc");
        pressF1(desc, expectedText("ProdDesc2"));
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), desc->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(desc, &hover);
        QCOMPARE(plainTip(desc), expectedText("ProdDesc2"));
        QWidget *label = child(prod, QStringLiteral("lblDesc"));
        QCOMPARE(plainTip(label), expectedText("ProdDesc1"));
        QApplication::sendEvent(label, &hover);
        QCOMPARE(plainTip(label), expectedText("ProdDesc2"));
    }
};

QTEST_MAIN(FieldHelpTest)
#include "test_field_help.moc"

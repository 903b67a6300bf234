#include "EditorFixture.h"

#include "formats/DocumentStructure.h"
#include "formats/rtf/Rtf.h"
#include "plan/PlanHints.h"
#include "plandoc/PlanDocument.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString ExampleCaption = QStringLiteral("Example Business Plan - Text Editor");

QString rtfText(const QString &path)
{
    QFile f(path);
    QTextDocument doc;
    if (!f.open(QIODevice::ReadOnly) || !formats::rtf::read(f.readAll(), doc).ok)
        return QStringLiteral("<unreadable>");
    return text::WholeText(doc).text();
}

} // namespace

class ExamplePlanTest : public QObject {
    Q_OBJECT
    std::unique_ptr<EditorRun> run;
    std::unique_ptr<QTemporaryDir> dir;

    EditorPage *open()
    {
        EditorPage *p = run->openEditor();
        if (p)
            p->activateWindow();
        return p;
    }
    // The user's own plan, partly answered.
    void answerSome()
    {
        run->ctx->plan.Name = QStringLiteral("Owner's Own Shop");
        run->ctx->plan.BusType = QStringLiteral("Corporation");
        run->ctx->plan.Emp[0] = QStringLiteral("1.  Pat, owner");
    }
    // Opens the example over a freshly composed document: its save question first.
    // The untouched composition is given back by composing again, so replacing it asks nothing.
    void openExample(EditorPage *p, bool asks = false, PromptButton answer = PromptButton::No)
    {
        if (asks)
            run->expectSaveQuestion(answer);
        run->trigger(p, "mnuFileOpenExample");
    }

private slots:
    void init()
    {
        run = std::make_unique<EditorRun>();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }
    void cleanup()
    {
        VERIFY_PROMPTS(run->prompts);
        run.reset();
        dir.reset();
    }

    void openExample_showsExamplePlanAsNewUnchangedDocument()
    {
        answerSome();
        const QStringList before = planValues(run->ctx->plan);
        OPEN_EDITOR(p);
        p->textEdit()->insertPlainText(QStringLiteral("typed "));
        openExample(p, true);

        QCOMPARE(EditorRun::wholeText(p), plandoc::composePlan(examplePlan()));
        QCOMPARE(p->windowTitle(), ExampleCaption);
        QVERIFY(!p->docChanged());
        QCOMPARE(p->fileName(), QString());
        QCOMPARE(p->textEdit()->textCursor().position(), 0);
        QVERIFY(!p->textEdit()->document()->isUndoAvailable());
        // Shown as the composed plan is: Arial 12.
        const QTextCharFormat f = QTextCursor(p->textEdit()->document()).charFormat();
        QCOMPARE(f.fontPointSize(), 12.0);
        QCOMPARE(f.fontFamilies().toStringList().value(0).toLower(), QStringLiteral("arial"));
        QCOMPARE(planValues(run->ctx->plan), before);

        // Unchanged: leaving asks nothing; the next opening composes the user's own plan.
        QPointer<EditorPage> guard(p);
        run->trigger(p, "mnuFileReturn");
        QVERIFY(run->visible(PageId::Main));
        QTRY_VERIFY(guard.isNull());
        EditorPage *again = open();
        QVERIFY(again);
        QCOMPARE(EditorRun::wholeText(again), plandoc::composePlan(run->ctx->plan));
        QCOMPARE(again->windowTitle(), EditorPage::initialCaption());
        QCOMPARE(planValues(run->ctx->plan), before);
    }

    void openExample_saveQuestionFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("cancel") << int(PromptButton::Cancel);
        QTest::newRow("yes, then the name not given") << int(PromptButton::Yes);
    }

    void openExample_saveQuestionFirst()
    {
        QFETCH(int, answer);
        OPEN_EDITOR(p);
        p->textEdit()->insertPlainText(QStringLiteral("typed "));
        const QString composed = EditorRun::wholeText(p);
        run->expectSaveQuestion(PromptButton(answer));
        if (PromptButton(answer) == PromptButton::Yes)
            run->prompts.expectSaveFile(std::nullopt);
        run->trigger(p, "mnuFileOpenExample");
        // The document being replaced stays as it was.
        QCOMPARE(EditorRun::wholeText(p), composed);
        QCOMPARE(p->windowTitle(), EditorPage::initialCaption());
        QVERIFY(p->docChanged());
    }

    void example_reopensWithoutQuestion_saveAsksForNameThenWritesThere()
    {
        OPEN_EDITOR(p);
        openExample(p);
        run->trigger(p, "mnuFileOpenExample"); // unchanged: no question
        QCOMPARE(EditorRun::wholeText(p), plandoc::composePlan(examplePlan()));
        QVERIFY(!p->docChanged());

        const QString path = dir->filePath(QStringLiteral("example.rtf"));
        run->expectSaveAs(path);
        run->trigger(p, "mnuFileSave");
        QCOMPARE(rtfText(path), plandoc::composePlan(examplePlan()));
        QCOMPARE(p->windowTitle(), EditorRun::caption(QDir::toNativeSeparators(path)));
        QVERIFY(!p->docChanged());

        // Named now: the next Save writes without asking.
        p->textEdit()->insertPlainText(QStringLiteral("Draft: "));
        run->trigger(p, "mnuFileSave");
        QVERIFY(rtfText(path).startsWith(QLatin1String("Draft: ")));
    }

    void editedExample_leaving_asksSaveQuestion()
    {
        OPEN_EDITOR(p);
        openExample(p);
        p->textEdit()->insertPlainText(QStringLiteral("x"));
        QVERIFY(p->docChanged());
        run->expectSaveQuestion(PromptButton::Cancel);
        run->trigger(p, "mnuFileReturn");
        QCOMPARE(run->editor(), p);
        QVERIFY(p->isVisible());
        QCOMPARE(p->windowTitle(), ExampleCaption);

        // Yes runs Save, which asks for a name; cancelling it keeps the page.
        run->expectSaveQuestion(PromptButton::Yes);
        run->prompts.expectSaveFile(std::nullopt);
        run->trigger(p, "mnuFileExit");
        QCOMPARE(run->editor(), p);
        QVERIFY(!run->quit);
    }

    void formattedPlan_isANewUnsavedDocumentOfTheAnswers()
    {
        answerSome();
        const QStringList before = planValues(run->ctx->plan);
        OPEN_EDITOR(p);
        run->trigger(p, "mnuFileFormattedPlan"); // the untouched composition: no question
        QCOMPARE(p->windowTitle(), QStringLiteral("Formatted Business Plan - Text Editor"));
        QVERIFY(!p->docChanged());
        QCOMPARE(p->fileName(), QString());
        QVERIFY(!p->textEdit()->document()->isUndoAvailable());
        const QTextBlock first = p->textEdit()->document()->begin();
        QVERIFY(formats::isTitle(first.blockFormat()));
        QCOMPARE(first.text(), QStringLiteral("Owner's Own Shop"));
        QCOMPARE(p->file()->documentName(), QStringLiteral("Owner's Own Shop - Business Plan"));
        QCOMPARE(planValues(run->ctx->plan), before);

        // Edited, it is work that would be lost: Cancel keeps it.
        p->textEdit()->insertPlainText(QStringLiteral("Draft "));
        run->expectSaveQuestion(PromptButton::Cancel);
        run->trigger(p, "mnuFileFormattedPlan");
        QVERIFY(EditorRun::wholeText(p).startsWith(QLatin1String("Draft ")));
    }

    // Saved under any name and opened again, a plan goes by its business in footers and
    // titles; once it no longer opens with its title, by its file.
    void formattedPlan_goesByItsBusinessWhateverItsFile()
    {
        answerSome();
        OPEN_EDITOR(p);
        run->trigger(p, "mnuFileFormattedPlan");
        const QString path = dir->filePath(QStringLiteral("sunrise_plan.rtf"));
        run->expectSaveAs(path);
        run->trigger(p, "mnuFileSaveAs");
        run->expectOpen(path);
        run->trigger(p, "mnuFileOpen");
        QCOMPARE(p->fileName(), path);
        QCOMPARE(p->file()->documentName(), QStringLiteral("Owner's Own Shop - Business Plan"));
        QTextCursor(p->textEdit()->document()).setBlockFormat(QTextBlockFormat());
        QCOMPARE(p->file()->documentName(), QStringLiteral("sunrise_plan.rtf"));
    }

    void fillSteps_takesTheAnswersOnlyWhenAskedAndFound_data()
    {
        QTest::addColumn<bool>("example");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("notice");
        QTest::newRow("no") << true << false << QString();
        QTest::newRow("yes") << true << true << QStringLiteral("85 of 85 answers were taken from the document.");
        QTest::newRow("no labels") << false << true << QStringLiteral("No answers were found in this document.");
    }

    void fillSteps_takesTheAnswersOnlyWhenAskedAndFound()
    {
        QFETCH(bool, example);
        QFETCH(bool, yes);
        QFETCH(QString, notice);
        answerSome();
        const PlanRecord before = run->ctx->plan;
        OPEN_EDITOR(p);
        if (example)
            openExample(p);
        else
            p->textEdit()->setPlainText(QStringLiteral("A letter to the bank."));
        run->prompts.expectYesNo(QStringLiteral("Replace the answers of all twelve steps with the answers in "
                                                "this document?"),
                                 yes);
        if (!notice.isEmpty())
            run->prompts.expectNotice(notice, QStringLiteral("Quorvane"));
        run->trigger(p, "mnuFileFillSteps");
        const bool taken = yes && example;
        QCOMPARE(planValues(run->ctx->plan), planValues(taken ? examplePlan() : before));
        QCOMPARE(run->ctx->shared.EmpSlot[9], taken ? SlotOn : SlotOff);
    }
};

QTEST_MAIN(ExamplePlanTest)
#include "test_example_plan.moc"

// The editor page's writing tools as the user meets them: undo, find previous and the
// replace bar, spelling, the word count, zoom and the quick formats.

#include "EditorToolsSupport.h"

#include "editor/EditorView.h"
#include "editor/ReplacePanel.h"
#include "formats/rtf/Rtf.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocument>


namespace {

ReplacePanel *openReplace(EditorPage *p, const QString &what, const QString &with)
{
    p->openReplace();
    ReplacePanel *panel = p->replacePanel();
    child<QLineEdit>(panel, QStringLiteral("txtFindWhat"))->setText(what);
    child<QLineEdit>(panel, QStringLiteral("txtReplaceWith"))->setText(with);
    return panel;
}

} // namespace

class EditorToolsTest : public ToolsTestBase {
    Q_OBJECT
private slots:
    void init() { setUpRun(); }
    void cleanup() { tearDownRun(); }

    // ---------------------------------------------------------------------------- edit menu

    void undoRedo_followHistoryButNeverUndoComposition()
    {
        OPEN_EDITOR(p);
        FIND(undo, QAction, p, "mnuEditUndo");
        FIND(redo, QAction, p, "mnuEditRedo");
        const QString composed = EditorRun::wholeText(p);
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());

        QTest::keyClicks(p->textEdit(), QStringLiteral("ab"));
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QCOMPARE(EditorRun::wholeText(p), composed);
        QVERIFY(!undo->isEnabled());
        QVERIFY(redo->isEnabled());
        QTest::keyClick(p->textEdit(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(EditorRun::wholeText(p), QStringLiteral("ab") + composed);
        QTest::keyClick(p->textEdit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(EditorRun::wholeText(p), composed);
        QTest::keyClick(p->textEdit(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(EditorRun::wholeText(p), QStringLiteral("ab") + composed);
    }

    void undo_afterOpen_startsFresh()
    {
        OPEN_EDITOR(p);
        const QString path = save(p, QStringLiteral("plan.rtf"));
        QTest::keyClicks(p->textEdit(), QStringLiteral("typed"));
        run->openFile(p, path, PromptButton::No);
        FIND(undo, QAction, p, "mnuEditUndo");
        QVERIFY(!undo->isEnabled());
        QVERIFY(!p->textEdit()->document()->isUndoAvailable());
        QTest::keyClicks(p->textEdit(), QStringLiteral("x"));
        QVERIFY(undo->isEnabled());
    }

    void selectAll_selectsEverythingWhenThereIsText()
    {
        OPEN_EDITOR(p);
        FIND(all, QAction, p, "mnuEditSelectAll");
        FIND(menu, QMenu, p, "mnuEdit");
        menu->popup(p->mapToGlobal(QPoint(0, 0)));
        menu->hide();
        QVERIFY(all->isEnabled());
        all->trigger();
        const QTextCursor c = p->textEdit()->textCursor();
        QCOMPARE(c.selectionStart(), 0);
        QCOMPARE(c.selectionEnd(), p->textEdit()->document()->characterCount() - 1);

        setText(p->textEdit(), QString());
        menu->popup(p->mapToGlobal(QPoint(0, 0)));
        menu->hide();
        QVERIFY(!all->isEnabled());
    }

    void findPrevious_walksBackThenReportsCompleted()
    {
        OPEN_EDITOR(p);
        setText(p->textEdit(), QStringLiteral("aa aa aa"));
        run->expectFind(QStringLiteral("AA"));
        run->trigger(p, "mnuEditFind");
        p->textEdit()->moveCursor(QTextCursor::End);
        for (int expected : {6, 3, 0}) {
            key(p->textEdit(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
            QCOMPARE(p->textEdit()->textCursor().selectionStart(), expected);
            QCOMPARE(p->textEdit()->textCursor().selectedText(), QStringLiteral("aa"));
        }
        run->prompts.expectNotice(QStringLiteral("The search has been completed."), QStringLiteral("Find Previous"));
        key(p->textEdit(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
        QCOMPARE(p->textEdit()->textCursor().selectionStart(), 0);
        QCOMPARE(p->findString(), QStringLiteral("AA"));
    }

    // ---------------------------------------------------------------------------- replace

    void replace_opensWithSelectionAndFindsBothWays()
    {
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        setText(edit, QStringLiteral("Plan one, plan two, planet"));
        select(edit, 0, 4);
        key(edit, QKeySequence(Qt::CTRL | Qt::Key_H));
        ReplacePanel *panel = p->replacePanel();
        QVERIFY(panel->isVisible());
        FIND(what, QLineEdit, panel, "txtFindWhat");
        QCOMPARE(what->text(), QStringLiteral("Plan"));
        QCOMPARE(QApplication::focusWidget(), what);

        FIND(wholeWords, QCheckBox, panel, "chkWholeWords");
        wholeWords->setChecked(true);
        QVERIFY(panel->findNext());
        QCOMPARE(edit->textCursor().selectionStart(), 10);
        // Past the end it starts again from the top and says so.
        QVERIFY(panel->findNext());
        QCOMPARE(edit->textCursor().selectionStart(), 0);
        QCOMPARE(panel->status(), QStringLiteral("Passed the end."));
        QVERIFY(panel->findPrevious());
        QCOMPARE(edit->textCursor().selectionStart(), 10);
        QCOMPARE(panel->status(), QStringLiteral("Passed the start."));

        FIND(matchCase, QCheckBox, panel, "chkMatchCase");
        matchCase->setChecked(true);
        what->setText(QStringLiteral("PLAN"));
        QVERIFY(!panel->findNext());
        QCOMPARE(panel->status(), QStringLiteral("Not found."));

        QTest::keyClick(what, Qt::Key_Escape);
        QVERIFY(!panel->isVisible());
        QCOMPARE(QApplication::focusWidget(), edit);
    }

    void replace_replacesOnlyAMatchThenMovesOn()
    {
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        setText(edit, QStringLiteral("cat cat dog"));
        ReplacePanel *panel = openReplace(p, QStringLiteral("cat"), QStringLiteral("cow"));
        select(edit, 8, 11); // "dog" is no match: only the search moves on
        panel->replace();
        QCOMPARE(EditorRun::wholeText(p), QStringLiteral("cat cat dog"));
        QCOMPARE(edit->textCursor().selectionStart(), 0);
        panel->replace();
        QCOMPARE(EditorRun::wholeText(p), QStringLiteral("cow cat dog"));
        QCOMPARE(edit->textCursor().selectionStart(), 4);
        panel->replace();
        QCOMPARE(EditorRun::wholeText(p), QStringLiteral("cow cow dog"));
    }

    void replaceAll_reportsCountInOneUndoStepAndMarksChanged()
    {
        OPEN_EDITOR(p);
        save(p, QStringLiteral("plan.rtf"));
        QVERIFY(!p->docChanged());
        const QString before = EditorRun::wholeText(p);
        ReplacePanel *panel = openReplace(p, QStringLiteral("(blank)"), QStringLiteral("-"));
        FIND(all, QPushButton, panel, "cmdReplaceAll");
        all->click();
        const qsizetype n = before.count(QStringLiteral("(blank)"));
        QVERIFY(n > 10);
        QCOMPARE(panel->status(), QStringLiteral("%1 replaced.").arg(n));
        QVERIFY(!EditorRun::wholeText(p).contains(QStringLiteral("(blank)")));
        QVERIFY(p->docChanged());
        run->trigger(p, "mnuEditUndo");
        QCOMPARE(EditorRun::wholeText(p), before);

        child<QLineEdit>(panel, QStringLiteral("txtFindWhat"))->setText(QStringLiteral("zebra"));
        all->click();
        QCOMPARE(panel->status(), QStringLiteral("Not found."));
    }

    // ---------------------------------------------------------------------------- formats

    void formats_applyFollowCaretUndoAndMarkChanged_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<int>("alignment"); // 0: a character format
        QTest::newRow("bold") << "mnuOptionsBold" << QKeySequence(Qt::CTRL | Qt::Key_B) << 0;
        QTest::newRow("italic") << "mnuOptionsItalic" << QKeySequence(Qt::CTRL | Qt::Key_I) << 0;
        QTest::newRow("underline") << "mnuOptionsUnderline" << QKeySequence(Qt::CTRL | Qt::Key_U) << 0;
        QTest::newRow("center") << "mnuOptionsCenter" << QKeySequence(Qt::CTRL | Qt::Key_E) << int(Qt::AlignHCenter);
        QTest::newRow("justify") << "mnuOptionsJustify" << QKeySequence(Qt::CTRL | Qt::Key_J) << int(Qt::AlignJustify);
        QTest::newRow("right") << "mnuOptionsAlignRight" << QKeySequence() << int(Qt::AlignRight);
        QTest::newRow("left") << "mnuOptionsAlignLeft" << QKeySequence() << int(Qt::AlignLeft);
    }

    void formats_applyFollowCaretUndoAndMarkChanged()
    {
        QFETCH(QString, action);
        QFETCH(QKeySequence, key);
        QFETCH(int, alignment);
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        QTextDocument *doc = edit->document();
        const auto has = [&](int pos) {
            QTextCursor c(doc);
            c.setPosition(pos);
            if (alignment)
                return int(c.blockFormat().alignment() & Qt::AlignHorizontal_Mask) == alignment;
            const QTextCharFormat f = c.charFormat();
            return action.endsWith(QLatin1String("Bold")) ? f.fontWeight() == QFont::Bold
                   : action.endsWith(QLatin1String("Italic")) ? f.fontItalic()
                                                              : f.fontUnderline();
        };
        setText(edit, QStringLiteral("one\ntwo\nthree"));
        if (alignment) {
            // Start from another alignment, so Align Left shows too.
            QTextCursor all(doc);
            all.select(QTextCursor::Document);
            QTextBlockFormat other;
            other.setAlignment(alignment == Qt::AlignRight ? Qt::AlignHCenter : Qt::AlignRight);
            all.mergeBlockFormat(other);
        }
        save(p, QStringLiteral("f.rtf"));
        auto *a = child<QAction>(p, action);
        QVERIFY(!a->isChecked());

        select(edit, 1, 5); // from "one" into "two"
        if (key.isEmpty())
            run->trigger(p, qPrintable(action));
        else
            ::key(edit, key);
        QVERIFY(has(2) && has(5) && !has(alignment ? 10 : 6));
        QVERIFY(p->docChanged());
        QVERIFY(a->isChecked());
        edit->moveCursor(QTextCursor::End);
        QVERIFY(!a->isChecked());
        select(edit, 2, 4);
        QVERIFY(a->isChecked());
        run->trigger(p, "mnuEditUndo");
        QVERIFY(!has(2));
        // The tick follows the text back, so the key toggles the right way next time.
        QVERIFY(!a->isChecked());
        if (alignment)
            return;

        // Without a selection it is for what is typed next.
        edit->moveCursor(QTextCursor::End);
        a->trigger();
        QTest::keyClicks(edit, QStringLiteral("xy"));
        QVERIFY(has(14) && has(15) && !has(13));
        QCOMPARE(EditorRun::wholeText(p), QStringLiteral("one\r\ntwo\r\nthreexy"));
    }

    void formats_surviveSaveAndOpen()
    {
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        setText(edit, QStringLiteral("bold italic under\ncentred\nright\njustified"));
        const struct {
            int from, to;
            const char *action;
        } steps[] = {{0, 4, "mnuOptionsBold"},       {5, 11, "mnuOptionsItalic"},     {12, 17, "mnuOptionsUnderline"},
                     {18, 18, "mnuOptionsCenter"},   {26, 26, "mnuOptionsAlignRight"}, {32, 32, "mnuOptionsJustify"}};
        for (const auto &s : steps) {
            select(edit, s.from, s.to);
            run->trigger(p, s.action);
        }
        const QString path = save(p, QStringLiteral("formats.rtf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QTextDocument back;
        QVERIFY(formats::rtf::read(f.readAll(), back).ok);
        const auto at = [&](int pos) {
            QTextCursor c(&back);
            c.setPosition(pos);
            return c.charFormat();
        };
        QCOMPARE(at(2).fontWeight(), int(QFont::Bold));
        QVERIFY(at(7).fontItalic() && at(7).fontWeight() != QFont::Bold);
        QVERIFY(at(14).fontUnderline() && !at(14).fontItalic());
        QVERIFY(at(5).fontWeight() != QFont::Bold && !at(5).fontItalic()); // the space between
        const auto align = [&](int n) {
            return back.findBlockByNumber(n).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(align(1), Qt::AlignHCenter);
        QCOMPARE(align(2), Qt::AlignRight);
        QCOMPARE(align(3), Qt::AlignJustify);
        QVERIFY(align(0) != Qt::AlignHCenter && align(0) != Qt::AlignJustify);
    }

    // ---------------------------------------------------------------------------- count

    void count_showsDocumentThenSelectionAfterPause()
    {
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        setText(edit, QStringLiteral("one two three"));
        FIND(label, QLabel, p, "lblWordCount");
        QTRY_COMPARE(label->text(), QStringLiteral("3 words, 13 characters"));
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, QStringLiteral(" four"));
        // Not per keystroke: the count follows once typing pauses.
        QCOMPARE(label->text(), QStringLiteral("3 words, 13 characters"));
        QTRY_COMPARE(label->text(), QStringLiteral("4 words, 18 characters"));
        select(edit, 0, 7);
        QTRY_COMPARE(label->text(), QStringLiteral("2 of 4 words"));
        edit->moveCursor(QTextCursor::Start);
        QTRY_COMPARE(label->text(), QStringLiteral("4 words, 18 characters"));
    }

    void count_sitsLeftOfReturnAtEverySize()
    {
        OPEN_EDITOR(p);
        FIND(label, QLabel, p, "lblWordCount");
        FIND(ret, QPushButton, p, "cmdReturn");
        for (const QSize size : {p->size(), QSize(1000, 700), QSize(500, 300)}) {
            p->resize(size);
            p->layout()->activate();
            QVERIFY(label->isVisible());
            QVERIFY(label->geometry().right() < ret->geometry().left());
            QCOMPARE(label->geometry().center().y(), ret->geometry().center().y());
            QVERIFY(label->geometry().right() > ret->geometry().left() - twips(400));
            QVERIFY(label->geometry().left() >= 0);
        }
    }

    // ---------------------------------------------------------------------------- zoom

    void zoom_keysAndWheelScaleTheViewOnly_data()
    {
        QTest::addColumn<QList<QKeySequence>>("keys");
        QTest::addColumn<int>("zoom");
        const QKeySequence in(Qt::CTRL | Qt::Key_Plus), equal(Qt::CTRL | Qt::Key_Equal), out(Qt::CTRL | Qt::Key_Minus),
            reset(Qt::CTRL | Qt::Key_0);
        QTest::newRow("Ctrl+Plus") << QList<QKeySequence>{in} << 110;
        QTest::newRow("Ctrl+=") << QList<QKeySequence>{equal, equal} << 125;
        QTest::newRow("Ctrl+Minus") << QList<QKeySequence>{out} << 90;
        QTest::newRow("Ctrl+0") << QList<QKeySequence>{in, in, reset} << 100;
    }

    void zoom_keysAndWheelScaleTheViewOnly()
    {
        QFETCH(QList<QKeySequence>, keys);
        QFETCH(int, zoom);
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        save(p, QStringLiteral("z.rtf"));
        const int height = edit->cursorRect(QTextCursor(edit->document())).height();
        for (const QKeySequence &k : keys)
            key(edit, k);
        QCOMPARE(p->view()->zoom(), zoom);
        const int zoomed = edit->cursorRect(QTextCursor(edit->document())).height();
        QVERIFY2(std::abs(zoomed - height * zoom / 100) <= 2,
                 qPrintable(QStringLiteral("%1 -> %2").arg(height).arg(zoomed)));
        QCOMPARE(QTextCursor(edit->document()).charFormat().fontPointSize(), 12.0);
        QVERIFY(!p->docChanged());

        QWheelEvent wheel(QPointF(5, 5), edit->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(edit->viewport(), &wheel);
        QVERIFY(p->view()->zoom() > zoom);
    }

    void zoom_staysWithinLimitsAndLeavesSavedFileAlone()
    {
        OPEN_EDITOR(p);
        const QString plain = save(p, QStringLiteral("plain.rtf"));
        for (int i = 0; i < 30; ++i)
            run->trigger(p, "mnuViewZoomIn");
        QCOMPARE(p->view()->zoom(), 400);
        const QString zoomed = save(p, QStringLiteral("zoomed.rtf"));
        for (int i = 0; i < 30; ++i)
            run->trigger(p, "mnuViewZoomOut");
        QCOMPARE(p->view()->zoom(), 50);
        QFile a(plain), b(zoomed);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), b.readAll());
    }
};

QTEST_MAIN(EditorToolsTest)
#include "test_editor_tools.moc"

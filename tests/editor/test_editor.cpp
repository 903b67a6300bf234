#include "EditorFixture.h"
#include "formats/DocumentExport.h"
#include "formats/DocumentLoad.h"
#include "formats/Limits.h"
#include "formats/office/Zip.h"
#include "formats/PrintLayout.h"
#include "support/FileSizeLimit.h"

#include "formats/rtf/Rtf.h"
#include "plandoc/PlanDocument.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include <cerrno>
#include <sys/stat.h>

using namespace editortest;

class EditorTest : public EditorTestBase {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opening_showsPlainComposedDocumentAndInitialState();
    void menus_haveEveryCaptionNameAndShortcut_data();
    void menus_haveEveryCaptionNameAndShortcut();
    void menus_shareNoAccessKey();
    void layout_textFillsPageAndReturnStaysBottomRight();
    void activation_composesOnEachShowingButNotOnFocus();
    void returnToMain_showsMainAndNextOpeningComposesAfresh();




    void find_selectsFirstMatchIgnoringCase();
    void findNext_walksOverlappingMatchesThenReportsCompleted();
    void findNext_caretAtStart_skipsMatchAtFirstCharacter();
    void find_cancelled_movesCaretToStartOrReportsOnEmptyDocument();
    void find_notFound_reportsAndKeepsSelection();
    void find_countsLineEndsInComposedDocument();
    void find_worksInLongDocuments();

    void editMenu_enablesByHoldingSelectionAndClipboard();
    void cutCopyPaste_movePlainText();
    void copyWithoutSelection_emptiesClipboard_pasteFromEmptyDeletesSelection();
    void keys_ctrlXcv_areMenuCommands_ctrlA_isSaveAs();
    void keys_undoStaysWithControl();
    void keys_tabMovesOnCtrlTabTypesTab();
    void shortcuts_reachTheirCommands_data();
    void shortcuts_reachTheirCommands();

    void font_fillsDialogFromSelectionAndAppliesIt();
    void formatDialogCancelled_setsSaveAbortedAndChangesNothing_data();
    void formatDialogCancelled_setsSaveAbortedAndChangesNothing();
    void font_confirmedAsShown_changesNothing();
    void font_mixedSelection_changesOnlyWhatWasChanged();
    void color_sameAsCurrent_changesNothing();
    void color_different_appliesAndMarksChanged();
};

void EditorTest::init() { setUp(); }

void EditorTest::cleanup() { tearDown(); }

// ---------------------------------------------------------------------------- opening

void EditorTest::opening_showsPlainComposedDocumentAndInitialState()
{
    PlanRecord &plan = run->ctx->plan;
    plan.Name = QStringLiteral("Acme Widgets");
    plan.Where = QStringLiteral("Downtown\nSecond floor");
    plan.Add2 = QString();
    OPEN_EDITOR(p);
    QCOMPARE(EditorRun::wholeText(p), plandoc::composePlan(plan));
    QCOMPARE(p->textEdit()->document()->blockCount(), 127); // 126 lines and the empty end

    // No formatting of its own: every character in arial 12, plain.
    const QTextDocument *doc = p->textEdit()->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            QCOMPARE(f.font().family().toLower(), QStringLiteral("arial"));
            QCOMPARE(f.fontPointSize(), 12.0);
            QVERIFY(f.fontWeight() <= QFont::Normal);
            QVERIFY(!f.fontItalic() && !f.fontUnderline());
            QVERIFY(!f.hasProperty(QTextFormat::ForegroundBrush));
        }
    }
    QCOMPARE(p->textEdit()->textCursor().position(), 0);
    QVERIFY(QTest::qWaitForWindowActive(p));
    QCOMPARE(QApplication::focusWidget(), p->textEdit());
    QCOMPARE(p->objectName(), QStringLiteral("frmTxtEditor"));
    QCOMPARE(p->windowTitle(), QStringLiteral("Quorvane - Text Editor"));
    expectStays(p);
    FIND(bar, QMenuBar, p, "menuBar");
    QCOMPARE(p->width(), twips(6810));
    QCOMPARE(p->height(), twips(4995) + bar->sizeHint().height());
    QVERIFY(p->maximumWidth() > 2000); // sizable
    FIND(edit, QTextEdit, p, "txtEdit");
    QCOMPARE(edit, p->textEdit());

    QVERIFY(p->docChanged());
    QVERIFY(!p->saveAborted());
    QCOMPARE(p->closeMode(), QStringLiteral("N"));
    QCOMPARE(p->findString(), QString());
    QCOMPARE(p->fileName(), QString());
}

namespace {

// Every menu entry in menu order: the original ones exactly as they have always been,
// and the writing tools added beside them (marked "added").
struct MenuEntry {
    const char *menu, *name, *caption, *keys;
    bool added;
};
const MenuEntry MenuTable[] = {
    {"mnuFile", "mnuFileOpen", "&Open", "Ctrl+O", false},
    {"mnuFile", "mnuFileOpenExample", "Open &Example Plan", "", true},
    {"mnuFile", "mnuFileFormattedPlan", "New &Formatted Plan", "", true},
    {"mnuFile", "mnuFileFillSteps", "Fill Steps from &Document", "", true},
    {"mnuFile", "Hyphen1", "", "", false},
    {"mnuFile", "mnuFileSave", "&Save", "Ctrl+S", false},
    {"mnuFile", "mnuFileSaveAs", "Save &As", "Ctrl+A", false},
    {"mnuFile", "Hyphen2", "", "", false},
    {"mnuFile", "mnuFilePrint", "&Print", "Ctrl+P", false},
    {"mnuFile", "mnuFilePreview", "Print Pre&view", "", true},
    {"mnuFile", "mnuFileExport", "Expor&t...", "", true},
    {"mnuFile", "Hyphen5", "", "", true},
    {"mnuFile", "mnuFileReturn", "&Return to Main Menu", "Ctrl+R", false},
    {"mnuFile", "Hyphen3", "", "", false},
    {"mnuFile", "mnuFileExit", "E&xit", "", false},
    {"mnuEdit", "mnuEditUndo", "&Undo", "Ctrl+Z", true},
    {"mnuEdit", "mnuEditRedo", "Re&do", "Ctrl+Y, Ctrl+Shift+Z", true},
    {"mnuEdit", "HyphenUndo", "", "", true},
    {"mnuEdit", "mnuEditCut", "Cu&t", "Ctrl+X", false},
    {"mnuEdit", "mnuEditCopy", "&Copy", "Ctrl+C", false},
    {"mnuEdit", "mnuEditPaste", "&Paste", "Ctrl+V", false},
    {"mnuEdit", "mnuEditSelectAll", "Select A&ll", "", true},
    {"mnuEdit", "Hyphen4", "", "", false},
    {"mnuEdit", "mnuEditFind", "&Find", "Ctrl+F", false},
    {"mnuEdit", "mnuEditFindNext", "Find &Next", "F3", false},
    {"mnuEdit", "mnuEditFindPrevious", "Find Pre&vious", "Shift+F3", true},
    {"mnuEdit", "mnuEditReplace", "&Replace...", "Ctrl+H", true},
    {"mnuOptions", "mnuOptionsFont", "Font", "Ctrl+T", false},
    {"mnuOptions", "mnuOptionsColor", "Color", "Ctrl+L", false},
    {"mnuOptions", "HyphenFormat", "", "", true},
    {"mnuOptions", "mnuOptionsBold", "&Bold", "Ctrl+B", true},
    {"mnuOptions", "mnuOptionsItalic", "&Italic", "Ctrl+I", true},
    {"mnuOptions", "mnuOptionsUnderline", "&Underline", "Ctrl+U", true},
    {"mnuOptions", "HyphenAlign", "", "", true},
    {"mnuOptions", "mnuOptionsAlignLeft", "Align &Left", "", true},
    {"mnuOptions", "mnuOptionsCenter", "&Center", "Ctrl+E", true},
    {"mnuOptions", "mnuOptionsAlignRight", "Align &Right", "", true},
    {"mnuOptions", "mnuOptionsJustify", "&Justify", "Ctrl+J", true},
    {"mnuOptions", "HyphenSpelling", "", "", true},
    {"mnuOptions", "mnuOptionsSpelling", "Check &Spelling As You Type", "", true},
    {"mnuOptions", "mnuOptionsNextMisspelling", "Next &Misspelling", "F7", true},
    {"mnuView", "mnuViewZoomIn", "Zoom &In", "Ctrl++, Ctrl+=", true},
    {"mnuView", "mnuViewZoomOut", "Zoom &Out", "Ctrl+-", true},
    {"mnuView", "mnuViewZoomReset", "&Normal Size", "Ctrl+0", true},
    {"mnuInsert", "mnuInsertProjection", "&Financial Projection...", "", true},
    {"mnuInsert", "mnuInsertPicture", "&Picture...", "", true},
    {"mnuInsert", "mnuInsertLogo", "Cover &Logo...", "", true},
};

} // namespace

void EditorTest::menus_haveEveryCaptionNameAndShortcut_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("index");
    QHash<QString, int> next;
    for (const MenuEntry &e : MenuTable) {
        const QString menu = QString::fromLatin1(e.menu);
        QTest::newRow(e.name) << menu << QString::fromLatin1(e.name) << QString::fromLatin1(e.caption)
                              << QString::fromLatin1(e.keys) << next[menu]++;
    }
}

void EditorTest::menus_haveEveryCaptionNameAndShortcut()
{
    QFETCH(QString, menu);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, keys);
    QFETCH(int, index);
    OPEN_EDITOR(p);
    FIND(bar, QMenuBar, p, "menuBar");
    QStringList titles;
    for (QAction *a : bar->actions())
        titles << a->text();
    // The original menus first, as they were; View and Insert are added after them.
    QCOMPARE(titles, (QStringList{"&File", "&Edit", "&Options", "&View", "&Insert"}));

    auto *m = child<QMenu>(p, menu);
    QCOMPARE(m->actions().size(), int(std::count_if(std::begin(MenuTable), std::end(MenuTable),
                                                    [&](const MenuEntry &e) { return menu == QLatin1String(e.menu); })));
    QAction *a = m->actions().value(index);
    QVERIFY(a);
    QCOMPARE(a->objectName(), name);
    QCOMPARE(a->isSeparator(), name.startsWith(QLatin1String("Hyphen")));
    if (a->isSeparator())
        return;
    QCOMPARE(a->text(), caption);
    QStringList shortcuts;
    for (const QKeySequence &k : a->shortcuts())
        shortcuts << k.toString();
    QCOMPARE(shortcuts.join(QLatin1String(", ")), keys);
}

// A letter reaches one thing: in an open menu one entry, and across the window one of the
// menu bar's titles, the replace bar's labels and buttons and the bottom row.
void EditorTest::menus_shareNoAccessKey()
{
    OPEN_EDITOR(p);
    FIND(bar, QMenuBar, p, "menuBar");
    QList<QStringList> scopes{{}}; // the window, then each menu
    for (QAction *a : bar->actions()) {
        scopes[0] << a->text();
        scopes << QStringList();
        for (QAction *entry : a->menu()->actions())
            scopes.last() << entry->text();
    }
    for (QAbstractButton *b : p->findChildren<QAbstractButton *>())
        scopes[0] << b->text();
    for (QLabel *l : p->findChildren<QLabel *>())
        if (l->buddy())
            scopes[0] << l->text();
    for (const QStringList &scope : scopes) {
        QHash<QChar, QString> owner;
        for (const QString &caption : scope) {
            const QString text = QString(caption).replace(QLatin1String("&&"), QString());
            const qsizetype amp = text.indexOf(QLatin1Char('&'));
            if (amp < 0 || amp + 1 >= text.size())
                continue;
            const QChar key = text.at(amp + 1).toLower();
            QVERIFY2(!owner.contains(key), qPrintable(owner.value(key) + QLatin1String(" and ") + caption));
            owner.insert(key, caption);
        }
    }
}

void EditorTest::layout_textFillsPageAndReturnStaysBottomRight()
{
    OPEN_EDITOR(p);
    FIND(ret, QPushButton, p, "cmdReturn");
    FIND(bar, QMenuBar, p, "menuBar");
    QCOMPARE(ret->text(), QStringLiteral("&Return to Main Screen"));
    QCOMPARE(ret->toolTip(), QStringLiteral("Click here to return to the main screen."));
    QCOMPARE(ret->size(), QSize(twips(1815), twips(495)));
    QVERIFY(ret->autoDefault());
    QVERIFY(!ret->isDefault());
    QCOMPARE(tabOrder(p->textEdit(), 2), (QStringList{"txtEdit", "cmdReturn"}));

    for (const QSize size : {p->size(), QSize(900, 700), QSize(300, 200), QSize(1, 1)}) {
        p->resize(size);
        p->layout()->activate();
        const QRect page = p->rect();
        const QRect edit = p->textEdit()->geometry();
        const QRect button = ret->geometry();
        QVERIFY2(page.contains(edit) && page.contains(button), qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        QCOMPARE(edit.left(), twips(120));
        QCOMPARE(edit.top(), bar->height() + twips(120));
        QVERIFY(edit.bottom() < button.top());
        QCOMPARE(page.right() - button.right(), twips(195));
        QCOMPARE(page.bottom() - button.bottom(), twips(180));
        QCOMPARE(edit.right(), button.right());
        QCOMPARE(button.size(), QSize(twips(1815), twips(495)));
    }
}

void EditorTest::activation_composesOnEachShowingButNotOnFocus()
{
    OPEN_EDITOR(p);
    const QString doc = plandoc::composePlan(run->ctx->plan);
    QCOMPARE(EditorRun::wholeText(p), doc);

    // Focus coming back (after a dialog, another window) does not compose again.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(p, &activate);
    p->activateWindow();
    QApplication::processEvents();
    QCOMPARE(EditorRun::wholeText(p), doc);

    // The program showing it again appends another copy after what it holds.
    QTextCursor end = p->textEdit()->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral("typed"));
    run->ctx->nav.show(QString::fromLatin1(PageId::TxtEditor));
    QCOMPARE(EditorRun::wholeText(p), doc + QStringLiteral("typed") + doc);
}

void EditorTest::returnToMain_showsMainAndNextOpeningComposesAfresh()
{
    QPointer<EditorPage> p = open();
    QVERIFY(p);
    p->textEdit()->insertPlainText(QStringLiteral("typed text "));
    run->expectSaveQuestion(PromptButton::No);
    run->trigger(p, "mnuFileReturn");
    expectBackAtMain();
    QTRY_VERIFY(p.isNull()); // the page is destroyed, not hidden

    run->ctx->plan.Name = QStringLiteral("Second Try Ltd");
    EditorPage *again = open();
    QVERIFY(again);
    QCOMPARE(EditorRun::wholeText(again), plandoc::composePlan(run->ctx->plan));
    QCOMPARE(again->closeMode(), QStringLiteral("N"));
    QVERIFY(again->docChanged());
}

// ---------------------------------------------------------------------------- finding

void EditorTest::find_selectsFirstMatchIgnoringCase()
{
    OPEN_EDITOR(p);
    setText(p->textEdit(), QStringLiteral("The Business Plan\nplan two"));
    run->expectFind(QStringLiteral("plan"));
    run->trigger(p, "mnuEditFind");
    QCOMPARE(p->findString(), QStringLiteral("plan"));
    const QTextCursor c = p->textEdit()->textCursor();
    QCOMPARE(c.selectionStart(), 13);
    QCOMPARE(c.selectedText(), QStringLiteral("Plan"));

    run->trigger(p, "mnuEditFindNext");
    QCOMPARE(p->textEdit()->textCursor().selectedText(), QStringLiteral("plan"));
    QCOMPARE(p->textEdit()->textCursor().selectionStart(), 18);
}

void EditorTest::findNext_walksOverlappingMatchesThenReportsCompleted()
{
    OPEN_EDITOR(p);
    QVERIFY(QTest::qWaitForWindowActive(p));
    setText(p->textEdit(), QStringLiteral("aaaa"));
    run->expectFind(QStringLiteral("aa"));
    QTest::keyClick(p->textEdit(), Qt::Key_F, Qt::ControlModifier);
    QList<int> starts;
    starts << p->textEdit()->textCursor().selectionStart();
    QCOMPARE(p->textEdit()->textCursor().selectedText(), QStringLiteral("aa"));
    QTest::keyClick(p->textEdit(), Qt::Key_F3);
    starts << p->textEdit()->textCursor().selectionStart();
    QTest::keyClick(p->textEdit(), Qt::Key_F3);
    starts << p->textEdit()->textCursor().selectionStart();
    QCOMPARE(starts, (QList<int>{0, 1, 2}));
    QCOMPARE(p->textEdit()->textCursor().selectedText(), QStringLiteral("aa"));

    run->expectCompleted();
    QTest::keyClick(p->textEdit(), Qt::Key_F3);
    QCOMPARE(p->textEdit()->textCursor().selectionStart(), 2);
    QCOMPARE(p->textEdit()->textCursor().selectedText(), QStringLiteral("aa"));
}

void EditorTest::findNext_caretAtStart_skipsMatchAtFirstCharacter()
{
    OPEN_EDITOR(p);
    setText(p->textEdit(), QStringLiteral("abab"));
    run->expectFind(QStringLiteral("AB"));
    run->trigger(p, "mnuEditFind");
    QCOMPARE(p->textEdit()->textCursor().selectionStart(), 0);
    p->textEdit()->moveCursor(QTextCursor::Start);
    run->trigger(p, "mnuEditFindNext");
    QCOMPARE(p->textEdit()->textCursor().selectionStart(), 2);
    QCOMPARE(p->textEdit()->textCursor().selectedText(), QStringLiteral("ab"));
}

void EditorTest::find_cancelled_movesCaretToStartOrReportsOnEmptyDocument()
{
    OPEN_EDITOR(p);
    select(p->textEdit(), 10, 20);
    run->expectFind(std::nullopt);
    run->trigger(p, "mnuEditFind");
    QCOMPARE(p->findString(), QString());
    QVERIFY(!p->textEdit()->textCursor().hasSelection());
    QCOMPARE(p->textEdit()->textCursor().position(), 0);

    p->textEdit()->clear();
    run->expectFind(std::nullopt);
    run->expectNotFound();
    run->trigger(p, "mnuEditFind");
}

void EditorTest::find_notFound_reportsAndKeepsSelection()
{
    OPEN_EDITOR(p);
    select(p->textEdit(), 3, 7);
    run->expectFind(QStringLiteral("zebra"));
    run->expectNotFound();
    run->trigger(p, "mnuEditFind");
    const QTextCursor c = p->textEdit()->textCursor();
    QCOMPARE(c.selectionStart(), 3);
    QCOMPARE(c.selectionEnd(), 7);
    const Question &q = run->prompts.asked.last();
    QCOMPARE(q.buttons, QList<PromptButton>{PromptButton::Ok});
    QCOMPARE(q.icon, PromptIcon::Information);
}

void EditorTest::find_countsLineEndsInComposedDocument()
{
    run->ctx->plan.Info = QStringLiteral("Final words");
    OPEN_EDITOR(p);
    run->expectFind(QStringLiteral("final WORDS"));
    run->trigger(p, "mnuEditFind");
    QCOMPARE(p->textEdit()->textCursor().selectedText(), QStringLiteral("Final words"));

    // Every "(blank)" after the first, one by one, ending at the last line.
    run->expectFind(QStringLiteral("(blank)"));
    run->trigger(p, "mnuEditFind");
    const int total = plandoc::composePlan(run->ctx->plan).count(QStringLiteral("(blank)"));
    int found = 1;
    for (; found < total + 1; ++found) {
        const int before = p->textEdit()->textCursor().selectionStart();
        if (found == total)
            run->expectCompleted();
        run->trigger(p, "mnuEditFindNext");
        if (found == total)
            break;
        QVERIFY(p->textEdit()->textCursor().selectionStart() > before);
        QCOMPARE(p->textEdit()->textCursor().selectedText(), QStringLiteral("(blank)"));
    }
    QCOMPARE(found, total);
}

void EditorTest::find_worksInLongDocuments()
{
    OPEN_EDITOR(p);
    QString text;
    for (int i = 0; i < 4000; ++i)
        text += QStringLiteral("Line %1 of a long plan\n").arg(i);
    text += QStringLiteral("needle");
    setText(p->textEdit(), text);
    run->expectFind(QStringLiteral("NEEDLE"));
    run->trigger(p, "mnuEditFind");
    const QTextCursor c = p->textEdit()->textCursor();
    QCOMPARE(c.selectedText(), QStringLiteral("needle"));
    QVERIFY(c.selectionStart() > 65536);
    run->expectCompleted();
    run->trigger(p, "mnuEditFindNext");
}

// ---------------------------------------------------------------------------- clipboard

void EditorTest::editMenu_enablesByHoldingSelectionAndClipboard()
{
    OPEN_EDITOR(p);
    QVERIFY(QTest::qWaitForWindowActive(p));
    FIND(cut, QAction, p, "mnuEditCut");
    FIND(copy, QAction, p, "mnuEditCopy");
    FIND(paste, QAction, p, "mnuEditPaste");
    QVERIFY(cut->isEnabled() && copy->isEnabled() && paste->isEnabled());

    openEditMenu(p);
    QVERIFY(!cut->isEnabled());
    QVERIFY(!copy->isEnabled());
    QVERIFY(!paste->isEnabled());

    // The state holds until the menu opens again: the disabled keys do nothing.
    const QString text = EditorRun::wholeText(p);
    select(p->textEdit(), 0, 7);
    QTest::keyClick(p->textEdit(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(p->textEdit(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(p->textEdit(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(EditorRun::wholeText(p), text);

    openEditMenu(p);
    QVERIFY(cut->isEnabled() && copy->isEnabled() && paste->isEnabled());
    QGuiApplication::clipboard()->clear();
    p->textEdit()->moveCursor(QTextCursor::Start);
    openEditMenu(p);
    QVERIFY(!cut->isEnabled() && !copy->isEnabled() && !paste->isEnabled());
}

void EditorTest::cutCopyPaste_movePlainText()
{
    OPEN_EDITOR(p);
    setText(p->textEdit(), QStringLiteral("alpha beta\ngamma"));
    makeBold(p->textEdit(), 0, 5);

    select(p->textEdit(), 0, 13); // "alpha beta" + break + "ga"
    run->trigger(p, "mnuEditCopy");
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(mime->text(), QStringLiteral("alpha beta\nga"));
    QVERIFY(!mime->hasHtml());

    select(p->textEdit(), 6, 10);
    run->trigger(p, "mnuEditCut");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("beta"));
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("alpha \r\ngamma"));
    QVERIFY(p->docChanged());

    // Pasting rich text from elsewhere brings its text only.
    auto *rich = new QMimeData;
    rich->setHtml(QStringLiteral("<b style=\"color:red\">Loud</b>"));
    rich->setText(QStringLiteral("Loud"));
    QGuiApplication::clipboard()->setMimeData(rich);
    select(p->textEdit(), 7, 12); // "gamma"
    run->trigger(p, "mnuEditPaste");
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("alpha \r\nLoud"));
    QTextCursor at = cursorAt(p->textEdit(), 9);
    QVERIFY(at.charFormat().fontWeight() <= QFont::Normal);
    QVERIFY(!at.charFormat().hasProperty(QTextFormat::ForegroundBrush));
}

void EditorTest::copyWithoutSelection_emptiesClipboard_pasteFromEmptyDeletesSelection()
{
    OPEN_EDITOR(p);
    setText(p->textEdit(), QStringLiteral("keep drop keep"));
    QGuiApplication::clipboard()->setText(QStringLiteral("old"));
    run->trigger(p, "mnuEditCopy");
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    select(p->textEdit(), 4, 9);
    run->trigger(p, "mnuEditPaste");
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("keep keep"));
}

void EditorTest::keys_ctrlXcv_areMenuCommands_ctrlA_isSaveAs()
{
    OPEN_EDITOR(p);
    QVERIFY(QTest::qWaitForWindowActive(p));
    QTextEdit *edit = p->textEdit();
    setText(edit, QStringLiteral("one two"));
    makeBold(edit, 0, 3);

    select(edit, 0, 3);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("one"));
    QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasHtml());

    select(edit, 3, 7);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(" two"));
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("one"));

    edit->moveCursor(QTextCursor::Start);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral(" twoone"));

    // Ctrl+A is Save As here, not "select all".
    run->prompts.expectSaveFile(std::nullopt);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(!edit->textCursor().hasSelection());
    QVERIFY(p->saveAborted());
}

void EditorTest::keys_undoStaysWithControl()
{
    OPEN_EDITOR(p);
    QVERIFY(QTest::qWaitForWindowActive(p));
    const QString text = EditorRun::wholeText(p);
    QTest::keyClicks(p->textEdit(), QStringLiteral("xyz"));
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("xyz") + text);
    QTest::keyClick(p->textEdit(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(EditorRun::wholeText(p), text); // the composed text itself is not undone
    QTest::keyClick(p->textEdit(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(EditorRun::wholeText(p), text);
    QTest::keyClick(p->textEdit(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("xyz") + text);
}

void EditorTest::keys_tabMovesOnCtrlTabTypesTab()
{
    OPEN_EDITOR(p);
    QVERIFY(QTest::qWaitForWindowActive(p));
    QTextEdit *edit = p->textEdit();
    setText(edit, QStringLiteral("ab"));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("\tab"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdReturn"));
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("\tab"));
}

void EditorTest::shortcuts_reachTheirCommands_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("Ctrl+O") << QKeySequence(Qt::CTRL | Qt::Key_O) << "question";
    QTest::newRow("Ctrl+S") << QKeySequence(Qt::CTRL | Qt::Key_S) << "save";
    QTest::newRow("Ctrl+A") << QKeySequence(Qt::CTRL | Qt::Key_A) << "save";
    QTest::newRow("Ctrl+P") << QKeySequence(Qt::CTRL | Qt::Key_P) << "print";
    QTest::newRow("Ctrl+R") << QKeySequence(Qt::CTRL | Qt::Key_R) << "question";
    QTest::newRow("Ctrl+F") << QKeySequence(Qt::CTRL | Qt::Key_F) << "input";
    QTest::newRow("F3") << QKeySequence(Qt::Key_F3) << "completed";
    QTest::newRow("Ctrl+T") << QKeySequence(Qt::CTRL | Qt::Key_T) << "font";
    QTest::newRow("Ctrl+L") << QKeySequence(Qt::CTRL | Qt::Key_L) << "color";
}

void EditorTest::shortcuts_reachTheirCommands()
{
    QFETCH(QKeySequence, key);
    QFETCH(QString, prompt);
    OPEN_EDITOR(p);
    QVERIFY(QTest::qWaitForWindowActive(p));
    p->textEdit()->moveCursor(QTextCursor::End);
    if (prompt == QLatin1String("question"))
        run->expectSaveQuestion(PromptButton::Cancel);
    else if (prompt == QLatin1String("save"))
        run->prompts.expectSaveFile(std::nullopt);
    else if (prompt == QLatin1String("print"))
        run->prompts.expectPrint(false);
    else if (prompt == QLatin1String("input"))
        run->expectFind(QStringLiteral("zebra"));
    else if (prompt == QLatin1String("completed"))
        run->expectCompleted();
    else if (prompt == QLatin1String("font"))
        run->prompts.expectFont(std::nullopt);
    else if (prompt == QLatin1String("color"))
        run->prompts.expectColor(std::nullopt);
    if (prompt == QLatin1String("input"))
        run->expectNotFound();

    const QKeyCombination combo = key[0];
    QTest::keyClick(p->textEdit(), combo.key(), combo.keyboardModifiers());
    QVERIFY(run->prompts.problems().isEmpty());
    QVERIFY(p->isVisible());
}

// ---------------------------------------------------------------------------- formats

void EditorTest::font_fillsDialogFromSelectionAndAppliesIt()
{
    OPEN_EDITOR(p);
    saveAs(p, QStringLiteral("plan.rtf"));
    QTextEdit *edit = p->textEdit();
    setText(edit, QStringLiteral("plain styled plain"));
    p->textEdit()->document()->setModified(false);
    run->trigger(p, "mnuFileSave");
    QVERIFY(!p->docChanged());

    select(edit, 6, 12);
    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSizeF(16);
    chosen.setBold(true);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    run->prompts.expectFont(chosen);
    run->trigger(p, "mnuOptionsFont");

    // Arial, or the family that stands in for it on this system.
    const QFont shown = run->prompts.lastFontInitial;
    QCOMPARE(QFontInfo(shown).family(), QFontInfo(QFont(QStringLiteral("arial"))).family());
    QVERIFY(QFontDatabase::hasFamily(shown.family()));
    QCOMPARE(shown.pointSizeF(), 12.0);
    QVERIFY(!shown.bold() && !shown.italic() && !shown.underline());

    QTextCursor at = cursorAt(edit, 9);
    const QTextCharFormat f = at.charFormat();
    QCOMPARE(f.font().family(), QStringLiteral("Liberation Serif"));
    QCOMPARE(f.fontPointSize(), 16.0);
    QCOMPARE(f.fontWeight(), int(QFont::Bold));
    QVERIFY(f.fontItalic());
    QVERIFY(f.fontUnderline());
    QVERIFY(!f.fontStrikeOut());
    at.setPosition(3);
    QCOMPARE(at.charFormat().fontPointSize(), 12.0);
    QVERIFY(!at.charFormat().fontUnderline());
    at.setPosition(15);
    QCOMPARE(at.charFormat().fontPointSize(), 12.0);

    // A font change marks the document changed, so closing offers to save it.
    QVERIFY(p->docChanged());
    QVERIFY(!p->saveAborted());

    // The dialog shows the selection's font the next time.
    select(edit, 7, 10);
    run->prompts.expectFont(std::nullopt);
    run->trigger(p, "mnuOptionsFont");
    QCOMPARE(run->prompts.lastFontInitial.family(), QStringLiteral("Liberation Serif"));
    QVERIFY(run->prompts.lastFontInitial.underline());
}

void EditorTest::formatDialogCancelled_setsSaveAbortedAndChangesNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("font") << "mnuOptionsFont";
    QTest::newRow("color") << "mnuOptionsColor";
}

void EditorTest::formatDialogCancelled_setsSaveAbortedAndChangesNothing()
{
    QFETCH(QString, command);
    OPEN_EDITOR(p);
    select(p->textEdit(), 0, 5);
    if (command == QLatin1String("mnuOptionsFont"))
        run->prompts.expectFont(std::nullopt);
    else
        run->prompts.expectColor(std::nullopt);
    run->trigger(p, qPrintable(command));
    QVERIFY(p->saveAborted());
    const QTextCharFormat f = cursorAt(p->textEdit(), 3).charFormat();
    QCOMPARE(f.fontPointSize(), 12.0);
    QVERIFY(!f.hasProperty(QTextFormat::ForegroundBrush));
}

void EditorTest::font_confirmedAsShown_changesNothing()
{
    OPEN_EDITOR(p);
    saveAs(p, QStringLiteral("plan.rtf"));
    select(p->textEdit(), 0, 5);
    QFont asShown(QFontInfo(QFont(QStringLiteral("arial"))).family());
    asShown.setPointSizeF(12);
    run->prompts.expectFont(asShown);
    run->trigger(p, "mnuOptionsFont");
    QTextCursor at = cursorAt(p->textEdit(), 3);
    QCOMPARE(at.charFormat().font().family(), QStringLiteral("arial"));
    QCOMPARE(at.charFormat().fontPointSize(), 12.0);
    QVERIFY(!p->docChanged());
}

void EditorTest::font_mixedSelection_changesOnlyWhatWasChanged()
{
    OPEN_EDITOR(p);
    QTextEdit *edit = p->textEdit();
    setText(edit, QStringLiteral("bold plain"));
    makeBold(edit, 0, 4);

    select(edit, 0, 10);
    QFont chosen = edit->document()->defaultFont();
    chosen.setBold(true);
    chosen.setPointSizeF(20);
    run->prompts.expectFont(chosen);
    run->trigger(p, "mnuOptionsFont");
    QVERIFY(run->prompts.lastFontInitial.bold()); // the first selected character
    QTextCursor at = cursorAt(edit, 2);
    QCOMPARE(at.charFormat().fontPointSize(), 20.0);
    QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
    at.setPosition(8);
    QCOMPARE(at.charFormat().fontPointSize(), 20.0);
    QVERIFY(at.charFormat().fontWeight() <= QFont::Normal);
}

void EditorTest::color_sameAsCurrent_changesNothing()
{
    OPEN_EDITOR(p);
    saveAs(p, QStringLiteral("plan.rtf"));
    select(p->textEdit(), 0, 5);
    const QColor current = p->textEdit()->palette().color(QPalette::Text);
    run->prompts.expectColor(current);
    run->trigger(p, "mnuOptionsColor");
    QCOMPARE(run->prompts.lastColorInitial.rgb(), current.rgb());
    QVERIFY(!p->docChanged());
    QVERIFY(!p->saveAborted());
    QTextCursor at = cursorAt(p->textEdit(), 3);
    QVERIFY(!at.charFormat().hasProperty(QTextFormat::ForegroundBrush));
}

void EditorTest::color_different_appliesAndMarksChanged()
{
    OPEN_EDITOR(p);
    saveAs(p, QStringLiteral("plan.rtf"));
    QTextEdit *edit = p->textEdit();
    select(edit, 0, 5);
    run->prompts.expectColor(QColor(200, 0, 0));
    run->trigger(p, "mnuOptionsColor");
    QVERIFY(p->docChanged());
    QTextCursor at = cursorAt(edit, 3);
    QCOMPARE(at.charFormat().foreground().color(), QColor(200, 0, 0));
    at.setPosition(7);
    QVERIFY(!at.charFormat().hasProperty(QTextFormat::ForegroundBrush));

    // A selection only partly of the chosen colour takes it throughout.
    run->trigger(p, "mnuFileSave");
    select(edit, 0, 7);
    run->prompts.expectColor(QColor(200, 0, 0));
    run->trigger(p, "mnuOptionsColor");
    QCOMPARE(run->prompts.lastColorInitial, QColor(200, 0, 0));
    QVERIFY(p->docChanged());
    at.setPosition(7);
    QCOMPARE(at.charFormat().foreground().color(), QColor(200, 0, 0));
}

QTEST_MAIN(EditorTest)
#include "test_editor.moc"

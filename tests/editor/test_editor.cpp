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

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// The text an RTF file holds, as the editor would show it.
QString rtfText(const QString &path)
{
    QTextDocument doc;
    if (!formats::rtf::read(readAll(path), doc).ok)
        return QStringLiteral("<unreadable>");
    return text::WholeText(doc).text();
}

void select(QTextEdit *edit, int from, int to)
{
    QTextCursor c = edit->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
}

QTextCursor cursorAt(QTextEdit *edit, int pos)
{
    QTextCursor c(edit->document());
    c.setPosition(pos);
    return c;
}

void makeBold(QTextEdit *edit, int from, int to)
{
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    select(edit, from, to);
    edit->mergeCurrentCharFormat(bold);
}

void setText(QTextEdit *edit, const QString &text)
{
    edit->setPlainText(text);
    edit->moveCursor(QTextCursor::Start);
}

// Opens and closes the Edit menu, as the user does before choosing an entry.
void openEditMenu(EditorPage *p)
{
    auto *menu = p->findChild<QMenu *>(QStringLiteral("mnuEdit"));
    QVERIFY(menu);
    menu->popup(p->mapToGlobal(QPoint(0, 0)));
    menu->hide();
}

QString saveReason(const QString &path)
{
    QSaveFile probe(path);
    if (probe.open(QIODevice::WriteOnly) && probe.commit())
        return QString();
    return probe.errorString();
}

// The PDF's title as a reader shows it; empty without pdfinfo.
QString pdfTitle(const QString &path)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    if (!info.waitForFinished(60000))
        return {};
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^Title: +(.*)$"),
                                                         QRegularExpression::MultilineOption).match(out);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

QString openReason(const QString &path)
{
    QFile probe(path);
    return probe.open(QIODevice::ReadOnly) ? QString() : probe.errorString();
}

} // namespace

class EditorTest : public QObject {
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

    void close_asksAndFollowsCloseMode_data();
    void close_asksAndFollowsCloseMode();
    void close_afterAbandonedReturn_stillGoesBackToMain();
    void closeYes_cancelledSaveAs_keepsPageAndDocument();
    void closeYes_savedAs_leaves();
    void closeYes_afterCancelledFont_keepsPageOnce();
    void close_unchangedDocument_asksNothing();

    void save_newDocument_runsSaveAsAndWritesRtf();
    void saveAs_nameWithoutExtension_getsRtf_data();
    void saveAs_nameWithoutExtension_getsRtf();
    void save_namedDocument_writesBackWithoutDialog();
    void saveAs_replacesExistingFileWhole();
    void saveAs_failure_reportsAndKeepsState_data();
    void saveAs_failure_reportsAndKeepsState();
    void save_folderGoneSinceSaveAs_reportsAndCloseKeepsPage();
    void save_afterCancelledOpen_runsSaveAs();

    void open_whenChanged_asksFirst();
    void open_rtfFile_replacesDocument();
    void open_textFile_loadsItAndSavesBackAsRtf_data();
    void open_textFile_loadsItAndSavesBackAsRtf();
    void open_failure_reportsAndKeepsEverything_data();
    void open_failure_reportsAndKeepsEverything();
    void open_windowsText_loadsAsTextWithoutHarm();
    void open_wordFile_showsTextAndNamesWhatWasLeftOut();

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

    void print_withoutPrinter_writesEveryPageToPdf();
    void print_cancelled_printsNothing();
    void preview_showsEveryPageWithFooter();
    void export_writesCopyAndLeavesDocumentStateAlone_data();
    void export_writesCopyAndLeavesDocumentStateAlone();
    void export_failure_isReported();
    void export_finalNameCheckedAndFormatByExtension_data();
    void export_finalNameCheckedAndFormatByExtension();
    void fileSizeLimit_keepsOldFileAndReports_data();
    void fileSizeLimit_keepsOldFileAndReports();

private:
    EditorPage *open();
    // Saves the document as `name` in the temporary folder; returns the full path.
    QString saveAs(EditorPage *p, const QString &name);
    void expectBackAtMain();
    void expectStays(EditorPage *p);

    std::unique_ptr<EditorRun> run;
    std::unique_ptr<QTemporaryDir> dir;
};

void EditorTest::init()
{
    run = std::make_unique<EditorRun>();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QGuiApplication::clipboard()->clear();
}

void EditorTest::cleanup()
{
    VERIFY_PROMPTS(run->prompts);
    run.reset();
    dir.reset();
}

EditorPage *EditorTest::open()
{
    EditorPage *p = run->openEditor();
    if (p)
        p->activateWindow();
    return p;
}

QString EditorTest::saveAs(EditorPage *p, const QString &name)
{
    const QString path = dir->filePath(name);
    run->expectSaveAs(path);
    run->trigger(p, "mnuFileSaveAs");
    return path;
}

void EditorTest::expectBackAtMain()
{
    QVERIFY(run->visible(PageId::Main));
    QVERIFY(run->editor() == nullptr);
    QVERIFY(!run->quit);
}

void EditorTest::expectStays(EditorPage *p)
{
    QCOMPARE(run->editor(), p);
    QVERIFY(p->isVisible());
    QVERIFY(!run->visible(PageId::Main));
}

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

// With a menu open, a letter must reach exactly one entry.
void EditorTest::menus_shareNoAccessKey()
{
    OPEN_EDITOR(p);
    FIND(bar, QMenuBar, p, "menuBar");
    QList<QList<QAction *>> menus{bar->actions()};
    for (QAction *a : bar->actions())
        menus << a->menu()->actions();
    for (const QList<QAction *> &entries : menus) {
        QHash<QChar, QString> owner;
        for (QAction *a : entries) {
            const QString text = QString(a->text()).replace(QLatin1String("&&"), QString());
            const qsizetype amp = text.indexOf(QLatin1Char('&'));
            if (amp < 0 || amp + 1 >= text.size())
                continue;
            const QChar key = text.at(amp + 1).toLower();
            QVERIFY2(!owner.contains(key), qPrintable(owner.value(key) + QLatin1String(" and ") + a->text()));
            owner.insert(key, a->text());
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

// ---------------------------------------------------------------------------- closing

void EditorTest::close_asksAndFollowsCloseMode_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<PromptButton>("answer");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("Return, No") << "return" << PromptButton::No << "main";
    QTest::newRow("Return button, No") << "button" << PromptButton::No << "main";
    QTest::newRow("Exit, No") << "exit" << PromptButton::No << "end";
    QTest::newRow("close box, No") << "closebox" << PromptButton::No << "end";
    QTest::newRow("Return, Cancel") << "return" << PromptButton::Cancel << "stay";
    QTest::newRow("Exit, Cancel") << "exit" << PromptButton::Cancel << "stay";
    QTest::newRow("close box, Cancel") << "closebox" << PromptButton::Cancel << "stay";
}

void EditorTest::close_asksAndFollowsCloseMode()
{
    QFETCH(QString, how);
    QFETCH(PromptButton, answer);
    QFETCH(QString, outcome);
    OPEN_EDITOR(p);
    p->textEdit()->insertPlainText(QStringLiteral("kept "));
    const QString text = EditorRun::wholeText(p);

    run->expectSaveQuestion(answer);
    if (how == QLatin1String("return"))
        run->trigger(p, "mnuFileReturn");
    else if (how == QLatin1String("button"))
        p->findChild<QPushButton *>(QStringLiteral("cmdReturn"))->click();
    else if (how == QLatin1String("exit"))
        run->trigger(p, "mnuFileExit");
    else
        p->close();

    const Question &q = run->prompts.asked.last();
    QCOMPARE(q.text, QStringLiteral("Do you want to save the current document?"));
    QCOMPARE(q.title, QStringLiteral("Quorvane"));
    QCOMPARE(q.buttons, (QList<PromptButton>{PromptButton::Yes, PromptButton::No, PromptButton::Cancel}));
    QCOMPARE(q.defaultButton, PromptButton::Cancel);
    QCOMPARE(q.icon, PromptIcon::Exclamation);

    if (outcome == QLatin1String("main")) {
        expectBackAtMain();
    } else if (outcome == QLatin1String("end")) {
        QVERIFY(run->quit);
        QVERIFY(!run->visible(PageId::Main));
    } else {
        expectStays(p);
        QVERIFY(!run->quit);
        QCOMPARE(EditorRun::wholeText(p), text);
        QVERIFY(p->docChanged());
        QCOMPARE(p->closeMode(), how == QLatin1String("return") ? QStringLiteral("R") : QStringLiteral("N"));
    }
}

void EditorTest::close_afterAbandonedReturn_stillGoesBackToMain()
{
    OPEN_EDITOR(p);
    run->expectSaveQuestion(PromptButton::Cancel);
    run->trigger(p, "mnuFileReturn");
    QVERIFY(p->isVisible());
    run->expectSaveQuestion(PromptButton::No);
    run->trigger(p, "mnuFileExit");
    QVERIFY(run->visible(PageId::Main));
    QVERIFY(!run->quit);
}

void EditorTest::closeYes_cancelledSaveAs_keepsPageAndDocument()
{
    OPEN_EDITOR(p);
    const QString text = EditorRun::wholeText(p);
    run->expectSaveQuestion(PromptButton::Yes);
    run->prompts.expectSaveFile(std::nullopt);
    run->trigger(p, "mnuFileReturn");
    expectStays(p);
    QCOMPARE(EditorRun::wholeText(p), text);
    QVERIFY(p->saveAborted());
    QVERIFY(p->docChanged());
    QCOMPARE(p->windowTitle(), QStringLiteral("Quorvane - Text Editor"));
}

void EditorTest::closeYes_savedAs_leaves()
{
    OPEN_EDITOR(p);
    const QString path = dir->filePath(QStringLiteral("plan.rtf"));
    run->expectSaveQuestion(PromptButton::Yes);
    run->expectSaveAs(path);
    run->trigger(p, "mnuFileExit");
    QVERIFY(run->quit);
    QVERIFY(formats::rtf::looksLikeRtf(readAll(path)));
}

void EditorTest::closeYes_afterCancelledFont_keepsPageOnce()
{
    OPEN_EDITOR(p);
    const QString path = saveAs(p, QStringLiteral("plan.rtf"));
    p->textEdit()->insertPlainText(QStringLiteral("Zebra "));
    run->prompts.expectFont(std::nullopt);
    run->trigger(p, "mnuOptionsFont");
    QVERIFY(p->saveAborted());

    // Yes saves to the named file, but the earlier cancel still keeps the page open.
    run->expectSaveQuestion(PromptButton::Yes);
    run->trigger(p, "mnuFileReturn");
    QCOMPARE(run->editor(), p);
    QVERIFY(p->isVisible());
    QVERIFY(!p->docChanged());
    QVERIFY(readAll(path).contains("Zebra"));

    // Nothing is unsaved now, so the next close leaves without a question.
    run->trigger(p, "mnuFileReturn");
    QVERIFY(run->visible(PageId::Main));
    QVERIFY(run->editor() == nullptr);
}

void EditorTest::close_unchangedDocument_asksNothing()
{
    OPEN_EDITOR(p);
    saveAs(p, QStringLiteral("plan.rtf"));
    QVERIFY(!p->docChanged());
    run->trigger(p, "mnuFileExit");
    QVERIFY(run->quit);
}

// ---------------------------------------------------------------------------- saving

void EditorTest::save_newDocument_runsSaveAsAndWritesRtf()
{
    OPEN_EDITOR(p);
    const QString path = dir->filePath(QStringLiteral("plan.rtf"));
    run->expectSaveAs(path);
    run->trigger(p, "mnuFileSave");
    const FileDialogRequest &req = run->prompts.lastFileRequest;
    QCOMPARE(req.fileName, QString());
    QCOMPARE(req.filters, QStringList{QStringLiteral("Rich Text Files (*.rtf)")});
    QVERIFY(req.confirmOverwrite);

    QVERIFY(formats::rtf::looksLikeRtf(readAll(path)));
    QCOMPARE(rtfText(path), plandoc::composePlan(run->ctx->plan));
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
    QCOMPARE(p->fileName(), path);
    QVERIFY(!p->docChanged());
    QVERIFY(!p->saveAborted());
}

// A name typed without an extension gets ".rtf", and the replace question names the file
// that will be written; any extension typed is kept.
void EditorTest::saveAs_nameWithoutExtension_getsRtf_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("exists");
    QTest::newRow("no extension") << "business plan" << "business plan.rtf" << false;
    QTest::newRow("no extension, final name exists") << "business plan" << "business plan.rtf" << true;
    QTest::newRow("other extension kept") << "plan.txt" << "plan.txt" << false;
}

void EditorTest::saveAs_nameWithoutExtension_getsRtf()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(bool, exists);
    const QString path = dir->filePath(written);
    if (exists)
        QVERIFY(writeFile(path, "old"));
    OPEN_EDITOR(p);
    run->expectSaveAs(dir->filePath(typed));
    if (exists)
        run->prompts.expect(Question::yesNo(Msg::replaceQuestion(path), Msg::AppTitle, PromptButton::No), PromptButton::Yes);
    run->trigger(p, "mnuFileSaveAs");
    QVERIFY(formats::rtf::looksLikeRtf(readAll(path)));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
}

void EditorTest::save_namedDocument_writesBackWithoutDialog()
{
    OPEN_EDITOR(p);
    const QString path = saveAs(p, QStringLiteral("plan.rtf"));
    QVERIFY(!readAll(path).contains("Zebra"));
    p->textEdit()->insertPlainText(QStringLiteral("Zebra "));
    QVERIFY(p->docChanged());
    run->trigger(p, "mnuFileSave"); // no dialog
    QVERIFY(!p->docChanged());
    QVERIFY(readAll(path).contains("Zebra"));
    QCOMPARE(rtfText(path), EditorRun::wholeText(p));

    // Save As opens with the current name filled in.
    run->prompts.expectSaveFile(std::nullopt);
    run->trigger(p, "mnuFileSaveAs");
    QCOMPARE(run->prompts.lastFileRequest.fileName, path);
    QVERIFY(p->saveAborted());
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
}

void EditorTest::saveAs_replacesExistingFileWhole()
{
    const QString path = dir->filePath(QStringLiteral("old.rtf"));
    QVERIFY(writeFile(path, QByteArray(200000, 'x')));
    OPEN_EDITOR(p);
    setText(p->textEdit(), QStringLiteral("Short plan"));
    saveAs(p, QStringLiteral("old.rtf"));
    const QByteArray data = readAll(path);
    QVERIFY(formats::rtf::looksLikeRtf(data));
    QVERIFY(!data.contains("xxxx"));
    QCOMPARE(rtfText(path), QStringLiteral("Short plan"));
}

void EditorTest::saveAs_failure_reportsAndKeepsState_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("folder missing") << "missing/plan.rtf";
    QTest::newRow("name is a folder") << "folder.rtf";
}

void EditorTest::saveAs_failure_reportsAndKeepsState()
{
    QFETCH(QString, name);
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("folder.rtf")));
    OPEN_EDITOR(p);
    const QString path = dir->filePath(name);
    const QString reason = saveReason(path);
    QVERIFY(!reason.isEmpty());

    run->expectSaveAs(path);
    run->expectError(Msg::saveFailed(path, reason));
    run->trigger(p, "mnuFileSaveAs");
    QVERIFY(p->saveAborted());
    QVERIFY(p->docChanged());
    QCOMPARE(p->windowTitle(), QStringLiteral("Quorvane - Text Editor"));
    QCOMPARE(p->fileName(), QString());
    QVERIFY(QFileInfo(dir->filePath(QStringLiteral("folder.rtf"))).isDir());
    QVERIFY(!QFileInfo::exists(dir->filePath(QStringLiteral("missing"))));
    const Question &q = run->prompts.asked.last();
    QVERIFY(q.text.contains(path));
    QCOMPARE(q.title, QStringLiteral("Quorvane"));

    // Leaving then keeps the page: nothing is lost.
    run->expectSaveQuestion(PromptButton::Yes);
    run->expectSaveAs(path);
    run->expectError(Msg::saveFailed(path, reason));
    run->trigger(p, "mnuFileReturn");
    expectStays(p);
}

void EditorTest::save_folderGoneSinceSaveAs_reportsAndCloseKeepsPage()
{
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("sub")));
    OPEN_EDITOR(p);
    const QString path = saveAs(p, QStringLiteral("sub/plan.rtf"));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(QDir(dir->filePath(QStringLiteral("sub"))).removeRecursively());
    p->textEdit()->insertPlainText(QStringLiteral("more "));

    run->expectSaveQuestion(PromptButton::Yes);
    run->expectError(Msg::saveFailed(path, saveReason(path)));
    run->trigger(p, "mnuFileReturn");
    QVERIFY(p->isVisible());
    QVERIFY(p->docChanged());
    QVERIFY(p->saveAborted());
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
}

void EditorTest::save_afterCancelledOpen_runsSaveAs()
{
    OPEN_EDITOR(p);
    const QString path = saveAs(p, QStringLiteral("plan.rtf"));
    const QByteArray saved = readAll(path);
    run->prompts.expectOpenFile(std::nullopt);
    run->trigger(p, "mnuFileOpen"); // unchanged: no question; then cancelled
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
    QCOMPARE(p->fileName(), QString());

    p->textEdit()->insertPlainText(QStringLiteral("Zebra "));
    const QString other = dir->filePath(QStringLiteral("other.rtf"));
    run->expectSaveAs(other);
    run->trigger(p, "mnuFileSave");
    QCOMPARE(run->prompts.lastFileRequest.fileName, QString());
    QCOMPARE(readAll(path), saved);
    QVERIFY(readAll(other).contains("Zebra"));
    QCOMPARE(p->windowTitle(), EditorRun::caption(other));
}

// ---------------------------------------------------------------------------- opening files

void EditorTest::open_whenChanged_asksFirst()
{
    OPEN_EDITOR(p);
    const QString text = EditorRun::wholeText(p);

    run->expectSaveQuestion(PromptButton::Cancel);
    run->trigger(p, "mnuFileOpen");

    run->expectSaveQuestion(PromptButton::Yes);
    run->prompts.expectSaveFile(std::nullopt); // the Save As of Yes, cancelled: no open dialog
    run->trigger(p, "mnuFileOpen");
    QVERIFY(p->saveAborted());

    run->expectSaveQuestion(PromptButton::No);
    run->prompts.expectOpenFile(std::nullopt);
    run->trigger(p, "mnuFileOpen");
    const FileDialogRequest &req = run->prompts.lastFileRequest;
    QCOMPARE(req.fileName, QString());
    QCOMPARE(req.filters, (QStringList{"Rich Text Files (*.rtf)", "Text Files (*.txt)", "All Files (*)"}));

    QCOMPARE(EditorRun::wholeText(p), text);
    QVERIFY(p->docChanged());
    QCOMPARE(p->closeMode(), QStringLiteral("N"));
    QCOMPARE(p->windowTitle(), QStringLiteral("Quorvane - Text Editor"));
}

void EditorTest::open_rtfFile_replacesDocument()
{
    run->ctx->plan.Name = QStringLiteral("Caf\u00e9 \u201cR\u00fcckenwind\u201d & {Sons} \\ \U0001F600");
    OPEN_EDITOR(p);
    const QString composed = EditorRun::wholeText(p);
    const QString path = saveAs(p, QStringLiteral("plan.rtf"));
    setText(p->textEdit(), QStringLiteral("something else"));
    QTextCursor c = p->textEdit()->textCursor();
    c.movePosition(QTextCursor::End);
    p->textEdit()->setTextCursor(c);

    run->openFile(p, path);
    QCOMPARE(EditorRun::wholeText(p), composed);
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
    QCOMPARE(p->fileName(), path);
    QVERIFY(!p->docChanged());
    QCOMPARE(p->closeMode(), QStringLiteral("O"));
    QCOMPARE(p->textEdit()->textCursor().position(), 0);
    QVERIFY(!p->textEdit()->textCursor().hasSelection());

    // Typing afterwards marks it changed again.
    QTest::keyClicks(p->textEdit(), QStringLiteral("x"));
    QVERIFY(p->docChanged());
}

void EditorTest::open_textFile_loadsItAndSavesBackAsRtf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("utf-8, mixed line ends") << QByteArray("Line one\r\nLine two \xe2\x80\x93 caf\xc3\xa9\nLast {x}\\y\n")
                                            << QStringLiteral("Line one\r\nLine two \u2013 caf\u00e9\r\nLast {x}\\y\r\n");
    QTest::newRow("windows-1252") << QByteArray("Caf\xe9 \x93quoted\x94 \x80" "5")
                                  << QStringLiteral("Caf\u00e9 \u201cquoted\u201d \u20ac5");
}

void EditorTest::open_textFile_loadsItAndSavesBackAsRtf()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString path = dir->filePath(QStringLiteral("notes.txt"));
    QVERIFY(writeFile(path, bytes));
    OPEN_EDITOR(p);
    run->openFile(p, path);
    QCOMPARE(EditorRun::wholeText(p), expected);
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
    const QTextCharFormat f = p->textEdit()->document()->begin().begin().fragment().charFormat();
    QCOMPARE(f.font().family().toLower(), QStringLiteral("arial"));
    QCOMPARE(f.fontPointSize(), 12.0);

    // Save never writes RTF over the text file: it offers the same name ending in .rtf,
    // and what it writes opens again as it was.
    p->textEdit()->insertPlainText(QStringLiteral("New "));
    const QString rtfPath = dir->filePath(QStringLiteral("notes.rtf"));
    run->expectSaveAs(rtfPath);
    run->trigger(p, "mnuFileSave");
    QCOMPARE(run->prompts.lastFileRequest.fileName, rtfPath);
    QCOMPARE(readAll(path), bytes);
    QCOMPARE(rtfText(rtfPath), QStringLiteral("New ") + expected);
    run->trigger(p, "mnuFileSave"); // now an RTF file: written back without a dialog
    run->openFile(p, rtfPath, std::nullopt);
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("New ") + expected);
}

void EditorTest::open_failure_reportsAndKeepsEverything_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << "gone.rtf";
    QTest::newRow("folder") << "folder";
    QTest::newRow("too large") << "huge.rtf";
    QTest::newRow("fifo") << "fifo.rtf";
    QTest::newRow("link to a device") << "zero.rtf";
    QTest::newRow("too many lines of text") << "lines.txt";
    QTest::newRow("a PDF, refused") << "report.pdf";
    QTest::newRow("binary bytes, refused") << "data.bin";
}

// Each is refused before anything is read: a FIFO without a writer must not block, a
// device must not be read until memory runs out.
void EditorTest::open_failure_reportsAndKeepsEverything()
{
    QFETCH(QString, name);
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("folder")));
    OPEN_EDITOR(p);
    const QString saved = saveAs(p, QStringLiteral("plan.rtf"));
    p->textEdit()->insertPlainText(QStringLiteral("unsaved "));
    const QString text = EditorRun::wholeText(p);
    const QString path = dir->filePath(name);
    QString reason = openReason(path);
    const QString notRegular =
        QStringLiteral("It is not a regular file (it is a pipe, a device or a socket), so it cannot be opened.");
    if (name == QLatin1String("huge.rtf")) {
        QFile huge(path); // sparse: costs no disk space
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(1) << 30));
        reason = formats::fileTooLarge();
    } else if (name == QLatin1String("folder")) {
        reason = QStringLiteral("It is a folder, not a file.");
    } else if (name == QLatin1String("fifo.rtf")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        reason = notRegular;
    } else if (name == QLatin1String("zero.rtf")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        reason = notRegular;
    } else if (name == QLatin1String("lines.txt")) {
        QVERIFY(writeFile(path, QByteArray(formats::MaxParagraphs, '\n')));
        reason = formats::tooManyParagraphs();
    }
    QVERIFY(!reason.isEmpty());
    QString message = Msg::openFailed(path, reason);
    if (name == QLatin1String("report.pdf")) {
        QVERIFY(writeFile(path, "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n"));
        message = formats::notADocument(name, QStringLiteral("a PDF file"));
    } else if (name == QLatin1String("data.bin")) {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes += char((i * 37) % 256);
        QVERIFY(writeFile(path, bytes));
        message = formats::notADocument(name, QStringLiteral("a binary file, not text"));
    }

    run->expectSaveQuestion(PromptButton::No);
    run->expectOpen(path);
    run->expectError(message);
    run->trigger(p, "mnuFileOpen");
    QCOMPARE(EditorRun::wholeText(p), text);
    QCOMPARE(p->windowTitle(), EditorRun::caption(saved));
    QVERIFY(p->docChanged());
    QCOMPARE(p->closeMode(), QStringLiteral("N"));
    QCOMPARE(p->fileName(), saved);

    // Save still goes to the document's own file.
    run->trigger(p, "mnuFileSave");
    QVERIFY(readAll(saved).contains("unsaved"));
}

void EditorTest::open_windowsText_loadsAsTextWithoutHarm()
{
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += char(0xA0 + (i * 37) % 0x60);
    bytes += "\x80\r\n";
    const QString path = dir->filePath(QStringLiteral("data.bin"));
    QVERIFY(writeFile(path, bytes));
    OPEN_EDITOR(p);
    run->openFile(p, path);
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
    QVERIFY(EditorRun::wholeText(p).contains(QStringLiteral("\u20ac")));

    // Saved, it is RTF beside it that opens again; the file itself is left alone.
    p->textEdit()->insertPlainText(QStringLiteral("x"));
    const QString rtfPath = dir->filePath(QStringLiteral("data.rtf"));
    run->expectSaveAs(rtfPath);
    run->trigger(p, "mnuFileSave");
    QCOMPARE(readAll(path), bytes);
    run->openFile(p, rtfPath, std::nullopt);
    QVERIFY(EditorRun::wholeText(p).startsWith(QLatin1Char('x')));
}

// A Word file under any name is read as Word; what it holds that the page cannot show is
// named once, and Save does not write RTF over it.
void EditorTest::open_wordFile_showsTextAndNamesWhatWasLeftOut()
{
    const QByteArray xml = "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
                           "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:rPr><w:b/></w:rPr><w:t>Our plan</w:t>"
                           "</w:r><w:r><w:drawing/></w:r><w:r><w:commentReference/></w:r></w:p></w:body></w:document>";
    const QByteArray bytes = formats::office::zip::write({{QStringLiteral("word/document.xml"), xml}});
    const QString path = dir->filePath(QStringLiteral("plan.doc"));
    QVERIFY(writeFile(path, bytes));
    OPEN_EDITOR(p);
    run->expectSaveQuestion(PromptButton::No);
    run->expectOpen(path);
    run->prompts.expectNotice(Msg::leftOut(QStringLiteral("plan.doc"), QStringLiteral("pictures and comments")),
                              Msg::AppTitle);
    run->trigger(p, "mnuFileOpen");
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("Our plan"));
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
    const QTextBlock first = p->textEdit()->document()->begin();
    QCOMPARE(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(first.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));

    p->textEdit()->insertPlainText(QStringLiteral("x"));
    run->expectSaveAs(dir->filePath(QStringLiteral("plan.rtf")));
    run->trigger(p, "mnuFileSave");
    QCOMPARE(readAll(path), bytes);
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

// ---------------------------------------------------------------------------- printing

void EditorTest::print_withoutPrinter_writesEveryPageToPdf()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this system has a printer; printing to it is not tested");
    OPEN_EDITOR(p);
    const QString path = saveAs(p, QStringLiteral("plan.rtf"));
    run->prompts.expectPrint(true);
    run->trigger(p, "mnuFilePrint");
    QVERIFY(run->prompts.lastPrintToFileAllowed);
    // Beside the document, named after it; the PDF's title is the document's name.
    QCOMPARE(run->prompts.lastPrinterFile, dir->filePath(QStringLiteral("plan.pdf")));
    QCOMPARE(run->prompts.lastPrinterDocName, QStringLiteral("plan.rtf"));
    if (!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QCOMPARE(pdfTitle(dir->filePath(QStringLiteral("plan.pdf"))), QStringLiteral("plan.rtf"));
    const QByteArray pdf = readAll(dir->filePath(QStringLiteral("plan.pdf")));
    QVERIFY(pdf.startsWith("%PDF"));
    // 126 lines of 12 points take three pages; a window image would be one.
    const qsizetype pages = pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page>");
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    QVERIFY(!p->saveAborted());
    QVERIFY(QFileInfo::exists(path));
}

void EditorTest::print_cancelled_printsNothing()
{
    OPEN_EDITOR(p);
    saveAs(p, QStringLiteral("plan.rtf"));
    run->prompts.expectPrint(false);
    run->trigger(p, "mnuFilePrint");
    QVERIFY(!QFileInfo::exists(dir->filePath(QStringLiteral("plan.pdf"))));
    QVERIFY(!p->saveAborted());
}

void EditorTest::preview_showsEveryPageWithFooter()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    OPEN_EDITOR(p);
    const QString pdf = dir->filePath(QStringLiteral("preview.pdf"));
    run->prompts.expectPrintPreview(pdf);
    run->trigger(p, "mnuFilePreview");
    // Without a printer the preview's Print writes a PDF where Print would.
    if (QPrinterInfo::availablePrinters().isEmpty())
        QCOMPARE(run->prompts.lastPrinterFile, formats::printlayout::defaultPdfPath(QString()));
    QCOMPARE(run->prompts.lastPrinterDocName, QStringLiteral("Business Plan"));
    QCOMPARE(pdfTitle(pdf), QStringLiteral("Business Plan"));

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(60000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const int pages = int(text.count(QChar(u'\f')));
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    for (int i = 1; i <= pages; ++i)
        QVERIFY(text.contains(QStringLiteral("Page %1 of %2").arg(i).arg(pages)));
    QCOMPARE(int(text.count(QStringLiteral("Business Plan"))), pages); // no file yet
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("Other:\\s+\\(blank\\)"))));
    QVERIFY(p->docChanged());
}

void EditorTest::export_writesCopyAndLeavesDocumentStateAlone_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("starts");
    QTest::newRow("pdf, extension added") << "PDF Files (*.pdf)" << "copy" << "copy.pdf" << QByteArray("%PDF");
    QTest::newRow("odt") << "OpenDocument Text (*.odt)" << "copy.odt" << "copy.odt" << QByteArray("PK");
    QTest::newRow("docx typed under the PDF filter") << "PDF Files (*.pdf)" << "copy.DOCX" << "copy.DOCX" << QByteArray("PK");
    QTest::newRow("html") << "Web Pages (*.html)" << "copy" << "copy.html" << QByteArray("<!DOCTYPE");
    QTest::newRow("markdown") << "Markdown Files (*.md)" << "copy" << "copy.md" << QByteArray("Our business");
    QTest::newRow("text, own extension kept") << "Text Files (*.txt)" << "copy.plan" << "copy.plan"
                                              << QByteArray("(blank)");
}

void EditorTest::export_writesCopyAndLeavesDocumentStateAlone()
{
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, starts);
    OPEN_EDITOR(p);
    const QString saved = saveAs(p, QStringLiteral("plan.rtf"));
    p->textEdit()->append(QStringLiteral("unsaved line"));
    const QString caption = p->windowTitle();

    run->prompts.expectSaveFile(FileDialogResult{dir->filePath(typed), filter});
    run->trigger(p, "mnuFileExport");
    const FileDialogRequest &req = run->prompts.lastFileRequest;
    QCOMPARE(req.title, QStringLiteral("Export"));
    QCOMPARE(req.filters, formats::exports::filters());
    QCOMPARE(req.suffixes, formats::exports::suffixes());
    QCOMPARE(req.fileName, dir->filePath(QStringLiteral("plan")));
    const QByteArray bytes = readAll(dir->filePath(written));
    QVERIFY2(bytes.trimmed().startsWith(starts) || bytes.contains(starts), bytes.left(40).constData());
    QCOMPARE(p->windowTitle(), caption);
    QCOMPARE(p->fileName(), saved);
    QVERIFY(p->docChanged());
    if (filter.startsWith(QLatin1String("Text")))
        QVERIFY(bytes.contains("unsaved line"));
}

void EditorTest::export_failure_isReported()
{
    OPEN_EDITOR(p);
    const QString target = dir->filePath(QStringLiteral("missing/copy.txt"));
    run->prompts.expectSaveFile(FileDialogResult{target, QStringLiteral("Text Files (*.txt)")});
    run->expectError(Msg::saveFailed(QDir::toNativeSeparators(target), QStringLiteral("No such file or directory")));
    run->trigger(p, "mnuFileExport");
    QCOMPARE(p->windowTitle(), EditorPage::initialCaption());
    QVERIFY(!p->saveAborted());

    // A cancelled dialog ends the command silently.
    run->prompts.expectSaveFile(std::nullopt);
    run->trigger(p, "mnuFileExport");
}

void EditorTest::export_finalNameCheckedAndFormatByExtension_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("starts");
    QTest::addColumn<int>("replace"); // the answer to the question about an existing file; -1: none asked
    const QString pdf = QStringLiteral("PDF Files (*.pdf)");
    const int none = -1, no = int(PromptButton::No), yes = int(PromptButton::Yes);
    QTest::newRow("extension added, existing: No asks again") << pdf << "plan" << "plan.pdf" << QByteArray() << no;
    QTest::newRow("extension added, existing: Yes replaces") << pdf << "plan" << "plan.pdf" << QByteArray("%PDF") << yes;
    QTest::newRow("typed .txt with the PDF filter") << pdf << "report.txt" << "report.txt" << QByteArray("(blank)") << none;
    QTest::newRow("typed .HTM with the PDF filter") << pdf << "report.HTM" << "report.HTM" << QByteArray("<!DOCTYPE")
                                                    << none;
    QTest::newRow("typed .md with the text filter") << "Text Files (*.txt)" << "report.md" << "report.md"
                                                    << QByteArray("Our business") << none;
    QTest::newRow("typed .pdf, existing: the dialog asked") << "Web Pages (*.html)" << "plan.pdf" << "plan.pdf"
                                                            << QByteArray("%PDF") << none;
}

void EditorTest::export_finalNameCheckedAndFormatByExtension()
{
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, starts);
    QFETCH(int, replace);
    const QByteArray old("the last good copy");
    QVERIFY(writeFile(dir->filePath(QStringLiteral("plan.pdf")), old));
    OPEN_EDITOR(p);
    const QString target = dir->filePath(written);

    run->prompts.expectSaveFile(FileDialogResult{dir->filePath(typed), filter});
    if (replace >= 0) {
        run->prompts.expectYesNo(Msg::replaceQuestion(target), replace == int(PromptButton::Yes));
        // No: the dialog comes back with the final name, and is cancelled here.
        if (replace == int(PromptButton::No))
            run->prompts.expectSaveFile(std::nullopt);
    }
    run->trigger(p, "mnuFileExport");
    const QByteArray bytes = readAll(target);
    if (starts.isEmpty()) {
        QCOMPARE(bytes, old);
        QCOMPARE(run->prompts.lastFileRequest.fileName, target);
        QCOMPARE(run->prompts.lastFileRequest.selectedFilter, filter);
    } else {
        QVERIFY2(bytes.startsWith(starts) || bytes.contains(starts), bytes.left(40).constData());
    }
    if (written != QLatin1String("plan.pdf"))
        QCOMPARE(readAll(dir->filePath(QStringLiteral("plan.pdf"))), old);
}

void EditorTest::fileSizeLimit_keepsOldFileAndReports_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("filter"); // for Export
    QTest::addColumn<QString>("name");
    QTest::newRow("save") << "mnuFileSave" << "" << "plan.rtf";
    for (const QString &f : formats::exports::filters()) {
        const QString ext = formats::exports::suffixes().at(formats::exports::filters().indexOf(f));
        QTest::newRow(qPrintable(QStringLiteral("export ") + ext)) << "mnuFileExport" << f << "copy." + ext;
    }
    QTest::newRow("print to file") << "mnuFilePrint" << "" << "plan.pdf";
}

void EditorTest::fileSizeLimit_keepsOldFileAndReports()
{
    // A full disk without root rights: the process may write no file beyond 2 KB.
    QFETCH(QString, command);
    QFETCH(QString, filter);
    QFETCH(QString, name);
    const bool print = command == QLatin1String("mnuFilePrint");
    if (print && !QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this system has a printer; printing into a file is offered without one");
    OPEN_EDITOR(p);
    const QString saved = saveAs(p, QStringLiteral("plan.rtf"));
    const QString path = dir->filePath(name);
    if (path != saved)
        QVERIFY(writeFile(path, QByteArray("the last good copy\n")));
    const QByteArray old = readAll(path);
    const QStringList files = QDir(dir->path()).entryList(QDir::Files | QDir::Hidden);
    // Text that packs badly, so every format, ODT's zip included, passes the limit.
    QString numbers;
    for (int i = 0; i < 3000; ++i)
        numbers += QString::number(i * 7919 % 100003) + QLatin1Char(' ');
    p->textEdit()->insertPlainText(numbers);
    const auto expectDialog = [&] {
        if (command == QLatin1String("mnuFileExport"))
            run->prompts.expectSaveFile(FileDialogResult{path, filter});
        if (print)
            run->prompts.expectPrint(true);
    };

    expectDialog();
    // The printout is written whole to a temporary file first, which the limit cuts.
    run->expectError(Msg::saveFailed(path, print ? QStringLiteral("The pages could not be written in full.")
                                                 : qt_error_string(EFBIG)));
    {
        const FileSizeLimit cap(2048);
        QVERIFY(cap.active());
        run->trigger(p, qPrintable(command));
    }
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), files);
    QVERIFY(p->docChanged());
    QCOMPARE(p->saveAborted(), command == QLatin1String("mnuFileSave"));
    QCOMPARE(p->windowTitle(), EditorRun::caption(saved));

    // Once there is room again the same command succeeds.
    expectDialog();
    run->trigger(p, qPrintable(command));
    QVERIFY(readAll(path) != old);
    QCOMPARE(p->docChanged(), command != QLatin1String("mnuFileSave"));
}

QTEST_MAIN(EditorTest)
#include "test_editor.moc"

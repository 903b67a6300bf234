// The document's file life on the editor page: the close question, Save and Save As,
// Open, Print, the preview and Export.

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

class EditorFileTest : public EditorTestBase {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void close_asksAndFollowsCloseMode_data();
    void close_asksAndFollowsCloseMode();
    void close_afterAbandonedReturn_stillGoesBackToMain();
    void closeYes_cancelledSaveAs_keepsPageAndDocument();
    void closeYes_savedAs_leaves();
    void closeYes_afterCancelledFont_keepsPageOnce();
    void close_unchangedDocument_asksNothing();
    void save_newDocument_runsSaveAsAndWritesRtf();
    void saveAndExport_nameTheFileOnTheBottomRow();
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
};

void EditorFileTest::init() { setUp(); }

void EditorFileTest::cleanup() { tearDown(); }

// ---------------------------------------------------------------------------- closing

void EditorFileTest::close_asksAndFollowsCloseMode_data()
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

void EditorFileTest::close_asksAndFollowsCloseMode()
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

void EditorFileTest::close_afterAbandonedReturn_stillGoesBackToMain()
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

void EditorFileTest::closeYes_cancelledSaveAs_keepsPageAndDocument()
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

void EditorFileTest::closeYes_savedAs_leaves()
{
    OPEN_EDITOR(p);
    const QString path = dir->filePath(QStringLiteral("plan.rtf"));
    run->expectSaveQuestion(PromptButton::Yes);
    run->expectSaveAs(path);
    run->trigger(p, "mnuFileExit");
    QVERIFY(run->quit);
    QVERIFY(formats::rtf::looksLikeRtf(readAll(path)));
}

void EditorFileTest::closeYes_afterCancelledFont_keepsPageOnce()
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

void EditorFileTest::close_unchangedDocument_asksNothing()
{
    OPEN_EDITOR(p);
    saveAs(p, QStringLiteral("plan.rtf"));
    QVERIFY(!p->docChanged());
    run->trigger(p, "mnuFileExit");
    QVERIFY(run->quit);
}

// ---------------------------------------------------------------------------- saving

void EditorFileTest::save_newDocument_runsSaveAsAndWritesRtf()
{
    OPEN_EDITOR(p);
    const QString path = dir->filePath(QStringLiteral("plan.rtf"));
    run->expectSaveAs(path);
    run->trigger(p, "mnuFileSave");
    const FileDialogRequest &req = run->prompts.lastFileRequest;
    QCOMPARE(QFileInfo(req.fileName).fileName(), QStringLiteral("Business Plan.rtf")); // an empty record's plan
    QCOMPARE(req.filters, QStringList{QStringLiteral("Rich Text Files (*.rtf)")});
    QVERIFY(req.confirmOverwrite);

    QVERIFY(formats::rtf::looksLikeRtf(readAll(path)));
    QCOMPARE(rtfText(path), plandoc::composePlan(run->ctx->plan));
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
    QCOMPARE(p->fileName(), path);
    QVERIFY(!p->docChanged());
    QVERIFY(!p->saveAborted());
}

void EditorFileTest::saveAndExport_nameTheFileOnTheBottomRow()
{
    OPEN_EDITOR(p);
    p->resize(twips(12000), p->height()); // room for the whole notice
    saveAs(p, QStringLiteral("plan.rtf"));
    QCOMPARE(child<QLabel>(p, "lblFileNotice")->text(), QStringLiteral("Saved as plan.rtf"));
    run->prompts.expectSaveFile(FileDialogResult{dir->filePath(QStringLiteral("copy")), QStringLiteral("Web Pages (*.html)")});
    run->trigger(p, "mnuFileExport");
    QCOMPARE(child<QLabel>(p, "lblFileNotice")->text(), QStringLiteral("Exported as copy.html"));
}

// A name typed without an extension gets ".rtf", and the replace question names the file
// that will be written; any extension typed is kept.
void EditorFileTest::saveAs_nameWithoutExtension_getsRtf_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("exists");
    QTest::newRow("no extension") << "business plan" << "business plan.rtf" << false;
    QTest::newRow("no extension, final name exists") << "business plan" << "business plan.rtf" << true;
    QTest::newRow("other extension kept") << "plan.txt" << "plan.txt" << false;
}

void EditorFileTest::saveAs_nameWithoutExtension_getsRtf()
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

void EditorFileTest::save_namedDocument_writesBackWithoutDialog()
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

void EditorFileTest::saveAs_replacesExistingFileWhole()
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

void EditorFileTest::saveAs_failure_reportsAndKeepsState_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("folder missing") << "missing/plan.rtf";
    QTest::newRow("name is a folder") << "folder.rtf";
}

void EditorFileTest::saveAs_failure_reportsAndKeepsState()
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

void EditorFileTest::save_folderGoneSinceSaveAs_reportsAndCloseKeepsPage()
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

void EditorFileTest::save_afterCancelledOpen_runsSaveAs()
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
    QCOMPARE(QFileInfo(run->prompts.lastFileRequest.fileName).fileName(), QStringLiteral("Business Plan.rtf"));
    QCOMPARE(readAll(path), saved);
    QVERIFY(readAll(other).contains("Zebra"));
    QCOMPARE(p->windowTitle(), EditorRun::caption(other));
}

// ---------------------------------------------------------------------------- opening files

void EditorFileTest::open_whenChanged_asksFirst()
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

void EditorFileTest::open_rtfFile_replacesDocument()
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

void EditorFileTest::open_textFile_loadsItAndSavesBackAsRtf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("utf-8, mixed line ends") << QByteArray("Line one\r\nLine two \xe2\x80\x93 caf\xc3\xa9\nLast {x}\\y\n")
                                            << QStringLiteral("Line one\r\nLine two \u2013 caf\u00e9\r\nLast {x}\\y\r\n");
    QTest::newRow("windows-1252") << QByteArray("Caf\xe9 \x93quoted\x94 \x80" "5")
                                  << QStringLiteral("Caf\u00e9 \u201cquoted\u201d \u20ac5");
}

void EditorFileTest::open_textFile_loadsItAndSavesBackAsRtf()
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

void EditorFileTest::open_failure_reportsAndKeepsEverything_data()
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
void EditorFileTest::open_failure_reportsAndKeepsEverything()
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

void EditorFileTest::open_windowsText_loadsAsTextWithoutHarm()
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
void EditorFileTest::open_wordFile_showsTextAndNamesWhatWasLeftOut()
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
    run->prompts.expectNotice(Msg::leftOut(QStringLiteral("plan.doc"), QStringLiteral("comments")), Msg::AppTitle);
    run->trigger(p, "mnuFileOpen");
    QCOMPARE(EditorRun::wholeText(p), QStringLiteral("Our plan\uFFFC")); // the drawing as a placeholder
    QCOMPARE(p->windowTitle(), EditorRun::caption(path));
    const QTextBlock first = p->textEdit()->document()->begin();
    QCOMPARE(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(first.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));

    p->textEdit()->insertPlainText(QStringLiteral("x"));
    run->expectSaveAs(dir->filePath(QStringLiteral("plan.rtf")));
    run->trigger(p, "mnuFileSave");
    QCOMPARE(readAll(path), bytes);
}

// ---------------------------------------------------------------------------- printing

void EditorFileTest::print_withoutPrinter_writesEveryPageToPdf()
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

void EditorFileTest::print_cancelled_printsNothing()
{
    OPEN_EDITOR(p);
    saveAs(p, QStringLiteral("plan.rtf"));
    run->prompts.expectPrint(false);
    run->trigger(p, "mnuFilePrint");
    QVERIFY(!QFileInfo::exists(dir->filePath(QStringLiteral("plan.pdf"))));
    QVERIFY(!p->saveAborted());
}

void EditorFileTest::preview_showsEveryPageWithFooter()
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

void EditorFileTest::export_writesCopyAndLeavesDocumentStateAlone_data()
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

void EditorFileTest::export_writesCopyAndLeavesDocumentStateAlone()
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

void EditorFileTest::export_failure_isReported()
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

void EditorFileTest::export_finalNameCheckedAndFormatByExtension_data()
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

void EditorFileTest::export_finalNameCheckedAndFormatByExtension()
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

void EditorFileTest::fileSizeLimit_keepsOldFileAndReports_data()
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

void EditorFileTest::fileSizeLimit_keepsOldFileAndReports()
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

QTEST_MAIN(EditorFileTest)
#include "test_editor_file.moc"

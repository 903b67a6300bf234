#pragma once

// What the editor tests share: a program run over scripted prompts with the main page
// shown, and small helpers to reach the editor page and its commands.

#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "editor/EditorPage.h"
#include "support/TestSupport.h"
#include "text/WholeText.h"

#include "formats/rtf/Rtf.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

struct EditorRun : TestRun {
    EditorRun()
    {
        startProgram(*ctx);
        ctx->nav.switchPage(page(PageId::Splash), QString::fromLatin1(PageId::Main));
    }

    // Opens the editor as the user does: the main page's "Edit Text" entry.
    EditorPage *openEditor()
    {
        auto *entry = page(PageId::Main)->findChild<QPushButton *>(QStringLiteral("cmdEditText"));
        if (!entry)
            return nullptr;
        entry->click();
        return editor();
    }
    EditorPage *editor() const { return qobject_cast<EditorPage *>(page(PageId::TxtEditor)); }

    static QString wholeText(EditorPage *p) { return text::WholeText(*p->textEdit()->document()).text(); }

    void trigger(EditorPage *p, const char *action)
    {
        auto *a = p->findChild<QAction *>(QString::fromLatin1(action));
        QVERIFY2(a, action);
        a->trigger();
    }

    void expectSaveQuestion(PromptButton answer)
    {
        prompts.expect(Question::yesNoCancel(Msg::SaveDocumentQuestion, Msg::AppTitle), answer);
    }
    void expectSaveAs(const QString &path)
    {
        prompts.expectSaveFile(FileDialogResult{path, QStringLiteral("Rich Text Files (*.rtf)")});
    }
    void expectOpen(const QString &path)
    {
        prompts.expectOpenFile(FileDialogResult{path, QStringLiteral("All Files (*)")});
    }
    void expectError(const QString &text) { prompts.expect(Question::error(text, Msg::AppTitle), PromptButton::Ok); }
    void expectFind(std::optional<QString> answer)
    {
        prompts.expectInput(QStringLiteral("Find what?"), QStringLiteral("Find"), std::move(answer));
    }
    void expectNotFound() { prompts.expectNotice(QStringLiteral("The search string was not found."), QStringLiteral("Find")); }
    void expectCompleted()
    {
        prompts.expectNotice(QStringLiteral("The search has been completed."), QStringLiteral("Find Next"));
    }
    // Opens `path` through File > Open; `question` answers the save question when one is due.
    void openFile(EditorPage *p, const QString &path, std::optional<PromptButton> question = PromptButton::No)
    {
        if (question)
            expectSaveQuestion(*question);
        expectOpen(path);
        trigger(p, "mnuFileOpen");
    }
    static QString caption(const QString &path) { return path + QStringLiteral(" - Text Editor"); }
};

// Opens the editor into `var` from a test slot that has open().
#define OPEN_EDITOR(var)                                                                               \
    EditorPage *var = open();                                                                          \
    QVERIFY(var)

// Small helpers of the editor tests.
namespace editortest {

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// The text an RTF file holds, as the editor would show it.
inline QString rtfText(const QString &path)
{
    QTextDocument doc;
    if (!formats::rtf::read(readAll(path), doc).ok)
        return QStringLiteral("<unreadable>");
    return text::WholeText(doc).text();
}

inline void select(QTextEdit *edit, int from, int to)
{
    QTextCursor c = edit->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
}

inline QTextCursor cursorAt(QTextEdit *edit, int pos)
{
    QTextCursor c(edit->document());
    c.setPosition(pos);
    return c;
}

inline void makeBold(QTextEdit *edit, int from, int to)
{
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    select(edit, from, to);
    edit->mergeCurrentCharFormat(bold);
}

inline void setText(QTextEdit *edit, const QString &text)
{
    edit->setPlainText(text);
    edit->moveCursor(QTextCursor::Start);
}

// Opens and closes the Edit menu, as the user does before choosing an entry.
inline void openEditMenu(EditorPage *p)
{
    auto *menu = p->findChild<QMenu *>(QStringLiteral("mnuEdit"));
    QVERIFY(menu);
    menu->popup(p->mapToGlobal(QPoint(0, 0)));
    menu->hide();
}

inline QString saveReason(const QString &path)
{
    QSaveFile probe(path);
    if (probe.open(QIODevice::WriteOnly) && probe.commit())
        return QString();
    return probe.errorString();
}

// The PDF's title as a reader shows it; empty without pdfinfo.
inline QString pdfTitle(const QString &path)
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

inline QString openReason(const QString &path)
{
    QFile probe(path);
    return probe.open(QIODevice::ReadOnly) ? QString() : probe.errorString();
}

} // namespace editortest

// A test class over the editor page: a fresh run and temporary folder for each test.
class EditorTestBase : public QObject {
protected:
    void setUp();
    void tearDown();
    EditorPage *open();
    // Saves the document as `name` in the temporary folder; returns the full path.
    QString saveAs(EditorPage *p, const QString &name);
    void expectBackAtMain();
    void expectStays(EditorPage *p);

    std::unique_ptr<EditorRun> run;
    std::unique_ptr<QTemporaryDir> dir;
};

inline void EditorTestBase::setUp()
{
    run = std::make_unique<EditorRun>();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QGuiApplication::clipboard()->clear();
}

inline void EditorTestBase::tearDown()
{
    VERIFY_PROMPTS(run->prompts);
    run.reset();
    dir.reset();
}

inline EditorPage *EditorTestBase::open()
{
    EditorPage *p = run->openEditor();
    if (p)
        p->activateWindow();
    return p;
}

inline QString EditorTestBase::saveAs(EditorPage *p, const QString &name)
{
    const QString path = dir->filePath(name);
    run->expectSaveAs(path);
    run->trigger(p, "mnuFileSaveAs");
    return path;
}

inline void EditorTestBase::expectBackAtMain()
{
    QVERIFY(run->visible(PageId::Main));
    QVERIFY(run->editor() == nullptr);
    QVERIFY(!run->quit);
}

inline void EditorTestBase::expectStays(EditorPage *p)
{
    QCOMPARE(run->editor(), p);
    QVERIFY(p->isVisible());
    QVERIFY(!run->visible(PageId::Main));
}

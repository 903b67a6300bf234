#pragma once

// What the editor tests share: a program run over scripted prompts with the main page
// shown, and small helpers to reach the editor page and its commands.

#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "editor/EditorPage.h"
#include "support/TestSupport.h"
#include "text/WholeText.h"

#include <QAction>
#include <QPushButton>
#include <QTextEdit>

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

#pragma once

// Prompts for measuring the editor page: every question answered with No, the open dialog
// with the file under test and the find box with the text to look for; shows nothing.

#include "app/Prompts.h"

class QuietPrompts : public Prompts {
public:
    QString file, findWhat;
    QString lastText; // of the last question or notice
    PromptButton ask(const Question &q) override
    {
        lastText = q.text;
        return q.buttons.contains(PromptButton::No) ? PromptButton::No : PromptButton::Ok;
    }
    std::optional<QString> inputText(const QString &, const QString &) override { return findWhat; }
    std::optional<FileDialogResult> openFile(const FileDialogRequest &) override
    {
        return FileDialogResult{file, QStringLiteral("Rich Text Files (*.rtf)")};
    }
    std::optional<FileDialogResult> saveFile(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
    bool setupPrinter(QPrinter &, bool) override { return false; }
    void showPrintPreview(QPrinter &, const std::function<void(QPrinter *)> &) override {}
};

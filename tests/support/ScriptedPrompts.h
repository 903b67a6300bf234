#pragma once

// Prompts for tests: each expected prompt is queued with its answer; a prompt that was
// not expected, or differs in text, title, buttons, default button or icon, is
// recorded as a failure, and so is an expectation left unanswered.

#include "app/Prompts.h"
#include "plandoc/FinancialPlan.h"

#include <QStringList>

#include <deque>

class ScriptedPrompts : public Prompts {
public:
    // Message boxes
    void expect(const Question &q, PromptButton answer);
    void expectExit(bool yes);
    void expectSaveChanges(bool yes);
    void expectYesNo(const QString &text, bool yes); // title "Quorvane", No default
    void expectNotice(const QString &text, const QString &title);

    // Dialogs; nullopt answers as Cancel.
    void expectInput(const QString &prompt, const QString &title, std::optional<QString> answer);
    void expectOpenFile(std::optional<FileDialogResult> answer);
    void expectSaveFile(std::optional<FileDialogResult> answer);
    void expectFont(std::optional<QFont> answer);
    void expectColor(std::optional<QColor> answer);
    void expectPrint(bool accept);
    // The preview paints its pages into a PDF file (lastPreviewPdf) the test can read.
    void expectPrintPreview(const QString &pdfPath);
    // The projection dialog answers with what the test makes of the figures it was
    // given (lastProjectionInitial); nullopt answers as Cancel.
    void expectProjection(std::function<std::optional<plandoc::finance::FinancialPlan>(plandoc::finance::FinancialPlan)> answer);

    PromptButton ask(const Question &q) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title) override;
    std::optional<FileDialogResult> openFile(const FileDialogRequest &req) override;
    std::optional<FileDialogResult> saveFile(const FileDialogRequest &req) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    bool setupPrinter(QPrinter &printer, bool allowPrintToFile) override;
    void showPrintPreview(QPrinter &printer, const std::function<void(QPrinter *)> &paint) override;
    bool askProjection(plandoc::finance::FinancialPlan &figures) override;

    // Everything wrong so far, including expectations still waiting; empty when the
    // script ran exactly.
    QStringList problems() const;
    void reset();

    // What the last dialogs were given.
    FileDialogRequest lastFileRequest;
    QFont lastFontInitial;
    QColor lastColorInitial;
    bool lastPrintToFileAllowed = false;
    // The printer's output file and document name as the print dialog or preview got them.
    QString lastPrinterFile;
    QString lastPrinterDocName;
    QString lastPreviewPdf;
    plandoc::finance::FinancialPlan lastProjectionInitial;
    QList<Question> asked;

private:
    enum class Kind { Box, Input, Open, Save, Font, Color, Print, Preview, Projection };
    struct Step {
        Kind kind = Kind::Box;
        Question question;
        PromptButton answer = PromptButton::Ok;
        QString prompt, title;
        std::optional<QString> text;
        std::optional<FileDialogResult> file;
        std::optional<QFont> font;
        std::optional<QColor> color;
        bool accept = false;
        std::function<std::optional<plandoc::finance::FinancialPlan>(plandoc::finance::FinancialPlan)> projection;
    };
    // Takes the next step if it is of the given kind; records a failure otherwise.
    std::optional<Step> next(Kind kind, const QString &what);

    std::deque<Step> m_steps;
    QStringList m_failures;
};

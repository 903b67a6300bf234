#pragma once

// The one seam for everything modal: message boxes, the input box and the standard
// dialogs. Pages ask through it; tests answer through a scripted implementation.


#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace plandoc::finance {
struct FinancialPlan;
}
class QMessageBox;
class QPrinter;
class QWidget;

enum class PromptButton { Ok, Cancel, Yes, No };
enum class PromptIcon { Exclamation, Information, Critical };

struct Question {
    QString text;
    QString title;
    QList<PromptButton> buttons;
    PromptButton defaultButton = PromptButton::Ok;
    PromptIcon icon = PromptIcon::Exclamation;
    // Only a button answers: Escape and the close box do nothing. Otherwise they give
    // the safe answer, Cancel or No.
    bool mustAnswer = false;

    // The program's standard shapes of message box.
    static Question yesNo(const QString &text, const QString &title, PromptButton def);
    static Question yesNoCancel(const QString &text, const QString &title);
    static Question okCancel(const QString &text, const QString &title);
    static Question notice(const QString &text, const QString &title);
    static Question error(const QString &text, const QString &title);
};

struct FileDialogRequest {
    QString title; // the dialog's own when empty
    QString fileName; // pre-filled name
    QStringList filters; // "Rich Text Files (*.rtf)", ...
    // Per filter, the extension the save dialog adds to a name typed without one
    // (before it checks for an existing file); none when empty.
    QStringList suffixes;
    QString selectedFilter;
    bool confirmOverwrite = true;
};

struct FileDialogResult {
    QString fileName;
    QString selectedFilter;
};

struct FontChoice {
    QFont font; // family, size, bold, italic, underline
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // The widget over which dialogs open; may be null.
    void setParentWidget(QWidget *w) { m_parent = w; }
    QWidget *parentWidget() const { return m_parent; }

    virtual PromptButton ask(const Question &q) = 0;
    // Empty optional when the user cancels.
    virtual std::optional<QString> inputText(const QString &prompt, const QString &title) = 0;
    virtual std::optional<FileDialogResult> openFile(const FileDialogRequest &req) = 0;
    virtual std::optional<FileDialogResult> saveFile(const FileDialogRequest &req) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;
    // Shows the print dialog over the printer; false when cancelled. allowPrintToFile
    // offers printing into a file.
    virtual bool setupPrinter(QPrinter &printer, bool allowPrintToFile) = 0;
    // Shows the pages that paint() draws on the printer, from which the user may print.
    virtual void showPrintPreview(QPrinter &printer, const std::function<void(QPrinter *)> &paint) = 0;
    // The Financial Projection dialog over the financial plan, which OK replaces with the
    // user's; false when cancelled, as it is where no such dialog can be shown.
    virtual bool askProjection(plandoc::finance::FinancialPlan &) { return false; }

    // Helpers for the questions many pages ask.
    bool confirmExit();
    bool askSaveChanges(); // step pages' save question: true for Yes
    bool askYesNo(const QString &text); // title "Quorvane", No by default

private:
    QWidget *m_parent = nullptr;
};

// The real dialogs.
class QtPrompts : public Prompts {
public:
    // The message box that ask() shows for the question, built but not shown.
    static std::unique_ptr<QMessageBox> messageBox(const Question &q, QWidget *parent = nullptr);

    PromptButton ask(const Question &q) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title) override;
    std::optional<FileDialogResult> openFile(const FileDialogRequest &req) override;
    std::optional<FileDialogResult> saveFile(const FileDialogRequest &req) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    bool setupPrinter(QPrinter &printer, bool allowPrintToFile) override;
    void showPrintPreview(QPrinter &printer, const std::function<void(QPrinter *)> &paint) override;
    // Defined beside the dialog, in the editor's folder.
    bool askProjection(plandoc::finance::FinancialPlan &plan) override;
};

#include "app/Prompts.h"

#include "app/Messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

Question Question::yesNo(const QString &text, const QString &title, PromptButton def)
{
    return {text, title, {PromptButton::Yes, PromptButton::No}, def, PromptIcon::Exclamation};
}

Question Question::yesNoCancel(const QString &text, const QString &title)
{
    return {text, title, {PromptButton::Yes, PromptButton::No, PromptButton::Cancel}, PromptButton::Cancel,
            PromptIcon::Exclamation};
}

Question Question::okCancel(const QString &text, const QString &title)
{
    return {text, title, {PromptButton::Ok, PromptButton::Cancel}, PromptButton::Cancel, PromptIcon::Exclamation};
}

Question Question::notice(const QString &text, const QString &title)
{
    return {text, title, {PromptButton::Ok}, PromptButton::Ok, PromptIcon::Information};
}

Question Question::error(const QString &text, const QString &title)
{
    return {text, title, {PromptButton::Ok}, PromptButton::Ok, PromptIcon::Critical};
}

bool Prompts::confirmExit()
{
    return ask(Question::yesNo(Msg::ExitQuestion, Msg::AppTitle, PromptButton::No)) == PromptButton::Yes;
}

bool Prompts::askSaveChanges()
{
    // No throws the typing away, so it is never given by Escape or the close box.
    Question q = Question::yesNo(Msg::SaveChangesQuestion, Msg::SaveChangesTitle, PromptButton::Yes);
    q.mustAnswer = true;
    return ask(q) == PromptButton::Yes;
}

bool Prompts::askYesNo(const QString &text)
{
    return ask(Question::yesNo(text, Msg::AppTitle, PromptButton::No)) == PromptButton::Yes;
}

namespace {

QMessageBox::StandardButton toStandard(PromptButton b)
{
    switch (b) {
    case PromptButton::Ok: return QMessageBox::Ok;
    case PromptButton::Cancel: return QMessageBox::Cancel;
    case PromptButton::Yes: return QMessageBox::Yes;
    case PromptButton::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// A message box that, when it must be answered, ignores Escape and the close box.
// QMessageBox alone would take No as its escape button whenever it offers one.
class QuestionBox : public QMessageBox {
public:
    QuestionBox(QWidget *parent, bool mustAnswer) : QMessageBox(parent), m_mustAnswer(mustAnswer) {}

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (m_mustAnswer && event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        if (m_mustAnswer)
            event->ignore();
        else
            QMessageBox::closeEvent(event);
    }

private:
    bool m_mustAnswer;
};

QWidget *dialogParent(const Prompts &p)
{
    if (p.parentWidget())
        return p.parentWidget();
    QWidget *active = QApplication::activeWindow();
    return active && active->isVisible() ? active : nullptr;
}

} // namespace

std::unique_ptr<QMessageBox> QtPrompts::messageBox(const Question &q, QWidget *parent)
{
    auto box = std::make_unique<QuestionBox>(parent, q.mustAnswer);
    box->setWindowTitle(q.title);
    box->setText(q.text);
    switch (q.icon) {
    case PromptIcon::Exclamation: box->setIcon(QMessageBox::Warning); break;
    case PromptIcon::Information: box->setIcon(QMessageBox::Information); break;
    case PromptIcon::Critical: box->setIcon(QMessageBox::Critical); break;
    }
    QMessageBox::StandardButtons buttons;
    for (PromptButton b : q.buttons)
        buttons |= toStandard(b);
    box->setStandardButtons(buttons);
    box->setDefaultButton(toStandard(q.defaultButton));
    // Escape answers the safe choice: Cancel or No when offered.
    if (q.mustAnswer)
        return box;
    if (q.buttons.contains(PromptButton::Cancel))
        box->setEscapeButton(QMessageBox::Cancel);
    else if (q.buttons.contains(PromptButton::No))
        box->setEscapeButton(QMessageBox::No);
    return box;
}

PromptButton QtPrompts::ask(const Question &q)
{
    const std::unique_ptr<QMessageBox> box = messageBox(q, dialogParent(*this));
    const int r = box->exec();
    for (PromptButton b : q.buttons)
        if (r == toStandard(b))
            return b;
    return q.buttons.contains(PromptButton::Cancel) ? PromptButton::Cancel : q.defaultButton;
}

std::optional<QString> QtPrompts::inputText(const QString &prompt, const QString &title)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(*this), title, prompt, QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<FileDialogResult> QtPrompts::openFile(const FileDialogRequest &req)
{
    QString filter = req.selectedFilter;
    const QString name = QFileDialog::getOpenFileName(dialogParent(*this), req.title, req.fileName,
                                                      req.filters.join(QStringLiteral(";;")), &filter);
    if (name.isEmpty())
        return std::nullopt;
    return FileDialogResult{name, filter};
}

std::optional<FileDialogResult> QtPrompts::saveFile(const FileDialogRequest &req)
{
    QFileDialog dialog(dialogParent(*this), req.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !req.confirmOverwrite);
    dialog.setNameFilters(req.filters);
    dialog.selectNameFilter(req.selectedFilter);
    // The extension follows the chosen filter, so the dialog's question about an
    // existing file concerns the name that will be written.
    const auto suffixFor = [&req](const QString &filter) {
        const qsizetype i = req.filters.indexOf(filter);
        return i >= 0 && i < req.suffixes.size() ? req.suffixes.at(i) : QString();
    };
    dialog.setDefaultSuffix(suffixFor(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &suffixFor](const QString &filter) { dialog.setDefaultSuffix(suffixFor(filter)); });
    if (!req.fileName.isEmpty())
        dialog.selectFile(req.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogResult{dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

std::optional<QFont> QtPrompts::chooseFont(const QFont &initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, dialogParent(*this));
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> QtPrompts::chooseColor(const QColor &initial)
{
    const QColor c = QColorDialog::getColor(initial, dialogParent(*this));
    if (!c.isValid())
        return std::nullopt;
    return c;
}

bool QtPrompts::setupPrinter(QPrinter &printer, bool allowPrintToFile)
{
    QPrintDialog dialog(&printer, dialogParent(*this));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, allowPrintToFile);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompts::showPrintPreview(QPrinter &printer, const std::function<void(QPrinter *)> &paint)
{
    QPrintPreviewDialog dialog(&printer, dialogParent(*this));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter *p) { paint(p); });
    dialog.resize(900, 1000);
    dialog.exec();
}

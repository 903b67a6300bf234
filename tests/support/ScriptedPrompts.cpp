#include "support/ScriptedPrompts.h"

#include "app/Messages.h"

#include <QPrinter>

namespace {

QString describe(const Question &q)
{
    QStringList buttons;
    for (PromptButton b : q.buttons)
        buttons << QString::number(int(b));
    return QStringLiteral("[%1] title [%2] buttons [%3] default %4 icon %5%6")
        .arg(q.text, q.title, buttons.join(QLatin1Char(',')))
        .arg(int(q.defaultButton))
        .arg(int(q.icon))
        .arg(q.mustAnswer ? QStringLiteral(" must be answered") : QString());
}

} // namespace

void ScriptedPrompts::expect(const Question &q, PromptButton answer)
{
    Step s;
    s.kind = Kind::Box;
    s.question = q;
    s.answer = answer;
    m_steps.push_back(s);
}

void ScriptedPrompts::expectExit(bool yes)
{
    expect(Question::yesNo(Msg::ExitQuestion, Msg::AppTitle, PromptButton::No), yes ? PromptButton::Yes : PromptButton::No);
}

void ScriptedPrompts::expectSaveChanges(bool yes)
{
    Question q = Question::yesNo(Msg::SaveChangesQuestion, Msg::SaveChangesTitle, PromptButton::Yes);
    q.mustAnswer = true;
    expect(q, yes ? PromptButton::Yes : PromptButton::No);
}

void ScriptedPrompts::expectYesNo(const QString &text, bool yes)
{
    expect(Question::yesNo(text, Msg::AppTitle, PromptButton::No), yes ? PromptButton::Yes : PromptButton::No);
}

void ScriptedPrompts::expectNotice(const QString &text, const QString &title)
{
    expect(Question::notice(text, title), PromptButton::Ok);
}

void ScriptedPrompts::expectInput(const QString &prompt, const QString &title, std::optional<QString> answer)
{
    Step s;
    s.kind = Kind::Input;
    s.prompt = prompt;
    s.title = title;
    s.text = std::move(answer);
    m_steps.push_back(s);
}

void ScriptedPrompts::expectOpenFile(std::optional<FileDialogResult> answer)
{
    Step s;
    s.kind = Kind::Open;
    s.file = std::move(answer);
    m_steps.push_back(s);
}

void ScriptedPrompts::expectSaveFile(std::optional<FileDialogResult> answer)
{
    Step s;
    s.kind = Kind::Save;
    s.file = std::move(answer);
    m_steps.push_back(s);
}

void ScriptedPrompts::expectFont(std::optional<QFont> answer)
{
    Step s;
    s.kind = Kind::Font;
    s.font = std::move(answer);
    m_steps.push_back(s);
}

void ScriptedPrompts::expectColor(std::optional<QColor> answer)
{
    Step s;
    s.kind = Kind::Color;
    s.color = std::move(answer);
    m_steps.push_back(s);
}

void ScriptedPrompts::expectPrint(bool accept)
{
    Step s;
    s.kind = Kind::Print;
    s.accept = accept;
    m_steps.push_back(s);
}

void ScriptedPrompts::expectPrintPreview(const QString &pdfPath)
{
    Step s;
    s.kind = Kind::Preview;
    s.prompt = pdfPath;
    m_steps.push_back(s);
}

void ScriptedPrompts::expectProjection(std::function<std::optional<plandoc::finance::FinancialPlan>(plandoc::finance::FinancialPlan)> answer)
{
    Step s;
    s.kind = Kind::Projection;
    s.projection = std::move(answer);
    m_steps.push_back(s);
}

std::optional<ScriptedPrompts::Step> ScriptedPrompts::next(Kind kind, const QString &what)
{
    if (m_steps.empty()) {
        m_failures << QStringLiteral("unexpected prompt: ") + what;
        return std::nullopt;
    }
    Step s = m_steps.front();
    m_steps.pop_front();
    if (s.kind != kind) {
        m_failures << QStringLiteral("prompt of another kind than expected: ") + what;
        return std::nullopt;
    }
    return s;
}

PromptButton ScriptedPrompts::ask(const Question &q)
{
    asked << q;
    auto s = next(Kind::Box, describe(q));
    if (!s)
        return q.buttons.contains(PromptButton::Cancel) ? PromptButton::Cancel : q.defaultButton;
    if (s->question.text != q.text || s->question.title != q.title || s->question.buttons != q.buttons
        || s->question.defaultButton != q.defaultButton || s->question.icon != q.icon)
        m_failures << QStringLiteral("expected %1\n got %2").arg(describe(s->question), describe(q));
    return s->answer;
}

std::optional<QString> ScriptedPrompts::inputText(const QString &prompt, const QString &title)
{
    auto s = next(Kind::Input, QStringLiteral("input box ") + prompt);
    if (!s)
        return std::nullopt;
    if (s->prompt != prompt || s->title != title)
        m_failures << QStringLiteral("input box [%1/%2], expected [%3/%4]").arg(prompt, title, s->prompt, s->title);
    return s->text;
}

std::optional<FileDialogResult> ScriptedPrompts::openFile(const FileDialogRequest &req)
{
    lastFileRequest = req;
    auto s = next(Kind::Open, QStringLiteral("open dialog"));
    return s ? s->file : std::nullopt;
}

std::optional<FileDialogResult> ScriptedPrompts::saveFile(const FileDialogRequest &req)
{
    lastFileRequest = req;
    auto s = next(Kind::Save, QStringLiteral("save dialog"));
    return s ? s->file : std::nullopt;
}

std::optional<QFont> ScriptedPrompts::chooseFont(const QFont &initial)
{
    lastFontInitial = initial;
    auto s = next(Kind::Font, QStringLiteral("font dialog"));
    return s ? s->font : std::nullopt;
}

std::optional<QColor> ScriptedPrompts::chooseColor(const QColor &initial)
{
    lastColorInitial = initial;
    auto s = next(Kind::Color, QStringLiteral("colour dialog"));
    return s ? s->color : std::nullopt;
}

bool ScriptedPrompts::setupPrinter(QPrinter &printer, bool allowPrintToFile)
{
    lastPrintToFileAllowed = allowPrintToFile;
    lastPrinterFile = printer.outputFileName();
    lastPrinterDocName = printer.docName();
    auto s = next(Kind::Print, QStringLiteral("print dialog"));
    return s && s->accept;
}

void ScriptedPrompts::showPrintPreview(QPrinter &printer, const std::function<void(QPrinter *)> &paint)
{
    lastPrinterFile = printer.outputFileName();
    lastPrinterDocName = printer.docName();
    auto s = next(Kind::Preview, QStringLiteral("print preview"));
    if (!s)
        return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(s->prompt);
    paint(&printer);
    lastPreviewPdf = s->prompt;
}

bool ScriptedPrompts::askProjection(plandoc::finance::FinancialPlan &figures)
{
    lastProjectionInitial = figures;
    auto s = next(Kind::Projection, QStringLiteral("projection dialog"));
    const std::optional<plandoc::finance::FinancialPlan> chosen = s && s->projection ? s->projection(figures) : std::nullopt;
    if (chosen)
        figures = *chosen;
    return chosen.has_value();
}

QStringList ScriptedPrompts::problems() const
{
    QStringList all = m_failures;
    if (!m_steps.empty())
        all << QStringLiteral("%1 expected prompt(s) never shown").arg(m_steps.size());
    return all;
}

void ScriptedPrompts::reset()
{
    m_steps.clear();
    m_failures.clear();
    asked.clear();
}

#include "editor/PlanCommands.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/Prompts.h"
#include "editor/EditorFile.h"
#include "formats/UndoOff.h"
#include "plandoc/CoverLogo.h"
#include "plandoc/FinancialReadBack.h"
#include "plandoc/FinancialTables.h"
#include "plandoc/FormattedPlan.h"
#include "plandoc/PlanReadBack.h"
#include "text/WholeText.h"

#include <QAction>
#include <QDate>
#include <QTextDocument>
#include <QTextEdit>

namespace {

// The document's text without the financial plan's tables and lines, which are figures
// rather than answers and would otherwise run into the answer before them.
QString answersText(const QTextDocument &doc)
{
    const text::WholeText whole(doc);
    QString out = whole.text();
    const plandoc::finance::MadeSpans made = plandoc::finance::findMade(doc);
    std::vector<plandoc::finance::Span> spans;
    for (const auto &span : {made.figures, made.funding})
        if (span)
            spans.push_back(*span);
    std::sort(spans.begin(), spans.end(), [](const auto &a, const auto &b) { return a.start > b.start; });
    // Each goes with the line break before it (or after it, at the very start), as it
    // came in paragraphs of its own.
    const QLatin1String lineEnd("\r\n");
    for (const plandoc::finance::Span &s : spans) {
        qsizetype from = whole.fromDocument(s.start);
        qsizetype to = whole.fromDocument(s.end);
        // A span that runs up to the next paragraph's text took the break before it.
        const bool tookBreak = QStringView(out).first(to).endsWith(lineEnd) && to < out.size()
                               && !QStringView(out).sliced(to).startsWith(lineEnd);
        if (!tookBreak && QStringView(out).first(from).endsWith(lineEnd))
            from -= lineEnd.size();
        else if (!tookBreak && QStringView(out).sliced(to).startsWith(lineEnd))
            to += lineEnd.size();
        out.remove(from, to - from);
    }
    return out;
}

} // namespace

PlanCommands::PlanCommands(QTextEdit *edit, EditorFile *file, AppContext &ctx)
    : QObject(edit), m_edit(edit), m_file(file), m_ctx(ctx)
{
    const auto add = [this](const char *name, const QString &caption, void (PlanCommands::*command)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, command);
        m_actions << action;
    };
    add("mnuFileFormattedPlan", QStringLiteral("New &Formatted Plan"), &PlanCommands::newFormattedPlan);
    add("mnuFileFillSteps", QStringLiteral("Fill Steps from &Document"), &PlanCommands::fillSteps);
}

void PlanCommands::newFormattedPlan()
{
    if (!m_file->mayReplaceComposition())
        return;
    // Built without undo steps, so the new plan starts a fresh history.
    {
        const formats::UndoOff fresh(*m_edit->document());
        refreshFinance(m_ctx);
        plandoc::formattedplan::compose(*m_edit->document(), m_ctx.plan, m_ctx.finance, QDate::currentDate(),
                                        &m_ctx.logo);
    }
    m_edit->moveCursor(QTextCursor::Start);
    m_file->startUnsaved(QStringLiteral("Formatted Business Plan"));
}

void PlanCommands::fillSteps()
{
    if (!m_ctx.prompts.askYesNo(Msg::FillStepsQuestion))
        return;
    const QTextDocument &doc = *m_edit->document();
    plandoc::PlanReadBack read = plandoc::readPlanBack(answersText(doc));
    if (read.found == 0) {
        m_ctx.prompts.ask(Question::notice(Msg::NoAnswersFound, Msg::AppTitle));
        return;
    }
    m_ctx.plan = read.plan;
    m_ctx.logo = plandoc::coverlogo::find(*m_edit->document()).value_or(formats::Picture());
    m_ctx.shared.EmpSlot = read.shared.EmpSlot;
    m_ctx.shared.ProdSlot = read.shared.ProdSlot;
    // The figures the document shows belong to these answers; without any, the next use
    // reads them from the answers.
    m_ctx.finance = plandoc::finance::readFinancialPlan(doc).value_or(plandoc::finance::FinancialPlan());
    if (m_ctx.finance.hasFigures() || m_ctx.finance.firstMonth.isValid()) {
        m_ctx.finance.incomeAnswer = read.plan.YrIncome;
        m_ctx.finance.expensesAnswer = read.plan.MoExpenses;
    }
    m_ctx.prompts.ask(Question::notice(Msg::answersTaken(read.found, int(planFields().size())), Msg::AppTitle));
}

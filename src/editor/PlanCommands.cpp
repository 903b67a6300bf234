#include "editor/PlanCommands.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/Prompts.h"
#include "editor/EditorFile.h"
#include "formats/UndoOff.h"
#include "plandoc/CoverLogo.h"
#include "plandoc/FormattedPlan.h"
#include "plandoc/PlanReadBack.h"
#include "text/WholeText.h"

#include <QAction>
#include <QDate>
#include <QTextDocument>
#include <QTextEdit>

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
        plandoc::formattedplan::compose(*m_edit->document(), m_ctx.plan, QDate::currentDate(), &m_ctx.logo);
    }
    m_edit->moveCursor(QTextCursor::Start);
    m_file->startUnsaved(QStringLiteral("Formatted Business Plan"));
}

void PlanCommands::fillSteps()
{
    if (!m_ctx.prompts.askYesNo(Msg::FillStepsQuestion))
        return;
    plandoc::PlanReadBack read = plandoc::readPlanBack(text::WholeText(*m_edit->document()).text());
    if (read.found == 0) {
        m_ctx.prompts.ask(Question::notice(Msg::NoAnswersFound, Msg::AppTitle));
        return;
    }
    m_ctx.plan = read.plan;
    m_ctx.logo = plandoc::coverlogo::find(*m_edit->document()).value_or(formats::Picture());
    m_ctx.shared.EmpSlot = read.shared.EmpSlot;
    m_ctx.shared.ProdSlot = read.shared.ProdSlot;
    m_ctx.prompts.ask(Question::notice(Msg::answersTaken(read.found, int(planFields().size())), Msg::AppTitle));
}

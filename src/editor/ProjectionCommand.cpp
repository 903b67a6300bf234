#include "editor/ProjectionCommand.h"

#include "app/Prompts.h"
#include "plan/PlanRecord.h"
#include "plandoc/Projection.h"

#include <QAction>
#include <QLocale>
#include <QTextEdit>

ProjectionCommand::ProjectionCommand(QTextEdit *edit, Prompts &prompts, const PlanRecord &plan)
    : QObject(edit), m_edit(edit), m_prompts(prompts), m_plan(plan)
{
    auto *insert = new QAction(QStringLiteral("&Financial Projection..."), this);
    insert->setObjectName(QStringLiteral("mnuInsertProjection"));
    connect(insert, &QAction::triggered, this, &ProjectionCommand::insertProjection);
    m_actions << insert;
}

void ProjectionCommand::insertProjection()
{
    plandoc::projection::Input initial;
    initial.income = plandoc::projection::prefillRow(m_plan.YrIncome);
    initial.expenses = plandoc::projection::prefillRow(m_plan.MoExpenses);
    initial.currency = QLocale().currencySymbol();
    initial.firstMonth = plandoc::projection::defaultFirstMonth(QDate::currentDate());
    if (!m_prompts.askProjection(initial))
        return;
    QTextCursor cursor = m_edit->textCursor();
    plandoc::projection::insertTable(cursor, initial);
    m_edit->setTextCursor(cursor);
    m_edit->setFocus();
}

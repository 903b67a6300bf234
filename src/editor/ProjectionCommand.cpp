#include "editor/ProjectionCommand.h"

#include "app/AppContext.h"
#include "app/Prompts.h"
#include "plandoc/FinancialTables.h"

#include <QAction>
#include <QTextEdit>

ProjectionCommand::ProjectionCommand(QTextEdit *edit, AppContext &ctx) : QObject(edit), m_edit(edit), m_ctx(ctx)
{
    auto *insert = new QAction(QStringLiteral("&Financial Projection..."), this);
    insert->setObjectName(QStringLiteral("mnuInsertProjection"));
    connect(insert, &QAction::triggered, this, &ProjectionCommand::insertProjection);
    m_actions << insert;
}

void ProjectionCommand::insertProjection()
{
    refreshFinance(m_ctx);
    plandoc::finance::FinancialPlan figures = m_ctx.finance;
    if (!m_ctx.prompts.askProjection(figures))
        return;
    m_ctx.finance = figures;
    QTextCursor cursor = m_edit->textCursor();
    plandoc::finance::placeInDocument(cursor, figures);
    m_edit->setTextCursor(cursor);
    m_edit->setFocus();
}

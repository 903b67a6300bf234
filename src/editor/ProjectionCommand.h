#pragma once

// Insert > Financial Projection: the projection dialog, prefilled from the plan's monthly
// income and expenses answers, and its table inserted at the caret as one undo step.

#include <QList>
#include <QObject>

class Prompts;
class QAction;
class QTextEdit;
struct PlanRecord;

class ProjectionCommand : public QObject {
    Q_OBJECT
public:
    ProjectionCommand(QTextEdit *edit, Prompts &prompts, const PlanRecord &plan);

    // The Insert menu's entries.
    const QList<QAction *> &actions() const { return m_actions; }

    void insertProjection();

private:
    QTextEdit *m_edit;
    Prompts &m_prompts;
    const PlanRecord &m_plan;
    QList<QAction *> m_actions;
};

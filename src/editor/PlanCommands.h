#pragma once

// The File menu's commands that work with the plan's answers rather than with a file:
// New Formatted Plan composes the answers as a finished plan, Fill Steps from Document
// takes the answers back from the document in the editor.

#include <QList>
#include <QObject>

class AppContext;
class EditorFile;
class QAction;
class QTextEdit;

class PlanCommands : public QObject {
    Q_OBJECT
public:
    PlanCommands(QTextEdit *edit, EditorFile *file, AppContext &ctx);

    // New Formatted Plan, then Fill Steps from Document.
    QList<QAction *> actions() const { return m_actions; }

    void newFormattedPlan();
    void fillSteps();

private:
    QTextEdit *m_edit;
    EditorFile *m_file;
    AppContext &m_ctx;
    QList<QAction *> m_actions;
};

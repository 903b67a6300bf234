#pragma once

// Insert > Financial Projection: the dialog over the run's financial plan (read again
// from the monthly income and expenses answers when they changed), and its tables in the
// document as one undo step, replacing those already there.

#include <QList>
#include <QObject>

class AppContext;
class QAction;
class QTextEdit;

class ProjectionCommand : public QObject {
    Q_OBJECT
public:
    ProjectionCommand(QTextEdit *edit, AppContext &ctx);

    // The Insert menu's entries.
    const QList<QAction *> &actions() const { return m_actions; }

    void insertProjection();

private:
    QTextEdit *m_edit;
    AppContext &m_ctx;
    QList<QAction *> m_actions;
};

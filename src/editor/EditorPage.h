#pragma once

#include "app/Page.h"
#include "editor/EditorFile.h"

#include <QList>
#include <QString>
#include <QTextCharFormat>

#include <functional>

class EditorSpelling;
class EditorView;
class FindCommands;
class FormatCommands;
class PictureCommands;
class ProjectionCommand;
class PlanCommands;
struct PlanRecord;
class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QTextEdit;
class ReplacePanel;

// frmTxtEditor: the composed business plan in a small word processor. It is loaded
// afresh each time the main page opens it and composes the document when the program
// shows it. The window only builds and wires: the file life is EditorFile's, the
// commands are the tools'.
class EditorPage : public Page {
    Q_OBJECT
public:
    explicit EditorPage(AppContext &ctx);

    static QString initialCaption() { return EditorFile::initialCaption(); }

    void onLoad() override;
    void onActivate() override;
    bool closeRequested() override;

    EditorFile *file() const { return m_file; }
    EditorView *view() const { return m_view; }
    EditorSpelling *spelling() const { return m_spelling; }
    ReplacePanel *replacePanel() const { return m_replace; }
    QTextEdit *textEdit() const { return m_edit; }

    // The page state, for whoever needs to look.
    bool docChanged() const { return m_file->docChanged(); }
    bool saveAborted() const { return m_file->saveAborted(); }
    const QString &closeMode() const { return m_file->closeMode(); }
    const QString &fileName() const { return m_file->fileName(); }
    const QString &findString() const;

    // Menu commands that tests and benchmarks run directly.
    void openDocument() { m_file->open(); }
    void find();
    void findNext();
    void openReplace();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus(QMenuBar *bar);
    QMenu *addMenu(QMenuBar *bar, const char *name, const QString &title);
    QAction *addCommand(QMenu *menu, const char *name, const QString &caption, const QList<QKeySequence> &keys,
                        const std::function<void()> &command);
    void addSeparator(QMenu *menu, const char *name);
    bool highlighting() const;

    // Replaces the document with a plan composed from `plan`, as a new document with no
    // file, when nothing would be lost.
    void showNewPlan(const PlanRecord &plan, const QString &name);
    void appendPlan(const PlanRecord &plan);
    void appendText(const QString &text);
    void updateEditMenu();
    void cut();
    void copy();
    void paste();
    void returnToMain();

    QTextEdit *m_edit = nullptr;
    QPushButton *m_return = nullptr;
    EditorFile *m_file = nullptr;
    FindCommands *m_find = nullptr;
    FormatCommands *m_formats = nullptr;
    PlanCommands *m_plans = nullptr;
    EditorSpelling *m_spelling = nullptr;
    ProjectionCommand *m_projection = nullptr;
    PictureCommands *m_pictures = nullptr;
    EditorView *m_view = nullptr;
    ReplacePanel *m_replace = nullptr;
    QAction *m_cut = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_selectAll = nullptr;
    QTextCharFormat m_loadFormat;
};

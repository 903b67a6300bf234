#pragma once

#include "app/Page.h"
#include "app/Prompts.h"

#include <QString>
#include <QTextCharFormat>

#include <functional>

class EditorSpelling;
class EditorView;
class FormatCommands;
struct PlanRecord;
class QAction;
class QMenu;
class QMenuBar;
class QPrinter;
class QPushButton;
class QTextEdit;
class ReplacePanel;
class WholeText;

// frmTxtEditor: the composed business plan in a small word processor. It is loaded
// afresh each time the main page opens it, composes the document when the program shows
// it, and saves, opens and prints the document as RTF.
class EditorPage : public Page {
    Q_OBJECT
public:
    explicit EditorPage(AppContext &ctx);

    static QString initialCaption() { return QStringLiteral("Quorvane - Text Editor"); }

    void onLoad() override;
    void onActivate() override;
    bool closeRequested() override;

    // The writing tools beside the original commands.
    EditorView *view() const { return m_view; }
    EditorSpelling *spelling() const { return m_spelling; }
    ReplacePanel *replacePanel() const { return m_replace; }

    // The page state, for whoever needs to look.
    bool docChanged() const { return DocChanged; }
    bool saveAborted() const { return SaveAborted; }
    const QString &closeMode() const { return CloseMode; }
    const QString &findString() const { return FindString; }
    // The current file: set by Open and Save As, cleared when an Open dialog is shown.
    const QString &fileName() const { return m_fileName; }
    QTextEdit *textEdit() const { return m_edit; }

    // The menu commands.
    void openDocument();
    // Shows the plan composed from the example answers as a new, unsaved document.
    void openExamplePlan();
    void save();
    void saveAs();
    void print();
    void printPreview();
    void exportDocument();
    void returnToMain();
    void exitEditor();
    void updateEditMenu();
    void cut();
    void copy();
    void paste();
    void find();
    void findNext();
    void findPrevious();
    void openReplace();
    void chooseFont();
    void chooseColor();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    QAction *addCommand(QMenu *menu, const char *name, const QString &caption, const QKeySequence &key,
                        void (EditorPage::*command)());
    QAction *addCommand(QMenu *menu, const char *name, const QString &caption, const QList<QKeySequence> &keys,
                        const std::function<void()> &command);
    void addSeparator(QMenu *menu, const char *name);
    void buildTools(QMenuBar *bar, QMenu *edit, QMenu *options);
    bool highlighting() const;

    void appendText(const QString &text);
    void appendPlan(const PlanRecord &plan);
    PromptButton askSaveDocument();
    bool mayReplaceDocument();
    bool writeDocument(const QString &fileName);
    void preparePrinter(QPrinter &printer) const;
    void printOn(QPrinter &printer);
    bool loadDocument(const QString &fileName);
    void reportError(const QString &text);
    bool selectMatch(const WholeText &whole, qsizetype found);
    QTextCharFormat firstSelectedFormat() const;

    QTextEdit *m_edit = nullptr;
    QPushButton *m_return = nullptr;
    QMenu *m_editMenu = nullptr;
    QAction *m_cut = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_selectAll = nullptr;
    EditorView *m_view = nullptr;
    EditorSpelling *m_spelling = nullptr;
    FormatCommands *m_formats = nullptr;
    ReplacePanel *m_replace = nullptr;
    QTextCharFormat m_loadFormat;

    bool DocChanged = true;
    bool SaveAborted = false;
    QString CloseMode = QStringLiteral("N");
    QString FindString;
    QString m_fileName;
};

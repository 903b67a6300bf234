// The editor page's writing tools beside its original commands: undo, replace, spelling,
// the count, zoom and quick formats. The tools themselves live in their own units; this
// only creates and wires them.

#include "editor/EditorPage.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "document/DocumentText.h"
#include "editor/EditorSpelling.h"
#include "editor/EditorView.h"
#include "editor/FormatCommands.h"
#include "editor/ReplacePanel.h"
#include "editor/SpellHighlighter.h"
#include "document/TextSearch.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextEdit>

QAction *EditorPage::addCommand(QMenu *menu, const char *name, const QString &caption, const QList<QKeySequence> &keys,
                                const std::function<void()> &command)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, command);
    if (menu)
        menu->addAction(action);
    return action;
}

void EditorPage::buildTools(QMenuBar *bar, QMenu *edit, QMenu *options)
{
    // Undo and Redo lead the Edit menu, enabled while there is something to take back.
    QAction *undo = addCommand(nullptr, "mnuEditUndo", QStringLiteral("&Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                               [this] { m_edit->undo(); });
    QAction *redo = addCommand(nullptr, "mnuEditRedo", QStringLiteral("&Redo"),
                               {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                               [this] { m_edit->redo(); });
    m_selectAll = addCommand(nullptr, "mnuEditSelectAll", QStringLiteral("Select A&ll"), {}, [this] { m_edit->selectAll(); });
    QAction *first = edit->actions().value(0);
    edit->insertActions(first, {undo, redo});
    edit->insertSeparator(first)->setObjectName(QStringLiteral("HyphenUndo"));
    const QList<QAction *> entries = edit->actions();
    for (QAction *a : entries) {
        if (a->objectName() == QLatin1String("Hyphen4"))
            edit->insertAction(a, m_selectAll);
    }
    const auto followUndo = [this, undo, redo] {
        undo->setEnabled(m_edit->document()->isUndoAvailable());
        redo->setEnabled(m_edit->document()->isRedoAvailable());
    };
    connect(m_edit, &QTextEdit::undoAvailable, undo, &QAction::setEnabled);
    connect(m_edit, &QTextEdit::redoAvailable, redo, &QAction::setEnabled);
    // Open swaps the document; the entries follow the new one's history.
    connect(m_edit, &QTextEdit::textChanged, this, followUndo);
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, followUndo);
    followUndo();

    addCommand(edit, "mnuEditFindPrevious", QStringLiteral("Find &Previous"), {QKeySequence(Qt::SHIFT | Qt::Key_F3)},
               [this] { findPrevious(); });
    addCommand(edit, "mnuEditReplace", QStringLiteral("&Replace..."), {QKeySequence(Qt::CTRL | Qt::Key_H)},
               [this] { openReplace(); });

    options->addSeparator()->setObjectName(QStringLiteral("HyphenFormat"));
    m_formats = new FormatCommands(m_edit, options);
    connect(m_formats, &FormatCommands::formatted, this, [this] { DocChanged = true; });
    options->addSeparator()->setObjectName(QStringLiteral("HyphenSpelling"));
    m_spelling = new EditorSpelling(m_edit, options);
    connect(m_spelling, &EditorSpelling::noMoreMisspellings, this,
            [this] { m_ctx.prompts.ask(Question::notice(Msg::NoMoreMisspellings, Msg::AppTitle)); });

    // The replace bar sits below the text, the count left of the Return button.
    auto *page = static_cast<QVBoxLayout *>(layout());
    m_replace = new ReplacePanel(m_edit, this);
    page->insertWidget(page->indexOf(m_edit) + 1, m_replace);
    m_view = new EditorView(m_edit, this);
    connect(m_edit, &QTextEdit::textChanged, m_view, [this] {
        if (!highlighting())
            m_view->textEdited();
    });
    for (int i = 0; i < page->count(); ++i) {
        if (auto *row = qobject_cast<QHBoxLayout *>(page->itemAt(i)->layout()); row && row->indexOf(m_return) >= 0)
            row->insertWidget(row->indexOf(m_return), m_view->countLabel());
    }

    auto *view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    addCommand(view, "mnuViewZoomIn", QStringLiteral("Zoom &In"),
               {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, [this] { m_view->zoomIn(); });
    addCommand(view, "mnuViewZoomOut", QStringLiteral("Zoom &Out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
               [this] { m_view->zoomOut(); });
    addCommand(view, "mnuViewZoomReset", QStringLiteral("&Normal Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
               [this] { m_view->resetZoom(); });
}

bool EditorPage::highlighting() const
{
    // Underlining repaints paragraphs through the document, which reports a change.
    return m_spelling && m_spelling->highlighter()->isBusy();
}

void EditorPage::findPrevious()
{
    // Find Next's rule backwards: the last match that starts before the selection.
    const WholeText whole(*m_edit->document());
    const qsizetype before = whole.fromDocument(m_edit->textCursor().selectionStart());
    if (!selectMatch(whole, findTextBackward(whole.text(), FindString, before)))
        m_ctx.prompts.ask(Question::notice(Msg::FindCompleted, Msg::FindPreviousTitle));
}

void EditorPage::openReplace()
{
    // A one-line selection is what the user most likely wants to replace.
    const QTextCursor cursor = m_edit->textCursor();
    QString what = cursor.selectedText();
    if (what.contains(QChar::ParagraphSeparator) || what.contains(QChar::LineSeparator))
        what.clear();
    m_replace->open(what.isEmpty() ? FindString : what);
}

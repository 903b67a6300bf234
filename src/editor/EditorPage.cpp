#include "editor/EditorPage.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "editor/EditorSpelling.h"
#include "editor/EditorView.h"
#include "editor/FindCommands.h"
#include "editor/FormatCommands.h"
#include "editor/PictureCommands.h"
#include "editor/PlanCommands.h"
#include "editor/ProjectionCommand.h"
#include "editor/ReplacePanel.h"
#include "editor/SpellHighlighter.h"
#include "formats/DocumentStructure.h"
#include "formats/UndoOff.h"
#include "plan/PlanHints.h"
#include "plandoc/PlanDocument.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The menu commands whose keys the text control would otherwise keep for itself.
bool isMenuKey(const QKeyEvent *e)
{
    if (e->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))
        return e->key() == Qt::Key_Z; // Redo
    if (e->modifiers() != Qt::ControlModifier)
        return false;
    switch (e->key()) {
    case Qt::Key_A: // Save As
    case Qt::Key_X:
    case Qt::Key_C:
    case Qt::Key_V:
    // Undo, Redo and the quick formats, which some platforms bind to moves and deletes.
    case Qt::Key_Z:
    case Qt::Key_Y:
    case Qt::Key_B:
    case Qt::Key_I:
    case Qt::Key_U:
    case Qt::Key_E:
    case Qt::Key_J:
    case Qt::Key_H:
        return true;
    default:
        return false;
    }
}

// The selection as plain text for the clipboard: breaks as line feeds, no pictures.
QString plainSelection(const QTextCursor &cursor)
{
    QString text = cursor.selectedText();
    for (QChar &c : text)
        if (formats::breaksLine(c.unicode()))
            c = QLatin1Char('\n');
    return text.remove(QChar(QChar::ObjectReplacementCharacter)); // pictures are not text
}

using Keys = QList<QKeySequence>;

} // namespace

EditorPage::EditorPage(AppContext &ctx) : Page(ctx, PageId::TxtEditor, 6810, 4995, false)
{
    m_edit = new QTextEdit(this);
    m_edit->setObjectName(QStringLiteral("txtEdit"));
    m_edit->setAccessibleName(QStringLiteral("Business plan document"));
    m_edit->setFont(arialFont(12));
    // Tab moves on as in any form; Ctrl+Tab types a tab (see eventFilter).
    m_edit->setTabChangesFocus(true);
    // Pasting and dropping bring plain text only, like the Paste command.
    m_edit->setAcceptRichText(false);
    m_edit->installEventFilter(this);

    m_file = new EditorFile(m_edit, m_ctx.prompts, m_ctx.exportFilter, this);
    setWindowTitle(m_file->caption());
    connect(m_file, &EditorFile::captionChanged, this, &QWidget::setWindowTitle);
    m_replace = new ReplacePanel(m_edit, this);
    m_find = new FindCommands(m_edit, m_ctx.prompts, m_replace);
    m_view = new EditorView(m_edit, this);
    connect(m_file, &EditorFile::fileWritten, m_view, &EditorView::showNotice);
    m_formats = new FormatCommands(m_edit, m_ctx.prompts);
    m_plans = new PlanCommands(m_edit, m_file, m_ctx);
    connect(m_formats, &FormatCommands::formatted, m_file, &EditorFile::markChanged);
    connect(m_formats, &FormatCommands::cancelled, m_file, &EditorFile::markAborted);
    m_spelling = new EditorSpelling(m_edit);
    m_projection = new ProjectionCommand(m_edit, m_ctx);
    m_pictures = new PictureCommands(m_edit, m_ctx);
    connect(m_spelling, &EditorSpelling::noMoreMisspellings, this,
            [this] { m_ctx.prompts.ask(Question::notice(Msg::NoMoreMisspellings, Msg::AppTitle)); });
    connect(m_edit, &QTextEdit::textChanged, this, [this] {
        // Underlining repaints paragraphs through the document, which reports a change.
        if (highlighting())
            return;
        m_file->markChanged();
        m_view->textEdited();
    });

    m_return = makeButton(this, "cmdReturn", QStringLiteral("&Return to Main Screen"),
                          QStringLiteral("Click here to return to the main screen."));
    m_return->setFixedSize(twips(1815), twips(495));
    connect(m_return, &QPushButton::clicked, this, &EditorPage::returnToMain);

    // The control fills the page, the replace bar opens below it, and the bottom row holds
    // the notice, the count and the button at the right, so all remain whole at any size.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(120), twips(120), twips(195), twips(180));
    layout->setSpacing(twips(120));
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_replace);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_view->noticeLabel(), 1);
    bottom->addWidget(m_view->countLabel());
    bottom->addWidget(m_return);
    layout->addLayout(bottom);

    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    layout->setMenuBar(bar);
    buildMenus(bar);
    setTabOrder(m_edit, m_return);

    // The design size is the inner area below the menu bar.
    resize(twips(6810), twips(4995) + bar->sizeHint().height());
}

QMenu *EditorPage::addMenu(QMenuBar *bar, const char *name, const QString &title)
{
    QMenu *menu = bar->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction *EditorPage::addCommand(QMenu *menu, const char *name, const QString &caption, const QList<QKeySequence> &keys,
                                const std::function<void()> &command)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, command);
    return action;
}

void EditorPage::addSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

// Every menu once, in its final order: the original entries and the tools' beside them.
void EditorPage::buildMenus(QMenuBar *bar)
{
    QMenu *file = addMenu(bar, "mnuFile", QStringLiteral("&File"));
    addCommand(file, "mnuFileOpen", QStringLiteral("&Open"), {Qt::CTRL | Qt::Key_O}, [this] { m_file->open(); });
    addCommand(file, "mnuFileOpenExample", QStringLiteral("Open &Example Plan"), {},
               [this] { showNewPlan(examplePlan(), QStringLiteral("Example Business Plan")); });
    file->addActions(m_plans->actions());
    addSeparator(file, "Hyphen1");
    addCommand(file, "mnuFileSave", QStringLiteral("&Save"), {Qt::CTRL | Qt::Key_S}, [this] { m_file->save(); });
    addCommand(file, "mnuFileSaveAs", QStringLiteral("Save &As"), {Qt::CTRL | Qt::Key_A}, [this] { m_file->saveAs(); });
    addSeparator(file, "Hyphen2");
    addCommand(file, "mnuFilePrint", QStringLiteral("&Print"), {Qt::CTRL | Qt::Key_P}, [this] { m_file->print(); });
    addCommand(file, "mnuFilePreview", QStringLiteral("Print Pre&view"), {}, [this] { m_file->printPreview(); });
    addCommand(file, "mnuFileExport", QStringLiteral("Expor&t..."), {}, [this] { m_file->exportCopy(); });
    addSeparator(file, "Hyphen5");
    addCommand(file, "mnuFileReturn", QStringLiteral("&Return to Main Menu"), {Qt::CTRL | Qt::Key_R},
               [this] { returnToMain(); });
    addSeparator(file, "Hyphen3");
    addCommand(file, "mnuFileExit", QStringLiteral("E&xit"), {}, [this] { close(); });

    QMenu *edit = addMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    connect(edit, &QMenu::aboutToShow, this, &EditorPage::updateEditMenu);
    QAction *undo = addCommand(edit, "mnuEditUndo", QStringLiteral("&Undo"), {Qt::CTRL | Qt::Key_Z}, [this] { m_edit->undo(); });
    QAction *redo = addCommand(edit, "mnuEditRedo", QStringLiteral("Re&do"),
                               {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}, [this] { m_edit->redo(); });
    addSeparator(edit, "HyphenUndo");
    m_cut = addCommand(edit, "mnuEditCut", QStringLiteral("Cu&t"), {Qt::CTRL | Qt::Key_X}, [this] { cut(); });
    m_copy = addCommand(edit, "mnuEditCopy", QStringLiteral("&Copy"), {Qt::CTRL | Qt::Key_C}, [this] { copy(); });
    m_paste = addCommand(edit, "mnuEditPaste", QStringLiteral("&Paste"), {Qt::CTRL | Qt::Key_V}, [this] { paste(); });
    m_selectAll = addCommand(edit, "mnuEditSelectAll", QStringLiteral("Select A&ll"), {}, [this] { m_edit->selectAll(); });
    addSeparator(edit, "Hyphen4");
    addCommand(edit, "mnuEditFind", QStringLiteral("&Find"), {Qt::CTRL | Qt::Key_F}, [this] { find(); });
    addCommand(edit, "mnuEditFindNext", QStringLiteral("Find &Next"), {Qt::Key_F3}, [this] { findNext(); });
    addCommand(edit, "mnuEditFindPrevious", QStringLiteral("Find Pre&vious"), {Qt::SHIFT | Qt::Key_F3},
               [this] { m_find->findPrevious(); });
    addCommand(edit, "mnuEditReplace", QStringLiteral("&Replace..."), {Qt::CTRL | Qt::Key_H}, [this] { openReplace(); });

    // Undo and Redo are enabled while there is something to take back; Open swaps the
    // document, and the entries follow the new one's history.
    const auto followUndo = [this, undo, redo] {
        undo->setEnabled(m_edit->document()->isUndoAvailable());
        redo->setEnabled(m_edit->document()->isRedoAvailable());
    };
    connect(m_edit, &QTextEdit::undoAvailable, undo, &QAction::setEnabled);
    connect(m_edit, &QTextEdit::redoAvailable, redo, &QAction::setEnabled);
    connect(m_edit, &QTextEdit::textChanged, this, followUndo);
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, followUndo);
    followUndo();

    QMenu *options = addMenu(bar, "mnuOptions", QStringLiteral("&Options"));
    options->addActions(m_formats->actions());
    addSeparator(options, "HyphenSpelling");
    options->addActions(m_spelling->actions());
    // Without a dictionary the spelling entries' tooltips say what is missing.
    options->setToolTipsVisible(!m_spelling->available());

    addMenu(bar, "mnuView", QStringLiteral("&View"))->addActions(m_view->actions());
    QMenu *insert = addMenu(bar, "mnuInsert", QStringLiteral("&Insert"));
    insert->addActions(m_projection->actions());
    insert->addActions(m_pictures->actions());
}

bool EditorPage::highlighting() const { return m_spelling && m_spelling->highlighter()->isBusy(); }

const QString &EditorPage::findString() const { return m_find->findString(); }
void EditorPage::find() { m_find->find(); }
void EditorPage::findNext() { m_find->findNext(); }
void EditorPage::openReplace() { m_find->openReplace(); }

// ---------------------------------------------------------------------------- the plan

void EditorPage::onLoad()
{
    // The insertion point of the empty control: the composed document takes this font.
    m_loadFormat.setFontFamilies({QStringLiteral("arial")});
    m_loadFormat.setFontPointSize(12);
    m_edit->setCurrentCharFormat(m_loadFormat);
    m_file->setTextFormat(m_loadFormat);
    m_file->reset();
}

void EditorPage::onActivate()
{
    // Composed each time the program shows the page (never on mere focus).
    const bool empty = m_edit->document()->isEmpty();
    appendPlan(m_ctx.plan);
    m_file->composed(empty);
    m_edit->setFocus();
}

// The plan appended in its two or three pieces; the composed text is not something to undo.
void EditorPage::appendPlan(const PlanRecord &plan)
{
    const formats::UndoOff fresh(*m_edit->document());
    m_file->setPlanName(holdsAnswer(plan.Name) ? plan.Name : QString());
    for (const QString &part : plandoc::composePlanParts(plan))
        appendText(part);
    m_edit->moveCursor(QTextCursor::Start);
}

void EditorPage::appendText(const QString &text)
{
    QTextDocument *doc = m_edit->document();
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.insertText(text, doc->isEmpty() ? m_loadFormat : end.charFormat());
}

void EditorPage::showNewPlan(const PlanRecord &plan, const QString &name)
{
    if (!m_file->mayReplaceComposition())
        return;
    {
        // Cleared without an undo step, so the new plan starts a fresh history.
        const formats::UndoOff fresh(*m_edit->document());
        m_edit->clear();
        m_edit->setCurrentCharFormat(m_loadFormat);
    }
    appendPlan(plan);
    m_file->startUnsaved(name);
}

// ---------------------------------------------------------------------------- closing

bool EditorPage::closeRequested()
{
    if (!m_file->mayReplaceDocument())
        return false;
    if (m_file->closeMode() == QLatin1String("R")) {
        m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Main));
        return true;
    }
    m_ctx.nav.endProgram();
    return true;
}

void EditorPage::returnToMain()
{
    m_file->setCloseMode(QStringLiteral("R"));
    close();
}

// ---------------------------------------------------------------------------- editing

void EditorPage::updateEditMenu()
{
    const bool selected = m_edit->textCursor().hasSelection();
    m_cut->setEnabled(selected);
    m_copy->setEnabled(selected);
    m_paste->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
    m_selectAll->setEnabled(!m_edit->document()->isEmpty());
}

void EditorPage::cut()
{
    QTextCursor cursor = m_edit->textCursor();
    copy();
    cursor.removeSelectedText();
    m_edit->setTextCursor(cursor);
}

void EditorPage::copy()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    const QString text = plainSelection(m_edit->textCursor());
    if (!text.isEmpty())
        clipboard->setText(text);
}

void EditorPage::paste()
{
    QTextCursor cursor = m_edit->textCursor();
    cursor.insertText(QGuiApplication::clipboard()->text());
    m_edit->setTextCursor(cursor);
}

bool EditorPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (isMenuKey(key)) {
            // Leave these keys to the menu: the override lets its shortcut fire, and a
            // key press that still arrives (its entry disabled) does nothing.
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_Tab
            && key->modifiers() == Qt::ControlModifier) {
            m_edit->textCursor().insertText(QStringLiteral("\t"));
            return true;
        }
    }
    return Page::eventFilter(watched, event);
}

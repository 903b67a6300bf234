#include "editor/EditorPage.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "document/output/DocumentExport.h"
#include "document/files/DocumentLoad.h"
#include "document/DocumentText.h"
#include "document/PlanDocument.h"
#include "document/output/PrintLayout.h"
#include "document/rtf/Rtf.h"
#include "document/files/SafeWrite.h"
#include "plan/PlanHints.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const QString CaptionSuffix = QStringLiteral(" - Text Editor");
const QString RtfFilter = QStringLiteral("Rich Text Files (*.rtf)");
// "*" rather than "*.*": on this platform "*.*" hides names without an extension.
const QStringList OpenFilters = {RtfFilter, QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*)")};

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

// The selection as plain text for the clipboard: breaks as line feeds.
QString plainSelection(const QTextCursor &cursor)
{
    QString text = cursor.selectedText();
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u == QChar::ParagraphSeparator || u == QChar::LineSeparator || u == 0xFDD0 || u == 0xFDD1)
            c = QLatin1Char('\n');
    }
    return text;
}

QColor formatColor(const QTextCharFormat &f, const QColor &fallback)
{
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : fallback;
}

} // namespace

EditorPage::EditorPage(AppContext &ctx) : Page(ctx, PageId::TxtEditor, 6810, 4995, false)
{
    setWindowTitle(initialCaption());

    m_edit = new QTextEdit(this);
    m_edit->setObjectName(QStringLiteral("txtEdit"));
    m_edit->setAccessibleName(QStringLiteral("Business plan document"));
    m_edit->setFont(arialFont(12));
    // Tab moves on as in any form; Ctrl+Tab types a tab (see eventFilter).
    m_edit->setTabChangesFocus(true);
    // Pasting and dropping bring plain text only, like the Paste command.
    m_edit->setAcceptRichText(false);
    m_edit->installEventFilter(this);
    connect(m_edit, &QTextEdit::textChanged, this, [this] {
        if (!highlighting())
            DocChanged = true;
    });

    m_return = makeButton(this, "cmdReturn", QStringLiteral("&Return to Main Screen"),
                          QStringLiteral("Click here to return to the main screen."));
    m_return->setFixedSize(twips(1815), twips(495));
    connect(m_return, &QPushButton::clicked, this, &EditorPage::returnToMain);

    // The control fills the page and the button stays below it at the bottom right, so
    // both remain whole at any size.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(120), twips(120), twips(195), twips(180));
    layout->setSpacing(twips(120));
    layout->addWidget(m_edit, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_return);
    layout->addLayout(buttons);

    buildMenus();
    setTabOrder(m_edit, m_return);

    // The design size is the inner area below the menu bar.
    resize(twips(6810), twips(4995) + layout->menuBar()->sizeHint().height());
}

void EditorPage::buildMenus()
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    static_cast<QVBoxLayout *>(this->layout())->setMenuBar(bar);

    auto *file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addCommand(file, "mnuFileOpen", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), &EditorPage::openDocument);
    addCommand(file, "mnuFileOpenExample", QStringLiteral("Open &Example Plan"), QKeySequence(),
               &EditorPage::openExamplePlan);
    addSeparator(file, "Hyphen1");
    addCommand(file, "mnuFileSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), &EditorPage::save);
    addCommand(file, "mnuFileSaveAs", QStringLiteral("Save &As"), QKeySequence(Qt::CTRL | Qt::Key_A), &EditorPage::saveAs);
    addSeparator(file, "Hyphen2");
    addCommand(file, "mnuFilePrint", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P), &EditorPage::print);
    addCommand(file, "mnuFilePreview", QStringLiteral("Print Pre&view"), QKeySequence(), &EditorPage::printPreview);
    addCommand(file, "mnuFileExport", QStringLiteral("Expor&t..."), QKeySequence(), &EditorPage::exportDocument);
    addSeparator(file, "Hyphen5");
    addCommand(file, "mnuFileReturn", QStringLiteral("&Return to Main Menu"), QKeySequence(Qt::CTRL | Qt::Key_R),
               &EditorPage::returnToMain);
    addSeparator(file, "Hyphen3");
    addCommand(file, "mnuFileExit", QStringLiteral("E&xit"), QKeySequence(), &EditorPage::exitEditor);

    m_editMenu = bar->addMenu(QStringLiteral("&Edit"));
    m_editMenu->setObjectName(QStringLiteral("mnuEdit"));
    connect(m_editMenu, &QMenu::aboutToShow, this, &EditorPage::updateEditMenu);
    m_cut = addCommand(m_editMenu, "mnuEditCut", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X), &EditorPage::cut);
    m_copy = addCommand(m_editMenu, "mnuEditCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), &EditorPage::copy);
    m_paste = addCommand(m_editMenu, "mnuEditPaste", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
                         &EditorPage::paste);
    addSeparator(m_editMenu, "Hyphen4");
    addCommand(m_editMenu, "mnuEditFind", QStringLiteral("&Find"), QKeySequence(Qt::CTRL | Qt::Key_F), &EditorPage::find);
    addCommand(m_editMenu, "mnuEditFindNext", QStringLiteral("Find &Next"), QKeySequence(Qt::Key_F3), &EditorPage::findNext);

    auto *options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    addCommand(options, "mnuOptionsFont", QStringLiteral("Font"), QKeySequence(Qt::CTRL | Qt::Key_T), &EditorPage::chooseFont);
    addCommand(options, "mnuOptionsColor", QStringLiteral("Color"), QKeySequence(Qt::CTRL | Qt::Key_L),
               &EditorPage::chooseColor);

    buildTools(bar, m_editMenu, options);
}

QAction *EditorPage::addCommand(QMenu *menu, const char *name, const QString &caption, const QKeySequence &key,
                                void (EditorPage::*command)())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
    return action;
}

void EditorPage::addSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

void EditorPage::onLoad()
{
    // The insertion point of the empty control: the composed document takes this font.
    m_loadFormat.setFontFamilies({QStringLiteral("arial")});
    m_loadFormat.setFontPointSize(12);
    m_edit->setCurrentCharFormat(m_loadFormat);
    SaveAborted = false;
    DocChanged = true;
    CloseMode = QStringLiteral("N");
}

void EditorPage::onActivate()
{
    // Composed each time the program shows the page (never on mere focus).
    appendPlan(m_ctx.plan);
    m_edit->setFocus();
}

// The plan appended in its two or three pieces; the composed text is not something to undo.
void EditorPage::appendPlan(const PlanRecord &plan)
{
    QTextDocument *doc = m_edit->document();
    doc->setUndoRedoEnabled(false);
    for (const QString &part : composePlanParts(plan))
        appendText(part);
    doc->setUndoRedoEnabled(true);
    m_edit->moveCursor(QTextCursor::Start);
}

void EditorPage::appendText(const QString &text)
{
    QTextDocument *doc = m_edit->document();
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.insertText(text, doc->isEmpty() ? m_loadFormat : end.charFormat());
}

// ---------------------------------------------------------------------------- closing

PromptButton EditorPage::askSaveDocument()
{
    return m_ctx.prompts.ask(Question::yesNoCancel(Msg::SaveDocumentQuestion, Msg::AppTitle));
}

bool EditorPage::closeRequested()
{
    if (!mayReplaceDocument())
        return false;
    if (CloseMode == QLatin1String("R")) {
        m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Main));
        return true;
    }
    m_ctx.nav.endProgram();
    return true;
}

void EditorPage::returnToMain()
{
    CloseMode = QStringLiteral("R");
    close();
}

void EditorPage::exitEditor() { close(); }

// ---------------------------------------------------------------------------- files

void EditorPage::reportError(const QString &text) { m_ctx.prompts.ask(Question::error(text, Msg::AppTitle)); }

bool EditorPage::writeDocument(const QString &fileName)
{
    // Written beside the target and renamed over it, so a failure leaves the old file.
    const Result result = safewrite::write(fileName, rtf::write(*m_edit->document()));
    if (!result.ok)
        reportError(Msg::saveFailed(QDir::toNativeSeparators(fileName), result.error));
    return result.ok;
}

void EditorPage::save()
{
    // A page without a file, or whose file name an Open dialog cleared, asks for one.
    if (windowTitle() == initialCaption() || m_fileName.isEmpty()) {
        saveAs();
        return;
    }
    if (writeDocument(m_fileName))
        DocChanged = false;
    else
        SaveAborted = true;
}

void EditorPage::saveAs()
{
    FileDialogRequest request;
    request.fileName = m_fileName;
    request.filters = {RtfFilter};
    request.selectedFilter = RtfFilter;
    request.confirmOverwrite = true;
    const auto chosen = m_ctx.prompts.saveFile(request);
    if (!chosen || chosen->fileName.isEmpty() || !writeDocument(chosen->fileName)) {
        SaveAborted = true;
        return;
    }
    m_fileName = QFileInfo(chosen->fileName).absoluteFilePath();
    setWindowTitle(QDir::toNativeSeparators(m_fileName) + CaptionSuffix);
    DocChanged = false;
    SaveAborted = false;
}

bool EditorPage::loadDocument(const QString &fileName)
{
    // Read into a document of its own, so a file that fails leaves the page untouched.
    auto *doc = new QTextDocument(m_edit);
    doc->setDefaultFont(m_edit->font());
    doc->setUndoRedoEnabled(false);
    const Result result = loadDocumentFile(fileName, *doc, m_loadFormat);
    if (!result.ok) {
        delete doc;
        reportError(Msg::openFailed(QDir::toNativeSeparators(fileName), result.error));
        return false;
    }
    doc->setUndoRedoEnabled(true);

    // The control deletes a document it made itself; one of ours goes here.
    const QPointer<QTextDocument> old = m_edit->document();
    m_edit->setDocument(doc);
    if (old && old->parent() == m_edit)
        delete old.data();
    DocChanged = true; // the text changed, as by any load
    return true;
}

// Closing, Open and the example plan all let go of the document, so unsaved edits are
// offered a save first; false when the user cancels or that save did not happen.
bool EditorPage::mayReplaceDocument()
{
    if (!DocChanged)
        return true;
    const PromptButton answer = askSaveDocument();
    if (answer == PromptButton::Cancel)
        return false;
    if (answer == PromptButton::Yes) {
        save();
        if (SaveAborted)
            return false;
    }
    return true;
}

void EditorPage::openDocument()
{
    if (!mayReplaceDocument())
        return;
    const QString previousFile = m_fileName;
    m_fileName.clear();
    FileDialogRequest request;
    request.filters = OpenFilters;
    request.selectedFilter = RtfFilter;
    request.confirmOverwrite = false;
    const auto chosen = m_ctx.prompts.openFile(request);
    if (!chosen || chosen->fileName.isEmpty())
        return;
    if (!loadDocument(chosen->fileName)) {
        m_fileName = previousFile;
        return;
    }
    DocChanged = false;
    CloseMode = QStringLiteral("O");
    m_fileName = QFileInfo(chosen->fileName).absoluteFilePath();
    setWindowTitle(QDir::toNativeSeparators(m_fileName) + CaptionSuffix);
    m_edit->moveCursor(QTextCursor::Start);
}

void EditorPage::openExamplePlan()
{
    if (!mayReplaceDocument())
        return;
    // Cleared without an undo step, so the example starts a fresh history.
    m_edit->document()->setUndoRedoEnabled(false);
    m_edit->clear();
    m_edit->setCurrentCharFormat(m_loadFormat);
    appendPlan(examplePlan());
    // A new document with no file: unchanged until edited, and Save asks for a name.
    m_fileName.clear();
    setWindowTitle(QStringLiteral("Example Business Plan") + CaptionSuffix);
    DocChanged = false;
}

// A printer named after the document; with no printer at all it prints into a PDF file
// at the usual place, so the dialogs offer a sound name instead of a dead end.
void EditorPage::preparePrinter(QPrinter &printer) const
{
    printer.setDocName(printlayout::documentName(m_fileName));
    printer.setCreator(QStringLiteral("Quorvane"));
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printlayout::defaultPdfPath(m_fileName));
        printlayout::useLocalePageSize(printer);
    }
}

void EditorPage::printOn(QPrinter &printer)
{
    const QString target = printer.outputFileName();
    const Result result = printlayout::print(*m_edit->document(), printer, printer.docName());
    if (!result.ok)
        reportError(Msg::saveFailed(QDir::toNativeSeparators(target), result.error));
}

void EditorPage::print()
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    if (!m_ctx.prompts.setupPrinter(printer, printer.outputFormat() == QPrinter::PdfFormat))
        return;
    printOn(printer);
}

void EditorPage::printPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    m_ctx.prompts.showPrintPreview(printer, [this](QPrinter *p) { printOn(*p); });
}

void EditorPage::exportDocument()
{
    // A copy in another format: the document, its caption, file name and changed
    // state stay as they are.
    FileDialogRequest request;
    request.title = QStringLiteral("Export");
    request.filters = docexport::filters();
    request.suffixes = docexport::suffixes();
    request.selectedFilter = request.filters.first();
    request.fileName = printlayout::defaultPdfPath(m_fileName);
    request.fileName.chop(4); // ".pdf": the filter adds its own extension
    for (;;) {
        const auto chosen = m_ctx.prompts.saveFile(request);
        if (!chosen || chosen->fileName.isEmpty())
            return;
        // A known extension typed with the name chooses the format; else the filter.
        const docexport::Format format =
            docexport::formatForName(chosen->fileName).value_or(docexport::formatForFilter(chosen->selectedFilter));
        const QString target = docexport::withExtension(chosen->fileName, format);
        // The dialog asked about the name it returned; the final name may differ.
        if (target == chosen->fileName || !QFileInfo::exists(target)
            || m_ctx.prompts.askYesNo(Msg::replaceQuestion(QDir::toNativeSeparators(target)))) {
            const auto result =
                docexport::write(*m_edit->document(), format, target, printlayout::documentName(m_fileName));
            if (!result.ok)
                reportError(Msg::saveFailed(QDir::toNativeSeparators(target), result.error));
            return;
        }
        request.fileName = target;
        request.selectedFilter = chosen->selectedFilter;
    }
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
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    const QString text = plainSelection(cursor);
    if (!text.isEmpty())
        clipboard->setText(text);
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

bool EditorPage::selectMatch(const WholeText &whole, qsizetype found)
{
    if (found == 0)
        return false;
    QTextCursor cursor(m_edit->document());
    cursor.setPosition(whole.toDocument(found - 1));
    cursor.setPosition(whole.toDocument(found - 1 + FindString.size()), QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
    return true;
}

void EditorPage::find()
{
    FindString = m_ctx.prompts.inputText(Msg::FindPrompt, Msg::FindTitle).value_or(QString());
    const WholeText whole(*m_edit->document());
    if (!selectMatch(whole, findText(whole.text(), FindString, 1)))
        m_ctx.prompts.ask(Question::notice(Msg::FindNotFound, Msg::FindTitle));
}

void EditorPage::findNext()
{
    // One character past the first selected one (or past the one after the caret).
    const WholeText whole(*m_edit->document());
    const qsizetype start = whole.fromDocument(m_edit->textCursor().selectionStart()) + 2;
    if (!selectMatch(whole, findText(whole.text(), FindString, start)))
        m_ctx.prompts.ask(Question::notice(Msg::FindCompleted, Msg::FindNextTitle));
}

// ---------------------------------------------------------------------------- formats

QTextCharFormat EditorPage::firstSelectedFormat() const
{
    const QTextCursor selection = m_edit->textCursor();
    if (!selection.hasSelection())
        return m_edit->currentCharFormat();
    // A cursor reports the character before it, except at the start of a block.
    QTextCursor at(m_edit->document());
    at.setPosition(selection.selectionStart());
    if (!at.atBlockStart())
        at.setPosition(selection.selectionStart() + 1);
    return at.charFormat();
}


void EditorPage::chooseFont()
{
    QFont shown = firstSelectedFormat().font().resolve(m_edit->document()->defaultFont());
    // A family this system lacks ("arial" without Arial) would make the dialog fall back
    // to an unrelated default; it shows the family that actually draws the text.
    if (!QFontDatabase::hasFamily(shown.family()))
        shown.setFamilies({QFontInfo(shown).family()});
    const auto chosen = m_ctx.prompts.chooseFont(shown);
    if (!chosen) {
        SaveAborted = true;
        return;
    }
    // Only what the user changed in the dialog: on a selection of mixed fonts the
    // others stay as they are; on a uniform one this is the dialog's whole choice.
    QTextCharFormat change;
    if (QFontInfo(*chosen).family() != QFontInfo(shown).family())
        change.setFontFamilies({chosen->family()});
    if (chosen->bold() != shown.bold())
        change.setFontWeight(chosen->bold() ? QFont::Bold : QFont::Normal);
    if (chosen->italic() != shown.italic())
        change.setFontItalic(chosen->italic());
    if (chosen->pointSizeF() > 0 && !qFuzzyCompare(chosen->pointSizeF(), shown.pointSizeF()))
        change.setFontPointSize(chosen->pointSizeF());
    if (chosen->underline() != shown.underline())
        change.setFontUnderline(chosen->underline());
    // A new font is a change like any other: closing must offer to save it, or the
    // formatting would be lost without a word.
    if (!change.properties().isEmpty()) {
        m_edit->mergeCurrentCharFormat(change);
        DocChanged = true;
    }
}

void EditorPage::chooseColor()
{
    const QColor fallback = m_edit->palette().color(QPalette::Text);
    const QColor shown = formatColor(firstSelectedFormat(), fallback);
    const auto chosen = m_ctx.prompts.chooseColor(shown);
    if (!chosen) {
        SaveAborted = true;
        return;
    }
    // Nothing changes when every selected character already has the chosen colour.
    bool same = chosen->rgb() == shown.rgb();
    const QTextCursor selection = m_edit->textCursor();
    if (same && selection.hasSelection()) {
        const int from = selection.selectionStart();
        const int to = selection.selectionEnd();
        for (QTextBlock b = m_edit->document()->findBlock(from); same && b.isValid() && b.position() < to; b = b.next()) {
            for (auto it = b.begin(); same && !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                if (f.position() + f.length() > from && f.position() < to)
                    same = formatColor(f.charFormat(), fallback).rgb() == chosen->rgb();
            }
        }
    }
    if (same)
        return;
    QTextCharFormat change;
    change.setForeground(*chosen);
    m_edit->mergeCurrentCharFormat(change);
    DocChanged = true;
}

// ---------------------------------------------------------------------------- keys

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

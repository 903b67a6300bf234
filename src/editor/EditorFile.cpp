#include "editor/EditorFile.h"

#include "app/Messages.h"
#include "editor/Printing.h"
#include "formats/DocumentExport.h"
#include "formats/DocumentStructure.h"
#include "formats/PrintLayout.h"
#include "formats/rtf/Rtf.h"
#include "formats/SafeWrite.h"
#include "plandoc/FormattedPlan.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

namespace {

const QString RtfFilter = QStringLiteral("Rich Text Files (*.rtf)");
// "*" rather than "*.*": on this platform "*.*" hides names without an extension.
const QStringList OpenFilters = {RtfFilter, QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*)")};

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

// A name typed without any extension gets ".rtf", so the Open dialog's filter lists it;
// any extension the user typed is kept.
QString withRtfExtension(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.fileName().contains(QLatin1Char('.')) ? fileName : fileName + QStringLiteral(".rtf");
}

} // namespace

EditorFile::EditorFile(QTextEdit *edit, Prompts &prompts, QString &exportFilter, QObject *parent)
    : QObject(parent), m_edit(edit), m_prompts(prompts), m_exportFilter(exportFilter)
{
}

void EditorFile::reset()
{
    SaveAborted = false;
    DocChanged = true;
    CloseMode = QStringLiteral("N");
}

void EditorFile::markChanged()
{
    DocChanged = true;
    m_untouchedComposition = false;
}

void EditorFile::composed(bool intoEmptyDocument) { m_untouchedComposition = intoEmptyDocument; }

void EditorFile::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit captionChanged(m_caption);
}

void EditorFile::setFile(const QString &fileName, formats::FileKind kind)
{
    m_fileName = QFileInfo(fileName).absoluteFilePath();
    m_kind = kind;
    setCaption(captionFor(native(m_fileName)));
}

void EditorFile::reportError(const QString &text) { m_prompts.ask(Question::error(text, Msg::AppTitle)); }

// ---------------------------------------------------------------------------- saving

bool EditorFile::write(const QString &fileName)
{
    // Written beside the target and renamed over it, so a failure leaves the old file.
    const formats::Result result = formats::writeFileSafely(fileName, formats::rtf::write(*m_edit->document()));
    if (!result.ok)
        reportError(Msg::saveFailed(native(fileName), result.error));
    else
        emit fileWritten(Msg::savedAs(QFileInfo(fileName).fileName()));
    return result.ok;
}

void EditorFile::save()
{
    // A page without a file, or whose file name an Open dialog cleared, asks for one; so
    // does a file that was not RTF, which RTF written under its name would destroy.
    if (m_caption == initialCaption() || m_fileName.isEmpty() || m_kind != formats::FileKind::Rtf) {
        saveAs();
        return;
    }
    if (write(m_fileName))
        DocChanged = false;
    else
        SaveAborted = true;
}

std::optional<FileDialogResult> EditorFile::chooseTarget(FileDialogRequest request,
                                                         const std::function<QString(const FileDialogResult &)> &finalName)
{
    for (;;) {
        const auto chosen = m_prompts.saveFile(request);
        if (!chosen || chosen->fileName.isEmpty())
            return std::nullopt;
        const QString target = finalName(*chosen);
        // The dialog asked about the name it returned; the final name may differ.
        if (target == chosen->fileName || !QFileInfo::exists(target)
            || m_prompts.askYesNo(Msg::replaceQuestion(native(target))))
            return FileDialogResult{target, chosen->selectedFilter};
        request.fileName = target;
        request.selectedFilter = chosen->selectedFilter;
    }
}

void EditorFile::saveAs()
{
    // The current file when it is RTF; else a file not yet written: beside a file of another
    // kind under its name, or one named after the document.
    FileDialogRequest request;
    request.fileName = m_kind == formats::FileKind::Rtf && !m_fileName.isEmpty() ? m_fileName
                                                                                 : offeredPath() + QStringLiteral(".rtf");
    request.filters = {RtfFilter};
    request.suffixes = {QStringLiteral("rtf")};
    request.selectedFilter = RtfFilter;
    request.confirmOverwrite = true;
    const auto chosen = chooseTarget(request, [](const FileDialogResult &r) { return withRtfExtension(r.fileName); });
    if (!chosen || !write(chosen->fileName)) {
        SaveAborted = true;
        return;
    }
    setFile(chosen->fileName, formats::FileKind::Rtf);
    DocChanged = false;
    SaveAborted = false;
}

bool EditorFile::mayReplaceDocument()
{
    if (!DocChanged)
        return true;
    const PromptButton answer = m_prompts.ask(Question::yesNoCancel(Msg::SaveDocumentQuestion, Msg::AppTitle));
    if (answer == PromptButton::Cancel)
        return false;
    if (answer == PromptButton::Yes) {
        save();
        if (SaveAborted)
            return false;
    }
    return true;
}

QString EditorFile::documentName() const
{
    const QTextDocument *doc = m_edit->document();
    // A formatted plan goes by its business, whatever its file is called.
    if (formats::isTitle(doc->begin().blockFormat()))
        return plandoc::formattedplan::documentTitle(doc->begin().text());
    const QString title = doc->metaInformation(QTextDocument::DocumentTitle);
    return m_fileName.isEmpty() && !title.isEmpty() ? title : formats::printlayout::documentName(m_fileName);
}

QString EditorFile::offeredPath() const
{
    // Beside the file under its base name; without one, under the document's own title (a
    // formatted plan's) or else the business name, in the usual folder.
    const QString title = m_edit->document()->metaInformation(QTextDocument::DocumentTitle);
    QString path = formats::printlayout::defaultPdfPath(m_fileName, title.isEmpty() ? m_planName : title);
    path.chop(4); // ".pdf"
    return path;
}

bool EditorFile::mayReplaceComposition() { return m_untouchedComposition || mayReplaceDocument(); }

void EditorFile::startUnsaved(const QString &name)
{
    m_fileName.clear();
    m_kind = formats::FileKind::Rtf;
    setCaption(captionFor(name));
    DocChanged = false;
    m_untouchedComposition = false;
}

// ---------------------------------------------------------------------------- opening

bool EditorFile::load(const QString &fileName)
{
    // Read into a document of its own, so a file that fails leaves the page untouched.
    auto *doc = new QTextDocument(m_edit);
    doc->setDefaultFont(m_edit->font());
    formats::LoadInfo info;
    const formats::Result result = formats::loadFile(fileName, *doc, m_textFormat, &info);
    if (!result.ok) {
        delete doc;
        reportError(info.refused ? result.error : Msg::openFailed(native(fileName), result.error));
        return false;
    }

    // The control deletes a document it made itself; one of ours goes here.
    const QPointer<QTextDocument> old = m_edit->document();
    m_edit->setDocument(doc);
    if (old && old->parent() == m_edit)
        delete old.data();
    markChanged(); // the text changed, as by any load
    m_kind = info.kind;
    m_planName.clear(); // no longer the composed plan
    if (!info.leftOut.isEmpty())
        m_prompts.ask(Question::notice(Msg::leftOut(QFileInfo(fileName).fileName(), info.leftOut), Msg::AppTitle));
    return true;
}

void EditorFile::open()
{
    if (!mayReplaceDocument())
        return;
    const QString previousFile = m_fileName;
    m_fileName.clear();
    FileDialogRequest request;
    request.filters = OpenFilters;
    request.selectedFilter = RtfFilter;
    request.confirmOverwrite = false;
    const auto chosen = m_prompts.openFile(request);
    if (!chosen || chosen->fileName.isEmpty())
        return;
    if (!load(chosen->fileName)) {
        m_fileName = previousFile;
        return;
    }
    DocChanged = false;
    CloseMode = QStringLiteral("O");
    setFile(chosen->fileName, m_kind);
    m_edit->moveCursor(QTextCursor::Start);
}

// ---------------------------------------------------------------------------- output

// A printer named after the document; with no printer at all it prints into a PDF file
// at the usual place, so the dialogs offer a sound name instead of a dead end.
void EditorFile::preparePrinter(QPrinter &printer) const
{
    printer.setDocName(documentName());
    printer.setCreator(QStringLiteral("Quorvane"));
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(formats::printlayout::defaultPdfPath(m_fileName, documentName()));
        formats::printlayout::useLocalePageSize(printer);
    }
}

void EditorFile::printOn(QPrinter &printer)
{
    const QString target = printer.outputFileName();
    const formats::Result result = printDocument(*m_edit->document(), printer, printer.docName());
    if (!result.ok)
        reportError(Msg::saveFailed(native(target), result.error));
}

void EditorFile::print()
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    if (!m_prompts.setupPrinter(printer, printer.outputFormat() == QPrinter::PdfFormat))
        return;
    printOn(printer);
}

void EditorFile::printPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    m_prompts.showPrintPreview(printer, [this](QPrinter *p) { printOn(*p); });
}

void EditorFile::exportCopy()
{
    // A copy in another format: the document, its caption, file name and changed
    // state stay as they are.
    FileDialogRequest request;
    request.title = QStringLiteral("Export");
    request.filters = formats::exports::filters();
    request.suffixes = formats::exports::suffixes();
    request.selectedFilter = m_exportFilter.isEmpty() ? request.filters.first() : m_exportFilter;
    request.fileName = offeredPath(); // the filter adds its own extension
    // A known extension typed with the name chooses the format; else the filter.
    const auto formatOf = [](const FileDialogResult &r) {
        return formats::exports::formatForName(r.fileName).value_or(formats::exports::formatForFilter(r.selectedFilter));
    };
    const auto chosen = chooseTarget(
        request, [&](const FileDialogResult &r) { return formats::exports::withExtension(r.fileName, formatOf(r)); });
    if (!chosen)
        return;
    const formats::exports::Format format = formatOf(*chosen);
    m_exportFilter = formats::exports::filterFor(format);
    const formats::Result result = formats::exports::writeFile(*m_edit->document(), format, chosen->fileName,
                                           documentName());
    if (!result.ok)
        reportError(Msg::saveFailed(native(chosen->fileName), result.error));
    else
        emit fileWritten(Msg::exportedAs(QFileInfo(chosen->fileName).fileName()));
}

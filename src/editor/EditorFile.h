#pragma once

// The editor's document as a file: Open, Save, Save As, Print, Print Preview, Export and
// the save question before the document is let go. It owns the page state that goes with
// the file (DocChanged, SaveAborted, CloseMode, the file name and the caption) and tells
// the window through signals, so the caption follows it.

#include "app/Prompts.h"
#include "formats/DocumentLoad.h"

#include <QObject>
#include <QString>
#include <QTextCharFormat>

#include <functional>
#include <optional>

class QPrinter;
class QTextEdit;

class EditorFile : public QObject {
    Q_OBJECT
public:
    // exportFilter: the run's memory of the export format chosen last.
    EditorFile(QTextEdit *edit, Prompts &prompts, QString &exportFilter, QObject *parent);

    static QString initialCaption() { return QStringLiteral("Quorvane - Text Editor"); }
    static QString captionFor(const QString &name) { return name + QStringLiteral(" - Text Editor"); }

    const QString &caption() const { return m_caption; }
    bool docChanged() const { return DocChanged; }
    bool saveAborted() const { return SaveAborted; }
    const QString &closeMode() const { return CloseMode; }
    // The current file: set by Open and Save As, cleared when an Open dialog is shown.
    const QString &fileName() const { return m_fileName; }
    // The name in footers and the files' titles: a formatted plan's "NAME - Business Plan",
    // else the file's, else the document's own title, else "Business Plan".
    QString documentName() const;
    // The format text of a plain-text file and of the composition takes.
    void setTextFormat(const QTextCharFormat &format) { m_textFormat = format; }
    // The business name of the plan just composed into the control (empty when it has
    // none): the name Save As and Export offer while the document has no file.
    void setPlanName(const QString &name) { m_planName = name; }

    // The page's load: the state every fresh page starts with.
    void reset();
    // Typing, pasting, a format or colour chosen: the document differs from its file.
    void markChanged();
    // A Font or Colour dialog ended by cancel or failure.
    void markAborted() { SaveAborted = true; }
    void setCloseMode(const QString &mode) { CloseMode = mode; }
    // The composition of this showing went into an empty control: until the next edit,
    // composing again gives the very same document back, so nothing is lost by replacing it.
    void composed(bool intoEmptyDocument);

    void open();
    void save();
    void saveAs();
    void print();
    void printPreview();
    void exportCopy();

    // Unsaved edits are offered a save before the document is let go; false when the
    // user cancels or that save did not happen.
    bool mayReplaceDocument();
    // The same, but without a question while the document is the untouched composition.
    bool mayReplaceComposition();
    // The control now holds a new document that has no file, shown under `name`:
    // unchanged until edited, and Save asks for a name.
    void startUnsaved(const QString &name);

signals:
    void captionChanged(const QString &caption);
    // A file was written: "Saved as NAME" or "Exported as NAME".
    void fileWritten(const QString &notice);

private:
    void setCaption(const QString &caption);
    void setFile(const QString &fileName, formats::FileKind kind);
    bool write(const QString &fileName);
    bool load(const QString &fileName);
    void reportError(const QString &text);
    // Where a new file of the document is offered, without an extension.
    QString offeredPath() const;
    void preparePrinter(QPrinter &printer) const;
    void printOn(QPrinter &printer);
    // Asks for a name until the name to be written (finalName of the dialog's answer) is
    // confirmed, also when it differs from the one the dialog asked about.
    std::optional<FileDialogResult> chooseTarget(FileDialogRequest request,
                                                 const std::function<QString(const FileDialogResult &)> &finalName);

    QTextEdit *m_edit;
    Prompts &m_prompts;
    QString &m_exportFilter;
    QString m_planName;
    QTextCharFormat m_textFormat;
    QString m_caption = initialCaption();
    QString m_fileName;
    // What the file was when it was opened; Save writes RTF only over an RTF file.
    formats::FileKind m_kind = formats::FileKind::Rtf;
    bool m_untouchedComposition = false;

    bool DocChanged = true;
    bool SaveAborted = false;
    QString CloseMode = QStringLiteral("N");
};

#pragma once

// Quick character and paragraph formats for the editor: bold, italic and underline
// (checked while the caret or selection has them) and the four paragraph alignments.
// Each is one undo step of the document.

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class QTextEdit;

class FormatCommands : public QObject {
    Q_OBJECT
public:
    // Adds the entries to `menu`.
    FormatCommands(QTextEdit *edit, QMenu *menu);

signals:
    // The user changed a format (the page marks its document changed).
    void formatted();

private:
    QAction *addToggle(QMenu *menu, const char *name, const QString &caption, const QKeySequence &key);
    QAction *addAlignment(QMenu *menu, const char *name, const QString &caption, const QKeySequence &key,
                          Qt::Alignment alignment);
    void showCurrentFormat();

    QTextEdit *m_edit;
    QAction *m_bold = nullptr;
    QAction *m_italic = nullptr;
    QAction *m_underline = nullptr;
    QActionGroup *m_alignments = nullptr;
};

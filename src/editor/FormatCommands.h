#pragma once

// The editor's formats: Font and Color (the dialogs), the quick character formats bold,
// italic and underline (checked while the caret or selection has them) and the four
// paragraph alignments. Each change is one undo step of the document.

#include <QList>
#include <QObject>
#include <QTextCharFormat>

#include <functional>

class Prompts;
class QAction;
class QActionGroup;
class QTextEdit;

class FormatCommands : public QObject {
    Q_OBJECT
public:
    FormatCommands(QTextEdit *edit, Prompts &prompts);

    // The Options menu's entries, in order, separators included.
    const QList<QAction *> &actions() const { return m_actions; }

    void chooseFont();
    void chooseColor();

signals:
    // The user changed a format (the page marks its document changed).
    void formatted();
    // The Font or Color dialog was cancelled or failed.
    void cancelled();

private:
    QAction *addAction(const char *name, const QString &caption, const QKeySequence &key);
    void addSeparator(const char *name);
    QAction *addToggle(const char *name, const QString &caption, const QKeySequence &key,
                       const std::function<void(QTextCharFormat &, bool)> &set);
    void addAlignment(const char *name, const QString &caption, const QKeySequence &key, Qt::Alignment alignment);
    void showCurrentFormat();
    QTextCharFormat firstSelectedFormat() const;

    QTextEdit *m_edit;
    Prompts &m_prompts;
    QList<QAction *> m_actions;
    QAction *m_bold = nullptr;
    QAction *m_italic = nullptr;
    QAction *m_underline = nullptr;
    QActionGroup *m_alignments = nullptr;
};

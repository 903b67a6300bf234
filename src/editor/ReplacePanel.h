#pragma once

// The find-and-replace bar below the editor's text: modeless, so the user edits the text
// and searches in turn. Its own search text and options; Find (Ctrl+F) and Find Next (F3)
// keep theirs.

#include "text/TextSearch.h"

#include <QFrame>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

class ReplacePanel : public QFrame {
    Q_OBJECT
public:
    explicit ReplacePanel(QTextEdit *edit, QWidget *parent = nullptr);

    // Shows the panel with `what` to look for (kept when empty) and the focus in it.
    void open(const QString &what);
    text::SearchOptions options() const;
    QString status() const;

    bool findNext();
    bool findPrevious();
    // Replaces the selected match, if it is one, and selects the next.
    void replace();
    int replaceAll();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool find(bool backward);
    void setStatus(const QString &text);

    QTextEdit *m_edit;
    QLineEdit *m_what;
    QLineEdit *m_with;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWords;
    QLabel *m_status;
};

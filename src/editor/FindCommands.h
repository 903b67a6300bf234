#pragma once

// Find, Find Next and Find Previous over the editor's whole text, with the search text
// they share (FindString), and the opening of the replace bar with it.

#include <QObject>
#include <QString>

class Prompts;
class QTextEdit;
class ReplacePanel;
namespace text {
class WholeText;
}

class FindCommands : public QObject {
    Q_OBJECT
public:
    FindCommands(QTextEdit *edit, Prompts &prompts, ReplacePanel *panel);

    const QString &findString() const { return FindString; }

    void find();
    void findNext();
    void findPrevious();
    // Opens the replace bar with the selected line, else the last search text.
    void openReplace();

private:
    bool selectMatch(const text::WholeText &whole, qsizetype found);

    QTextEdit *m_edit;
    Prompts &m_prompts;
    ReplacePanel *m_panel;
    QString FindString;
};

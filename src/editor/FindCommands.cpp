#include "editor/FindCommands.h"

#include "app/Messages.h"
#include "app/Prompts.h"
#include "editor/ReplacePanel.h"
#include "formats/DocumentStructure.h"
#include "text/TextSearch.h"
#include "text/WholeText.h"

#include <QTextEdit>

FindCommands::FindCommands(QTextEdit *edit, Prompts &prompts, ReplacePanel *panel)
    : QObject(edit), m_edit(edit), m_prompts(prompts), m_panel(panel)
{
}

bool FindCommands::selectMatch(const text::WholeText &whole, qsizetype found)
{
    if (found == 0)
        return false;
    QTextCursor cursor(m_edit->document());
    cursor.setPosition(whole.toDocument(found - 1));
    cursor.setPosition(whole.toDocument(found - 1 + FindString.size()), QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
    return true;
}

void FindCommands::find()
{
    FindString = m_prompts.inputText(Msg::FindPrompt, Msg::FindTitle).value_or(QString());
    const text::WholeText whole(*m_edit->document());
    if (!selectMatch(whole, text::findText(whole.text(), FindString, 1)))
        m_prompts.ask(Question::notice(Msg::FindNotFound, Msg::FindTitle));
}

void FindCommands::findNext()
{
    // One character past the first selected one (or past the one after the caret).
    const text::WholeText whole(*m_edit->document());
    const qsizetype start = whole.fromDocument(m_edit->textCursor().selectionStart()) + 2;
    if (!selectMatch(whole, text::findText(whole.text(), FindString, start)))
        m_prompts.ask(Question::notice(Msg::FindCompleted, Msg::FindNextTitle));
}

void FindCommands::findPrevious()
{
    // Find Next's rule backwards: the last match that starts before the selection.
    const text::WholeText whole(*m_edit->document());
    const qsizetype before = whole.fromDocument(m_edit->textCursor().selectionStart());
    if (!selectMatch(whole, text::findTextBackward(whole.text(), FindString, before)))
        m_prompts.ask(Question::notice(Msg::FindCompleted, Msg::FindPreviousTitle));
}

void FindCommands::openReplace()
{
    // A one-line selection is what the user most likely wants to replace.
    const QTextCursor cursor = m_edit->textCursor();
    QString what = cursor.selectedText();
    if (std::any_of(what.cbegin(), what.cend(), [](QChar c) { return formats::breaksLine(c.unicode()); }))
        what.clear();
    m_panel->open(what.isEmpty() ? FindString : what);
}

#pragma once

// Spelling on the editor page: the dictionary of the user's language, the underline as
// the user types, the Options menu's entries and the suggestions of the context menu.

#include <QList>
#include <QObject>
#include <QPoint>
#include <QStringList>

#include <memory>

class QAction;
class QMenu;
class QTextEdit;
namespace text {
class SpellChecker;
}
class SpellHighlighter;

class EditorSpelling : public QObject {
    Q_OBJECT
public:
    // Tests point the dictionary search elsewhere; empty means the system's folders.
    static void setDictionaryDirectories(const QStringList &dirs);

    explicit EditorSpelling(QTextEdit *edit);
    ~EditorSpelling() override;

    bool available() const;
    // "Check Spelling As You Type" and "Next Misspelling", for the Options menu; while no
    // dictionary is installed they are disabled and their tooltips say what is missing.
    QList<QAction *> actions() const { return {m_toggle, m_next}; }
    text::SpellChecker *checker() const { return m_checker.get(); }
    SpellHighlighter *highlighter() const { return m_highlighter; }

    // Selects the next misspelled word after the caret; false when there is none.
    bool selectNextMisspelling();
    // The context menu for a click at `pos` of the viewport: suggestions and "Ignore
    // All" first when a misspelled word is there, then the control's usual entries.
    QMenu *contextMenu(const QPoint &pos);

signals:
    // Next Misspelling found nothing more.
    void noMoreMisspellings();

private:
    QTextEdit *m_edit;
    std::unique_ptr<text::SpellChecker> m_checker;
    SpellHighlighter *m_highlighter = nullptr;
    QAction *m_toggle = nullptr;
    QAction *m_next = nullptr;
};

#pragma once

// The red wavy underline under misspelled words. Qt asks the highlighter about every
// paragraph that changes; only those on screen (or holding the caret) are checked, the
// rest wait until they scroll into view, so a large document costs no more to open and
// a keystroke re-checks one paragraph.

#include "text/TextSearch.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTimer>

class QTextEdit;
namespace text {
class SpellChecker;
}

class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // `checker` may be null (no dictionary): nothing is ever underlined.
    SpellHighlighter(QTextEdit *edit, const text::SpellChecker *checker);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);
    // Underlines anew what is shown, after the checker learnt a word.
    void recheck();
    // True while the highlighter itself repaints paragraphs (no change of the text).
    bool isBusy() const { return m_busy; }
    // How many paragraphs have been checked since the document was attached.
    int checkedBlocks() const { return m_checkedCount; }
    // Checks what is on screen now rather than on the next turn of the event loop.
    void checkVisibleNow();

    // The misspelled word at a cursor position, or nothing.
    text::TextMatch misspellingAt(int position) const;
    // The first misspelled word that starts at or after `from`, wherever it is.
    text::TextMatch nextMisspelling(int from) const;

protected:
    void highlightBlock(const QString &text) override;

private:
    void followDocument();
    void attach(QTextDocument *doc);
    void scheduleVisibleCheck();
    void updateVisibleRange();
    bool layoutSettled() const;

    static constexpr int SettleRetryMs = 100;

    QTextEdit *m_edit;
    const text::SpellChecker *m_checker;
    QTextCharFormat m_format;
    QTimer m_visibleTimer;
    QTimer m_recheckTimer;
    int m_visibleFrom = 0;
    int m_visibleTo = -1;
    int m_checkedCount = 0;
    bool m_enabled = true;
    bool m_busy = false;
    bool m_quiet = false;
};

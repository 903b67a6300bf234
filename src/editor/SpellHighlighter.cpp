#include "editor/SpellHighlighter.h"

#include "text/SpellChecker.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace {

// Marks a paragraph as checked for the text it has now; Qt drops the mark's meaning by
// asking again whenever the paragraph changes.
struct Checked : QTextBlockUserData {
    bool current = true;
};

Checked *checkedData(const QTextBlock &b) { return static_cast<Checked *>(b.userData()); }

// The number of the first paragraph that reaches below `y`. Qt lays out a large document
// from the top in steps, so paragraphs not laid out yet all lie further down. (Qt's own
// hit test is unreliable while that goes on.)
int firstBlockBelow(const QTextDocument &doc, qreal y)
{
    const QAbstractTextDocumentLayout *layout = doc.documentLayout();
    int lo = 0;
    int hi = doc.blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const QRectF r = layout->blockBoundingRect(doc.findBlockByNumber(mid));
        if (!r.isEmpty() && r.bottom() <= y)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace

SpellHighlighter::SpellHighlighter(QTextEdit *edit, const text::SpellChecker *checker)
    : QSyntaxHighlighter(static_cast<QObject *>(edit)), m_edit(edit), m_checker(checker)
{
    setObjectName(QStringLiteral("spellHighlighter"));
    m_format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    m_format.setUnderlineColor(Qt::red);
    m_visibleTimer.setSingleShot(true);
    connect(&m_visibleTimer, &QTimer::timeout, this, &SpellHighlighter::checkVisibleNow);
    m_recheckTimer.setSingleShot(true);
    connect(&m_recheckTimer, &QTimer::timeout, this, &SpellHighlighter::recheck);
    connect(m_edit->verticalScrollBar(), &QScrollBar::valueChanged, this, &SpellHighlighter::scheduleVisibleCheck);
    connect(m_edit->verticalScrollBar(), &QScrollBar::rangeChanged, this, &SpellHighlighter::scheduleVisibleCheck);
    connect(m_edit, &QTextEdit::textChanged, this, &SpellHighlighter::followDocument);
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, &SpellHighlighter::followDocument);
    followDocument();
}

void SpellHighlighter::followDocument()
{
    // Open swaps in a new document; the underline lets go of the old one at once and
    // takes up the new one once Qt has laid it out (checkVisibleNow). With spelling off
    // the highlighter leaves the document alone altogether.
    const bool follow = m_enabled && m_checker;
    if (document() && (!follow || document() != m_edit->document()))
        attach(nullptr);
    scheduleVisibleCheck();
}

void SpellHighlighter::attach(QTextDocument *doc)
{
    if (m_quiet || document() == doc)
        return;
    m_checkedCount = 0;
    m_visibleTo = -1;
    // Qt would go over the document on the next turn of the event loop and report it as
    // a change of the text; done here, it is known as ours and changes nothing.
    const QScopedValueRollback busy(m_busy, true);
    m_quiet = true;
    setDocument(doc);
    if (doc)
        rehighlight();
    m_quiet = false;
}

void SpellHighlighter::scheduleVisibleCheck()
{
    if (m_enabled && m_checker)
        m_visibleTimer.start(0);
}

void SpellHighlighter::updateVisibleRange()
{
    if (!m_enabled || !m_checker) {
        m_visibleFrom = 0;
        m_visibleTo = -1;
        return;
    }
    // From the paragraph at the top of the view down to the bottom; paragraphs that Qt
    // has not laid out yet (it does large documents in steps) count as one line each.
    QTextDocument *doc = document();
    const int viewHeight = m_edit->viewport()->height();
    const qreal bottom = m_edit->verticalScrollBar()->value() + viewHeight;
    const qreal line = QFontMetricsF(m_edit->font()).lineSpacing();
    QTextBlock b = doc->findBlockByNumber(firstBlockBelow(*doc, m_edit->verticalScrollBar()->value()));
    m_visibleFrom = b.isValid() ? b.position() : 0;
    m_visibleTo = m_visibleFrom;
    qreal y = b.isValid() ? doc->documentLayout()->blockBoundingRect(b).top() : 0;
    for (; b.isValid() && y <= bottom; b = b.next()) {
        const QRectF r = doc->documentLayout()->blockBoundingRect(b);
        y = r.isEmpty() ? y + line : r.bottom();
        m_visibleTo = b.position() + b.length() - 1;
    }
}

bool SpellHighlighter::layoutSettled() const
{
    // Qt lays out a large document from the top in steps, and a paragraph re-drawn with
    // new underlines meanwhile makes it drop the steps still to come (the view would end
    // there). So the underline waits until the last paragraph is laid out.
    const QTextBlock last = m_edit->document()->lastBlock();
    return !last.isValid() || (last.layout() && last.layout()->lineCount() > 0);
}

void SpellHighlighter::checkVisibleNow()
{
    m_visibleTimer.stop();
    if (!m_enabled || !m_checker)
        return;
    if (!layoutSettled()) {
        m_visibleTimer.start(SettleRetryMs);
        return;
    }
    attach(m_edit->document());
    updateVisibleRange();
    QTextBlock b = document()->findBlock(m_visibleFrom);
    // Nested repaints (a slot of textChanged checking again) must not end the outer one.
    const QScopedValueRollback busy(m_busy, true);
    for (; b.isValid() && b.position() <= m_visibleTo; b = b.next()) {
        const Checked *data = checkedData(b);
        if (!data || !data->current)
            rehighlightBlock(b);
    }
}

void SpellHighlighter::highlightBlock(const QString &text)
{
    if (!m_enabled || !m_checker)
        return;
    const QTextBlock b = currentBlock();
    auto *data = static_cast<Checked *>(currentBlockUserData());
    if (m_quiet) {
        // Attached anew: nothing counts as checked any more.
        if (data)
            data->current = false;
        return;
    }
    const bool shown = b.position() + b.length() > m_visibleFrom && b.position() <= m_visibleTo;
    if (!shown && m_edit->textCursor().block() != b) {
        // Left unchecked (and without underline) until it is shown.
        if (data)
            data->current = false;
        return;
    }
    for (const text::SpellChecker::Range &r : m_checker->misspellings(text))
        setFormat(r.start, r.length, m_format);
    if (data)
        data->current = true;
    else
        setCurrentBlockUserData(new Checked);
    ++m_checkedCount;
}

void SpellHighlighter::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (!on && layoutSettled())
        recheck(); // takes the underline off what was checked
    followDocument();
    if (on)
        checkVisibleNow();
}

void SpellHighlighter::recheck()
{
    if (!document())
        return;
    if (!layoutSettled()) {
        m_recheckTimer.start(SettleRetryMs);
        return;
    }
    updateVisibleRange();
    // Only paragraphs checked before carry an underline to remove or renew; those on
    // screen are checked again, the others wait until they are shown.
    const QScopedValueRollback busy(m_busy, true);
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (Checked *data = checkedData(b); data && data->current) {
            data->current = false;
            rehighlightBlock(b);
        }
    }
    checkVisibleNow();
}

text::TextMatch SpellHighlighter::misspellingAt(int position) const
{
    if (!m_checker)
        return {};
    const QTextBlock b = m_edit->document()->findBlock(position);
    if (!b.isValid())
        return {};
    const int offset = position - b.position();
    for (const text::SpellChecker::Range &r : m_checker->misspellings(b.text())) {
        if (offset >= r.start && offset <= r.start + r.length)
            return {b.position() + r.start, r.length};
    }
    return {};
}

text::TextMatch SpellHighlighter::nextMisspelling(int from) const
{
    if (!m_checker)
        return {};
    for (QTextBlock b = m_edit->document()->findBlock(from); b.isValid(); b = b.next()) {
        for (const text::SpellChecker::Range &r : m_checker->misspellings(b.text())) {
            if (b.position() + r.start >= from)
                return {b.position() + r.start, r.length};
        }
    }
    return {};
}

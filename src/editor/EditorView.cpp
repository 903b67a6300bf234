#include "editor/EditorView.h"

#include "formats/DocumentStructure.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace {

// The usual steps, as browsers and word processors zoom.
constexpr std::array<int, 14> ZoomSteps = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400};

QString number(qsizetype n) { return QLocale(QLocale::English, QLocale::UnitedStates).toString(qlonglong(n)); }

QString counted(qsizetype n, const char *one, const char *many)
{
    return number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

} // namespace

TextCounts countText(QStringView text)
{
    // One pass over the characters; the common ASCII ones never reach QChar's tables.
    TextCounts c;
    bool inWord = false;
    qsizetype breaks = 0;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        bool space;
        if (u < 128) {
            space = u == u' ' || (u >= u'\t' && u <= u'\r');
            breaks += u == u'\n' || u == u'\r';
        } else {
            // A picture parts words like a space and is no character.
            const bool picture = formats::isObjectReplacement(u);
            space = picture || QChar::isSpace(char32_t(u));
            breaks += formats::isParagraphSeparator(u) || formats::isLineSeparator(u) || picture;
        }
        c.words += !space && !inWord;
        inWord = !space;
    }
    c.characters = text.size() - breaks;
    return c;
}

TextCounts countDocument(const QTextDocument &doc)
{
    return countText(doc.toRawText());
}

QString countCaption(const TextCounts &document, std::optional<qsizetype> selectedWords)
{
    if (selectedWords)
        return number(*selectedWords) + QStringLiteral(" of ") + counted(document.words, "word", "words");
    return counted(document.words, "word", "words") + QStringLiteral(", ")
           + counted(document.characters, "character", "characters");
}

EditorView::EditorView(QTextEdit *edit, QWidget *labelParent) : QObject(edit), m_edit(edit)
{
    m_label = new QLabel(labelParent);
    m_label->setObjectName(QStringLiteral("lblWordCount"));
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label->setToolTip(QStringLiteral("The words and characters of the document, or the words selected."));

    // It takes the room the count and the button leave, and a long name is shortened in
    // its middle to fit; the whole notice is its tooltip and what a screen reader reads.
    m_notice = new QLabel(labelParent);
    m_notice->setObjectName(QStringLiteral("lblFileNotice"));
    m_notice->setAccessibleName(QStringLiteral("File notice"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_notice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_notice->installEventFilter(this);
    m_noticeTimer.setSingleShot(true);
    m_noticeTimer.setInterval(NoticeMs);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] { showNotice(QString()); });

    m_countTimer.setSingleShot(true);
    m_countTimer.setInterval(CountDelayMs);
    connect(&m_countTimer, &QTimer::timeout, this, &EditorView::updateCount);
    // A changed text needs a new count; a changed selection only the selected words.
    connect(m_edit, &QTextEdit::selectionChanged, this, [this] { m_countTimer.start(); });
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, &EditorView::followDocument);
    m_viewport = m_edit->viewport();
    m_viewport->installEventFilter(this);
    followDocument();
    updateCount();

    const auto add = [this](const char *name, const QString &caption, const QList<QKeySequence> &keys, void (EditorView::*zoom)()) {
        auto *a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        connect(a, &QAction::triggered, this, zoom);
        m_actions << a;
    };
    add("mnuViewZoomIn", QStringLiteral("Zoom &In"), {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        &EditorView::zoomIn);
    add("mnuViewZoomOut", QStringLiteral("Zoom &Out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &EditorView::zoomOut);
    add("mnuViewZoomReset", QStringLiteral("&Normal Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, &EditorView::resetZoom);
}

void EditorView::textEdited()
{
    followDocument();
    m_countsValid = false;
    m_countTimer.start();
}

void EditorView::followDocument()
{
    // Open swaps in a new document; the zoom goes with the view, not the document.
    if (m_doc == m_edit->document())
        return;
    m_doc = m_edit->document();
    m_countsValid = false;
    m_countTimer.start();
    if (m_zoom != 100)
        applyZoom();
}

void EditorView::updateCount()
{
    m_countTimer.stop();
    followDocument();
    if (!m_countsValid) {
        m_counts = countDocument(*m_edit->document());
        m_countsValid = true;
    }
    const QTextCursor cursor = m_edit->textCursor();
    std::optional<qsizetype> selected;
    if (cursor.hasSelection())
        selected = countText(cursor.selectedText()).words;
    m_label->setText(countCaption(m_counts, selected));
}

void EditorView::showNotice(const QString &text)
{
    m_notice->setToolTip(text);
    m_notice->setAccessibleDescription(text);
    fitNotice();
    if (text.isEmpty())
        m_noticeTimer.stop();
    else
        m_noticeTimer.start();
}

void EditorView::fitNotice()
{
    m_notice->setText(
        m_notice->fontMetrics().elidedText(m_notice->toolTip(), Qt::ElideMiddle, m_notice->contentsRect().width()));
}

void EditorView::setZoom(int percent)
{
    percent = std::clamp(percent, MinZoom, MaxZoom);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    applyZoom();
}

void EditorView::zoomIn()
{
    const auto next = std::upper_bound(ZoomSteps.begin(), ZoomSteps.end(), m_zoom);
    setZoom(next == ZoomSteps.end() ? MaxZoom : *next);
}

void EditorView::zoomOut()
{
    const auto next = std::lower_bound(ZoomSteps.begin(), ZoomSteps.end(), m_zoom);
    setZoom(next == ZoomSteps.begin() ? MinZoom : *(next - 1));
}

void EditorView::applyZoom()
{
    // Point sizes become pixels through the layout's resolution, so a higher resolution
    // draws every font larger while the document keeps its sizes.
    QTextDocument *doc = m_edit->document();
    QAbstractTextDocumentLayout *layout = doc->documentLayout();
    const int top = m_edit->cursorForPosition(QPoint(0, 0)).position();
    if (m_zoom == 100) {
        layout->setPaintDevice(m_edit->viewport()); // as the control sets it
    } else {
        const double dpi = m_edit->logicalDpiY() * m_zoom / 100.0;
        m_device = QImage(1, 1, QImage::Format_ARGB32);
        m_device.setDotsPerMeterX(qRound(dpi / 0.0254));
        m_device.setDotsPerMeterY(qRound(dpi / 0.0254));
        layout->setPaintDevice(&m_device);
    }
    doc->markContentsDirty(0, doc->characterCount());
    // Keep the same text at the top of the view.
    QTextCursor at(doc);
    at.setPosition(std::min(top, doc->characterCount() - 1));
    const QRect r = m_edit->cursorRect(at);
    m_edit->verticalScrollBar()->setValue(m_edit->verticalScrollBar()->value() + r.top());
    m_edit->viewport()->update();
}

bool EditorView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_notice && event->type() == QEvent::Resize)
        fitNotice();
    // Compared with the viewport remembered at the start: the filter also sees events while
    // the text control is being destroyed, when it can no longer be asked for its viewport.
    if (event->type() == QEvent::Wheel && watched == m_viewport) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            if (delta > 0)
                zoomIn();
            else if (delta < 0)
                zoomOut();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

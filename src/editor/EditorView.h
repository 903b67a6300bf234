#pragma once

// How the editor shows its document, apart from the document itself: the zoom (a view
// setting only: the document's fonts, the saved file, print and export stay as they are),
// and on the page's bottom row the word count with a passing notice beside it.

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>

class QAction;
class QLabel;
class QTextDocument;
class QTextEdit;

struct TextCounts {
    qsizetype words = 0;
    qsizetype characters = 0; // line breaks not counted
};
// Words are runs of characters between spaces and line breaks.
TextCounts countText(QStringView text);
TextCounts countDocument(const QTextDocument &doc);
// "1,234 words, 7,890 characters", or with a selection "12 of 1,234 words".
QString countCaption(const TextCounts &document, std::optional<qsizetype> selectedWords);

class EditorView : public QObject {
    Q_OBJECT
public:
    static constexpr int MinZoom = 50;
    static constexpr int MaxZoom = 400;
    // How long typing must pause before the count follows.
    static constexpr int CountDelayMs = 300;
    // How long a notice stays on the bottom row.
    static constexpr int NoticeMs = 5000;

    EditorView(QTextEdit *edit, QWidget *labelParent);

    // The count for the page's bottom row, and the View menu's zoom entries.
    QLabel *countLabel() const { return m_label; }
    // Beside the count: a notice such as "Saved as plan.rtf", shown for a few seconds.
    QLabel *noticeLabel() const { return m_notice; }
    void showNotice(const QString &text);
    const QList<QAction *> &actions() const { return m_actions; }
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    void zoomIn();
    void zoomOut();
    void resetZoom() { setZoom(100); }
    // Counts now instead of after the pause.
    void updateCount();
    // The text changed: count again once typing pauses.
    void textEdited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followDocument();
    void applyZoom();
    void fitNotice();

    QTextEdit *m_edit;
    QWidget *m_viewport = nullptr;
    QLabel *m_label;
    QLabel *m_notice;
    QList<QAction *> m_actions;
    QTimer m_countTimer;
    QTimer m_noticeTimer;
    QPointer<QTextDocument> m_doc;
    int m_zoom = 100;
    // The layout measures fonts on this: a resolution scaled by the zoom.
    QImage m_device;
    TextCounts m_counts;
    bool m_countsValid = false;
};

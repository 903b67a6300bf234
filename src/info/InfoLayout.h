#pragma once

#include <QFont>
#include <QLabel>
#include <QList>

class QTextLayout;

// The font of the paragraphs on the Instructions and side pages.
QFont paragraphFont();

// A word-wrapping paragraph label whose first line may start further right, so that it
// can carry on the paragraph of the label above from the end of that label's last line.
// Lines follow at the font's line spacing, so two such labels read as one paragraph.
class FlowLabel : public QLabel {
public:
    FlowLabel(QWidget *parent, const char *name, const QFont &font);

    int firstLineIndent() const { return m_indent; }
    void setFirstLineIndent(int indent);
    // Where the text ends at the label's width: the right end of its last line and
    // that line's top, in the label's coordinates.
    QPoint textEnd() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Lays the text out at the width; returns the height it takes.
    int layOut(QTextLayout &layout, int width) const;

    int m_indent = 0;
};

// A label placed under the one before it, after a gap of so many blank lines, or, with
// RunsOn, carrying on the paragraph of the one before (both FlowLabels).
struct StackedLabel {
    static constexpr int RunsOn = -1;
    QLabel *label;
    int blankLinesBefore;
};

// Places word-wrapping labels one under another at the given width, each as high as
// its text needs, so no paragraph is cut off whatever the font. Returns the bottom.
int stackLabels(const QList<StackedLabel> &labels, int left, int top, int width);

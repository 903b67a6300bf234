#pragma once

#include <QFont>
#include <QList>

class QLabel;

// The font of the paragraphs on the Instructions and side pages.
QFont paragraphFont();

// A label placed under the one before it, after a gap of so many blank lines.
struct StackedLabel {
    QLabel *label;
    int blankLinesBefore;
};

// Places word-wrapping labels one under another at the given width, each as high as
// its text needs, so no paragraph is cut off whatever the font. Returns the bottom.
int stackLabels(const QList<StackedLabel> &labels, int left, int top, int width);

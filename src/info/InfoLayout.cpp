#include "info/InfoLayout.h"

#include <QFontMetrics>
#include <QLabel>

#include "app/Widgets.h"

QFont paragraphFont() { return arialFont(9.75); }

int stackLabels(const QList<StackedLabel> &labels, int left, int top, int width)
{
    int y = top;
    for (const StackedLabel &s : labels) {
        y += s.blankLinesBefore * QFontMetrics(s.label->font()).lineSpacing();
        const int height = s.label->heightForWidth(width);
        s.label->setGeometry(left, y, width, height);
        y += height;
    }
    return y;
}

#include "info/InfoLayout.h"

#include "app/Widgets.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

QFont paragraphFont() { return arialFont(9.75); }

FlowLabel::FlowLabel(QWidget *parent, const char *name, const QFont &font) : QLabel(parent)
{
    setObjectName(QString::fromLatin1(name));
    setFont(font);
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void FlowLabel::setFirstLineIndent(int indent)
{
    m_indent = indent;
    updateGeometry();
    update();
}

int FlowLabel::layOut(QTextLayout &layout, int width) const
{
    QString text = this->text();
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    layout.setText(text);
    layout.setFont(font());
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const int pitch = QFontMetrics(font()).lineSpacing();
    int y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        const int indent = line.lineNumber() == 0 ? m_indent : 0;
        line.setLineWidth(std::max(0, width - indent));
        line.setPosition(QPointF(indent, y));
        y += pitch;
    }
    layout.endLayout();
    return y;
}

QPoint FlowLabel::textEnd() const
{
    QTextLayout layout;
    layOut(layout, contentsRect().width());
    if (layout.lineCount() == 0)
        return {m_indent, 0};
    const QTextLine last = layout.lineAt(layout.lineCount() - 1);
    return {int(std::ceil(last.x() + last.naturalTextWidth())), int(last.y())};
}

int FlowLabel::heightForWidth(int width) const
{
    QTextLayout layout;
    return layOut(layout, width);
}

QSize FlowLabel::sizeHint() const
{
    const int w = width() > 0 ? width() : QLabel::sizeHint().width();
    return {w, heightForWidth(w)};
}

QSize FlowLabel::minimumSizeHint() const { return sizeHint(); }

void FlowLabel::paintEvent(QPaintEvent *)
{
    QTextLayout layout;
    layOut(layout, contentsRect().width());
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    layout.draw(&painter, contentsRect().topLeft());
}

int stackLabels(const QList<StackedLabel> &labels, int left, int top, int width)
{
    int y = top;
    const FlowLabel *previous = nullptr;
    for (const StackedLabel &s : labels) {
        auto *flow = dynamic_cast<FlowLabel *>(s.label);
        const QFontMetrics fm(s.label->font());
        if (s.blankLinesBefore == StackedLabel::RunsOn && flow && previous) {
            // Start on the last line of the label above, a space after its end, unless
            // the first word would not fit there.
            const QPoint end = previous->textEnd();
            int indent = end.x() + fm.horizontalAdvance(QLatin1Char(' '));
            int lineTop = previous->y() + end.y();
            const QString firstWord = flow->text().section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
            if (indent + fm.horizontalAdvance(firstWord) > width) {
                indent = 0;
                lineTop += fm.lineSpacing();
            }
            flow->setFirstLineIndent(indent);
            const int height = flow->heightForWidth(width);
            flow->setGeometry(left, lineTop, width, height);
            y = std::max(y, lineTop + height);
        } else {
            if (flow)
                flow->setFirstLineIndent(0);
            y += std::max(0, s.blankLinesBefore) * fm.lineSpacing();
            const int height = s.label->heightForWidth(width);
            s.label->setGeometry(left, y, width, height);
            y += height;
        }
        previous = flow;
    }
    return y;
}

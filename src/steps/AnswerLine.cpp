#include "steps/AnswerLine.h"

#include "formats/DocumentStructure.h"

#include <QPainter>
#include <QStyle>
#include <QTextDocument>

QString AnswerLine::shownText() const
{
    const QString all = text();
    qsizetype end = 0;
    while (end < all.size() && !formats::breaksLine(all[end].unicode()))
        ++end;
    QString first = all.left(end);
    // More lines follow: the mark says so even when the first one fits.
    if (end < all.size())
        first += QChar(0x2026);
    return fontMetrics().elidedText(first, Qt::ElideRight, contentsRect().width());
}

void AnswerLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

QLabel *makeAnswerLine(QWidget *parent, const QString &name, const QFont &font, const QRect &geometry)
{
    auto *line = new AnswerLine(parent);
    line->setObjectName(name);
    line->setFont(font);
    line->setTextFormat(Qt::PlainText);
    line->setWordWrap(false);
    line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    line->setGeometry(geometry);
    return line;
}

void showAnswer(QLabel *line, const QString &text)
{
    line->setText(text);
    // The tooltip would render anything that looks like markup; show the typed text.
    line->setToolTip(Qt::mightBeRichText(text)
                         ? QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(text.toHtmlEscaped())
                         : text);
}

#include "app/StepMarkIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kHalf(0x2f, 0x5f, 0xa8);
const QColor kDone(0x2e, 0x8b, 0x3e);

class StepMarkEngine : public QIconEngine {
public:
    explicit StepMarkEngine(StepMark mark) : m_mark(mark) {}

    QIconEngine *clone() const override { return new StepMarkEngine(m_mark); }
    QString key() const override { return QStringLiteral("StepMarkEngine"); }

    void paint(QPainter *p, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        const qreal side = qMin(rect.width(), rect.height());
        const qreal pen = qMax<qreal>(1.0, side / 10.0);
        // A square of the icon's side centred in rect, inset by half the pen width.
        const QRectF box(rect.x() + (rect.width() - side) / 2.0 + pen / 2.0,
                         rect.y() + (rect.height() - side) / 2.0 + pen / 2.0, side - pen, side - pen);
        switch (m_mark) {
        case StepMark::Empty: break;
        case StepMark::Half:
            p->setPen(Qt::NoPen);
            p->setBrush(kHalf);
            p->drawPie(box, 90 * 16, 180 * 16); // the left half
            p->setPen(QPen(kHalf, pen));
            p->setBrush(Qt::NoBrush);
            p->drawEllipse(box);
            break;
        case StepMark::Check: {
            p->setPen(Qt::NoPen);
            p->setBrush(kDone);
            p->drawEllipse(box);
            QPainterPath tick;
            tick.moveTo(box.left() + box.width() * 0.24, box.top() + box.height() * 0.52);
            tick.lineTo(box.left() + box.width() * 0.43, box.top() + box.height() * 0.71);
            tick.lineTo(box.left() + box.width() * 0.77, box.top() + box.height() * 0.31);
            p->setPen(QPen(Qt::white, pen * 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p->drawPath(tick);
            break;
        }
        }
        p->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

private:
    StepMark m_mark;
};

} // namespace

QIcon stepMarkIcon(StepMark mark)
{
    // An unanswered step keeps the plain square it always had.
    if (mark == StepMark::Empty)
        return {};
    return QIcon(new StepMarkEngine(mark));
}

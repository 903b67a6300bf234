#include "plandoc/Charts.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace plandoc::charts {

namespace {

// Income dark and solid, expenses light under black hatching: apart in grey as in colour.
const QColor IncomeColour(0x1f, 0x3b, 0x5c);
const QColor ExpensesColour(0xf2, 0xc1, 0x8d);
const QColor GridColour(0xc8, 0xc8, 0xc8);

constexpr qreal inch(qreal inches) { return inches * Dpi; }

// A step of 1, 2, 2.5 or 5 times a power of ten that parts the range into about five.
double niceStep(double range)
{
    const double raw = std::max(range, 1.0) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10 * power;
}

QFont arial(qreal points, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

void hatch(QPainter &p, const QRectF &r)
{
    p.save();
    p.setClipRect(r);
    p.setPen(QPen(Qt::black, inch(0.008)));
    const qreal gap = inch(0.05);
    for (qreal x = r.left() - r.height(); x < r.right(); x += gap)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
}

void expensesBar(QPainter &p, const QRectF &r)
{
    p.fillRect(r, ExpensesColour);
    hatch(p, r);
}

void cashDot(QPainter &p, QPointF at)
{
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, inch(0.012)));
    p.drawEllipse(at, inch(0.025), inch(0.025));
}

qint64 at(const std::vector<qint64> &v, qsizetype i) { return i < qsizetype(v.size()) ? v[size_t(i)] : 0; }

QImage draw(const Figures &f, QSizeF inches, const QString &title, const QString &cashKey)
{
    QImage image(qRound(inch(inches.width())), qRound(inch(inches.height())), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(Dpi / 0.0254));
    image.setDotsPerMeterY(qRound(Dpi / 0.0254));
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const qsizetype n = std::max<qsizetype>(f.labels.size(), 1);
    const bool line = !f.cash.empty();
    // The value axis in whole units, zero always on it.
    double lo = 0, hi = 0;
    for (qsizetype i = 0; i < n; ++i)
        for (const qint64 v : {at(f.income, i), at(f.expenses, i), line ? at(f.cash, i) : 0}) {
            lo = std::min(lo, v / 100.0);
            hi = std::max(hi, v / 100.0);
        }
    const double step = niceStep(hi - lo);
    lo = std::floor(lo / step) * step;
    hi = std::max(std::ceil(hi / step) * step, lo + step);

    const QFont text = arial(8), heading = arial(10, true);
    const QFontMetricsF fm(text, &image), hm(heading, &image);
    qreal axisWidth = 0;
    for (double v = lo; v <= hi + step / 2; v += step)
        axisWidth = std::max(axisWidth, fm.horizontalAdvance(amount(qint64(std::llround(v * 100)), f.currency)));
    const qreal pad = inch(0.08);
    const QRectF plot(axisWidth + 2 * pad, hm.height() + fm.height() + 3 * pad, 0, 0);
    const QRectF area(plot.topLeft(), QPointF(image.width() - pad, image.height() - 2 * fm.height() - 2 * pad));
    const auto y = [&](double units) { return area.bottom() - (units - lo) / (hi - lo) * area.height(); };

    p.setFont(heading);
    p.setPen(Qt::black);
    p.drawText(QRectF(0, pad, image.width(), hm.height()), Qt::AlignHCenter, title);

    // The legend under the title.
    p.setFont(text);
    struct Key {
        QString name;
        int kind;
    };
    std::vector<Key> keys{{QStringLiteral("Income"), 0}, {QStringLiteral("Expenses"), 1}};
    if (line)
        keys.push_back({cashKey, 2});
    const qreal swatch = fm.height() * 0.8, keyGap = inch(0.25);
    qreal legendWidth = 0;
    for (const Key &k : keys)
        legendWidth += swatch + pad + fm.horizontalAdvance(k.name) + keyGap;
    qreal x = (image.width() - legendWidth + keyGap) / 2;
    const qreal ly = pad + hm.height() + pad;
    for (const Key &k : keys) {
        const QRectF box(x, ly + (fm.height() - swatch) / 2, swatch, swatch);
        if (k.kind == 0) {
            p.fillRect(box, IncomeColour);
        } else if (k.kind == 1) {
            expensesBar(p, box);
        } else {
            p.setPen(QPen(Qt::black, inch(0.012)));
            p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
            cashDot(p, box.center());
        }
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawText(QPointF(box.right() + pad, ly + fm.ascent()), k.name);
        x = box.right() + pad + fm.horizontalAdvance(k.name) + keyGap;
    }

    // Grid and amounts.
    for (double v = lo; v <= hi + step / 2; v += step) {
        p.setPen(QPen(std::abs(v) < step / 2 ? Qt::black : GridColour, inch(0.006)));
        p.drawLine(QPointF(area.left(), y(v)), QPointF(area.right(), y(v)));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, y(v) - fm.height() / 2, area.left() - pad, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   amount(qint64(std::llround(v * 100)), f.currency));
    }

    // The bars side by side in each period, the labels under them.
    const qreal slot = area.width() / n;
    const qreal bar = slot * 0.34;
    // One label that does not fit puts every label on two lines, so the axis reads evenly.
    const bool twoLines = std::any_of(f.labels.begin(), f.labels.end(),
                                      [&](const QString &l) { return fm.horizontalAdvance(l) > slot * 0.95; });
    QPainterPath cash;
    for (qsizetype i = 0; i < n; ++i) {
        const qreal centre = area.left() + slot * (i + 0.5);
        const auto barRect = [&](qreal left, qint64 cents) {
            return QRectF(QPointF(left, y(std::max(cents / 100.0, 0.0))), QPointF(left + bar, y(std::min(cents / 100.0, 0.0))));
        };
        const QRectF income = barRect(centre - bar, at(f.income, i)), expenses = barRect(centre, at(f.expenses, i));
        p.fillRect(income, IncomeColour);
        expensesBar(p, expenses);
        p.setPen(QPen(Qt::black, inch(0.006)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(income);
        p.drawRect(expenses);
        const QPointF point(centre, y(at(f.cash, i) / 100.0));
        if (i == 0)
            cash.moveTo(point);
        else
            cash.lineTo(point);
        QString label = f.labels.value(i);
        if (twoLines)
            label.replace(QLatin1Char(' '), QLatin1Char('\n')); // "Jan" over "2027"
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left() + slot * i, area.bottom() + pad / 2, slot, 2 * fm.height()),
                   Qt::AlignHCenter | Qt::AlignTop, label);
    }
    if (line) {
        p.setPen(QPen(Qt::black, inch(0.012)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(cash);
        for (int i = 0; i < cash.elementCount(); ++i)
            cashDot(p, cash.elementAt(i));
    }
    return image;
}

} // namespace

QString amount(qint64 cents, const QString &currency)
{
    const qint64 units = std::llround(cents / 100.0);
    const QString digits = QLocale(QLocale::English).toString(units < 0 ? -units : units);
    return (units < 0 ? QStringLiteral("-") : QString()) + currency + digits;
}

QImage monthlyChart(const Figures &months, QSizeF inches)
{
    return draw(months, inches, QStringLiteral("Monthly income, expenses and cash"), QStringLiteral("Cash at month end"));
}

QImage yearlyChart(const Figures &years, QSizeF inches)
{
    return draw(years, inches, QStringLiteral("Income, expenses and cash by year"), QStringLiteral("Cash at year end"));
}

} // namespace plandoc::charts

#include "plandoc/TableWidths.h"

#include <QFontMetricsF>
#include <QImage>

#include <algorithm>
#include <numeric>
#include <optional>

namespace plandoc::finance {

namespace {

constexpr int TypeSizes[] = {9, 8, SmallestType};
// The narrower of an A4 and a Letter page less the printed margins, in points.
constexpr qreal PageWidthPt = (210.0 - 40.0) / 25.4 * 72.0;

// Widths at 72 per inch, so that one pixel is one point; bold, as the widest cells are.
QFontMetricsF metricsAt(int points)
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(2835);
        image.setDotsPerMeterY(2835);
        return image;
    }();
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    font.setBold(true);
    return QFontMetricsF(font, &device);
}

// The width of a cell's longest line; a cell may break its lines itself.
qreal lineWidth(const QFontMetricsF &metrics, const QString &cell)
{
    qreal widest = 0;
    for (const QString &line : cell.split(QChar::LineSeparator))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The widths of the columns at the type size, the room of a cell's padding and border
// included; nothing when they cannot fit even with headings wrapped between words.
std::optional<QList<qreal>> fit(const QList<QStringList> &cells, const QList<int> &columns, int points)
{
    const QFontMetricsF metrics = metricsAt(points);
    const qreal frame = 2 * CellPadding + CellBorder + 1;
    QList<qreal> whole;
    QList<qreal> least;
    for (int c : columns) {
        qreal line = 0;
        qreal word = 0;
        for (const QStringList &row : cells) {
            line = std::max(line, lineWidth(metrics, row.value(c)));
            for (const QString &w : QString(row.value(c)).replace(QChar::LineSeparator, QLatin1Char(' ')).split(QLatin1Char(' ')))
                word = std::max(word, metrics.horizontalAdvance(w));
        }
        whole << line + frame;
        least << word + frame;
    }
    const qreal room = PageWidthPt - CellBorder;
    const qreal wholeSum = std::accumulate(whole.begin(), whole.end(), 0.0);
    if (wholeSum <= room)
        return whole;
    const qreal leastSum = std::accumulate(least.begin(), least.end(), 0.0);
    if (leastSum > room)
        return std::nullopt;
    // Each column gets its least and a share of the rest by how much more it would take.
    const qreal share = (room - leastSum) / (wholeSum - leastSum);
    QList<qreal> out;
    for (qsizetype i = 0; i < whole.size(); ++i)
        out << least[i] + (whole[i] - least[i]) * share;
    return out;
}

// Widths by content at the smallest type, for amounts in the trillions that fit no page.
QList<qreal> natural(const QList<QStringList> &cells, const QList<int> &columns)
{
    const QFontMetricsF metrics = metricsAt(SmallestType);
    QList<qreal> out;
    for (int c : columns) {
        qreal widest = 1;
        for (const QStringList &row : cells)
            widest = std::max(widest, lineWidth(metrics, row.value(c)));
        out << widest;
    }
    return out;
}

TablePart part(const QList<int> &columns, const QList<qreal> &points, int size)
{
    const qreal total = std::accumulate(points.begin(), points.end(), 0.0);
    TablePart p{columns, {}, size};
    for (qreal w : points)
        p.widths << QTextLength(QTextLength::PercentageLength, w * 100 / total);
    return p;
}

} // namespace

QList<TablePart> layoutTable(const QList<QStringList> &cells, bool splittable)
{
    const int count = cells.isEmpty() ? 0 : int(cells.first().size());
    QList<int> all(count);
    std::iota(all.begin(), all.end(), 0);
    for (int size : TypeSizes)
        if (const auto widths = fit(cells, all, size))
            return {part(all, *widths, size)};
    if (!splittable || count < 4)
        return {part(all, natural(cells, all), SmallestType)};
    // The first half of the months, then the second with what follows them, each under
    // the labels.
    const int half = (count - 1) / 2;
    QList<int> first{0};
    QList<int> second{0};
    for (int c = 1; c < count; ++c)
        (c <= half ? first : second) << c;
    for (int size : TypeSizes) {
        const auto a = fit(cells, first, size);
        const auto b = fit(cells, second, size);
        if (a && b)
            return {part(first, *a, size), part(second, *b, size)};
    }
    return {part(first, natural(cells, first), SmallestType), part(second, natural(cells, second), SmallestType)};
}

} // namespace plandoc::finance

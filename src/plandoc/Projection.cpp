#include "plandoc/Projection.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextTable>

#include <algorithm>

namespace plandoc::projection {

namespace {

// Digits of a number beyond which it is surely above MaxAmount (avoids overflow).
constexpr int MaxWholeDigits = 13;

// Whole units and a decimal part (digits after the point) as cents, rounded half up;
// nothing when the amount is above MaxAmount.
std::optional<Cents> toCents(QStringView whole, QStringView decimals)
{
    QString digits;
    for (QChar c : whole)
        if (c.isDigit())
            digits += c;
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.isEmpty() || digits.size() > MaxWholeDigits)
        return std::nullopt;
    Cents cents = digits.toLongLong() * 100;
    const QString d = decimals.toString() + QStringLiteral("000");
    cents += d.left(2).toInt();
    if (d.at(2) >= QLatin1Char('5'))
        ++cents;
    if (cents > MaxAmount)
        return std::nullopt;
    return cents;
}

// A number in an answer: thousands commas only in groups of three.
const QRegularExpression &numberPattern()
{
    static const QRegularExpression re(QStringLiteral(R"((?<!\d)(\d{1,3}(?:,\d{3})+|\d+)(?!\d|,\d)(?:\.(\d+))?)"));
    return re;
}

QLocale english() { return QLocale(QLocale::English, QLocale::UnitedStates); }

QDate monthAt(const QDate &first, int i)
{
    const QDate start = first.isValid() ? QDate(first.year(), first.month(), 1) : QDate(2000, 1, 1);
    return start.addMonths(i);
}

// The type sizes the table may take, largest first, and the width it must fit: the
// narrower of an A4 and a Letter page less the printed margins, in points.
constexpr int TypeSizes[] = {9, 8, 7, 6};
constexpr qreal PageWidthPt = (210.0 - 40.0) / 25.4 * 72.0;
constexpr qreal CellPadding = 2;
constexpr qreal CellBorder = 0.5;
const QString TableFamily = QStringLiteral("Arial");

QFont cellFont(int size, bool bold)
{
    QFont font(TableFamily);
    font.setPointSize(size);
    font.setBold(bold);
    return font;
}

// The width in points the given columns need at a type size.
qreal neededWidth(const QList<QStringList> &cells, const QList<int> &columns, int size)
{
    QImage points(1, 1, QImage::Format_RGB32);
    points.setDotsPerMeterX(2835); // 72 per inch: one pixel is one point
    points.setDotsPerMeterY(2835);
    const QFontMetricsF metrics(cellFont(size, true), &points);
    qreal total = CellBorder;
    for (int c : columns) {
        qreal widest = 0;
        for (const QStringList &row : cells)
            widest = std::max(widest, metrics.horizontalAdvance(row.at(c)));
        total += widest + 2 * CellPadding + CellBorder + 1;
    }
    return total;
}

bool isBold(int row, int column) { return row >= 3 || column == Months + 1; }

QTextTable *addTable(QTextCursor &cursor, const QList<QStringList> &cells, const QList<int> &columns, int size)
{
    QTextTableFormat format;
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setCellPadding(CellPadding);
    format.setCellSpacing(0);
    format.setBorder(CellBorder);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QColor(Qt::darkGray));
    format.setHeaderRowCount(1);
    QTextTable *table = cursor.insertTable(int(cells.size()), int(columns.size()), format);
    for (int r = 0; r < cells.size(); ++r) {
        for (int i = 0; i < columns.size(); ++i) {
            const int c = columns.at(i);
            QTextCursor cell = table->cellAt(r, i).firstCursorPosition();
            QTextBlockFormat block;
            block.setAlignment(c == 0 ? Qt::AlignLeft : Qt::AlignRight);
            cell.setBlockFormat(block);
            QTextCharFormat chars;
            chars.setFontFamilies({TableFamily});
            chars.setFontPointSize(size);
            chars.setFontWeight(isBold(r, c) ? QFont::Bold : QFont::Normal);
            // An empty cell keeps the table's type too, so its row is no taller.
            cell.setBlockCharFormat(chars);
            cell.insertText(cells.at(r).at(c), chars);
        }
    }
    return table;
}

} // namespace

Figures compute(const Input &input)
{
    Figures f;
    Cents running = input.openingCash;
    for (int i = 0; i < Months; ++i) {
        f.net[i] = input.income[i] - input.expenses[i];
        running += f.net[i];
        f.cumulative[i] = running;
        f.totalIncome += input.income[i];
        f.totalExpenses += input.expenses[i];
        if (f.breakEvenMonth == 0 && running >= 0)
            f.breakEvenMonth = i + 1;
    }
    f.totalNet = f.totalIncome - f.totalExpenses;
    return f;
}

QList<Cents> amountsInAnswer(const QString &answer)
{
    static const QRegularExpression cuts(QStringLiteral(R"([\r\n;]|,\s)"));
    QList<Cents> amounts;
    for (const QString &part : answer.split(cuts)) {
        QRegularExpressionMatch last;
        for (auto it = numberPattern().globalMatch(part); it.hasNext();)
            last = it.next();
        if (!last.hasMatch())
            continue;
        // A number beyond the largest amount fills its month with the largest.
        amounts << toCents(last.capturedView(1), last.capturedView(2)).value_or(MaxAmount);
        if (amounts.size() == Months)
            break;
    }
    return amounts;
}

Row prefillRow(const QString &answer)
{
    Row row{};
    const QList<Cents> amounts = amountsInAnswer(answer);
    std::copy(amounts.begin(), amounts.end(), row.begin());
    return row;
}

QString formatAmount(Cents amount)
{
    const bool negative = amount < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(amount) : quint64(amount);
    QString whole = QString::number(magnitude / 100);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, QLatin1Char(','));
    if (const quint64 cents = magnitude % 100)
        whole += QStringLiteral(".%1").arg(cents, 2, 10, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + whole : whole;
}

std::optional<Cents> parseAmount(const QString &text, const QString &currency)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QChar(0x2212))) {
        negative = true;
        t = t.mid(1).trimmed();
    }
    const QString sign = currency.trimmed();
    if (!sign.isEmpty() && t.startsWith(sign))
        t = t.mid(sign.size()).trimmed();
    else if (t.startsWith(QLatin1Char('$')))
        t = t.mid(1).trimmed();
    static const QRegularExpression whole(QStringLiteral(R"(^(\d{1,3}(?:,\d{3})+|\d+)(?:\.(\d{0,2}))?$)"));
    const QRegularExpressionMatch m = whole.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    const std::optional<Cents> cents = toCents(m.capturedView(1), m.capturedView(2));
    if (!cents)
        return std::nullopt;
    return negative ? -*cents : *cents;
}

QDate defaultFirstMonth(const QDate &today) { return QDate(today.year(), today.month(), 1).addMonths(1); }

QString shortMonthName(const QDate &firstMonth, int i)
{
    return english().toString(monthAt(firstMonth, i), QStringLiteral("MMM yyyy"));
}

QString longMonthName(const QDate &firstMonth, int i)
{
    return english().toString(monthAt(firstMonth, i), QStringLiteral("MMMM yyyy"));
}

QString breakEvenSentence(const Input &input, const Figures &figures)
{
    if (figures.breakEvenMonth == 0)
        return QStringLiteral("Break-even: not reached within these 12 months.");
    return QStringLiteral("Break-even: month %1 (%2), when the cumulative net first reaches zero or more.")
        .arg(figures.breakEvenMonth)
        .arg(longMonthName(input.firstMonth, figures.breakEvenMonth - 1));
}

QString rowLabel(int row)
{
    static const char *const labels[] = {"Income", "Expenses", "Net", "Cumulative"};
    return row >= 0 && row < 4 ? QString::fromLatin1(labels[row]) : QString();
}

QList<QStringList> tableCells(const Input &input)
{
    const Figures f = compute(input);
    QStringList header{input.currency.trimmed()};
    for (int i = 0; i < Months; ++i)
        header << shortMonthName(input.firstMonth, i);
    header << TotalLabel;
    QList<QStringList> cells{header};
    const Row *rows[] = {&input.income, &input.expenses, &f.net, &f.cumulative};
    const Cents totals[] = {f.totalIncome, f.totalExpenses, f.totalNet, f.cumulative[Months - 1]};
    for (int r = 0; r < 4; ++r) {
        QStringList line{rowLabel(r)};
        for (Cents amount : *rows[r])
            line << formatAmount(amount);
        line << formatAmount(totals[r]);
        cells << line;
    }
    return cells;
}

void insertTable(QTextCursor &cursor, const Input &input)
{
    const QList<QStringList> cells = tableCells(input);
    QList<int> year;
    for (int c = 0; c <= Months + 1; ++c)
        year << c;
    QList<QList<int>> parts{year};
    int size = TypeSizes[std::size(TypeSizes) - 1];
    const auto fits = [&](const QList<QList<int>> &tables) {
        for (int s : TypeSizes) {
            if (std::all_of(tables.begin(), tables.end(),
                            [&](const QList<int> &cols) { return neededWidth(cells, cols, s) <= PageWidthPt; })) {
                size = s;
                return true;
            }
        }
        return false;
    };
    if (!fits(parts)) {
        // Six months, then six more and the total, each under the row labels.
        parts = {{0, 1, 2, 3, 4, 5, 6}, {0, 7, 8, 9, 10, 11, 12, 13}};
        fits(parts);
    }

    QTextCharFormat lineFormat = cursor.charFormat();
    lineFormat.setFontWeight(QFont::Normal);
    cursor.beginEditBlock();
    cursor.clearSelection();
    QTextCursor at = cursor;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QTextTable *table = addTable(at, cells, parts.at(i), size);
        at = table->lastCursorPosition();
        at.movePosition(QTextCursor::NextBlock);
        // What followed the caret stays in a paragraph of its own after the table.
        const bool tail = !at.block().text().isEmpty();
        if (i + 1 < parts.size()) {
            if (tail) {
                at.insertBlock();
                at.movePosition(QTextCursor::PreviousBlock);
            }
            continue;
        }
        at.insertText(breakEvenSentence(input, compute(input)), lineFormat);
        if (tail)
            at.insertBlock();
    }
    cursor.endEditBlock();
    cursor.setPosition(at.position());
}

} // namespace plandoc::projection

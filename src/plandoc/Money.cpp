#include "plandoc/Money.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace plandoc::finance {

namespace {

// Products of an amount and a rate can pass 2^63 before they are divided.
__extension__ typedef __int128 Wide;

// Digits of a number beyond which it is surely above MaxAmount (avoids overflow).
constexpr int MaxWholeDigits = 13;

QLocale english() { return QLocale(QLocale::English, QLocale::UnitedStates); }

QDate monthAt(const QDate &first, int i)
{
    const QDate start = first.isValid() ? QDate(first.year(), first.month(), 1) : QDate(2000, 1, 1);
    return start.addMonths(i);
}

} // namespace

Cents mulDiv(Cents a, qint64 num, qint64 den)
{
    const Wide product = Wide(a) * num;
    const Wide magnitude = (product < 0 ? -product : product) + den / 2;
    const Wide q = magnitude / den;
    const Wide limit = Wide(std::numeric_limits<Cents>::max());
    const Cents result = Cents(std::min(q, limit));
    return product < 0 ? -result : result;
}

Cents clampAmount(Cents amount) { return std::clamp(amount, -MaxAmount, MaxAmount); }

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

QString withCurrency(Cents amount, const QString &currency)
{
    const QString sign = currency.trimmed();
    if (amount < 0)
        return QLatin1Char('-') + sign + formatAmount(-amount);
    return sign + formatAmount(amount);
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
    QString digits = m.captured(1).remove(QLatin1Char(','));
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.size() > MaxWholeDigits)
        return std::nullopt;
    const Cents cents = digits.toLongLong() * 100 + (m.captured(2) + QStringLiteral("00")).left(2).toInt();
    if (cents > MaxAmount)
        return std::nullopt;
    return negative ? -cents : cents;
}

QString formatRate(Rate rate)
{
    QString number = QString::number(rate / 100);
    if (const int hundredths = std::abs(rate % 100)) {
        number += QStringLiteral(".%1").arg(hundredths, 2, 10, QLatin1Char('0'));
        if (number.endsWith(QLatin1Char('0')))
            number.chop(1);
    }
    return number + QStringLiteral(" %");
}

std::optional<Rate> parseRate(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*(\d{1,3})(?:[.,](\d{0,2}))?\s*%?\s*$)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const Rate rate = m.captured(1).toInt() * 100 + (m.captured(2) + QStringLiteral("00")).left(2).toInt();
    if (rate > MaxRate)
        return std::nullopt;
    return rate;
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

QString monthOnlyName(const QDate &firstMonth, int i)
{
    return english().toString(monthAt(firstMonth, i), QStringLiteral("MMMM"));
}

std::optional<QDate> monthFromName(const QString &name)
{
    for (const char *format : {"MMMM yyyy", "MMM yyyy"}) {
        const QDate date = english().toDate(name.trimmed(), QString::fromLatin1(format));
        if (date.isValid())
            return QDate(date.year(), date.month(), 1);
    }
    return std::nullopt;
}

} // namespace plandoc::finance

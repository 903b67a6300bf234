#pragma once

// Amounts and rates as the financial plan keeps them: whole cents and hundredths of a
// percent, so sums are exact and nothing is ever a fraction of a cent; how they are
// shown, how a typed one is read, and the month names of the plan's tables.

#include <QDate>
#include <QString>

#include <optional>

namespace plandoc::finance {

using Cents = qint64;
// Hundredths of a percent: 7.25 % is 725.
using Rate = int;

// The largest amount a cell, a total or a funding line takes: a trillion.
constexpr Cents MaxAmount = Cents(1'000'000'000'000) * 100;
constexpr Rate MaxRate = 100 * 100;

// a * num / den, rounded half away from zero, computed without overflow; den > 0.
Cents mulDiv(Cents a, qint64 num, qint64 den);
// The amount within -MaxAmount..MaxAmount.
Cents clampAmount(Cents amount);

// "1,234", "1,234.50", "-75": thousands separators, cents only when there are any.
QString formatAmount(Cents amount);
// "$1,234" with the currency sign before, or the amount alone without one.
QString withCurrency(Cents amount, const QString &currency);
// An amount as a person types it in a cell: an optional minus, an optional currency
// sign, digits with or without thousands commas, up to two decimals; at most MaxAmount
// either way. Surrounding spaces are ignored; anything else gives nothing.
std::optional<Cents> parseAmount(const QString &text, const QString &currency = QString());

// "7.25 %", "35 %": up to two decimals, as few as needed.
QString formatRate(Rate rate);
// "7.25", "7.25 %", "7,5%": 0 to 100 %, at most two decimals; anything else gives nothing.
std::optional<Rate> parseRate(const QString &text);

// The month after today's, on its first day.
QDate defaultFirstMonth(const QDate &today);
// Month i (0 on) from the first: "Jan 2027", "January 2027", "January".
QString shortMonthName(const QDate &firstMonth, int i);
QString longMonthName(const QDate &firstMonth, int i);
QString monthOnlyName(const QDate &firstMonth, int i);
// The month a name like "March 2027" or "Mar 2027" stands for; nothing when it is none.
std::optional<QDate> monthFromName(const QString &name);

} // namespace plandoc::finance

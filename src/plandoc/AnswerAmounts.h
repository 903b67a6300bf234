#pragma once

// The amounts an owner typed into a free-text answer ("Apr $18,600 (2 new cafe
// accounts); May $19,400"), one per part, each with a word on how sure the reading is.
// The answer is cut at line ends, semicolons and a comma followed by a space (not inside
// brackets); a part without a number gives nothing.

#include "plandoc/Money.h"

#include <QList>
#include <QString>

#include <optional>

namespace plandoc::finance {

struct AnswerAmount {
    Cents amount = 0;
    // The reading had to choose between numbers none of which carries a currency sign,
    // or took one in brackets: worth a look.
    bool marked = false;
    QString part; // the part it was read from, trimmed
};

// At most `limit` amounts, in order. In each part the number with a currency sign wins
// ("$18,600", "18.600 €"); otherwise the largest. Numbers in brackets count only when
// the part has no other, and neither a year after a month's name ("Jan 2027") nor the
// number after "Month" or "Mo" nor a percentage counts at all. "1,200.50" and "1.200,50"
// are both 1200.50: two digits after the last separator make it the decimal one.
QList<AnswerAmount> readAmounts(const QString &answer, int limit = 12);

// The month (1 to 12) whose name begins the answer ("Jan $15,800; ..."), if one does.
std::optional<int> firstNamedMonth(const QString &answer);

} // namespace plandoc::finance

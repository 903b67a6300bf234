#include "plandoc/AnswerAmounts.h"

#include <QRegularExpression>

#include <algorithm>

namespace plandoc::finance {

namespace {

// Digits of a whole number beyond which it is surely above MaxAmount.
constexpr int MaxWholeDigits = 13;

struct Number {
    qsizetype start = 0;
    qsizetype end = 0; // one past the last character
    QString text;
    bool bracketed = false;
    Cents cents = 0;
};

bool isOpen(QChar c) { return c == u'(' || c == u'[' || c == u'{'; }
bool isClose(QChar c) { return c == u')' || c == u']' || c == u'}'; }
bool isGroupSpace(QChar c) { return c == u' ' || c == QChar::Nbsp || c == QChar(0x202F); }

// The bracket depth before each character.
QList<int> depths(const QString &text)
{
    QList<int> out;
    int depth = 0;
    for (QChar c : text) {
        out << depth;
        if (isOpen(c))
            ++depth;
        else if (isClose(c) && depth > 0)
            --depth;
    }
    return out;
}

QStringList parts(const QString &answer)
{
    QStringList out;
    const QList<int> depth = depths(answer);
    qsizetype from = 0;
    for (qsizetype i = 0; i <= answer.size(); ++i) {
        const bool end = i == answer.size();
        const QChar c = end ? QChar() : answer[i];
        const bool cut = end || c == u'\n' || c == u'\r' || c == u';'
            || (c == u',' && depth[i] == 0 && i + 1 < answer.size() && answer[i + 1].isSpace());
        if (!cut)
            continue;
        out << answer.mid(from, i - from).trimmed();
        from = i + 1;
    }
    return out;
}

// Whole digits and up to two decimals as cents; above MaxAmount is MaxAmount.
Cents toCents(const QString &whole, const QString &decimals)
{
    QString digits = whole;
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    if (digits.size() > MaxWholeDigits)
        return MaxAmount;
    const Cents cents = digits.toLongLong() * 100 + (decimals + QStringLiteral("00")).left(2).toInt();
    return std::min(cents, MaxAmount);
}

// Thousands groups after the first: the first of 1 to 3 digits, the others of 3.
bool validGroups(const QStringList &groups)
{
    if (groups.isEmpty() || groups.first().isEmpty() || (groups.first().size() > 3 && groups.size() > 1))
        return false;
    return std::all_of(groups.begin() + 1, groups.end(), [](const QString &g) { return g.size() == 3; });
}

// "1,200.50", "1.200,50", "1,200", "1.5", "900": the amount, or nothing when the
// separators make no number.
std::optional<Cents> interpret(const QString &token)
{
    const qsizetype last = std::max(token.lastIndexOf(u'.'), token.lastIndexOf(u','));
    if (last < 0)
        return toCents(token, QString());
    const qsizetype after = token.size() - last - 1;
    QString whole = token;
    QString decimals;
    QChar decimal;
    if (after <= 2) {
        whole = token.left(last);
        decimals = token.mid(last + 1);
        decimal = token[last];
    }
    QChar group;
    for (QChar c : whole) {
        if (c.isDigit())
            continue;
        if (c == decimal || (!group.isNull() && c != group))
            return std::nullopt;
        group = c;
    }
    const QStringList groups = group.isNull() ? QStringList{whole} : whole.split(group);
    if (!validGroups(groups))
        return std::nullopt;
    return toCents(groups.join(QString()), decimals);
}

// The numbers of a part: digit runs joined by a point or comma between digits; a run
// whose separators make no number counts as its separate runs of digits.
QList<Number> numbers(const QString &part)
{
    static const QRegularExpression token(QStringLiteral(R"(\d+(?:[.,]\d+)*)"));
    static const QRegularExpression digits(QStringLiteral(R"(\d+)"));
    const QList<int> depth = depths(part);
    QList<Number> out;
    for (auto it = token.globalMatch(part); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool bracketed = depth[m.capturedStart()] > 0;
        if (const auto cents = interpret(m.captured())) {
            out.push_back({m.capturedStart(), m.capturedEnd(), m.captured(), bracketed, *cents});
            continue;
        }
        for (auto d = digits.globalMatch(m.captured()); d.hasNext();) {
            const QRegularExpressionMatch run = d.next();
            out.push_back({m.capturedStart() + run.capturedStart(), m.capturedStart() + run.capturedEnd(),
                           run.captured(), bracketed, toCents(run.captured(), QString())});
        }
    }
    return out;
}

bool isCurrencySign(QChar c) { return c.category() == QChar::Symbol_Currency; }

// The character before `at` (or from `at` on), past spaces.
QChar before(const QString &s, qsizetype at)
{
    while (at > 0 && s[at - 1].isSpace())
        --at;
    return at > 0 ? s[at - 1] : QChar();
}
QChar after(const QString &s, qsizetype at)
{
    while (at < s.size() && s[at].isSpace())
        ++at;
    return at < s.size() ? s[at] : QChar();
}

bool hasSign(const QString &part, const Number &n) { return isCurrencySign(before(part, n.start)) || isCurrencySign(after(part, n.end)); }

// "18 600 €": groups parted by spaces make one number only beside a currency sign, so
// that "900 950" stays two amounts.
void joinSpacedGroups(const QString &part, QList<Number> &list)
{
    static const QRegularExpression lead(QStringLiteral(R"(^\d{1,3}$)"));
    static const QRegularExpression group(QStringLiteral(R"(^\d{3}([.,]\d{1,2})?$)"));
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (!lead.match(list[i].text).hasMatch())
            continue;
        qsizetype j = i;
        QString digits = list[i].text;
        while (j + 1 < list.size() && list[j + 1].start == list[j].end + 1 && isGroupSpace(part[list[j].end])) {
            const QRegularExpressionMatch m = group.match(list[j + 1].text);
            if (!m.hasMatch())
                break;
            digits += list[++j].text;
            if (m.hasCaptured(1))
                break; // the decimals end the number
        }
        Number joined{list[i].start, list[j].end, digits, list[i].bracketed, 0};
        if (j == i || !hasSign(part, joined))
            continue;
        joined.cents = interpret(digits).value_or(MaxAmount);
        list.erase(list.begin() + i, list.begin() + j + 1);
        list.insert(i, joined);
    }
}

// The word just before `at`, past spaces and the marks that may follow it ("Mo. 3").
QString wordBefore(const QString &s, qsizetype at)
{
    while (at > 0 && (s[at - 1].isSpace() || s[at - 1] == u'#' || s[at - 1] == u'.' || s[at - 1] == u','))
        --at;
    qsizetype from = at;
    while (from > 0 && s[from - 1].isLetter())
        --from;
    return s.mid(from, at - from).toLower();
}

int monthNumber(const QString &word)
{
    static const char *const names[] = {"january", "february", "march",     "april",   "may",      "june",
                                        "july",    "august",   "september", "october", "november", "december"};
    if (word.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        if (name == word || name.left(3) == word || (i == 8 && word == u"sept"))
            return i + 1;
    }
    return 0;
}

// Numbers that are no amount: the year after a month's name, the number after "Month"
// or "Mo", a percentage.
bool counts(const QString &part, const Number &n)
{
    const QString word = wordBefore(part, n.start);
    if (word == u"month" || word == u"mo")
        return false;
    static const QRegularExpression year(QStringLiteral(R"(^(19|20|21)\d\d$)"));
    if (monthNumber(word) && year.match(n.text).hasMatch())
        return false;
    return after(part, n.end) != u'%';
}

std::optional<AnswerAmount> readPart(const QString &part)
{
    QList<Number> all = numbers(part);
    joinSpacedGroups(part, all);
    QList<Number> outside;
    QList<Number> inside;
    for (const Number &n : std::as_const(all))
        if (counts(part, n))
            (n.bracketed ? inside : outside) << n;
    const QList<Number> &pool = outside.isEmpty() ? inside : outside;
    if (pool.isEmpty())
        return std::nullopt;
    QList<Number> signed_;
    for (const Number &n : pool)
        if (hasSign(part, n))
            signed_ << n;
    const QList<Number> &choice = signed_.isEmpty() ? pool : signed_;
    const auto largest = std::max_element(choice.begin(), choice.end(),
                                          [](const Number &a, const Number &b) { return a.cents < b.cents; });
    const bool marked = choice.size() > 1 || (signed_.isEmpty() && outside.isEmpty());
    return AnswerAmount{largest->cents, marked, part};
}

} // namespace

QList<AnswerAmount> readAmounts(const QString &answer, int limit)
{
    QList<AnswerAmount> out;
    for (const QString &part : parts(answer)) {
        if (out.size() >= limit)
            break;
        if (const auto amount = readPart(part))
            out << *amount;
    }
    return out;
}

std::optional<int> firstNamedMonth(const QString &answer)
{
    static const QRegularExpression word(QStringLiteral(R"(^\s*([A-Za-z]+))"));
    const QRegularExpressionMatch m = word.match(answer);
    if (const int month = m.hasMatch() ? monthNumber(m.captured(1).toLower()) : 0)
        return month;
    return std::nullopt;
}

} // namespace plandoc::finance

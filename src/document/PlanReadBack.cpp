#include "document/PlanReadBack.h"

#include "document/PlanDocument.h"

#include <vector>

namespace {

// Where a fixed label stands in the text: its start and where its answer starts.
struct Anchor {
    const PlanLine *line = nullptr; // null: the address block at the top
    qsizetype start = 0;
    qsizetype valueStart = 0;
};

bool atLineStart(const QString &text, qsizetype at) { return at == 0 || text[at - 1] == QLatin1Char('\n'); }

// The first place at or after `from` where the label begins a line (a list heading must
// be the whole line).
qsizetype findLabel(const QString &text, const PlanLine &line, qsizetype from)
{
    for (qsizetype at = text.indexOf(line.label, from); at >= 0; at = text.indexOf(line.label, at + 1)) {
        if (!atLineStart(text, at))
            continue;
        const qsizetype end = at + line.label.size();
        if (!line.list || end == text.size() || text[end] == QLatin1Char('\n'))
            return at;
    }
    return -1;
}

// The text between two labels without what the template puts after the answer; where
// the document lost some of it, the line ends that are there.
QString answerText(const QString &text, qsizetype from, qsizetype to, const QString &after)
{
    QStringView value = QStringView(text).mid(from, to - from);
    if (value.endsWith(after)) {
        value.chop(after.size());
    } else {
        for (qsizetype n = 0; n < after.size() && value.endsWith(QLatin1Char('\n')); ++n)
            value.chop(1);
    }
    return value.toString();
}

// The three choices take only their options' texts, padded as the pages store them.
bool isChoice(const QString &field) { return field == u"BusType" || field == u"Offer" || field == u"Customers"; }

bool matchesOption(const QString &field, const QString &value)
{
    static const QStringList busType = {QStringLiteral("Corporation"), QStringLiteral("Partnership"),
                                        QStringLiteral("Sole Proprietorship")};
    static const QStringList offer = {QStringLiteral("Products"), QStringLiteral("Services"),
                                      QStringLiteral("Products and Services")};
    static const QStringList customers = {QStringLiteral("Businesses"), QStringLiteral("Consumers"),
                                          QStringLiteral("Businesses and Consumers")};
    const QString t = value.trimmed();
    const QStringList &options = field == u"BusType" ? busType : field == u"Offer" ? offer : customers;
    return t == BlankMarker || options.contains(t);
}

class Reader {
public:
    explicit Reader(PlanReadBack &out) : m_out(out) {}

    void set(const QString &field, const QString &value)
    {
        if (isChoice(field) && !matchesOption(field, value))
            return;
        planField(field).set(m_out.plan, isChoice(field) ? value.trimmed() : value);
        ++m_out.found;
    }

    // The address block: name, first line, the second line when there is one, then the
    // city line, whose last two spaces part city, state and zip.
    void address(const QString &block)
    {
        QStringList lines = block.split(QLatin1Char('\n'));
        if (block.isEmpty() || lines.size() < 3)
            return;
        set(QStringLiteral("Name"), lines.takeFirst());
        set(QStringLiteral("Add1"), lines.takeFirst());
        const QString city = lines.takeLast();
        set(QStringLiteral("Add2"), lines.join(QLatin1Char('\n'))); // none: left out as empty
        const qsizetype zip = city.lastIndexOf(QLatin1Char(' '));
        const qsizetype state = zip > 0 ? city.lastIndexOf(QLatin1Char(' '), zip - 1) : -1;
        if (state < 0)
            return;
        set(QStringLiteral("City"), city.left(state));
        set(QStringLiteral("State"), city.mid(state + 1, zip - state - 1));
        set(QStringLiteral("Zip"), city.mid(zip + 1));
    }

    // A list's answers one per line; lines past the last answer belong to it.
    void list(const PlanLine &line, const QString &block)
    {
        QStringList lines = block.split(QLatin1Char('\n'));
        const qsizetype count = line.fields.size();
        for (qsizetype i = 0; i < count && i < lines.size(); ++i) {
            if (line.fields[i].isEmpty())
                continue;
            const bool last = i == count - 1;
            set(line.fields[i], last ? lines.mid(i).join(QLatin1Char('\n')) : lines[i]);
        }
    }

private:
    PlanReadBack &m_out;
};

// An entry line is in use when it holds more than its number.
template <std::size_t N>
void markSlots(std::array<QString, N> &flags, const std::array<QString, N> &names)
{
    for (std::size_t i = 0; i < N; ++i)
        flags[i] = holdsAnswer(names[i], employeeEmpty(int(i) + 1)) ? SlotOn : SlotOff;
}

} // namespace

PlanReadBack readPlanBack(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (QChar &c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');

    std::vector<Anchor> anchors;
    qsizetype from = 0;
    for (const PlanLine &line : planLines()) {
        const qsizetype at = findLabel(text, line, from);
        if (at < 0)
            continue;
        const qsizetype valueStart = at + line.label.size() + (line.list ? 1 : 0);
        anchors.push_back({&line, at, std::min(valueStart, text.size())});
        from = anchors.back().valueStart;
    }

    PlanReadBack out;
    if (anchors.empty())
        return out;
    Reader reader(out);
    reader.address(answerText(text, 0, anchors.front().start, QString::fromLatin1(AddressBlockEnd)));
    for (std::size_t i = 0; i < anchors.size(); ++i) {
        const Anchor &a = anchors[i];
        const qsizetype end = i + 1 < anchors.size() ? anchors[i + 1].start : text.size();
        const QString answer = answerText(text, a.valueStart, end, a.line->after);
        if (a.line->list)
            reader.list(*a.line, answer);
        else
            reader.set(a.line->fields.first(), answer);
    }
    markSlots(out.shared.EmpSlot, out.plan.Emp);
    markSlots(out.shared.ProdSlot, out.plan.ProdServ);
    return out;
}

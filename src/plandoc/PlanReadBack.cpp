#include "plandoc/PlanReadBack.h"

#include "formats/DocumentStructure.h"
#include "plandoc/FinancialText.h"
#include "plandoc/PlanSections.h"
#include "plandoc/PlanDocument.h"

#include <algorithm>
#include <vector>

namespace plandoc {

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

    // A formatted plan: the sections under their numbered headings, each answer after
    // its lead-in; what the plan left out stays unanswered.
    void formatted(const QStringList &lines)
    {
        const std::vector<formattedplan::Section> &sections = formattedplan::sections();
        std::vector<qsizetype> starts;
        qsizetype from = 0;
        for (std::size_t i = 0; i < sections.size(); ++i) {
            // A heading by its title, whatever its number: a section may be left out.
            qsizetype at = from;
            while (at < lines.size() && !formattedplan::isSectionHeading(lines[at], sections[i]))
                ++at;
            starts.push_back(at < lines.size() ? at : -1);
            if (at < lines.size())
                from = at + 1;
        }
        if (std::all_of(starts.begin(), starts.end(), [](qsizetype at) { return at < 0; }))
            return;
        const qsizetype contents = lines.indexOf(QStringLiteral("Contents"));
        cover(lines.mid(0, contents >= 0 ? contents : 0));
        for (std::size_t i = 0; i < sections.size(); ++i) {
            if (starts[i] < 0)
                continue;
            qsizetype end = lines.size();
            for (std::size_t j = i + 1; j < starts.size(); ++j)
                if (starts[j] > starts[i]) {
                    end = starts[j];
                    break;
                }
            QStringList body = lines.mid(starts[i] + 1, end - starts[i] - 1);
            // The projection's tables are figures, not answers (FinancialReadBack takes them).
            if (const qsizetype table = body.indexOf(finance::ProjectionLead); table >= 0)
                body = body.mid(0, table);
            body.removeAll(QStringLiteral("To be completed."));
            while (!body.isEmpty() && body.last().isEmpty())
                body.removeLast();
            section(sections[i], body);
        }
    }

private:
    void cover(QStringList lines)
    {
        lines.removeAll(QString());
        if (lines.size() < 2)
            return;
        if (const QString name = lines.takeFirst(); name != u"Business Plan") {
            set(QStringLiteral("Name"), name);
            lines.removeFirst(); // "Business Plan"
        }
        lines.removeLast(); // the month and year
        QStringList address;
        for (const QString &l : std::as_const(lines)) {
            if (l.startsWith(u"Phone: "))
                set(QStringLiteral("Phone"), l.mid(7));
            else if (l.startsWith(u"Fax: "))
                set(QStringLiteral("Fax"), l.mid(5));
            else if (l.startsWith(u"Email: "))
                set(QStringLiteral("Email"), l.mid(7));
            else if (l.startsWith(u"http") || l.startsWith(u"www."))
                set(QStringLiteral("URL"), l);
            else
                address << l;
        }
        if (address.size() >= 2) {
            set(QStringLiteral("Add1"), address.takeFirst());
            QStringList place = address.takeLast().split(QLatin1Char(' '));
            if (!address.isEmpty())
                set(QStringLiteral("Add2"), address.join(QLatin1Char('\n')));
            if (place.size() >= 3) {
                set(QStringLiteral("Zip"), place.takeLast());
                set(QStringLiteral("State"), place.takeLast());
            }
            set(QStringLiteral("City"), place.join(QLatin1Char(' ')));
        } else if (!address.isEmpty()) {
            set(QStringLiteral("Add1"), address.first());
        }
    }

    // The lead-in the line starts with, or end.
    static std::vector<formattedplan::LeadIn>::const_iterator
    leadInOf(const std::vector<formattedplan::LeadIn> &leadIns, const QString &line)
    {
        return std::find_if(leadIns.begin(), leadIns.end(), [&](const formattedplan::LeadIn &l) {
            return line.startsWith(formattedplan::leadInText(l.label));
        });
    }

    // Each answer from its lead-in up to the next lead-in; `number` picks a product.
    void leadIns(const std::vector<formattedplan::LeadIn> &leadIns, const QStringList &lines, int number = 0)
    {
        QString field;
        QString value;
        const auto flush = [&] {
            if (field == u"Offer") {
                const auto [offer, customers] = formattedplan::offerAndCustomers(value);
                set(QStringLiteral("Offer"), offer);
                set(QStringLiteral("Customers"), customers);
            } else if (!field.isEmpty()) {
                set(field, field == u"BusPurp" ? formattedplan::purposeAnswer(value) : value);
            }
            field.clear();
        };
        for (const QString &line : lines) {
            const auto starts = leadInOf(leadIns, line);
            if (starts == leadIns.end()) {
                if (!field.isEmpty())
                    value += QLatin1Char('\n') + line;
                continue;
            }
            flush();
            field = number ? starts->field + QString::number(number) : starts->field;
            value = line.mid(formattedplan::leadInText(starts->label).size());
        }
        flush();
    }

    // Numbered entries again carry their number, as the pages store them.
    void entries(const char *field, const QStringList &lines, int count, QString (*prefix)(int))
    {
        for (int i = 0; i < count && i < lines.size(); ++i)
            set(QString::fromLatin1(field) + QString::number(i + 1), prefix(i + 1) + lines[i]);
    }

    void section(const formattedplan::Section &section, const QStringList &body)
    {
        const QStringList goalLists = formattedplan::goalLists();
        switch (section.kind) {
        case formattedplan::SectionKind::Goals: {
            const qsizetype longTerm = body.indexOf(goalLists[1]);
            const qsizetype shortTerm = body.indexOf(goalLists[0]);
            if (shortTerm >= 0)
                entries("BusSTG", body.mid(shortTerm + 1, longTerm > shortTerm ? longTerm - shortTerm - 1 : -1), 5,
                        goalPrefix);
            if (longTerm >= 0)
                entries("BusLTG", body.mid(longTerm + 1), 5, goalPrefix);
            return;
        }
        case formattedplan::SectionKind::Staff: entries("Emp", body, 10, employeePrefix); return;
        case formattedplan::SectionKind::Products: { // a heading, then its answers, each on one line
            int number = 0;
            QStringList answers;
            const auto flush = [&] { if (number) leadIns(formattedplan::productLeadIns(), answers, number); };
            for (const QString &line : body) {
                const auto &productLeadIns = formattedplan::productLeadIns();
                const bool answer = leadInOf(productLeadIns, line) != productLeadIns.end();
                if (answer || line.isEmpty()) {
                    answers << line;
                    continue;
                }
                flush();
                if (++number > 5)
                    return;
                answers.clear();
                set(QStringLiteral("ProdServ%1").arg(number),
                    goalPrefix(number) + (line == formattedplan::unnamedProduct(number) ? QString() : line));
            }
            flush();
            return;
        }
        case formattedplan::SectionKind::Other: set(QStringLiteral("Info"), body.join(QLatin1Char('\n'))); return;
        case formattedplan::SectionKind::Funding: return; // figures, read from its table
        default: leadIns(section.leadIns, body);
        }
    }

    PlanReadBack &m_out;
};

// Pictures are no answers: a line of nothing else goes whole, a picture within a line alone.
QString withoutPictures(const QString &text)
{
    const QChar picture(QChar::ObjectReplacementCharacter);
    if (!text.contains(picture))
        return text;
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeIf([&](const QString &l) { return !l.isEmpty() && l.count(picture) == l.size(); });
    return lines.join(QLatin1Char('\n')).remove(picture);
}

void readComposition(Reader &reader, const QString &text, const std::vector<Anchor> &anchors)
{
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
}

} // namespace

PlanReadBack readPlanBack(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (QChar &c : text)
        if (formats::breaksLine(c.unicode()))
            c = QLatin1Char('\n');
    text = withoutPictures(text);

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

    // The document is read both ways, as the composition and as a formatted plan (whose
    // summary may quote a label of the composition); the reading that finds more wins.
    PlanReadBack out;
    if (!anchors.empty()) {
        Reader reader(out);
        readComposition(reader, text, anchors);
    }
    PlanReadBack formatted;
    Reader(formatted).formatted(text.split(QLatin1Char('\n')));
    if (formatted.found > out.found)
        out = formatted;
    markEmployeeSlots(out.plan, out.shared);
    markProductSlots(out.plan, out.shared);
    return out;
}

} // namespace plandoc

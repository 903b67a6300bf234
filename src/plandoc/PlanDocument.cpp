#include "plandoc/PlanDocument.h"

#include "plan/PlanRecord.h"

#include <utility>

namespace plandoc {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Answers from multi-line boxes carry their own line breaks; in the document every
// line ends in CR LF, whatever form the break had.
QString withCrLf(const QString &value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\r')) {
            if (i + 1 < value.size() && value[i + 1] == QLatin1Char('\n'))
                ++i;
            out += CrLf;
        } else if (c == QLatin1Char('\n')) {
            out += CrLf;
        } else {
            out += c;
        }
    }
    return out;
}

// Appends one line: its text and CR LF.
class Lines {
public:
    Lines &line(const QString &text = {})
    {
        m_text += withCrLf(text);
        m_text += CrLf;
        return *this;
    }
    Lines &blank() { return line(); }
    QString take() { return std::exchange(m_text, QString()); }

private:
    QString m_text;
};

} // namespace

namespace {

PlanLine labelled(const char *label, const char *field, const char *after = "\n\n")
{
    return {QString::fromLatin1(label), {QString::fromLatin1(field)}, false, QString::fromLatin1(after)};
}

PlanLine list(const char *heading, QStringList fields)
{
    return {QString::fromLatin1(heading), std::move(fields), true, QStringLiteral("\n\n")};
}

QStringList numbered(const char *name, int count)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out << QString::fromLatin1(name) + QString::number(i);
    return out;
}

std::vector<PlanLine> buildLines()
{
    QStringList products;
    for (int i = 1; i <= 5; ++i) {
        if (i > 1)
            products << QString(); // the empty line between two entries
        for (const char *f : {"ProdServ", "ProdDesc", "ProdProd", "ProdCompare", "ProdDiffer"})
            products << QString::fromLatin1(f) + QString::number(i);
    }
    return {
        labelled("Business Phone:  ", "Phone", "\n"),
        labelled("Fax:  ", "Fax", "\n"),
        labelled("Email:  ", "Email", "\n"),
        labelled("WWW:  ", "URL"),
        labelled("Our business is a ", "BusType"),
        labelled("Our business provides ", "Offer", "\n"),
        labelled(" for ", "Customers"),
        labelled("Our business's products and/or services are sold via:  ", "SoldVia"),
        labelled("The purpose of our business is to ", "BusPurp"),
        list("Short-Term Goals:", numbered("BusSTG", 5)),
        list("Long-Term Goals:", numbered("BusLTG", 5)),
        labelled("The Basic Idea/Concept of Our Business:  ", "Idea"),
        labelled("Type of People Who Will Buy Our Products and/or Services:  ", "People"),
        labelled("Why There is a Market at this Time:  ", "Market"),
        labelled("How We Will Reach Our Targeted Customers:  ", "How"),
        labelled("Where Our Business is Today:  ", "Where"),
        labelled("Our Current Advertising:  ", "Advertising"),
        labelled("Our Current Earnings:  ", "Amount"),
        labelled("Our Current Personnel Situation:  ", "Personnel"),
        list("Our Current Employees:", numbered("Emp", 10)),
        list("Our Products and/or Services:", products),
        labelled("We Plan to Market To:  ", "ToWhom"),
        labelled("The Estimated Number of People Included Is:  ", "Number"),
        labelled("We Intend to Reach These People By:  ", "Reach"),
        labelled("How Our Products and/or Services Differ from the Competition:  ", "Differ"),
        labelled("Our Current Advertising/Marketing Types:  ", "Types"),
        labelled("Our Advertising Plans:  ", "Plans"),
        labelled("Our Production Costs:  ", "Cost"),
        labelled("Our Current and Projected Basic Monthly Expenses:  ", "Expenses"),
        labelled("Our Advertising Budget:  ", "Adv"),
        labelled("Our Equipment Purchasing Plans:  ", "Equip"),
        labelled("Selling Prices for Our Products and/or Services:  ", "Charge"),
        labelled("Our Sales Goals:  ", "Sell"),
        labelled("Our Current Monthly Income:  ", "MoIncome"),
        labelled("Our Projected Monthly Income:  ", "YrIncome"),
        labelled("Our Projected Monthly Expenses:  ", "MoExpenses"),
        labelled("Our Advertising Strategies:  ", "InGoals"),
        labelled("Other:  ", "Info"),
    };
}

} // namespace

const std::vector<PlanLine> &planLines()
{
    static const std::vector<PlanLine> lines = buildLines();
    return lines;
}

QStringList composePlanParts(const PlanRecord &p)
{
    QStringList parts;
    Lines out;

    parts << out.line(p.Name).line(p.Add1).take();
    // Only an answered-with-nothing second address line is left out; "(blank)" prints.
    if (!p.Add2.isEmpty())
        parts << out.line(p.Add2).take();

    out.line(p.City + QLatin1Char(' ') + p.State + QLatin1Char(' ') + p.Zip).blank();
    for (const PlanLine &l : planLines()) {
        if (l.list) {
            out.line(l.label);
            for (const QString &f : l.fields)
                out.line(f.isEmpty() ? QString() : planField(f).get(p));
            out.blank();
        } else {
            // The value and its line end, then an empty line where `after` asks for one.
            out.line(l.label + planField(l.fields.first()).get(p));
            if (l.after.size() > 1)
                out.blank();
        }
    }
    parts << out.take();
    return parts;
}

QString composePlan(const PlanRecord &plan) { return composePlanParts(plan).join(QString()); }

} // namespace plandoc

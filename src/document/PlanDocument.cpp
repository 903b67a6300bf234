#include "document/PlanDocument.h"

#include "plan/PlanRecord.h"

#include <utility>

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
    Lines &labelled(const char *label, const QString &value) { return line(QString::fromLatin1(label) + value); }
    Lines &blank() { return line(); }
    QString take() { return std::exchange(m_text, QString()); }

private:
    QString m_text;
};

} // namespace

QStringList composePlanParts(const PlanRecord &p)
{
    QStringList parts;
    Lines out;

    parts << out.line(p.Name).line(p.Add1).take();
    // Only an answered-with-nothing second address line is left out; "(blank)" prints.
    if (!p.Add2.isEmpty())
        parts << out.line(p.Add2).take();

    out.line(p.City + QLatin1Char(' ') + p.State + QLatin1Char(' ') + p.Zip).blank();
    out.labelled("Business Phone:  ", p.Phone)
        .labelled("Fax:  ", p.Fax)
        .labelled("Email:  ", p.Email)
        .labelled("WWW:  ", p.URL)
        .blank();
    out.labelled("Our business is a ", p.BusType).blank();
    out.labelled("Our business provides ", p.Offer).labelled(" for ", p.Customers).blank();
    out.labelled("Our business's products and/or services are sold via:  ", p.SoldVia).blank();
    out.labelled("The purpose of our business is to ", p.BusPurp).blank();

    out.line(QStringLiteral("Short-Term Goals:"));
    for (const QString &g : p.BusSTG)
        out.line(g);
    out.blank().line(QStringLiteral("Long-Term Goals:"));
    for (const QString &g : p.BusLTG)
        out.line(g);
    out.blank();

    out.labelled("The Basic Idea/Concept of Our Business:  ", p.Idea).blank();
    out.labelled("Type of People Who Will Buy Our Products and/or Services:  ", p.People).blank();
    out.labelled("Why There is a Market at this Time:  ", p.Market).blank();
    out.labelled("How We Will Reach Our Targeted Customers:  ", p.How).blank();
    out.labelled("Where Our Business is Today:  ", p.Where).blank();
    out.labelled("Our Current Advertising:  ", p.Advertising).blank();
    out.labelled("Our Current Earnings:  ", p.Amount).blank();
    out.labelled("Our Current Personnel Situation:  ", p.Personnel).blank();

    out.line(QStringLiteral("Our Current Employees:"));
    for (const QString &e : p.Emp)
        out.line(e);
    out.blank();

    out.line(QStringLiteral("Our Products and/or Services:"));
    for (std::size_t i = 0; i < p.ProdServ.size(); ++i)
        out.line(p.ProdServ[i])
            .line(p.ProdDesc[i])
            .line(p.ProdProd[i])
            .line(p.ProdCompare[i])
            .line(p.ProdDiffer[i])
            .blank();

    out.labelled("We Plan to Market To:  ", p.ToWhom).blank();
    out.labelled("The Estimated Number of People Included Is:  ", p.Number).blank();
    out.labelled("We Intend to Reach These People By:  ", p.Reach).blank();
    out.labelled("How Our Products and/or Services Differ from the Competition:  ", p.Differ).blank();
    out.labelled("Our Current Advertising/Marketing Types:  ", p.Types).blank();
    out.labelled("Our Advertising Plans:  ", p.Plans).blank();
    out.labelled("Our Production Costs:  ", p.Cost).blank();
    out.labelled("Our Current and Projected Basic Monthly Expenses:  ", p.Expenses).blank();
    out.labelled("Our Advertising Budget:  ", p.Adv).blank();
    out.labelled("Our Equipment Purchasing Plans:  ", p.Equip).blank();
    out.labelled("Selling Prices for Our Products and/or Services:  ", p.Charge).blank();
    out.labelled("Our Sales Goals:  ", p.Sell).blank();
    out.labelled("Our Current Monthly Income:  ", p.MoIncome).blank();
    out.labelled("Our Projected Monthly Income:  ", p.YrIncome).blank();
    out.labelled("Our Projected Monthly Expenses:  ", p.MoExpenses).blank();
    out.labelled("Our Advertising Strategies:  ", p.InGoals).blank();
    out.labelled("Other:  ", p.Info).blank();
    parts << out.take();
    return parts;
}

QString composePlan(const PlanRecord &plan) { return composePlanParts(plan).join(QString()); }

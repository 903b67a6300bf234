#include "plandoc/PlanSections.h"

#include <algorithm>

namespace plandoc::formattedplan {

const std::vector<Section> &sections()
{
    using L = std::vector<LeadIn>;
    static const std::vector<Section> all = {
        {SectionKind::Summary, QStringLiteral("Executive Summary"), {}},
        {SectionKind::Funding, QStringLiteral("Funding Request"), {}},
        {SectionKind::Business, QStringLiteral("The Business"),
         L{{QStringLiteral("Type of business"), QStringLiteral("BusType")},
           {QStringLiteral("What we provide"), QStringLiteral("Offer")},
           {QStringLiteral("Where it is sold"), QStringLiteral("SoldVia")},
           {QStringLiteral("Purpose"), QStringLiteral("BusPurp")},
           {QStringLiteral("The basic idea"), QStringLiteral("Idea")}}},
        {SectionKind::Goals, QStringLiteral("Goals"), {}},
        {SectionKind::Market, QStringLiteral("The Market"),
         L{{QStringLiteral("Who will buy"), QStringLiteral("People")},
           {QStringLiteral("Why there is a market now"), QStringLiteral("Market")},
           {QStringLiteral("How we will reach them"), QStringLiteral("How")}}},
        {SectionKind::Today, QStringLiteral("Where We Are Today"),
         L{{QStringLiteral("Current status"), QStringLiteral("Where")},
           {QStringLiteral("Current advertising"), QStringLiteral("Advertising")},
           {QStringLiteral("Current earnings"), QStringLiteral("Amount")},
           {QStringLiteral("Personnel"), QStringLiteral("Personnel")}}},
        {SectionKind::Staff, QStringLiteral("Management and Staff"), {}},
        {SectionKind::Products, QStringLiteral("Products and Services"), {}},
        {SectionKind::Marketing, QStringLiteral("Marketing Plan"),
         L{{QStringLiteral("Whom we market to"), QStringLiteral("ToWhom")},
           {QStringLiteral("How many people"), QStringLiteral("Number")},
           {QStringLiteral("How we will reach them"), QStringLiteral("Reach")},
           {QStringLiteral("How we differ from the competition"), QStringLiteral("Differ")},
           {QStringLiteral("Advertising and marketing types"), QStringLiteral("Types")},
           {QStringLiteral("Advertising plans"), QStringLiteral("Plans")},
           {QStringLiteral("Advertising strategy"), QStringLiteral("InGoals")}}},
        {SectionKind::Financial, QStringLiteral("Financial Plan"),
         L{{QStringLiteral("Production costs"), QStringLiteral("Cost")},
           {QStringLiteral("Basic monthly expenses"), QStringLiteral("Expenses")},
           {QStringLiteral("Advertising budget"), QStringLiteral("Adv")},
           {QStringLiteral("Equipment purchases"), QStringLiteral("Equip")},
           {QStringLiteral("Selling prices"), QStringLiteral("Charge")},
           {QStringLiteral("Sales goals"), QStringLiteral("Sell")},
           {QStringLiteral("Current monthly income"), QStringLiteral("MoIncome")},
           {QStringLiteral("Projected monthly income"), QStringLiteral("YrIncome")},
           {QStringLiteral("Projected monthly expenses"), QStringLiteral("MoExpenses")}}},
        {SectionKind::Other, QStringLiteral("Other Information"), {}},
    };
    return all;
}

QString sectionHeading(int number, const Section &section) { return QStringLiteral("%1. %2").arg(number).arg(section.title); }

bool isSectionHeading(const QString &line, const Section &section)
{
    const qsizetype dot = line.indexOf(QStringLiteral(". "));
    if (dot < 1 || dot > 2 || line.size() != dot + 2 + section.title.size() || !line.endsWith(section.title))
        return false;
    return std::all_of(line.begin(), line.begin() + dot, [](QChar c) { return c.isDigit(); });
}

const std::vector<LeadIn> &productLeadIns()
{
    static const std::vector<LeadIn> all = {{QStringLiteral("Description"), QStringLiteral("ProdDesc")},
                                            {QStringLiteral("How it is produced"), QStringLiteral("ProdProd")},
                                            {QStringLiteral("How it compares"), QStringLiteral("ProdCompare")},
                                            {QStringLiteral("How it differs"), QStringLiteral("ProdDiffer")}};
    return all;
}

QStringList goalLists() { return {QStringLiteral("Short-term goals"), QStringLiteral("Long-term goals")}; }

QString unnamedProduct(int number) { return QStringLiteral("Product or Service %1").arg(number); }

// "Products and Services for Consumers", as much of it as is answered.
QString provides(const QString &offer, const QString &customers)
{
    if (customers.isEmpty())
        return offer;
    return (offer.isEmpty() ? QStringLiteral("For ") : offer + QStringLiteral(" for ")) + customers;
}

std::pair<QString, QString> offerAndCustomers(const QString &provides)
{
    if (provides.startsWith(QLatin1String("For ")))
        return {QString(), provides.mid(4)};
    const qsizetype at = provides.indexOf(QLatin1String(" for "));
    return at < 0 ? std::pair{provides, QString()} : std::pair{provides.left(at), provides.mid(at + 5)};
}

// The answer completes "The purpose of our business is to ".
QString purposeText(const QString &purpose)
{
    return purpose.isEmpty() || purpose.startsWith(QLatin1String("to "), Qt::CaseInsensitive)
        ? purpose
        : QStringLiteral("To ") + purpose;
}

QString purposeAnswer(const QString &text)
{
    return text.startsWith(QLatin1String("To ")) ? text.mid(3) : text;
}

} // namespace plandoc::formattedplan

#pragma once

// The formatted plan's sections, described once for the writer (FormattedPlan) and the
// reader of answers (PlanReadBack): their kinds and titles, the lead-ins naming the
// questions, and how an answer's text is shown and taken back.

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace plandoc::formattedplan {

// A bold lead-in naming a question ("Who will buy"), shown before the answer to `field`.
struct LeadIn {
    QString label;
    QString field;
};
// What a section holds, which says how it is written and read back; a section's number
// is its place in sections().
enum class SectionKind { Summary, Business, Goals, Market, Today, Staff, Products, Marketing, Financial, Other };
// The sections in order. Those made of lead-ins list them; the others (the summary,
// goals, staff, products and other information) have none here.
struct Section {
    SectionKind kind;
    QString title;
    std::vector<LeadIn> leadIns;
};
const std::vector<Section> &sections();
// "3. Goals": the heading of the section at `index` in sections().
QString sectionHeading(int index);
// The lead-ins under a product's heading; the fields without the entry's number
// ("ProdDesc").
const std::vector<LeadIn> &productLeadIns();
// What stands before an answer's text: the lead-in, a colon and a space.
inline QString leadInText(const QString &label) { return label + QStringLiteral(": "); }
// "Short-term goals" and "Long-term goals": the lines before the two goal lists.
QStringList goalLists();
// The line over the financial plan's projection table, which ends the section's answers.
inline const QString ProjectionLead = QStringLiteral("12-month projection");
// The heading of a product whose name was left unanswered.
QString unnamedProduct(int number);
// The answers "What we provide" and "Purpose" show, and the answers they came from.
QString provides(const QString &offer, const QString &customers);
std::pair<QString, QString> offerAndCustomers(const QString &provides);
QString purposeText(const QString &purpose);
QString purposeAnswer(const QString &text);

} // namespace plandoc::formattedplan

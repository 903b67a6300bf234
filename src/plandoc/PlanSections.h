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
// What a section holds, which says how it is written and read back. A section's number
// is its place among the sections a plan shows: the funding request shows only when an
// amount is asked for.
enum class SectionKind { Summary, Funding, Business, Goals, Market, Today, Staff, Products, Marketing, Financial, Other };
// The sections in order. Those made of lead-ins list them; the others (the summary, the
// funding request, goals, staff, products and other information) have none here.
struct Section {
    SectionKind kind;
    QString title;
    std::vector<LeadIn> leadIns;
};
const std::vector<Section> &sections();
// "3. Goals": the heading of a section shown as the number-th.
QString sectionHeading(int number, const Section &section);
// Whether a line is the section's heading, whatever its number.
bool isSectionHeading(const QString &line, const Section &section);
// The lead-ins under a product's heading; the fields without the entry's number
// ("ProdDesc").
const std::vector<LeadIn> &productLeadIns();
// What stands before an answer's text: the lead-in, a colon and a space.
inline QString leadInText(const QString &label) { return label + QStringLiteral(": "); }
// "Short-term goals" and "Long-term goals": the lines before the two goal lists.
QStringList goalLists();
// The heading of a product whose name was left unanswered.
QString unnamedProduct(int number);
// The answers "What we provide" and "Purpose" show, and the answers they came from.
QString provides(const QString &offer, const QString &customers);
std::pair<QString, QString> offerAndCustomers(const QString &provides);
QString purposeText(const QString &purpose);
QString purposeAnswer(const QString &text);

} // namespace plandoc::formattedplan

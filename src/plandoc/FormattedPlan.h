#pragma once

// The finished plan a lender reads, composed from the same answers as the plain
// document: a cover page, a table of contents and ten numbered sections with real
// headings, lead-ins and lists. Unanswered questions are left out; a section left empty
// says so. The answers are only read.

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

struct PlanRecord;
class QTextDocument;

namespace plandoc::formattedplan {

// A bold lead-in naming a question ("Who will buy"), shown before the answer to `field`.
struct LeadIn {
    QString label;
    QString field;
};
// The ten sections in order. Those made of lead-ins list them; the others (the summary,
// goals, staff, products and other information) have none here.
struct Section {
    QString title;
    std::vector<LeadIn> leadIns;
};
const std::vector<Section> &sections();
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

// "Juniper Hearth Bakery & Café - Business Plan", or "Business Plan" without a name: the
// document's name in footers and the PDF title while it has no file.
QString documentTitle(const PlanRecord &plan);

// Replaces the document's content with the plan. `today` dates the cover. The contents'
// page numbers are those of a page of the local size; printing numbers them again for
// its own pages.
void compose(QTextDocument &doc, const PlanRecord &plan, const QDate &today);

} // namespace plandoc::formattedplan

#pragma once

// The finished plan a lender reads, composed from the same answers as the plain
// document: a cover page, a table of contents and ten numbered sections with real
// headings, lead-ins and lists. Unanswered questions are left out; a section left empty
// says so. The answers are only read. Its sections are described in PlanSections.h.

#include <QDate>
#include <QString>

struct PlanRecord;
class QTextDocument;
namespace formats {
struct Picture;
}

namespace plandoc::finance {
struct FinancialPlan;
}

namespace plandoc::formattedplan {

// "Juniper Hearth Bakery & Café - Business Plan", or "Business Plan" without a name: the
// document's name in footers and in the files' titles.
QString documentTitle(const PlanRecord &plan);
// The same from the plan's title, the cover's first line, as a plan opened from a file has it.
QString documentTitle(const QString &title);

// Replaces the document's content with the plan and its money. `today` dates the cover, a
// logo goes above the name on it. The contents' page numbers are those of a page of the
// local size; printing numbers them again for its own pages.
void compose(QTextDocument &doc, const PlanRecord &plan, const finance::FinancialPlan &money, const QDate &today,
             const formats::Picture *logo = nullptr);
// The same with the figures as step 11's answers give them.
void compose(QTextDocument &doc, const PlanRecord &plan, const QDate &today, const formats::Picture *logo = nullptr);

} // namespace plandoc::formattedplan

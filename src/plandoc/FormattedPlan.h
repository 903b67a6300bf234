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

namespace plandoc::formattedplan {

// "Juniper Hearth Bakery & Café - Business Plan", or "Business Plan" without a name: the
// document's name in footers and the PDF title while it has no file.
QString documentTitle(const PlanRecord &plan);

// Replaces the document's content with the plan. `today` dates the cover, a logo goes
// above the name on it. The contents' page numbers are those of a page of the local
// size; printing numbers them again for its own pages.
void compose(QTextDocument &doc, const PlanRecord &plan, const QDate &today, const formats::Picture *logo = nullptr);

} // namespace plandoc::formattedplan

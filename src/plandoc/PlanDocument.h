#pragma once

// The business-plan document: every answer of the plan record under its fixed heading,
// as one plain text with CR LF line ends. It has no formatting of its own; the editor
// page shows it in the font it sets when it loads.

#include <QString>
#include <QStringList>

#include <vector>

struct PlanRecord;

namespace plandoc {

// The three pieces the editor page appends one after another: name and first address
// line; the second address line (left out when it is empty); everything from the city
// line on. Empty pieces are dropped, so the list has two or three entries.
QStringList composePlanParts(const PlanRecord &plan);

// The whole document: the pieces joined.
QString composePlan(const PlanRecord &plan);

// The fixed lines that follow the address block, in the document's order, so that the
// answers can be read back from a document under the same labels. `after` uses "\n"
// for the document's line ends.
struct PlanLine {
    // A labelled answer: label + the answer + after ("Fax:  " + Fax + "\n").
    // A list: the heading alone on its line, then one answer per line (an empty field
    // name stands for an empty line), then after.
    QString label;
    QStringList fields;
    bool list = false;
    QString after;
};
const std::vector<PlanLine> &planLines();
// The fields of the address block before them: name, the two address lines, then city,
// state and zip on one line, then an empty line.
inline constexpr const char *AddressBlockEnd = "\n\n";

} // namespace plandoc

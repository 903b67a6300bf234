#pragma once

// The business-plan document: every answer of the plan record under its fixed heading,
// as one plain text with CR LF line ends. It has no formatting of its own; the editor
// page shows it in the font it sets when it loads.

#include <QString>
#include <QStringList>

struct PlanRecord;

// The three pieces the editor page appends one after another: name and first address
// line; the second address line (left out when it is empty); everything from the city
// line on. Empty pieces are dropped, so the list has two or three entries.
QStringList composePlanParts(const PlanRecord &plan);

// The whole document: the pieces joined.
QString composePlan(const PlanRecord &plan);

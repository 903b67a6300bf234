#pragma once

// The answers read back from a business-plan document, under the composition's own
// labels: each label in the document's order and what stands after it up to the next
// one. The document is only read; nothing is written anywhere.

#include "plan/PlanRecord.h"

#include <QString>

namespace plandoc {

struct PlanReadBack {
    PlanRecord plan;     // the answers found; every other field at its initial value
    SharedState shared;  // the employee and product entries in use
    int found = 0;       // how many of the fields were found
};

// Reads the answers from a document's text (any line ends).
PlanReadBack readPlanBack(QString text);

} // namespace plandoc

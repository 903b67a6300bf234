#pragma once

// The financial plan taken back from a document that shows it (a formatted plan or an
// inserted projection, as made or reopened from a file): the months from the
// twelve-month table, the funding from its lines and the sources and uses table, the rest
// from the assumptions line.

#include "plandoc/FinancialPlan.h"

#include <optional>

class QTextDocument;

namespace plandoc::finance {

// Nothing when the document holds no twelve-month table.
std::optional<FinancialPlan> readFinancialPlan(const QTextDocument &doc);

} // namespace plandoc::finance

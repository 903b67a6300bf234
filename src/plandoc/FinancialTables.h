#pragma once

// The financial plan in a document: the funding request (its lines and the sources and
// uses table) and the figures (the twelve-month table, the three-year table, the
// sentences and the assumptions), written at a cursor, and found again by their shape
// in any document, made here or read from a file, so they are replaced rather than
// copied.

#include "plandoc/FinancialPlan.h"

#include <QList>
#include <QStringList>
#include <QTextCharFormat>

#include <optional>

class QTextCursor;
class QTextDocument;

namespace plandoc::finance {

// What a table is, told by its cells.
enum class TableKind { Other, Months, Years, SourcesAndUses };
TableKind tableKind(const QList<QStringList> &cells);

// A stretch of the document in cursor positions, from the start of its first paragraph
// to the end of its last.
struct Span {
    int start = 0;
    int end = 0;
};
struct MadeSpans {
    std::optional<Span> funding;
    std::optional<Span> figures;
};
MadeSpans findMade(const QTextDocument &doc);

// Each writes into the empty paragraph at the cursor, its text in `text` (leads in its
// bold), and leaves the cursor at the end of the last paragraph it wrote.
void writeFunding(QTextCursor &at, const FinancialPlan &plan, const QTextCharFormat &text);
void writeFigures(QTextCursor &at, const FinancialPlan &plan, const QTextCharFormat &text);

// Insert > Financial Projection, as one undo step: what the document already holds of
// the plan is replaced where it stands; otherwise the funding request (with a loan) and
// the figures go in at the cursor, in paragraphs of their own. The cursor ends after them.
void placeInDocument(QTextCursor &cursor, const FinancialPlan &plan);

} // namespace plandoc::finance

#pragma once

// A document's text with its tables kept as tables: each row one line, its cells
// separated by tabs, for plain-text files and other writers of text.

#include <QList>
#include <QString>
#include <QStringList>

class QTextDocument;
class QTextTable;

namespace formats::tabletext {

// The table's text row by row, each cell's paragraphs joined by spaces (a table inside a
// cell flattened the same way); a cell spanning several columns or rows gives its text
// once, at its top left, and empty strings elsewhere.
QList<QStringList> cells(const QTextTable &table);

// Every paragraph on a line of its own, each table row a line of tab-separated cells.
// Line separators become line ends and no-break spaces spaces, as in toPlainText().
QString plainText(const QTextDocument &doc);

} // namespace formats::tabletext

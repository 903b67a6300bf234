#pragma once

// What the Word and OpenDocument writers carry over from the document's own layout, so
// that a word processor breaks lines and pages where print does: paragraph spacing as word
// processors add it, indents, tab stops with their leaders, and table column widths.

#include <QChar>
#include <QList>
#include <QTextFrame>
#include <QTextOption>

class QTextBlockFormat;
class QTextDocument;
class QTextTable;

namespace formats::office {

// The document's lengths are pixels of 96 to the inch.
inline double points(double pixels) { return pixels * 0.75; }

// The space after the paragraph at `it` of a frame's flow (the document or a cell), in
// points. Qt leaves the larger of a paragraph's space after and the next one's space before
// between them, nothing above a page's first line, and nothing between a table and the text
// beside it; an empty block right before a table takes no room at all (it only anchors the
// table). All of the space goes after the paragraph and none before the next: word
// processors that add the two and those that take the larger then agree with print, and a
// page starts with its first line as in print.
double spaceAfter(QTextFrame::iterator it, const QTextFrame::iterator &end);
// The block at `it` is the empty one that anchors a table: the writers leave it out.
bool takesNoRoom(QTextFrame::iterator it, const QTextFrame::iterator &end);

struct Indents {
    double leftPt;  // the block's margin and its indent steps
    double rightPt;
    double firstPt; // the first line's, from the left indent
};
Indents indents(const QTextBlockFormat &f, const QTextDocument &doc);

struct TabStop {
    double positionPt; // from the left indent, as Qt and OpenDocument count
    QTextOption::TabType type;
    QChar leader; // ' ' for none
};
QList<TabStop> tabStops(const QTextBlockFormat &f);

// Each column's share of the table's width, the shares adding up to 1: the table's own
// width constraints, else the widths Qt's layout of the document gave the columns, else
// equal shares.
QList<double> columnShares(const QTextTable &table);

} // namespace formats::office

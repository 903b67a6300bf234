// Tables as the reader gathers them: \cell ends a cell's last paragraph, \row ends the
// row, and the first paragraph outside a table ends it. Rows of different lengths make a
// table as wide as its longest row; a malformed table (a missing \row, a \cell outside
// any row) keeps its text in the cells it reaches.

#include "formats/rtf/RtfReader.h"

#include <algorithm>

namespace formats::rtf::detail {

void Reader::endCell()
{
    // A cell's last \par adds no empty paragraph before its \cell (pandoc ends every
    // cell so); any other empty cell paragraph is one.
    if (!(lastWasCellPar_ && cellParas_ > 0 && paragraphEmpty()))
        endParagraph(false, true);
    if (!ok_)
        return;
    ++col_;
    cellParas_ = 0;
}

void Reader::endRow()
{
    if (openTable_ < 0 && !(st().para.flags & InTable)) {
        endParagraph(); // a \row outside any table only ends the line
        return;
    }
    if (!paragraphEmpty())
        endCell(); // text after the row's last \cell is a cell of its own
    if (ok_ && openTable_ >= 0)
        countRow(tables_[size_t(openTable_)]);
}

// The row read so far joins its table; a row without cells adds nothing.
void Reader::countRow(TableModel &t)
{
    const int32_t cells = std::min(pendingCells(), MaxTableColumns);
    if (cells > 0) {
        if (t.rows == 0) {
            t.cellx = rowCellx_;
            t.borders = rowBorders_;
        }
        if (rowHeader_ && t.headerRows == t.rows)
            ++t.headerRows;
        t.cols = std::max(t.cols, cells);
        ++row_;
        t.rows = row_;
        if (closedCells_ + int64_t(t.rows) * t.cols > MaxTableCells)
            fail(tooManyTableCells());
    }
    col_ = 0;
    cellParas_ = 0;
}

void Reader::closeTable()
{
    TableModel &t = tables_[size_t(openTable_)];
    countRow(t);
    closedCells_ += int64_t(t.rows) * t.cols;
    openTable_ = -1;
    row_ = 0;
}

} // namespace formats::rtf::detail

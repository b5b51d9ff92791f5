#pragma once

#include <QByteArray>
#include <QString>

namespace vantorel {

class TextGrid;

// A block of a grid's cells for a spreadsheet: columns `firstColumn` to
// `lastColumn` of rows `firstRow` to `lastRow`, led by row 0's cells of those
// columns (the headings) when the block starts below it.
struct CellBlock {
    int firstColumn = 0;
    int lastColumn = 0;
    int firstRow = 0;
    int lastRow = 0;
    static CellBlock whole(const TextGrid& grid);
};

// Tab-separated lines, as spreadsheets paste them; a cell holding a tab, a line
// break or a quote is quoted.
QString gridAsTabText(const TextGrid& grid, const CellBlock& block);

// The whole grid as CSV in UTF-8 with a byte-order mark (so that a spreadsheet
// reads the Korean names right), CR LF line ends, quoted where needed.
QByteArray gridAsCsv(const TextGrid& grid);

} // namespace vantorel

#pragma once

#include "common/Colours.h"

#include <QString>

namespace vantorel {

class TextGrid;

// Every cell emptied, then one row of 2, 4 or 5 columns.
void GridReset(TextGrid& StringGrid);
void GridReset4(TextGrid& StringGrid);
void GridReset5(TextGrid& StringGrid);

// Sorts rows 1 onward by column cnt read as 64-bit integers (0 for text that is
// not one), largest first, in exactly the order of an exchange sort that swaps
// row i and row j (i < j) whenever row i's value is smaller.
void SortHH(TextGrid& aa, int cnt);

// Background of a snapshot grid's cell: the chosen stock's rows red.
Rgb snapshotCellColour(const TextGrid& grid, int column, int row, const QString& chosenCode);
// Background of a result-table cell: buy-only pink, sell-only blue, the chosen stock red.
Rgb resultCellColour(const TextGrid& grid, int column, int row, const QString& chosenCode);

// The first row to show in a result table of rowCount rows when its sell end is
// wanted in view: the last 24 rows, or the top when all fit.
int sellEndTopRow(int rowCount);

} // namespace vantorel

#pragma once

#include <QString>

namespace vantorel {

class TextGrid;

// A count cell as a 32-bit signed integer; 0 for text that is not one.
qint32 readCount(const QString& text);

// The result table: titles in row 0, then one row per buy row in buy order
// (matched with the first sell row of its code), then one per sell row whose code
// the buy side lacks, in sell order: code, name, buy, sell, buy − sell.
void CompareStringGrids(const TextGrid& StringGrid1, const TextGrid& StringGrid2, TextGrid& ResultGrid);

} // namespace vantorel

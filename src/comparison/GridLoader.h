#pragma once

#include <QStringList>

namespace vantorel {

class TextGrid;

// 1-based position of SubStr in S at or after Offset; 0 when there is none or
// Offset lies outside S.
int PosEx(const QString& SubStr, const QString& S, int Offset);

// A snapshot has four fields; a grid shows at most this many, so that a damaged
// first line cannot make thousands of columns.
inline constexpr int kMaxSnapshotColumns = 16;

// The first `maxFields` ","-separated fields of a line, untrimmed: two
// separators in a row give an empty field, a separator at the end opens none,
// an empty line has none.
QStringList splitFields(const QString& line, int maxFields = kMaxSnapshotColumns);

// One grid row per buffer line, the column count taken from the first line (at
// most kMaxSnapshotColumns), the first field cut to four characters. Cells a line
// has no field for keep their text.
void LoadStringGridFromMemo(TextGrid& aa, const QStringList& MemoBox);

} // namespace vantorel

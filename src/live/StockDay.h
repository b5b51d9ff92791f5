#pragma once

#include "common/Colours.h"
#include "common/TextGrid.h"

#include <QSet>
#include <QStringList>

namespace vantorel {

class DayIndex;

// One stock through the trading day, in a grid: a heading row, then one row
// per minute whose two snapshot files are in, with the stock's buy count, sell
// count and their difference. The counts come from the day index, which must
// have read the files first.
class StockDay {
public:
    StockDay(const DayIndex& index, QString dataFolder, TextGrid& grid);

    // The stock's name from the last snapshot line matched; empty after ClearSlotGrid().
    const QString& name() const { return m_name; }

    // The headings and one empty row.
    void ClearSlotGrid();
    // The files a query over the stems reads: both of every stem whose two files
    // are in the folder.
    QStringList filesToRead(const QStringList& stems) const;
    // The query's rows: one for each stem with both files, in order; an empty
    // row after them unless the last stem had its row.
    void fill(const QStringList& stems, const QString& code);
    // The live refresh: writes the minute into the last row (a new one when the
    // last holds another minute) and adds an empty one.
    void append(const QString& stem, const QString& code);
    // A minute whose files came late, after the minutes around it: its row
    // takes its place in time.
    void insertLate(const QString& stem, const QString& code);
    // Whether the minute has its row.
    bool shows(const QString& stem) const { return m_shown.contains(stem); }

    // One side's count of one file into a row (1 buy, 2 sell), and the row's
    // time; nothing when the file is not there, the time alone when it does not
    // decode.
    void LoadSlotRow(const QString& fileName, const QString& code, int row, int side);
    // The count into its column; then both counts made numbers and their difference.
    void FillSideCount(const QString& count, int row, int side);

    // Rows from 3 on show how the counts moved since the row above.
    static Rgb rowColour(const TextGrid& grid, int row);

private:
    bool present(const QString& fileName) const;

    const DayIndex& m_index;
    QString m_folder;
    TextGrid& m_grid;
    QString m_name;
    QSet<QString> m_shown;
};

} // namespace vantorel

#include "comparison/GridRoutines.h"

#include "common/TextGrid.h"

#include <QList>

namespace vantorel {

namespace {

void reset(TextGrid& grid, int columns)
{
    grid.clearCells();
    grid.setRowCount(1);
    grid.setColumnCount(columns);
}

qint64 sortKey(const QString& text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? value : 0;
}

} // namespace

void GridReset(TextGrid& StringGrid)
{
    reset(StringGrid, 2);
}

void GridReset4(TextGrid& StringGrid)
{
    reset(StringGrid, 4);
}

void GridReset5(TextGrid& StringGrid)
{
    reset(StringGrid, 5);
}

void SortHH(TextGrid& aa, int cnt)
{
    const int n = aa.rowCount();
    if (n < 3)
        return;
    // Keys converted once; the exchange passes move indices, and the rows move
    // once at the end. Each pass carries the running maximum forward, which is
    // what the pairwise exchanges amount to.
    const int m = n - 1;
    QList<qint64> key(m);
    QList<int> order(m);
    for (int k = 0; k < m; ++k) {
        key[k] = sortKey(aa.cell(cnt, k + 1));
        order[k] = k;
    }
    for (int i = 0; i < m - 1; ++i) {
        qint64 carried = key[i];
        int carriedRow = order[i];
        for (int j = i + 1; j < m; ++j) {
            if (carried < key[j]) {
                std::swap(carried, key[j]);
                std::swap(carriedRow, order[j]);
            }
        }
        key[i] = carried;
        order[i] = carriedRow;
    }
    aa.permuteRows(1, order);
}

Rgb snapshotCellColour(const TextGrid& grid, int, int row, const QString& chosenCode)
{
    if (row >= 1 && grid.cell(1, row) == chosenCode)
        return kRed;
    return kWhite;
}

Rgb resultCellColour(const TextGrid& grid, int, int row, const QString& chosenCode)
{
    if (row < 1)
        return kWhite;
    const QString code = grid.cell(0, row);
    const bool chosen = code == chosenCode;
    if (grid.cell(3, row) == QLatin1String("0") && !chosen)
        return kBuyPink;
    if (grid.cell(2, row) == QLatin1String("0") && !chosen)
        return kSellBlue;
    return chosen ? kRed : kWhite;
}

int sellEndTopRow(int rowCount)
{
    return rowCount > 24 ? rowCount - 24 : 0;
}

} // namespace vantorel

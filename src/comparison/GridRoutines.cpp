#include "comparison/GridRoutines.h"

#include "common/TextGrid.h"

#include <QList>

#include <algorithm>
#include <vector>

namespace vantorel {

namespace {

void reset(TextGrid& grid, int columns) {
    grid.clearCells();
    grid.setRowCount(1);
    grid.setColumnCount(columns);
}

qint64 sortKey(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? value : 0;
}

} // namespace

void GridReset(TextGrid& StringGrid) {
    reset(StringGrid, 2);
}

void GridReset4(TextGrid& StringGrid) {
    reset(StringGrid, 4);
}

void GridReset5(TextGrid& StringGrid) {
    reset(StringGrid, 5);
}

// The exchange sort's order, computed without its quadratic passes.
//
// A pass from row i carries the largest value met so far down the rows and,
// wherever it meets a larger one, drops what it carried there and picks that
// up. Seen from the rows holding a value v or more, a pass removes the first
// of them (the row the pass fills), and when that first row holds exactly v,
// its stock moves into the place of the first larger row. So among the rows
// of value v, split by the larger rows into runs R0 G R1 G R2 ..., every larger
// row turns R0 into R0 rotated left by one and followed by the next run (or,
// while R0 is empty, into the next run alone); once no larger row is left,
// R0 is the order in which the value-v rows come out. Equal values never
// exchange directly, so this is the whole order: values largest first, each
// group in its R0 order.
void SortHH(TextGrid& aa, int cnt) {
    const int n = aa.rowCount();
    if (n < 3)
        return;
    const int m = n - 1;
    std::vector<qint64> key(m);
    for (int e = 0; e < m; ++e)
        key[e] = sortKey(aa.cell(cnt, e + 1));

    // Ranks: 0 for the largest value.
    std::vector<qint64> values(key);
    std::sort(values.begin(), values.end(), std::greater<>());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    const int ranks = int(values.size());
    std::vector<int> rank(m);
    for (int e = 0; e < m; ++e)
        rank[e] =
            int(std::lower_bound(values.begin(), values.end(), key[e], std::greater<>()) - values.begin());

    // run[e]: how many larger rows stand before row e (a Fenwick tree over ranks).
    std::vector<int> tree(ranks + 1, 0);
    std::vector<int> run(m);
    std::vector<std::vector<int>> groups(ranks);
    for (int e = 0; e < m; ++e) {
        int larger = 0;
        for (int r = rank[e]; r > 0; r -= r & -r)
            larger += tree[r];
        run[e] = larger;
        for (int r = rank[e] + 1; r <= ranks; r += r & -r)
            ++tree[r];
        groups[rank[e]].push_back(e);
    }

    // Each group's R0 as a circular list: rotating moves its head.
    std::vector<int> next(m);
    std::vector<int> prev(m);
    QList<int> order;
    order.reserve(m);
    int largerSoFar = 0;
    for (const std::vector<int>& group : groups) {
        int head = -1;
        int size = 0;
        int lastRun = 0;
        const auto rotate = [&](int steps) {
            if (size == 0)
                return;
            for (steps %= size; steps > 0; --steps)
                head = next[head];
        };
        for (size_t a = 0; a < group.size();) {
            const int t = run[group[a]];
            rotate(t - lastRun);
            for (; a < group.size() && run[group[a]] == t; ++a) {
                const int e = group[a];
                if (head < 0) {
                    head = next[e] = prev[e] = e;
                } else {
                    const int tail = prev[head];
                    next[tail] = e;
                    prev[e] = tail;
                    next[e] = head;
                    prev[head] = e;
                }
                ++size;
            }
            lastRun = t;
        }
        rotate(largerSoFar - lastRun);
        for (int k = 0, e = head; k < size; ++k, e = next[e])
            order.append(e);
        largerSoFar += size;
    }
    aa.permuteRows(1, order);
}

Rgb snapshotCellColour(const TextGrid& grid, int, int row, const QString& chosenCode) {
    if (row >= 1 && grid.cell(1, row) == chosenCode)
        return kRed;
    return kWhite;
}

Rgb resultCellColour(const TextGrid& grid, int, int row, const QString& chosenCode) {
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

int sellEndTopRow(int rowCount) {
    return rowCount > 24 ? rowCount - 24 : 0;
}

} // namespace vantorel

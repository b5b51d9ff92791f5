// Grid loading, comparison and sort: two snapshots' text become the buy and
// sell grids; the result's difference column is buy minus sell on every row,
// and SortHH orders the result exactly as the exchange sort does.

#include "FuzzSupport.h"
#include "LiteralComparison.h"
#include "common/TextGrid.h"
#include "comparison/Comparison.h"
#include "comparison/GridLoader.h"
#include "comparison/GridRoutines.h"
#include "snapshots/SnapshotFiles.h"

using namespace vantorel;

extern "C" int LLVMFuzzerTestOneInput(const quint8* data, size_t size) {
    fuzz::ensureApplication();
    const int sortColumn = fuzz::takeByte(data, size) % 6;
    // The buy side's text, a NUL, the sell side's text.
    const QByteArray input = fuzz::bytes(data, size);
    const qsizetype split = input.indexOf('\0');
    const QByteArray buyText = split < 0 ? input : input.left(split);
    const QByteArray sellText = split < 0 ? QByteArray() : input.mid(split + 1);

    TextGrid buy;
    TextGrid sell;
    LoadStringGridFromMemo(buy, splitLines(decodeSnapshotText(buyText)));
    LoadStringGridFromMemo(sell, splitLines(decodeSnapshotText(sellText)));
    fuzz::check(buy.columnCount() <= kMaxSnapshotColumns && sell.columnCount() <= kMaxSnapshotColumns,
                "a grid has at most the snapshot's column limit");

    TextGrid result;
    CompareStringGrids(buy, sell, result);
    TextGrid literal;
    bench::literalCompare(buy, sell, literal);
    fuzz::check(result.rowCount() == literal.rowCount(), "the result has the literal comparison's rows");
    for (int r = 1; r < result.rowCount(); ++r) {
        fuzz::check(result.row(r) == literal.row(r), "each result row is the literal comparison's",
                    result.row(r).join(u','));
        const qint64 difference = result.cell(2, r).toLongLong() - result.cell(3, r).toLongLong();
        fuzz::check(result.cell(4, r) == QString::number(difference), "the difference is buy - sell",
                    result.row(r).join(u','));
    }

    // The result and the raw buy grid, whose cells may be any text. The
    // exchange sort is quadratic: compare on small grids only.
    for (const TextGrid* grid : {&result, &buy}) {
        if (grid->rowCount() > 200)
            continue;
        TextGrid sorted = *grid;
        SortHH(sorted, sortColumn);
        TextGrid exchanged = *grid;
        bench::literalSort(exchanged, sortColumn);
        for (int r = 0; r < sorted.rowCount(); ++r)
            fuzz::check(sorted.row(r) == exchanged.row(r), "SortHH equals the exchange sort",
                        QString::number(r));
    }
    return 0;
}

#pragma once

// The result build done word for word as first described: a linear search of the
// sell grid for every buy row, and an exchange sort that converts both cells at
// every comparison and swaps whole rows. Kept here only to measure against.

#include "common/TextGrid.h"

namespace vantorel::bench {

inline qint32 literalCount(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? v : 0;
}

inline void literalCompare(const TextGrid& buy, const TextGrid& sell, TextGrid& result) {
    result.setRowCount(1);
    result.setColumnCount(5);
    const QStringList titles{QStringLiteral("종목코드"), QStringLiteral("종목명"), QStringLiteral("총매수"),
                             QStringLiteral("총매도"), QStringLiteral("매수합")};
    for (int c = 0; c < 5; ++c)
        result.setCell(c, 0, titles[c]);
    for (int i = 1; i < buy.rowCount(); ++i) {
        const QString code = buy.cell(1, i);
        const qint32 b = literalCount(buy.cell(3, i));
        qint32 s = 0;
        for (int j = 1; j < sell.rowCount(); ++j) {
            if (sell.cell(1, j) == code) {
                s = literalCount(sell.cell(3, j));
                break;
            }
        }
        result.appendRow(
            {code, buy.cell(2, i), QString::number(b), QString::number(s), QString::number(qint64(b) - s)});
    }
    for (int j = 1; j < sell.rowCount(); ++j) {
        const QString code = sell.cell(1, j);
        bool found = false;
        for (int i = 1; i < buy.rowCount() && !found; ++i)
            found = buy.cell(1, i) == code;
        if (!found) {
            const qint32 s = literalCount(sell.cell(3, j));
            result.appendRow({code, sell.cell(2, j), QStringLiteral("0"), QString::number(s),
                              QString::number(-qint64(s))});
        }
    }
}

inline qint64 literalKey(const QString& text) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    return ok ? v : 0;
}

inline void literalSort(TextGrid& grid, int column) {
    const int n = grid.rowCount();
    if (n < 3)
        return;
    for (int i = 1; i <= n - 2; ++i) {
        for (int j = i + 1; j <= n - 1; ++j) {
            if (literalKey(grid.cell(column, i)) < literalKey(grid.cell(column, j))) {
                const QStringList saved = grid.row(i);
                for (int c = 0; c < grid.columnCount(); ++c)
                    grid.setCell(c, i, grid.cell(c, j));
                for (int c = 0; c < grid.columnCount(); ++c)
                    grid.setCell(c, j, saved[c]);
            }
        }
    }
}

} // namespace vantorel::bench

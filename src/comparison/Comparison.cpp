#include "comparison/Comparison.h"

#include "common/TextGrid.h"

#include <QHash>

namespace vantorel {

qint32 readCount(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

void CompareStringGrids(const TextGrid& StringGrid1, const TextGrid& StringGrid2, TextGrid& ResultGrid) {
    ResultGrid.setRowCount(1);
    ResultGrid.setColumnCount(5);
    const QStringList titles{QStringLiteral("종목코드"), QStringLiteral("종목명"), QStringLiteral("총매수"),
                             QStringLiteral("총매도"), QStringLiteral("매수합")};
    for (int c = 0; c < 5; ++c)
        ResultGrid.setCell(c, 0, titles[c]);

    // Per code: the first sell row's count, and whether the buy side has it.
    struct Seen {
        qint32 firstSell = 0;
        bool inBuy = false;
    };
    QHash<QString, Seen> codes;
    codes.reserve(StringGrid1.rowCount() + StringGrid2.rowCount());
    for (int r = 1; r < StringGrid2.rowCount(); ++r) {
        const QString code = StringGrid2.cell(1, r);
        if (!codes.contains(code))
            codes.insert(code, {readCount(StringGrid2.cell(3, r)), false});
    }
    ResultGrid.reserveRows(StringGrid1.rowCount() + StringGrid2.rowCount());
    for (int r = 1; r < StringGrid1.rowCount(); ++r) {
        const QString code = StringGrid1.cell(1, r);
        Seen& seen = codes[code];
        seen.inBuy = true;
        const qint32 buy = readCount(StringGrid1.cell(3, r));
        ResultGrid.appendRow({code, StringGrid1.cell(2, r), QString::number(buy),
                              QString::number(seen.firstSell),
                              QString::number(qint64(buy) - seen.firstSell)});
    }
    for (int r = 1; r < StringGrid2.rowCount(); ++r) {
        const QString code = StringGrid2.cell(1, r);
        if (codes.value(code).inBuy)
            continue;
        const qint32 sell = readCount(StringGrid2.cell(3, r));
        ResultGrid.appendRow({code, StringGrid2.cell(2, r), QStringLiteral("0"), QString::number(sell),
                              QString::number(-qint64(sell))});
    }
}

} // namespace vantorel

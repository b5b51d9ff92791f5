#include "comparison/Comparison.h"

#include "common/TextGrid.h"

#include <QHash>
#include <QSet>

namespace vantorel {

qint32 readCount(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

void CompareStringGrids(const TextGrid& StringGrid1, const TextGrid& StringGrid2, TextGrid& ResultGrid)
{
    ResultGrid.setRowCount(1);
    ResultGrid.setColumnCount(5);
    const QStringList titles{QStringLiteral("종목코드"), QStringLiteral("종목명"), QStringLiteral("총매수"),
                             QStringLiteral("총매도"), QStringLiteral("매수합")};
    for (int c = 0; c < 5; ++c)
        ResultGrid.setCell(c, 0, titles[c]);

    // The first sell row of each code, and the codes the buy side has.
    QHash<QString, qint32> firstSell;
    firstSell.reserve(StringGrid2.rowCount());
    for (int r = 1; r < StringGrid2.rowCount(); ++r) {
        const QString code = StringGrid2.cell(1, r);
        if (!firstSell.contains(code))
            firstSell.insert(code, readCount(StringGrid2.cell(3, r)));
    }
    QSet<QString> buyCodes;
    buyCodes.reserve(StringGrid1.rowCount());

    for (int r = 1; r < StringGrid1.rowCount(); ++r) {
        const QString code = StringGrid1.cell(1, r);
        buyCodes.insert(code);
        const qint32 buy = readCount(StringGrid1.cell(3, r));
        const qint32 sell = firstSell.value(code, 0);
        ResultGrid.appendRow({code, StringGrid1.cell(2, r), QString::number(buy), QString::number(sell),
                              QString::number(qint64(buy) - sell)});
    }
    for (int r = 1; r < StringGrid2.rowCount(); ++r) {
        const QString code = StringGrid2.cell(1, r);
        if (buyCodes.contains(code))
            continue;
        const qint32 sell = readCount(StringGrid2.cell(3, r));
        ResultGrid.appendRow({code, StringGrid2.cell(2, r), QStringLiteral("0"), QString::number(sell),
                              QString::number(-qint64(sell))});
    }
}

} // namespace vantorel

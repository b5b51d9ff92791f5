#include "live/TopTen.h"

#include "comparison/Comparison.h"

#include <QList>

namespace vantorel {

namespace {

constexpr int kCode = 0;
constexpr int kName = 1;
constexpr int kBuyCount = 2;
constexpr int kSellCount = 3;
constexpr int kBalance = 4;
constexpr int kColumns = 5;

// The result rows a side lists, in the order it lists them.
QList<int> chosenRows(const TextGrid& result, int condition, bool buySide) {
    const int last = result.rowCount() - 1;
    QList<int> rows;
    if (condition == TopTen::Strongest) {
        for (int k = 0; k < TopTen::kListed && k < last; ++k)
            rows.append(buySide ? 1 + k : last - k);
        return rows;
    }
    // Stocks with no count on the other side, from the side's own end.
    const int otherSide = buySide ? kSellCount : kBuyCount;
    for (int k = 0; k < last && rows.size() < TopTen::kListed; ++k) {
        const int r = buySide ? 1 + k : last - k;
        if (readCount(result.cell(otherSide, r)) == 0)
            rows.append(r);
    }
    return rows;
}

struct Side {
    TextGrid& list;
    QStringList& shown;
    QHash<QString, qint32>& sums;
    QStringList& lines;
    bool buy;
};

void fillSide(const TextGrid& result, const QList<int>& rows, qint32 threshold, Side side) {
    SaveShownCodes(side.list, side.shown);
    side.list.setRowCount(1);
    for (int c = 0; c < kColumns; ++c)
        side.list.setCell(c, 0, result.cell(c, 0));
    for (const int r : rows) {
        const QString code = result.cell(kCode, r);
        const qint32 sum = readCount(result.cell(kBalance, r));
        // Wide enough for any two 32-bit balances.
        const qint64 change = qint64(sum) - side.sums.value(code, 0);
        const bool jumped = side.buy ? change >= threshold : change <= -qint64(threshold);
        if (threshold > 0 && jumped) {
            const QString name = result.cell(kName, r);
            // A rise is written with its plus sign, a fall with its minus sign.
            side.lines.append(code + QStringLiteral(" (") + name + QStringLiteral("): ") +
                              (side.buy ? QStringLiteral("+") : QString()) + QString::number(change));
        }
        side.sums.insert(code, sum);
        QStringList cells;
        cells.reserve(kColumns);
        for (int c = 0; c < kColumns; ++c)
            cells.append(result.cell(c, r));
        side.list.appendRow(std::move(cells));
    }
}

} // namespace

void SaveShownCodes(const TextGrid& grid, QStringList& list) {
    list.clear();
    for (int r = 1; r < grid.rowCount(); ++r) {
        const QString code = grid.cell(kCode, r);
        if (!code.isEmpty())
            list.append(code);
    }
}

bool TopTen::hasRows(const TextGrid& result) {
    return !result.cell(kCode, 1).trimmed().isEmpty();
}

bool TopTen::refresh(const TextGrid& result, int condition, qint32 plus, qint32 minus) {
    if (!hasRows(result))
        return false;
    m_buyLines.clear();
    m_sellLines.clear();
    fillSide(result, chosenRows(result, condition, true), plus,
             {m_buy, FPrevCodesBuy, FPrevBuySum, m_buyLines, true});
    fillSide(result, chosenRows(result, condition, false), minus,
             {m_sell, FPrevCodesSell, FPrevSellSum, m_sellLines, false});
    return true;
}

void TopTen::clearLists() {
    m_buy.clearCells();
    m_sell.clearCells();
}

QStringList TopTen::newCodes(const TextGrid& list, const QStringList& previous) {
    QStringList codes;
    for (int r = 1; r < list.rowCount(); ++r) {
        const QString code = list.cell(kCode, r);
        if (!code.isEmpty() && !previous.contains(code))
            codes.append(code);
    }
    return codes;
}

CellLook TopTen::look(const TextGrid& list, const QStringList& previous, Rgb colour, int column, int row) {
    if (row == 0)
        return {kWhite, colour, true};
    if (column == kCode) {
        const QString code = list.cell(kCode, row);
        if (!code.isEmpty() && !previous.contains(code))
            return {colour, kWhite};
    }
    return {kWhite, kBlack};
}

} // namespace vantorel

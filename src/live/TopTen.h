#pragma once

#include "common/Colours.h"
#include "common/TextGrid.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace vantorel {

// Empties the list, then adds the code (column 0) of every row from 1 on whose
// code is not empty, top to bottom.
void SaveShownCodes(const TextGrid& grid, QStringList& list);

// The ten strongest buy and sell balances of a result table (code, name, buy,
// sell, buy − sell; sorted by the balance, largest first), and the stocks whose
// balance jumped since they were last listed.
class TopTen {
public:
    enum Condition {
        OneSideOnly = 0, // "매수 0 or 매도 0": stocks seen on one side only
        Strongest = 1,   // "매수 매도 상위": the two ends of the table
    };
    static constexpr int kListed = 10;

    // Whether the table has a stock row to refresh from.
    static bool hasRows(const TextGrid& result);

    // Rebuilds both lists from the table and writes the change lines of stocks
    // whose balance rose by at least `plus` (buy side) or fell by at least
    // `minus` (sell side) since they were last listed; a threshold of 0 or below
    // gives no lines. A table without stock rows changes nothing: false.
    bool refresh(const TextGrid& result, int condition, qint32 plus, qint32 minus);
    // Empties every cell of both lists; what they remember stays.
    void clearLists();

    const TextGrid& buy() const { return m_buy; }
    const TextGrid& sell() const { return m_sell; }
    TextGrid& buy() { return m_buy; }
    TextGrid& sell() { return m_sell; }
    const QStringList& buyLines() const { return m_buyLines; }
    const QStringList& sellLines() const { return m_sellLines; }

    // The codes that entered a list at the latest refresh, top to bottom.
    QStringList newBuyCodes() const { return newCodes(m_buy, FPrevCodesBuy); }
    QStringList newSellCodes() const { return newCodes(m_sell, FPrevCodesSell); }

    // Headings bold in the side's colour; a code new to its list in white on it.
    CellLook buyCellLook(int column, int row) const { return look(m_buy, FPrevCodesBuy, kRed, column, row); }
    CellLook sellCellLook(int column, int row) const {
        return look(m_sell, FPrevCodesSell, kPureBlue, column, row);
    }

    // The codes each list showed just before the latest refresh.
    QStringList FPrevCodesBuy;
    QStringList FPrevCodesSell;
    // Per code, the balance last seen when the code was placed in the list.
    QHash<QString, qint32> FPrevBuySum;
    QHash<QString, qint32> FPrevSellSum;

private:
    static QStringList newCodes(const TextGrid& list, const QStringList& previous);
    static CellLook look(const TextGrid& list, const QStringList& previous, Rgb colour, int column, int row);

    TextGrid m_buy{5, 1};
    TextGrid m_sell{5, 1};
    QStringList m_buyLines;
    QStringList m_sellLines;
};

} // namespace vantorel

#include "live/TopTen.h"

#include "Envelope.h"
#include "comparison/GridRoutines.h"
#include "support/QtPrinters.h"
#include "support/Snapshots.h"
#include "support/ToolProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace vantorel {
namespace {

struct Stock {
    QString code;
    QString buy;
    QString sell;
    QString sum;
};

// A result table in the given order: code, name (the code's name), buy, sell, balance.
TextGrid resultOf(const QList<Stock>& stocks) {
    TextGrid grid(5, 1);
    const QStringList headings{QStringLiteral("종목코드"), QStringLiteral("종목명"), QStringLiteral("총매수"),
                               QStringLiteral("총매도"), QStringLiteral("매수합")};
    for (int c = 0; c < 5; ++c)
        grid.setCell(c, 0, headings[c]);
    for (const Stock& s : stocks)
        grid.appendRow({s.code, s.code + QStringLiteral("사"), s.buy, s.sell, s.sum});
    return grid;
}

// The same from counts, sorted by the balance as the main window sorts it.
TextGrid sortedResultOf(const QList<std::tuple<QString, int, int>>& stocks) {
    QList<Stock> rows;
    for (const auto& [code, buy, sell] : stocks)
        rows.append({code, QString::number(buy), QString::number(sell), QString::number(qint64(buy) - sell)});
    TextGrid grid = resultOf(rows);
    SortHH(grid, 4);
    return grid;
}

QStringList codesOf(const TextGrid& list) {
    QStringList codes;
    for (int r = 1; r < list.rowCount(); ++r)
        codes << list.cell(0, r);
    return codes;
}

QStringList words(const char* text) {
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// K L M N P Q: buy-only, both, buy-only, sell-only, both, sell-only.
const QList<Stock> kSixStocks{
    {QStringLiteral("K"), QStringLiteral("9"), QStringLiteral("0"), QStringLiteral("9")},
    {QStringLiteral("L"), QStringLiteral("7"), QStringLiteral("2"), QStringLiteral("5")},
    {QStringLiteral("M"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("4")},
    {QStringLiteral("N"), QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("-3")},
    {QStringLiteral("P"), QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("-4")},
    {QStringLiteral("Q"), QStringLiteral("0"), QStringLiteral("8"), QStringLiteral("-8")},
};

QList<Stock> numbered(int count, const QString& buy, const QString& sell) {
    QList<Stock> stocks;
    for (int i = 0; i < count; ++i)
        stocks.append({QStringLiteral("S%1").arg(i + 1, 2, 10, QLatin1Char('0')), buy, sell,
                       QString::number(count - i)});
    return stocks;
}

TEST(TopTen, EachConditionListsItsRowsFromItsEnd) {
    struct Case {
        const char* what;
        QList<Stock> stocks;
        int condition;
        QStringList buy;
        QStringList sell;
    };
    const Case cases[] = {
        {"one side only", kSixStocks, TopTen::OneSideOnly, words("K M"), words("Q N")},
        {"both ends", kSixStocks, TopTen::Strongest, words("K L M N P Q"), words("Q P N M L K")},
        {"both ends of fifteen", numbered(15, QStringLiteral("1"), QStringLiteral("1")), TopTen::Strongest,
         words("S01 S02 S03 S04 S05 S06 S07 S08 S09 S10"), words("S15 S14 S13 S12 S11 S10 S09 S08 S07 S06")},
        {"ten of fifteen buy-only",
         numbered(15, QStringLiteral("3"), QStringLiteral("0")),
         TopTen::OneSideOnly,
         words("S01 S02 S03 S04 S05 S06 S07 S08 S09 S10"),
         {}},
        {"cells that are no numbers count as 0",
         {{QStringLiteral("A"), QStringLiteral("5"), QStringLiteral("n/a"), QStringLiteral("5")},
          {QStringLiteral("B"), QString(), QStringLiteral("3"), QStringLiteral("-3")},
          {QStringLiteral("C"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("0")}},
         TopTen::OneSideOnly,
         words("A"),
         words("B")},
        {"one stock on both ends", {kSixStocks[1]}, TopTen::Strongest, words("L"), words("L")},
    };
    for (const Case& c : cases) {
        TopTen lists;
        ASSERT_TRUE(lists.refresh(resultOf(c.stocks), c.condition, 2, 2)) << c.what;
        EXPECT_EQ(codesOf(lists.buy()), c.buy) << c.what;
        EXPECT_EQ(codesOf(lists.sell()), c.sell) << c.what;
        EXPECT_EQ(lists.buy().row(0), resultOf({}).row(0)) << c.what;
        EXPECT_EQ(lists.sell().row(0), resultOf({}).row(0)) << c.what;
    }
    // Whole rows are copied.
    TopTen lists;
    lists.refresh(resultOf(kSixStocks), TopTen::OneSideOnly, 2, 2);
    EXPECT_EQ(lists.sell().row(2),
              (QStringList{QStringLiteral("N"), QStringLiteral("N사"), QStringLiteral("0"),
                           QStringLiteral("3"), QStringLiteral("-3")}));
}

TEST(TopTen, ChangeLinesReportJumpsSinceAStockWasLastListed) {
    using Result = QList<std::tuple<QString, int, int>>;
    struct Step {
        Result result;
        QStringList buyLines;
        QStringList sellLines;
    };
    struct Case {
        const char* what;
        int condition;
        qint32 plus;
        qint32 minus;
        QList<Step> steps;
    };
    const QString k = QStringLiteral("K");
    const QString q = QStringLiteral("Q");
    const QString m = QStringLiteral("M");
    const Case cases[] = {
        {"a rise of 3, then of 1",
         TopTen::OneSideOnly,
         2,
         2,
         {{{{k, 9, 0}, {m, 4, 0}, {q, 0, 8}},
           {QStringLiteral("K (K사): +9"), QStringLiteral("M (M사): +4")},
           {QStringLiteral("Q (Q사): -8")}},
          {{{k, 12, 0}, {m, 4, 0}, {q, 0, 11}},
           {QStringLiteral("K (K사): +3")},
           {QStringLiteral("Q (Q사): -3")}},
          {{{k, 13, 0}, {m, 4, 0}, {q, 0, 12}}, {}, {}}}},
        {"a stock out of the list is compared with its value when last listed",
         TopTen::OneSideOnly,
         2,
         2,
         {{{{k, 9, 0}}, {QStringLiteral("K (K사): +9")}, {}},
          {{{k, 30, 1}}, {}, {}},
          {{{k, 12, 0}}, {QStringLiteral("K (K사): +3")}, {}}}},
        {"a change of exactly the threshold counts",
         TopTen::OneSideOnly,
         2,
         2,
         {{{{k, 2, 0}, {q, 0, 2}}, {QStringLiteral("K (K사): +2")}, {QStringLiteral("Q (Q사): -2")}},
          {{{k, 3, 0}, {q, 0, 3}}, {}, {}}}},
        {"thresholds of 0 and below give no lines",
         TopTen::Strongest,
         0,
         -1,
         {{{{k, 9, 0}, {q, 0, 8}}, {}, {}}, {{{k, 19, 0}, {q, 0, 18}}, {}, {}}}},
        {"a change beyond 32 bits is written whole",
         TopTen::Strongest,
         2,
         2,
         {{{{k, 0, 5}}, {}, {QStringLiteral("K (K사): -5")}},
          {{{k, 2147483647, 0}}, {QStringLiteral("K (K사): +2147483652")}, {}}}},
    };
    for (const Case& c : cases) {
        TopTen lists;
        for (int i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            ASSERT_TRUE(lists.refresh(sortedResultOf(step.result), c.condition, c.plus, c.minus));
            EXPECT_EQ(lists.buyLines(), step.buyLines) << c.what << ", step " << i + 1;
            EXPECT_EQ(lists.sellLines(), step.sellLines) << c.what << ", step " << i + 1;
        }
    }
}

TEST(TopTen, CodesNewToAListAreHighlighted) {
    TopTen lists;
    EXPECT_EQ(lists.buyCellLook(0, 0), CellLook(kWhite, kRed, true));
    EXPECT_EQ(lists.sellCellLook(3, 0), CellLook(kWhite, kPureBlue, true));
    EXPECT_EQ(lists.buyCellLook(0, 1), CellLook(kWhite, kBlack));

    // The first refresh: every code is new.
    lists.refresh(resultOf(kSixStocks), TopTen::OneSideOnly, 2, 2);
    EXPECT_EQ(lists.newBuyCodes(), words("K M"));
    EXPECT_EQ(lists.newSellCodes(), words("Q N"));
    EXPECT_EQ(lists.buyCellLook(0, 1), CellLook(kRed, kWhite));
    EXPECT_EQ(lists.sellCellLook(0, 2), CellLook(kPureBlue, kWhite));
    EXPECT_EQ(lists.buyCellLook(1, 1), CellLook(kWhite, kBlack));
    EXPECT_EQ(lists.buyCellLook(0, 0), CellLook(kWhite, kRed, true));

    // The same codes again: none; a code entering: that one only.
    lists.refresh(resultOf(kSixStocks), TopTen::OneSideOnly, 2, 2);
    EXPECT_EQ(lists.newBuyCodes(), QStringList());
    EXPECT_EQ(lists.buyCellLook(0, 1), CellLook(kWhite, kBlack));
    lists.refresh(resultOf(kSixStocks), TopTen::Strongest, 2, 2);
    EXPECT_EQ(lists.FPrevCodesBuy, words("K M"));
    EXPECT_EQ(lists.newBuyCodes(), words("L N P Q"));
    EXPECT_EQ(lists.buyCellLook(0, 1), CellLook(kWhite, kBlack));
    EXPECT_EQ(lists.buyCellLook(0, 2), CellLook(kRed, kWhite));

    // Emptied lists keep their rows and what they remember; after them every code is new.
    lists.clearLists();
    EXPECT_EQ(lists.buy().rowCount(), 7);
    EXPECT_EQ(lists.buy().row(1), QStringList(5));
    EXPECT_EQ(lists.buy().row(0), QStringList(5));
    EXPECT_EQ(lists.buyCellLook(0, 2), CellLook(kWhite, kBlack));
    EXPECT_EQ(lists.FPrevBuySum.value(QStringLiteral("Q")), -8);
    lists.refresh(resultOf(kSixStocks), TopTen::Strongest, 2, 2);
    EXPECT_EQ(lists.FPrevCodesBuy, QStringList());
    EXPECT_EQ(lists.newBuyCodes(), words("K L M N P Q"));
}

TEST(TopTen, ATableWithoutStockRowsChangesNothing) {
    TopTen lists;
    lists.refresh(resultOf(kSixStocks), TopTen::OneSideOnly, 2, 2);
    const QStringList lines = lists.buyLines();
    TextGrid reset(5, 1);
    TextGrid blankCode =
        resultOf({{QStringLiteral("  "), QStringLiteral("5"), QStringLiteral("0"), QStringLiteral("5")}});
    for (const TextGrid* empty : {&reset, &blankCode}) {
        EXPECT_FALSE(TopTen::hasRows(*empty));
        EXPECT_FALSE(lists.refresh(*empty, TopTen::Strongest, 2, 2));
        EXPECT_EQ(codesOf(lists.buy()), words("K M"));
        EXPECT_EQ(lists.buyLines(), lines);
        EXPECT_EQ(lists.newBuyCodes(), words("K M"));
    }
}

TEST(TopTen, SaveShownCodesTakesTheCodesOfTheStockRows) {
    TextGrid grid = resultOf(kSixStocks);
    grid.setCell(0, 3, QString());
    QStringList list{QStringLiteral("old")};
    SaveShownCodes(grid, list);
    EXPECT_EQ(list, words("K L N P Q"));
}

// Stock lines of 09:00: code, name, count.
QByteArray snapshot(QList<QByteArray> stocks) {
    for (QByteArray& s : stocks)
        s.prepend("090000,");
    return test::snapshotFile(stocks);
}

class TopTenCli : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(m_dir.path()).filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static test::ToolRun run(const QStringList& arguments) {
        return test::runTool(QStringLiteral("vantorel-cli"),
                             QStringList{QStringLiteral("top10")} + arguments);
    }

    QTemporaryDir m_dir;
};

TEST_F(TopTenCli, RefreshesOnceForEachPairInTurn) {
    const QString buy1 = file(QStringLiteral("B1.dat"), snapshot({"K,케이,9", "L,엘,7", "M,엠,4", "P,피,2"}));
    const QString sell1 = file(QStringLiteral("S1.dat"), snapshot({"L,엘,2", "N,엔,3", "P,피,6", "Q,큐,8"}));
    const QString buy2 =
        file(QStringLiteral("B2.dat"), snapshot({"K,케이,12", "L,엘,7", "M,엠,4", "P,피,2"}));
    const QString sell2 = file(QStringLiteral("S2.dat"), snapshot({"L,엘,2", "N,엔,3", "P,피,6", "Q,큐,11"}));

    const test::ToolRun r = run({QStringLiteral("--json"), buy1, sell1, buy2, sell2});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(
        r.out.startsWith(R"({"refreshes":[{"buy":[["K","케이","9","0","9"],["M","엠","4","0","4"]],)"))
        << r.out.toStdString();
    const QJsonArray refreshes =
        QJsonDocument::fromJson(r.out).object()[QStringLiteral("refreshes")].toArray();
    ASSERT_EQ(refreshes.size(), 2);
    const QJsonObject first = refreshes[0].toObject();
    EXPECT_EQ(first[QStringLiteral("sell")].toArray()[0].toVariant().toStringList(),
              (QStringList{QStringLiteral("Q"), QStringLiteral("큐"), QStringLiteral("0"),
                           QStringLiteral("8"), QStringLiteral("-8")}));
    EXPECT_EQ(first[QStringLiteral("buyLines")].toVariant().toStringList(),
              (QStringList{QStringLiteral("K (케이): +9"), QStringLiteral("M (엠): +4")}));
    EXPECT_EQ(first[QStringLiteral("newBuy")].toVariant().toStringList(), words("K M"));
    EXPECT_EQ(first[QStringLiteral("newSell")].toVariant().toStringList(), words("Q N"));
    const QJsonObject second = refreshes[1].toObject();
    EXPECT_EQ(second[QStringLiteral("buyLines")].toVariant().toStringList(),
              QStringList{QStringLiteral("K (케이): +3")});
    EXPECT_EQ(second[QStringLiteral("sellLines")].toVariant().toStringList(),
              QStringList{QStringLiteral("Q (큐): -3")});
    EXPECT_EQ(second[QStringLiteral("newBuy")].toVariant().toStringList(), QStringList());

    // Both ends, no buy-side lines.
    const test::ToolRun ends =
        run({QStringLiteral("--condition"), QStringLiteral("1"), QStringLiteral("--plus"),
             QStringLiteral("0"), QStringLiteral("--json"), buy1, sell1});
    ASSERT_EQ(ends.exitCode, 0) << ends.err.toStdString();
    const QJsonObject only =
        QJsonDocument::fromJson(ends.out).object()[QStringLiteral("refreshes")][0].toObject();
    EXPECT_EQ(only[QStringLiteral("buy")].toArray().size(), 6);
    EXPECT_EQ(only[QStringLiteral("sell")].toArray()[1].toArray()[0].toString(), QStringLiteral("P"));
    EXPECT_EQ(only[QStringLiteral("buyLines")].toArray().size(), 0);
    EXPECT_EQ(only[QStringLiteral("sellLines")].toArray().size(), 3);

    // Without --json, one readable block per refresh, new codes starred.
    const test::ToolRun text = run({buy1, sell1});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(QString::fromUtf8(text.out).contains(QStringLiteral("buy\n* K\t케이\t9\t0\t9\n")))
        << text.out.toStdString();
}

TEST_F(TopTenCli, ABadArgumentOrAMissingFileIsRefusedWithAMessage) {
    const QString buy = file(QStringLiteral("B.dat"), snapshot({"K,케이,9"}));
    const QString sell = file(QStringLiteral("S.dat"), snapshot({"Q,큐,8"}));
    const QString broken = file(QStringLiteral("X.dat"), "\xff\xfe not even text");
    const std::pair<QStringList, QString> cases[] = {
        {{buy, sell, buy}, QStringLiteral("pairs")},
        {{}, QStringLiteral("pairs")},
        {{QStringLiteral("--condition"), QStringLiteral("2"), buy, sell}, QStringLiteral("--condition")},
        {{QStringLiteral("--plus"), QStringLiteral("abc"), buy, sell}, QStringLiteral("--plus")},
        {{buy, sell, QStringLiteral("--minus")}, QStringLiteral("--minus")},
        {{QStringLiteral("--top"), buy, sell}, QStringLiteral("--top")},
        {{buy, sell, buy, QDir(m_dir.path()).filePath(QStringLiteral("none.dat"))},
         QStringLiteral("none.dat")},
        {{buy, broken}, QStringLiteral("X.dat")},
    };
    for (const auto& [arguments, mentioned] : cases) {
        const test::ToolRun r = run(QStringList{QStringLiteral("--json")} + arguments);
        EXPECT_EQ(r.exitCode, 1) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(mentioned)) << r.err.toStdString();
    }
}

} // namespace
} // namespace vantorel

#include "comparison/Comparison.h"
#include "common/TextGrid.h"
#include "comparison/GridLoader.h"
#include "comparison/GridRoutines.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

QList<QStringList> rowsOf(const TextGrid& g) {
    QList<QStringList> rows;
    for (int r = 0; r < g.rowCount(); ++r)
        rows << g.row(r);
    return rows;
}

TextGrid gridOf(const QList<QStringList>& rows) {
    TextGrid g(int(rows.value(0).size()), int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            g.setCell(c, r, rows[r][c]);
    return g;
}

TEST(GridLoader, PosExAndTheFieldSplitter) {
    EXPECT_EQ(PosEx(QStringLiteral(","), QStringLiteral("a,b,c"), 1), 2);
    EXPECT_EQ(PosEx(QStringLiteral(","), QStringLiteral("a,b,c"), 3), 4);
    EXPECT_EQ(PosEx(QStringLiteral(","), QStringLiteral("a,b,c"), 5), 0);
    EXPECT_EQ(PosEx(QStringLiteral(","), QStringLiteral("a,b"), 0), 0);
    EXPECT_EQ(PosEx(QStringLiteral(","), QStringLiteral("a,b"), 4), 0);

    const std::pair<QString, QStringList> cases[] = {
        {QStringLiteral("0930,005930,삼성전자,12"),
         {QStringLiteral("0930"), QStringLiteral("005930"), QStringLiteral("삼성전자"),
          QStringLiteral("12")}},
        {QStringLiteral("a,,b"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral(",a"), {QString(), QStringLiteral("a")}},
        {QStringLiteral("a,"), {QStringLiteral("a")}},
        {QStringLiteral(" a , b "), {QStringLiteral(" a "), QStringLiteral(" b ")}},
        {QString(), {}},
        {QStringLiteral(","), {QString()}},
    };
    for (const auto& [line, fields] : cases)
        EXPECT_EQ(splitFields(line), fields) << line.toStdString();
}

TEST(GridLoader, FillsAResetGridLineByLine) {
    TextGrid g;
    GridReset4(g);
    LoadStringGridFromMemo(g, {QStringLiteral("Time,Stock Code,Stock Name,Occurrences"),
                               QStringLiteral("093015,005930,삼성전자,12"),
                               QStringLiteral("101500,000660,,하이닉스,3"), QStringLiteral("1,2,3,4,5,6"),
                               QStringLiteral("x")});
    EXPECT_EQ(rowsOf(g),
              (QList<QStringList>{
                  {QStringLiteral("Time"), QStringLiteral("Stock Code"), QStringLiteral("Stock Name"),
                   QStringLiteral("Occurrences")},
                  {QStringLiteral("0930"), QStringLiteral("005930"), QStringLiteral("삼성전자"),
                   QStringLiteral("12")},
                  {QStringLiteral("1015"), QStringLiteral("000660"), QString(), QStringLiteral("하이닉스")},
                  {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")},
                  {QStringLiteral("x"), QString(), QString(), QString()},
              }));

    // A three-field first line makes three columns whatever follows.
    TextGrid three;
    GridReset4(three);
    LoadStringGridFromMemo(three, {QStringLiteral("a,b,c"), QStringLiteral("1,2,3,4")});
    EXPECT_EQ(three.columnCount(), 3);
    EXPECT_EQ(three.row(1), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));

    // A damaged first line makes no more columns than a grid can show at once.
    TextGrid wide;
    GridReset4(wide);
    LoadStringGridFromMemo(wide, {QString(QStringLiteral(",")).repeated(5000), QStringLiteral("1,2,3,4")});
    EXPECT_EQ(wide.columnCount(), kMaxSnapshotColumns);
    EXPECT_EQ(wide.row(1).mid(0, 5), (QStringList{QStringLiteral("1"), QStringLiteral("2"),
                                                  QStringLiteral("3"), QStringLiteral("4"), QString()}));

    // An empty buffer leaves the reset grid.
    TextGrid empty;
    GridReset4(empty);
    LoadStringGridFromMemo(empty, {});
    EXPECT_EQ(rowsOf(empty), (QList<QStringList>{{QString(), QString(), QString(), QString()}}));
}

const QStringList kHeader{QStringLiteral("Time"), QStringLiteral("Stock Code"), QStringLiteral("Stock Name"),
                          QStringLiteral("Occurrences")};
const QStringList kTitles{QStringLiteral("종목코드"), QStringLiteral("종목명"), QStringLiteral("총매수"),
                          QStringLiteral("총매도"), QStringLiteral("매수합")};

QStringList stock(const char* code, const char* name, const char* count) {
    return {QStringLiteral("0900"), QString::fromUtf8(code), QString::fromUtf8(name),
            QString::fromUtf8(count)};
}

QStringList result(const char* code, const char* name, const char* buy, const char* sell, const char* diff) {
    return {QString::fromUtf8(code), QString::fromUtf8(name), QString::fromUtf8(buy), QString::fromUtf8(sell),
            QString::fromUtf8(diff)};
}

TEST(Comparison, BuildsOneRowPerBuyRowThenTheSellOnlyRows) {
    struct Case {
        const char* what;
        QList<QStringList> buy;
        QList<QStringList> sell;
        QList<QStringList> expected;
    };
    const QList<QStringList> reset{{QString(), QString(), QString(), QString()}};
    const Case cases[] = {
        {"buy only, sell only, both, leading zero, junk",
         {kHeader, stock("111111", "가", "5"), stock("333333", "다", "07"), stock("444444", "라", "x")},
         {kHeader, stock("222222", "나", "3"), stock("333333", "다다", "2")},
         {kTitles, result("111111", "가", "5", "0", "5"), result("333333", "다", "7", "2", "5"),
          result("444444", "라", "0", "0", "0"), result("222222", "나", "0", "3", "-3")}},
        {"duplicate codes on each side",
         {kHeader, stock("111111", "가", "4"), stock("111111", "가2", "6")},
         {kHeader, stock("111111", "가", "1"), stock("111111", "가", "9"), stock("555555", "마", "2"),
          stock("555555", "마", "3")},
         {kTitles, result("111111", "가", "4", "1", "3"), result("111111", "가2", "6", "1", "5"),
          result("555555", "마", "0", "2", "-2"), result("555555", "마", "0", "3", "-3")}},
        {"codes compare exactly",
         {kHeader, stock("00593a", "a", "1")},
         {kHeader, stock("00593A", "A", "1")},
         {kTitles, result("00593a", "a", "1", "0", "1"), result("00593A", "A", "0", "1", "-1")}},
        {"count beyond 32 bits",
         {kHeader, stock("1", "a", "2147483648")},
         {kHeader},
         {kTitles, result("1", "a", "0", "0", "0")}},
        {"both reset", reset, reset, {kTitles}},
        {"headers only", {kHeader}, {kHeader}, {kTitles}},
        {"one side reset",
         reset,
         {kHeader, stock("222222", "나", "3")},
         {kTitles, result("222222", "나", "0", "3", "-3")}},
    };
    for (const Case& c : cases) {
        TextGrid total;
        GridReset(total);
        CompareStringGrids(gridOf(c.buy), gridOf(c.sell), total);
        EXPECT_EQ(rowsOf(total), c.expected) << c.what;
    }
}

TEST(SortHH, ReproducesTheExchangeSortTiesIncluded) {
    struct Case {
        const char* what;
        QList<QStringList> rows; // name, value
        QStringList order;
    };
    const auto row = [](const char* name, const char* value) {
        return QStringList{QString::fromUtf8(name), QString::fromUtf8(value)};
    };
    const QStringList head{QStringLiteral("name"), QStringLiteral("value")};
    const Case cases[] = {
        {"plain",
         {head, row("a", "3"), row("b", "10"), row("c", "7")},
         {QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")}},
        {"ties",
         {head, row("A", "1"), row("B", "1"), row("C", "2")},
         {QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A")}},
        // Not what a stable sort gives (D, B, A, C).
        {"ties moved by larger values",
         {head, row("A", "1"), row("B", "2"), row("C", "1"), row("D", "3")},
         {QStringLiteral("D"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("A")}},
        {"negative and junk as 0",
         {head, row("a", "-3"), row("b", "x"), row("c", ""), row("d", "1")},
         {QStringLiteral("d"), QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")}},
        {"64-bit values",
         {head, row("a", "4294967296"), row("b", "9223372036854775807"), row("c", "1")},
         {QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")}},
        {"one stock", {head, row("a", "1")}, {QStringLiteral("a")}},
    };
    for (const Case& c : cases) {
        TextGrid g = gridOf(c.rows);
        SortHH(g, 1);
        QStringList order;
        for (int r = 1; r < g.rowCount(); ++r)
            order << g.cell(0, r);
        EXPECT_EQ(order, c.order) << c.what;
        EXPECT_EQ(g.row(0), head) << c.what;
    }
    // A column without numbers leaves the rows where they were.
    TextGrid names = gridOf({head, row("b", "1"), row("a", "2")});
    SortHH(names, 0);
    EXPECT_EQ(names.cell(0, 1), QStringLiteral("b"));
}

TEST(GridRoutines, ResetsAndColoursAndTheSellEndScroll) {
    TextGrid g = gridOf({{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")},
                         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}});
    GridReset5(g);
    EXPECT_EQ(rowsOf(g), (QList<QStringList>{{QString(), QString(), QString(), QString(), QString()}}));
    EXPECT_EQ(resultCellColour(g, 0, 0, QStringLiteral("000000")), kWhite);

    const TextGrid snap =
        gridOf({kHeader, stock("005930", "삼성전자", "3"), stock("000660", "하이닉스", "1")});
    EXPECT_EQ(snapshotCellColour(snap, 3, 1, QStringLiteral("005930")), kRed);
    EXPECT_EQ(snapshotCellColour(snap, 0, 2, QStringLiteral("005930")), kWhite);
    EXPECT_EQ(snapshotCellColour(snap, 0, 1, QStringLiteral("005931")), kWhite);
    EXPECT_EQ(snapshotCellColour(snap, 1, 0, QStringLiteral("Stock Code")), kWhite);

    const TextGrid total =
        gridOf({kTitles, result("111111", "가", "5", "0", "5"), result("222222", "나", "0", "3", "-3"),
                result("333333", "다", "4", "2", "2"), result("444444", "라", "0", "0", "0"),
                result("555555", "마", "00", "1", "-1")});
    const struct {
        int row;
        const char* chosen;
        Rgb colour;
    } colours[] = {
        {1, "000000", kBuyPink}, {2, "000000", kSellBlue}, {3, "000000", kWhite},
        {4, "000000", kBuyPink}, {5, "000000", kWhite},    {1, "111111", kRed},
        {2, "222222", kRed},     {3, "333333", kRed},      {0, "종목코드", kWhite},
    };
    for (const auto& c : colours) {
        for (int col = 0; col < 5; ++col)
            EXPECT_EQ(resultCellColour(total, col, c.row, QString::fromUtf8(c.chosen)), c.colour)
                << c.row << " " << c.chosen;
    }

    EXPECT_EQ(sellEndTopRow(31), 7);
    EXPECT_EQ(sellEndTopRow(25), 1);
    EXPECT_EQ(sellEndTopRow(24), 0);
}

} // namespace
} // namespace vantorel

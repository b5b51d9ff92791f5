#include "live/StockDay.h"
#include "Envelope.h"
#include "live/DayIndex.h"
#include "snapshots/DownloadPlan.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/Snapshots.h"
#include "support/ToolProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

namespace vantorel {
namespace {

using test::waitUntil;

// A data folder, its day index, and one stock's day read from them.
class StockDayTest : public ::testing::Test {
protected:
    void put(const QString& name, const QByteArray& bytes) {
        QFile f(QDir(m_dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void putMinute(const QString& hhmm, const QList<QByteArray>& buy, const QList<QByteArray>& sell) {
        put(QStringLiteral("B20250701_") + hhmm + QStringLiteral(".dat"), test::snapshotFile(buy));
        put(QStringLiteral("S20250701_") + hhmm + QStringLiteral(".dat"), test::snapshotFile(sell));
    }
    // The query at the time, once the index has read what it needs.
    void query(const QTime& until, const QString& code) {
        const QStringList stems = backlogStems(QDateTime(QDate(2025, 7, 1), until));
        bool read = false;
        m_index.whenRead(m_day.filesToRead(stems), &m_index, [&] { read = true; });
        ASSERT_TRUE(waitUntil([&] { return read; }));
        m_day.ClearSlotGrid();
        m_day.fill(stems, code);
    }
    QList<QStringList> rows() const {
        QList<QStringList> r;
        for (int i = 1; i < m_grid.rowCount(); ++i)
            r << m_grid.row(i);
        return r;
    }

    QTemporaryDir m_dir;
    DayIndex m_index{m_dir.path()};
    TextGrid m_grid;
    StockDay m_day{m_index, m_dir.path(), m_grid};
};

TEST_F(StockDayTest, FindsTheStockByItsCodeFieldAndFillsCountsAndDifference) {
    struct Case {
        const char* what;
        QList<QByteArray> buy;
        QList<QByteArray> sell;
        QStringList row;
        QString name;
    };
    const Case cases[] = {
        {"buy 5, sell 0",
         {"090000,005930,삼성전자,5"},
         {"090000,000660,하이닉스,2"},
         {QStringLiteral("09 : 00"), QStringLiteral("5"), QStringLiteral("0"), QStringLiteral("5")},
         QStringLiteral("삼성전자")},
        {"buy 3, sell 7",
         {"090000,005930,삼성전자,3"},
         {"090001,005930,삼성전자,7"},
         {QStringLiteral("09 : 00"), QStringLiteral("3"), QStringLiteral("7"), QStringLiteral("-4")},
         QStringLiteral("삼성전자")},
        // The code stands as another line's time, inside another's count and name:
        // only its own code field counts.
        {"code elsewhere in earlier lines",
         {"005930,111111,가,1", "090000,222222,005930전자,3", "090000,333333,다,10059301",
          "090000,005930,삼성전자,4"},
         {"090000,005930,삼성전자,1"},
         {QStringLiteral("09 : 00"), QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("3")},
         QStringLiteral("삼성전자")},
        {"first line of the code wins; short lines are passed over",
         {"090000,005930", "090000,005930,첫째,6", "090000,005930,둘째,9"},
         {"090000,005930,첫째,2,extra"},
         {QStringLiteral("09 : 00"), QStringLiteral("6"), QStringLiteral("2"), QStringLiteral("4")},
         QStringLiteral("첫째")},
        // The name stays that of the last line matched, a minute earlier.
        {"in neither side: time only",
         {"090000,111111,가,1"},
         {"090000,222222,나,1"},
         {QStringLiteral("09 : 00"), QString(), QString(), QString()},
         QStringLiteral("첫째")},
        {"counts that are no numbers read 0",
         {"090000,005930,삼성전자,abc"},
         {"090000,005930,삼성전자, 7"},
         {QStringLiteral("09 : 00"), QStringLiteral("0"), QStringLiteral(" 7"), QStringLiteral("-7")},
         QStringLiteral("삼성전자")},
    };
    // One minute a case, each the last of its query.
    int minute = 0;
    for (const Case& c : cases) {
        putMinute(QStringLiteral("09%1").arg(minute, 2, 10, QLatin1Char('0')), c.buy, c.sell);
        query(QTime(9, minute, 30), QStringLiteral("005930"));
        QStringList row = c.row;
        row[0] = QStringLiteral("09 : %1").arg(minute, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(m_grid.row(m_grid.rowCount() - 1), row) << c.what;
        EXPECT_EQ(m_day.name(), c.name) << c.what;
        ++minute;
    }
}

TEST_F(StockDayTest, OneRowPerMinuteWithBothFilesAndAWaitingRowAfterTheLast) {
    for (const char* hhmm : {"0900", "0902", "0903"})
        putMinute(QString::fromLatin1(hhmm), {"090000,005930,삼성전자,2"}, {"090000,005930,삼성전자,1"});
    put(QStringLiteral("B20250701_0901.dat"),
        test::snapshotFile({"090100,005930,삼성전자,2"}));                       // no sell file
    put(QStringLiteral("S20250701_0903.dat"), "not base64 at all \x01\x02\xff"); // does not decode

    query(QTime(9, 4, 10), QStringLiteral("005930"));
    EXPECT_EQ(rows(),
              (QList<QStringList>{
                  {QStringLiteral("09 : 00"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("1")},
                  {QStringLiteral("09 : 02"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("1")},
                  {QStringLiteral("09 : 03"), QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("2")},
                  {QString(), QString(), QString(), QString()},
              }));
    EXPECT_EQ(m_index.state(QStringLiteral("S20250701_0903.dat")), DayIndex::State::Failed);

    // The last minute listed has its files: no waiting row; the live refresh adds it.
    query(QTime(9, 3, 10), QStringLiteral("005930"));
    EXPECT_EQ(m_grid.rowCount(), 4);
    m_day.append(QStringLiteral("20250701_0903"), QStringLiteral("005930"));
    EXPECT_EQ(m_grid.rowCount(), 5);
    EXPECT_EQ(m_grid.cell(0, 3), QStringLiteral("09 : 03"));

    // The next minute came before the first refresh: the queried one keeps its row.
    putMinute(QStringLiteral("0904"), {"090400,005930,삼성전자,8"}, {"090400,005930,삼성전자,1"});
    query(QTime(9, 3, 50), QStringLiteral("005930"));
    bool read = false;
    m_index.whenRead(m_day.filesToRead({QStringLiteral("20250701_0904")}), &m_index, [&] { read = true; });
    ASSERT_TRUE(waitUntil([&] { return read; }));
    m_day.append(QStringLiteral("20250701_0904"), QStringLiteral("005930"));
    EXPECT_EQ(m_grid.cell(0, 3), QStringLiteral("09 : 03"));
    EXPECT_EQ(m_grid.row(4), (QStringList{QStringLiteral("09 : 04"), QStringLiteral("8"), QStringLiteral("1"),
                                          QStringLiteral("7")}));
    EXPECT_EQ(m_grid.row(5), QStringList(4));

    // 09:01's files come late, after a fault: its row takes its place in time.
    putMinute(QStringLiteral("0901"), {"090100,005930,삼성전자,3"}, {"090100,005930,삼성전자,1"});
    read = false;
    m_index.whenRead(m_day.filesToRead({QStringLiteral("20250701_0901")}), &m_index, [&] { read = true; });
    ASSERT_TRUE(waitUntil([&] { return read; }));
    ASSERT_FALSE(m_day.shows(QStringLiteral("20250701_0901")));
    m_day.insertLate(QStringLiteral("20250701_0901"), QStringLiteral("005930"));
    EXPECT_TRUE(m_day.shows(QStringLiteral("20250701_0901")));
    QStringList times;
    for (int r = 1; r < m_grid.rowCount(); ++r)
        times << m_grid.cell(0, r);
    EXPECT_EQ(times,
              (QStringList{QStringLiteral("09 : 00"), QStringLiteral("09 : 01"), QStringLiteral("09 : 02"),
                           QStringLiteral("09 : 03"), QStringLiteral("09 : 04"), QString()}));
    EXPECT_EQ(m_grid.row(2), (QStringList{QStringLiteral("09 : 01"), QStringLiteral("3"), QStringLiteral("1"),
                                          QStringLiteral("2")}));

    // Before the opening the day is empty: headings and one empty row.
    query(QTime(8, 30), QStringLiteral("005930"));
    EXPECT_EQ(m_grid.row(0), (QStringList{QStringLiteral("시간"), QStringLiteral("매수"),
                                          QStringLiteral("매도"), QStringLiteral("총매수")}));
    EXPECT_EQ(rows(), (QList<QStringList>{{QString(), QString(), QString(), QString()}}));
}

TEST_F(StockDayTest, ARewrittenFileIsReadAgain) {
    putMinute(QStringLiteral("0900"), {"090000,005930,삼성전자,2"}, {"090000,005930,삼성전자,1"});
    query(QTime(9, 0), QStringLiteral("005930"));
    ASSERT_EQ(m_grid.cell(1, 1), QStringLiteral("2"));
    put(QStringLiteral("B20250701_0900.dat"), test::snapshotFile({"090000,005930,삼성전자,20"}));
    query(QTime(9, 0), QStringLiteral("005930"));
    EXPECT_EQ(m_grid.cell(1, 1), QStringLiteral("20"));
}

TEST_F(StockDayTest, TheCliShowsWhatAQueryShows) {
    putMinute(QStringLiteral("0900"), {"090000,005930,삼성전자,5"}, {"090000,000660,하이닉스,1"});
    putMinute(QStringLiteral("0902"), {"090000,005930,삼성전자,3"}, {"090100,005930,삼성전자,7"});
    const QStringList base{QStringLiteral("stock"), QStringLiteral("--data"), m_dir.path(),
                           QStringLiteral("--date"), QStringLiteral("20250701")};
    test::ToolRun run = test::runTool(QStringLiteral("vantorel-cli"),
                                      base + QStringList{QStringLiteral("--json"), QStringLiteral("--code"),
                                                         QStringLiteral("005930"), QStringLiteral("--until"),
                                                         QStringLiteral("09:05")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(run.out).toJson(QJsonDocument::Compact),
              QByteArray(R"({"name":"삼성전자","rows":[["09 : 00","5","0","5"],["09 : 02","3","7","-4"]]})"));

    struct Bad {
        QStringList arguments;
        const char* message;
    };
    const Bad bads[] = {
        {{QStringLiteral("--code"), QStringLiteral("00593")}, "--code wants six characters"},
        {{QStringLiteral("--code"), QStringLiteral("005930"), QStringLiteral("--until"),
          QStringLiteral("9:05")},
         "--until wants HH:MM"},
        {{QStringLiteral("--code"), QStringLiteral("005930"), QStringLiteral("--date"),
          QStringLiteral("2025-07-01")},
         "--date wants YYYYMMDD"},
    };
    for (const Bad& b : bads) {
        run = test::runTool(QStringLiteral("vantorel-cli"), base + b.arguments);
        EXPECT_EQ(run.exitCode, 1) << b.message;
        EXPECT_TRUE(run.err.contains(b.message)) << run.err.toStdString();
    }
    run = test::runTool(QStringLiteral("vantorel-cli"), {QStringLiteral("stock"), QStringLiteral("--data"),
                                                         m_dir.path() + QStringLiteral("/none"),
                                                         QStringLiteral("--code"), QStringLiteral("005930")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("--data wants a folder that exists")) << run.err.toStdString();
}

TEST(StockDayColours, RowsFromTheThirdOnShowHowTheCountsMoved) {
    TextGrid grid(4, 1);
    const auto add = [&](const char* buy, const char* sell) {
        grid.appendRow({QStringLiteral("t"), QString::fromLatin1(buy), QString::fromLatin1(sell), QString()});
    };
    add("2", "1");
    add("3", "1");
    add("4", "1"); // buy up, sell same
    add("4", "2"); // sell up, buy same
    add("5", "3"); // both up
    add("5", "3"); // neither
    add("4", "9"); // buy down
    add("x", "9"); // not a number: 0
    EXPECT_EQ(StockDay::rowColour(grid, 1), kWhite);
    EXPECT_EQ(StockDay::rowColour(grid, 2), kWhite);
    EXPECT_EQ(StockDay::rowColour(grid, 3), kBuyPink);
    EXPECT_EQ(StockDay::rowColour(grid, 4), kSellBlue);
    EXPECT_EQ(StockDay::rowColour(grid, 5), kGrey);
    EXPECT_EQ(StockDay::rowColour(grid, 6), kWhite);
    EXPECT_EQ(StockDay::rowColour(grid, 7), kWhite);
    EXPECT_EQ(StockDay::rowColour(grid, 8), kWhite);
}

} // namespace
} // namespace vantorel

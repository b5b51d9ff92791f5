#include "Envelope.h"
#include "common/StringGrid.h"
#include "live/DayIndex.h"
#include "live/uRealOneSel.h"
#include "snapshots/Frames.h"
#include "snapshots/uClient.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"
#include "support/ScriptedServer.h"
#include "support/SettableClock.h"

#include <gtest/gtest.h>

#include <QChartView>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace vantorel {
namespace {

using test::waitUntil;

QDateTime at(int h, int m, int s = 0) {
    return QDateTime(QDate(2025, 7, 1), QTime(h, m, s));
}

// A single-stock window over a data folder, with a real transfer window whose
// server records what it is asked for.
class SingleStockWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_context = std::make_unique<AppContext>(
            AppContext{m_messages, m_clock, ProgramFolder(m_dir.path()),
                       Config{{}, QStringLiteral("127.0.0.1"), m_server.port()}});
        ASSERT_TRUE(QDir().mkpath(m_context->folder.dataFolder()));
        m_index = std::make_unique<DayIndex>(m_context->folder.dataFolder());
        m_receive = std::make_unique<TfrmReceive>(*m_context);
        ASSERT_TRUE(waitUntil([&] { return m_receive->engine().isConnected() && m_server.hasClient(); }));
        m_window = std::make_unique<TfrmOneSel>(*m_context, *m_index, m_receive.get());
        m_window->show();
    }

    // Both files of the minute, the stock with these counts.
    void putMinute(int h, int m, int buy, int sell) {
        const QString stem = at(h, m).toString(QStringLiteral("yyyyMMdd_HHmm"));
        put(QLatin1Char('B') + stem + QStringLiteral(".dat"), buy);
        put(QLatin1Char('S') + stem + QStringLiteral(".dat"), sell);
    }
    void put(const QString& name, int count) {
        QFile f(QDir(m_context->folder.dataFolder()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(dataserver::encodeEnvelope("Time,Stock Code,Stock Name,Occurrences\r\n090000,111111,가,9\r\n"
                                           "090000,005930,삼성전자," +
                                           QByteArray::number(count) + "\r\n"));
    }
    void typeCode(const QString& code) {
        m_window->edCode->selectAll();
        QTest::keyClicks(m_window->edCode, code);
    }
    const TextGrid& grid() const { return m_window->sgRealSel->grid(); }
    QStringList requested() const {
        QStringList names;
        const QByteArray bytes = m_server.received();
        for (qsizetype i = 0; i + frames::kRequestSize <= bytes.size(); i += frames::kRequestSize)
            names << frames::nameFromField(
                QByteArrayView(bytes).sliced(i + frames::kHeaderSize, frames::kNameSize));
        return names;
    }

    QTemporaryDir m_dir;
    test::ScriptedServer m_server;
    test::RecordingMessages m_messages;
    test::SettableClock m_clock{at(10, 5, 30)};
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<DayIndex> m_index;
    std::unique_ptr<TfrmReceive> m_receive;
    std::unique_ptr<TfrmOneSel> m_window;
};

TEST_F(SingleStockWindow, AQueryListsTheDayAndTheLiveRefreshAppendsEachNewMinute) {
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("실시간 종목상황"));
    EXPECT_EQ(m_window->size(), QSize(311, 441));
    EXPECT_EQ(m_window->edCode->text(), QStringLiteral("000000"));
    for (QTime t(9, 0); t <= QTime(10, 5); t = t.addSecs(60)) {
        if (t != QTime(9, 1))
            putMinute(t.hour(), t.minute(), 2 + t.minute() % 3, 1);
    }

    // Five characters: nothing happens.
    typeCode(QStringLiteral("00593"));
    QTest::keyClick(m_window->edCode, Qt::Key_Return);
    test::spin(200);
    EXPECT_EQ(grid().rowCount(), 2);
    EXPECT_TRUE(requested().isEmpty());

    // The live refresh waits until the query's own rows have been looked at.
    m_window->Timer2->stop();
    typeCode(QStringLiteral("005930"));
    QTest::keyClick(m_window->edCode, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return m_window->gOne == 1; }));
    // 09:00 to 10:05 without 09:01, the last minute's row last.
    ASSERT_EQ(grid().rowCount(), 1 + 65);
    EXPECT_EQ(grid().cell(0, 1), QStringLiteral("09 : 00"));
    EXPECT_EQ(grid().cell(0, 2), QStringLiteral("09 : 02"));
    EXPECT_EQ(grid().row(65), (QStringList{QStringLiteral("10 : 05"), QStringLiteral("4"),
                                           QStringLiteral("1"), QStringLiteral("3")}));
    EXPECT_EQ(m_window->lbHanName->text(), QStringLiteral("삼성전자"));
    EXPECT_EQ(m_window->sgRealSel->topRow(), 66 - 14);
    ASSERT_TRUE(waitUntil([&] { return requested().size() == 2; }));
    EXPECT_EQ(requested(),
              (QStringList{QStringLiteral("B20250701_0901.dat"), QStringLiteral("S20250701_0901.dat")}));

    // The first tick writes the minute again and opens the waiting row.
    m_window->Timer2->start();
    ASSERT_TRUE(waitUntil([&] { return grid().rowCount() == 67; }));
    EXPECT_EQ(grid().cell(0, 65), QStringLiteral("10 : 05"));
    EXPECT_EQ(grid().row(66), QStringList(4));

    // 10:06 arrives: its row, coloured against the row before (buy up, sell same).
    m_clock.set(at(10, 6, 2));
    putMinute(10, 6, 9, 1);
    ASSERT_TRUE(waitUntil([&] { return grid().rowCount() == 68; }));
    EXPECT_EQ(grid().row(66), (QStringList{QStringLiteral("10 : 06"), QStringLiteral("9"),
                                           QStringLiteral("1"), QStringLiteral("8")}));
    EXPECT_EQ(m_window->sgRealSel->colourOf(0, 66), kBuyPink);
    EXPECT_EQ(m_window->sgRealSel->topRow(), 68 - 14);

    // A character typed into the code stops the refresh.
    QTest::keyClick(m_window->edCode, Qt::Key_Backspace);
    m_clock.set(at(10, 7, 2));
    putMinute(10, 7, 9, 5);
    test::spin(300);
    EXPECT_EQ(grid().rowCount(), 68);
    EXPECT_EQ(m_window->gOne, 0);

    // The chart beside the grid, one point a minute.
    EXPECT_FALSE(m_window->chartView->isVisible());
    QTest::mouseClick(m_window->btChart, Qt::LeftButton);
    EXPECT_TRUE(m_window->chartView->isVisible());
    EXPECT_GT(m_window->width(), 311 + 300);
    const auto series = m_window->chartView->chart()->series();
    ASSERT_EQ(series.size(), 3);
    EXPECT_EQ(static_cast<QLineSeries*>(series[0])->count(), 66);
    QTest::mouseClick(m_window->btChart, Qt::LeftButton);
    EXPECT_EQ(m_window->size(), QSize(311, 441));
}

TEST_F(SingleStockWindow, BeforeTheOpeningTheQueryWaitsForNineOClock) {
    m_clock.set(at(8, 30));
    typeCode(QStringLiteral("005930"));
    QTest::mouseClick(m_window->Button2, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return m_window->gOne == 1; }));
    EXPECT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(grid().row(0), (QStringList{QStringLiteral("시간"), QStringLiteral("매수"),
                                          QStringLiteral("매도"), QStringLiteral("총매수")}));

    m_clock.set(at(9, 0, 1));
    putMinute(9, 0, 5, 0);
    ASSERT_TRUE(waitUntil([&] { return grid().rowCount() == 3; }));
    EXPECT_EQ(grid().row(1), (QStringList{QStringLiteral("09 : 00"), QStringLiteral("5"), QStringLiteral("0"),
                                          QStringLiteral("5")}));
    EXPECT_EQ(grid().row(2), QStringList(4));
}

} // namespace
} // namespace vantorel

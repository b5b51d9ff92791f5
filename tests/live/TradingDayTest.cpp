#include "DataServerProcess.h"
#include "Envelope.h"
#include "SyntheticDay.h"
#include "app/uLogin.h"
#include "common/StringGrid.h"
#include "comparison/Unit1.h"
#include "live/uRealOneSel.h"
#include "live/uTopReal.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/uClient.h"
#include "support/EventLoop.h"
#include "support/MemberDb.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"
#include "support/RecordingUrlOpener.h"
#include "support/SettableClock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace vantorel {
namespace {

const QDate kDay(2025, 7, 1);
constexpr int kStocks = 100;
// Real time per minute of the day: enough for a few ticks of every 100 ms timer.
constexpr int kRealMsPerMinute = 450;
// A minute whose files were in this long before its end gave the auto mode its chance.
constexpr int kAutoRunChanceMs = 150;

QString stemOf(QTime t) {
    return slotStem(QDateTime(kDay, t));
}

QString label(QTime t) {
    return t.toString(QStringLiteral("HH : mm"));
}

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

qint64 peakResidentBytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

// The program as a member runs it through a whole trading day on a fast clock:
// signed in through the login window, the scheduler fetching every minute from
// the synthetic data server, the main window in auto mode, a top-10 window and
// two single-stock windows following the day, while the data server stops,
// stalls, cuts and garbles replies and the member database restarts.
class TradingDay : public ::testing::Test {
protected:
    void SetUp() override {
        m_db.clear();
        m_db.addCustomer(QStringLiteral("Member1"), QStringLiteral("pw12"));
        startServer({});
        m_clock.set(QDateTime(kDay, QTime(9, 0)));
        m_context = std::make_unique<AppContext>(
            AppContext{m_messages, m_clock, ProgramFolder(m_folder.path()),
                       Config{m_db.appSettings(), QStringLiteral("127.0.0.1"), m_server->port()}});
        m_login = std::make_unique<TfrmLogin>(*m_context, m_urlOpener);
        m_login->show();
        QTest::keyClicks(m_login->edID, QStringLiteral("Member1"));
        QTest::keyClicks(m_login->edPWD, QStringLiteral("pw12"));
        QTest::mouseClick(m_login->Button1, Qt::LeftButton);
        ASSERT_NE(m_login->frmMain(), nullptr);
        m_main = m_login->frmMain();
        TransferEngine& engine = m_login->frmReceive()->engine();
        // The day's faults come seconds apart, not minutes.
        engine.setStallTimeout(300);
        engine.setFirstRetryDelay(100);
        ASSERT_TRUE(test::waitUntil([&] { return engine.isConnected(); }));
    }

    // The data server, again on the same port once it has had one.
    void startServer(const QStringList& fault) {
        m_server.reset();
        QStringList arguments{QStringLiteral("--synthetic"), QStringLiteral("--stocks"),
                              QString::number(kStocks), QStringLiteral("--now"),
                              QStringLiteral("2025-07-01T15:20:59")};
        if (m_port != 0)
            arguments << QStringLiteral("--port") << QString::number(m_port);
        m_server = std::make_unique<dataserver::DataServerProcess>(arguments + fault);
        m_port = m_server->port();
    }

    QString dataFile(const QString& name) const {
        return QDir(m_context->folder.dataFolder()).filePath(name);
    }
    bool bothIn(const QString& stem) const {
        return QFile::exists(dataFile(buyFileName(stem))) && QFile::exists(dataFile(sellFileName(stem)));
    }

    void query(TfrmOneSel* window, const QString& code) {
        window->edCode->selectAll();
        QTest::keyClicks(window->edCode, code);
        QTest::keyClick(window->edCode, Qt::Key_Return);
    }

    // Lets one minute of the day pass, watching what the windows do.
    void liveThrough(QTime minute) {
        const QString stem = stemOf(minute);
        m_clock.set(QDateTime(kDay, minute));
        QElapsedTimer elapsed;
        elapsed.start();
        bool halfway = false;
        while (elapsed.elapsed() < kRealMsPerMinute) {
            if (!halfway && elapsed.elapsed() >= kRealMsPerMinute / 2) {
                m_clock.set(QDateTime(kDay, minute.addSecs(30)));
                halfway = true;
            }
            test::spin(10);
            if (bothIn(stem) && elapsed.elapsed() <= kRealMsPerMinute - kAutoRunChanceMs)
                m_couldRun.insert(stem);
            if (m_main->pgMCnt != m_lastCount) {
                m_runs[stem] += (m_main->pgMCnt - m_lastCount) / 2;
                m_lastCount = m_main->pgMCnt;
                m_counts << m_lastCount;
            }
            if (m_top && (m_topCounts.isEmpty() || m_topCounts.last() != m_top->pgRCnt) && m_top->pgRCnt != 0)
                m_topCounts << m_top->pgRCnt;
        }
    }

    static QStringList minuteLabels(const TfrmOneSel& window) {
        QStringList labels;
        const TextGrid& grid = window.sgRealSel->grid();
        for (int r = 1; r < grid.rowCount(); ++r) {
            if (!grid.cell(0, r).isEmpty())
                labels << grid.cell(0, r);
        }
        return labels;
    }

    test::MemberDb m_db;
    std::unique_ptr<dataserver::DataServerProcess> m_server;
    quint16 m_port = 0;
    QTemporaryDir m_folder;
    test::RecordingMessages m_messages;
    test::RecordingUrlOpener m_urlOpener;
    test::SettableClock m_clock;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<TfrmLogin> m_login;
    TfrmMain* m_main = nullptr;
    TfrmTopReal* m_top = nullptr;

    QSet<QString> m_couldRun;
    QHash<QString, int> m_runs;
    qint32 m_lastCount = 0;
    QList<qint32> m_counts;
    QList<qint32> m_topCounts;
};

TEST_F(TradingDay, EveryMinuteIsFetchedFollowedAndShownOnceThroughTheFaults) {
    m_main->rgReal->findChildren<QRadioButton*>().at(1)->click();
    ASSERT_EQ(m_main->rgRealIndex(), 1);
    m_top = m_main->openTopTenWindow();
    QTest::mouseClick(m_top->Button1, Qt::LeftButton);
    ASSERT_TRUE(m_top->gAutoSer);
    // Two stocks of the synthetic day's list.
    QStringList codes;
    for (const QString& line :
         splitLines(
             QString::fromUtf8(dataserver::SyntheticDay(kStocks, 1).payload(QLatin1Char('B'), kDay, 0)))
             .mid(1, 2))
        codes << line.split(u',').value(1);
    ASSERT_EQ(codes.size(), 2);
    QList<TfrmOneSel*> stocks{m_main->openStockWindow(QStringLiteral("000000")),
                              m_main->openStockWindow(QStringLiteral("000000"))};

    qint64 residentAtTen = 0;
    qint64 residentAtClose = 0;
    const QTime close(15, 20);
    for (QTime t(9, 0); t <= close; t = t.addSecs(60)) {
        if (t == QTime(9, 1)) {
            query(stocks[0], codes[0]);
            query(stocks[1], codes[1]);
        }
        if (t == QTime(10, 0))
            residentAtTen = residentBytes();
        // One minute of each misbehaviour, then the server as it should be.
        if (t == QTime(10, 30))
            startServer({QStringLiteral("--fault"), QStringLiteral("stall")});
        if (t == QTime(10, 40))
            startServer({QStringLiteral("--fault"), QStringLiteral("cut")});
        if (t == QTime(10, 50))
            startServer({QStringLiteral("--fault"), QStringLiteral("bad-header")});
        if (t == QTime(10, 31) || t == QTime(10, 41) || t == QTime(10, 51) || t == QTime(11, 3))
            startServer({});
        if (t == QTime(11, 0))
            m_server.reset();
        if (t == QTime(13, 30)) {
            m_db.stop();
            m_db.start();
        }
        if (t == QTime(13, 31)) {
            EXPECT_FALSE(m_login->database()
                             .exec(QStringLiteral("SELECT user_id FROM Customer WHERE user_id = :id"),
                                   {{QStringLiteral(":id"), QStringLiteral("Member1")}})
                             .isEmpty());
        }
        liveThrough(t);
    }
    // The last minute's files and the windows' last refresh.
    test::waitUntil([&] { return bothIn(stemOf(close)); });
    liveThrough(close);
    residentAtClose = residentBytes();

    // Every minute's two files are whole, and nothing half-written is left.
    dataserver::SyntheticDay day(kStocks, 1);
    for (QTime t(9, 0); t <= close; t = t.addSecs(60)) {
        const int minute = (t.hour() - 9) * 60 + t.minute();
        for (const QChar side : {QLatin1Char('B'), QLatin1Char('S')}) {
            QFile f(dataFile(side + stemOf(t) + QStringLiteral(".dat")));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
            EXPECT_EQ(f.readAll(), dataserver::encodeEnvelope(day.payload(side, kDay, minute)))
                << f.fileName().toStdString();
        }
    }
    EXPECT_TRUE(QDir(m_context->folder.dataFolder()).entryList({QStringLiteral("*.part")}).isEmpty());

    // The auto mode ran once in every minute it could, never twice in one.
    EXPECT_GT(m_couldRun.size(), 300);
    // (09:00 is the minute the pickers show from the start: it counts as run.)
    m_couldRun.remove(stemOf(QTime(9, 0)));
    for (const QString& stem : std::as_const(m_couldRun))
        EXPECT_EQ(m_runs.value(stem), 1) << stem.toStdString();
    for (auto it = m_runs.cbegin(); it != m_runs.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().toStdString();
    // The top-10 window followed each result once.
    EXPECT_EQ(m_topCounts, m_counts);
    // Each single-stock window, queried at 09:01, lists every minute of the day
    // once, in order: those whose files came late, after a fault, too.
    QStringList everyMinute;
    for (QTime t(9, 0); t <= close; t = t.addSecs(60))
        everyMinute << label(t);
    for (TfrmOneSel* window : stocks)
        EXPECT_EQ(minuteLabels(*window), everyMinute);

    const qint64 peak = peakResidentBytes();
    std::printf("resident memory: %.1f MiB at 10:00, %.1f MiB at 15:20, peak %.1f MiB\n",
                residentAtTen / 1048576.0, residentAtClose / 1048576.0, peak / 1048576.0);
    RecordProperty("resident_at_1000", std::to_string(residentAtTen));
    RecordProperty("resident_at_1520", std::to_string(residentAtClose));
    RecordProperty("resident_peak", std::to_string(peak));
    EXPECT_LE(std::abs(residentAtClose - residentAtTen), residentAtTen / 5);
}

} // namespace
} // namespace vantorel

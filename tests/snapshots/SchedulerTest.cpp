#include "DataServer.h"
#include "snapshots/Frames.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/uClient.h"
#include "snapshots/uFileManager.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"
#include "support/ScriptedServer.h"
#include "support/SettableClock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace vantorel {
namespace {

using test::waitUntil;

QDateTime at(int h, int m, int s = 0) {
    return QDateTime(QDate(2025, 7, 1), QTime(h, m, s));
}

// The scheduler and a real transfer window, against a loopback server that
// records the requests. The timers are stopped: each test runs the ticks itself.
class Scheduler : public ::testing::Test {
protected:
    void SetUp() override {
        m_context = std::make_unique<AppContext>(
            AppContext{m_messages, m_clock, ProgramFolder(m_dir.path()),
                       Config{{}, QStringLiteral("127.0.0.1"), m_server.port()}});
        m_receive = std::make_unique<TfrmReceive>(*m_context);
        ASSERT_TRUE(waitUntil([&] { return m_receive->engine().isConnected() && m_server.hasClient(); }));
        m_manager = std::make_unique<TfrmFileManager>(*m_context, *m_receive);
        m_manager->Timer6->stop();
        m_manager->Timer7->stop();
    }

    void addFile(const QString& name) {
        ASSERT_TRUE(QDir().mkpath(m_context->folder.dataFolder()));
        QFile f(QDir(m_context->folder.dataFolder()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    // The requests the server has received since the last call: at least
    // `expected` of them, and whatever follows within a short while.
    QStringList takeRequests(int expected = 0) {
        waitUntil([&] { return m_server.received().size() - m_seen >= expected * frames::kRequestSize; });
        test::spin(30);
        const QByteArray bytes = m_server.received().mid(m_seen);
        m_seen += bytes.size();
        QStringList names;
        for (qsizetype i = 0; i + frames::kRequestSize <= bytes.size(); i += frames::kRequestSize)
            names << frames::nameFromField(
                QByteArrayView(bytes).sliced(i + frames::kHeaderSize, frames::kNameSize));
        return names;
    }

    QTemporaryDir m_dir;
    test::ScriptedServer m_server;
    test::RecordingMessages m_messages;
    test::SettableClock m_clock;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<TfrmReceive> m_receive;
    std::unique_ptr<TfrmFileManager> m_manager;
    qsizetype m_seen = 0;
};

TEST_F(Scheduler, BeforeTheOpeningTheBacklogIsEmptyAndTheClockPassAsksForTheMinute) {
    m_clock.set(at(8, 50));
    m_manager->Timer6Timer();
    EXPECT_EQ(m_manager->gOne, 1);
    EXPECT_TRUE(m_manager->mmDate.isEmpty());
    EXPECT_TRUE(takeRequests().isEmpty());
    m_manager->Timer7Timer();
    m_manager->Timer7Timer();
    EXPECT_EQ(takeRequests(4),
              (QStringList{QStringLiteral("B20250701_0850.dat"), QStringLiteral("S20250701_0850.dat"),
                           QStringLiteral("B20250701_0850.dat"), QStringLiteral("S20250701_0850.dat")}));
}

TEST_F(Scheduler, TheBacklogAsksForEveryMissingFileInTimeOrderBuyFirst) {
    m_clock.set(at(10, 5, 30));
    m_manager->Timer7Timer(); // the clock pass waits for the backlog
    m_manager->Timer6Timer();
    ASSERT_EQ(m_manager->mmDate.size(), 66);
    EXPECT_EQ(m_manager->mmDate.first(), QStringLiteral("20250701_0900"));
    EXPECT_EQ(m_manager->mmDate.last(), QStringLiteral("20250701_1005"));
    const QStringList requests = takeRequests(132);
    ASSERT_EQ(requests.size(), 132);
    EXPECT_EQ(requests.mid(0, 3),
              (QStringList{QStringLiteral("B20250701_0900.dat"), QStringLiteral("S20250701_0900.dat"),
                           QStringLiteral("B20250701_0901.dat")}));
    EXPECT_EQ(requests.last(), QStringLiteral("S20250701_1005.dat"));

    // The backlog runs once; the clock pass has done 10:05 already and begins with 10:06.
    m_manager->Timer6Timer();
    m_clock.set(at(10, 5, 50));
    m_manager->Timer7Timer();
    EXPECT_TRUE(takeRequests().isEmpty());
    m_clock.set(at(10, 6, 0));
    m_manager->Timer7Timer();
    EXPECT_EQ(takeRequests(2),
              (QStringList{QStringLiteral("B20250701_1006.dat"), QStringLiteral("S20250701_1006.dat")}));
}

TEST_F(Scheduler, AfterTheCloseTheBacklogIsTheWholeDayAndTheClockPassRests) {
    m_clock.set(at(16, 0));
    m_manager->Timer6Timer();
    EXPECT_EQ(m_manager->mmDate.size(), 381);
    EXPECT_EQ(m_manager->mmDate.last(), QStringLiteral("20250701_1520"));
    EXPECT_EQ(takeRequests(762).size(), 762);
    m_manager->Timer7Timer();
    EXPECT_TRUE(takeRequests().isEmpty());
}

TEST_F(Scheduler, TheClockPassRunsTo1520AndEntersAMinuteOnceBothFilesAreIn) {
    m_clock.set(at(8, 0));
    m_manager->Timer6Timer();
    m_clock.set(at(15, 20, 59));
    addFile(QStringLiteral("B20250701_1520.dat"));
    m_manager->Timer7Timer();
    EXPECT_EQ(takeRequests(1), QStringList{QStringLiteral("S20250701_1520.dat")});
    EXPECT_FALSE(m_manager->mmDate.contains(QStringLiteral("20250701_1520")));
    addFile(QStringLiteral("S20250701_1520.dat"));
    m_manager->Timer7Timer();
    EXPECT_TRUE(takeRequests().isEmpty());
    EXPECT_TRUE(m_manager->mmDate.contains(QStringLiteral("20250701_1520")));

    m_clock.set(at(15, 21));
    m_manager->Timer7Timer();
    EXPECT_TRUE(takeRequests().isEmpty());
}

TEST_F(Scheduler, FilesAlreadyPresentAreNotAskedFor) {
    addFile(QStringLiteral("B20250701_0900.dat"));
    addFile(QStringLiteral("S20250701_0900.dat"));
    addFile(QStringLiteral("B20250701_0901.dat"));
    m_clock.set(at(9, 1, 10));
    m_manager->Timer6Timer();
    EXPECT_EQ(takeRequests(1), QStringList{QStringLiteral("S20250701_0901.dat")});
    m_manager->Timer7Timer();
    EXPECT_TRUE(takeRequests().isEmpty());
}

// The data server stops at 10:27:40 and is back at 10:30:01, under a running
// scheduler whose timers tick as in the program.
TEST(SchedulerReconnect, MinutesMissedWhileTheServerWasAwayAreFetchedOnceItIsBack) {
    QTemporaryDir dir;
    test::RecordingMessages messages;
    test::SettableClock clock(at(10, 27, 30));
    dataserver::ServerOptions options;
    options.synthetic = true;
    options.stocks = 20;
    options.now = at(15, 30);
    auto server = std::make_unique<dataserver::DataServer>(options);
    ASSERT_TRUE(server->listen(QHostAddress::LocalHost, 0));
    const quint16 port = server->port();
    AppContext context{messages, clock, ProgramFolder(dir.path()),
                       Config{{}, QStringLiteral("127.0.0.1"), port}};
    TfrmReceive receive(context);
    QHash<QString, int> stored;
    QObject::connect(&receive.engine(), &TransferEngine::replyHandled, [&](const TransferReply& reply) {
        if (reply.outcome == TransferReply::Outcome::Stored)
            ++stored[reply.name];
    });
    TfrmFileManager manager(context, receive);
    const auto has = [&](const QString& stem) {
        const QDir data(context.folder.dataFolder());
        return QFileInfo::exists(data.filePath(buyFileName(stem))) &&
               QFileInfo::exists(data.filePath(sellFileName(stem)));
    };
    ASSERT_TRUE(waitUntil([&] { return has(QStringLiteral("20250701_1027")); }));
    ASSERT_EQ(stored.size(), 2 * 88);

    clock.set(at(10, 27, 40));
    server.reset();
    ASSERT_TRUE(waitUntil([&] { return !receive.engine().isConnected(); }));
    clock.set(at(10, 28, 10));
    test::spin(300);
    clock.set(at(10, 29, 10));
    test::spin(300);
    clock.set(at(10, 30, 1));
    server = std::make_unique<dataserver::DataServer>(options);
    ASSERT_TRUE(server->listen(QHostAddress::LocalHost, port));

    ASSERT_TRUE(waitUntil([&] {
        return has(QStringLiteral("20250701_1028")) && has(QStringLiteral("20250701_1029")) &&
               has(QStringLiteral("20250701_1030"));
    }));
    test::spin(200);
    for (const QString& stem : {QStringLiteral("20250701_1028"), QStringLiteral("20250701_1029")}) {
        for (const QString& name : {buyFileName(stem), sellFileName(stem)}) {
            EXPECT_EQ(stored.value(name), 1) << name.toStdString();
            QFile file(QDir(context.folder.dataFolder()).filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), server->fileFor(name)) << name.toStdString();
        }
    }
    // Nothing is asked for twice, but the current minute: the clock pass asks
    // for it every 100 ms until both its files are in.
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (!it.key().contains(QLatin1String("_1030"))) {
            EXPECT_EQ(it.value(), 1) << it.key().toStdString();
        }
    }
    EXPECT_TRUE(QDir(context.folder.dataFolder()).entryList({QStringLiteral("*.part")}).isEmpty());
}

TEST(ReceiveWindow, AsksForAFileByItsFieldAndRefusesAnEmptyOne) {
    QTemporaryDir dir;
    test::ScriptedServer server;
    test::RecordingMessages messages;
    test::SettableClock clock;
    AppContext context{messages, clock, ProgramFolder(dir.path()),
                       Config{{}, QStringLiteral("127.0.0.1"), server.port()}};
    TfrmReceive receive(context);
    EXPECT_EQ(receive.windowTitle(), QStringLiteral("수신용"));
    ASSERT_TRUE(waitUntil([&] { return receive.engine().isConnected(); }));

    receive.btReqClick();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("Please enter a file name.")});
    receive.edFileName->setText(QStringLiteral(" B20250701_0900.dat "));
    receive.btReqClick();
    ASSERT_TRUE(waitUntil([&] { return server.received().size() == 262; }));
    EXPECT_EQ(server.received().mid(6, 20), QByteArray(" B20250701_0900.dat "));

    // A reply's trouble reaches the member as a box.
    server.send(test::fileFrame(test::nameBytes("../up.dat"), "x"));
    ASSERT_TRUE(waitUntil([&] { return messages.shown.size() == 2; }));
    EXPECT_TRUE(messages.shown[1].startsWith(
        QStringLiteral("Error receiving file: refused file name \"../up.dat\"")));
}

} // namespace
} // namespace vantorel

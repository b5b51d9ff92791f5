#include "snapshots/TransferEngine.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vantorel {
namespace {

using test::erroFrame;
using test::fileFrame;
using test::fileFrameWithLength;
using test::nameBytes;
using test::ScriptedServer;
using test::waitUntil;
using Outcome = TransferReply::Outcome;

// An engine connected to a scripted server, with everything it reports kept.
class TransferEngineTest : public ::testing::Test {
protected:
    void SetUp() override { connectTo(m_server.port()); }

    void connectTo(quint16 port, const QString& folder = {}) {
        m_engine = std::make_unique<TransferEngine>(QStringLiteral("127.0.0.1"), port,
                                                    folder.isEmpty() ? dataFolder() : folder);
        QObject::connect(m_engine.get(), &TransferEngine::replyHandled,
                         [this](const TransferReply& r) { m_replies.push_back(r); });
        QObject::connect(m_engine.get(), &TransferEngine::notice,
                         [this](const QString& t) { m_notices << t; });
        QObject::connect(m_engine.get(), &TransferEngine::startFailed,
                         [this](const QString& t) { m_startErrors << t; });
        m_engine->start();
        ASSERT_TRUE(waitUntil([&] { return m_engine->isConnected() && m_server.hasClient(); }));
    }

    QString dataFolder() const { return QDir(m_dir.path()).filePath(QStringLiteral("Data")); }
    QString dataFile(const QString& name) const { return QDir(dataFolder()).filePath(name); }
    QByteArray contentOf(const QString& name) const {
        QFile f(dataFile(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList folderEntries() const { return QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden); }
    bool waitForReplies(size_t n) {
        return waitUntil([&] { return m_replies.size() >= n; });
    }

    QTemporaryDir m_dir;
    ScriptedServer m_server;
    std::unique_ptr<TransferEngine> m_engine;
    std::vector<TransferReply> m_replies;
    QStringList m_notices;
    QStringList m_startErrors;
};

TEST_F(TransferEngineTest, RequestFramesAre262BytesWithTheNameCutAt256Utf8Bytes) {
    m_engine->request(QStringLiteral("B20250304_1337.dat"));
    const QString longName = QString(100, QChar(u'가')); // 300 UTF-8 bytes
    m_engine->request(longName);
    ASSERT_TRUE(waitUntil([&] { return m_server.received().size() == 2 * 262; }));
    const QByteArray bytes = m_server.received();
    EXPECT_EQ(bytes.left(6), QByteArray("[REQT]"));
    EXPECT_EQ(bytes.mid(6, 18), QByteArray("B20250304_1337.dat"));
    EXPECT_EQ(bytes.mid(24, 238), QByteArray(238, '\0'));
    EXPECT_EQ(bytes.mid(262, 6), QByteArray("[REQT]"));
    EXPECT_EQ(bytes.mid(268, 256), longName.toUtf8().left(256));
    EXPECT_TRUE(m_notices.isEmpty());
}

TEST_F(TransferEngineTest, StoresRepliesByTheirFramesOneAfterAnother) {
    const QByteArray tenThousand = QByteArray(10000, 'x').replace(0, 5, "start").replace(9995, 5, "finis");
    {
        QFile old(dataFile(QStringLiteral("old.dat")));
        ASSERT_TRUE(QDir().mkpath(dataFolder()));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("a much longer earlier content");
    }
    // All of it at once, as back-to-back replies arrive.
    m_server.send(fileFrame(nameBytes("big.dat"), tenThousand) + fileFrame(nameBytes("empty.dat"), {}) +
                  fileFrameWithLength(nameBytes("negative.dat"), -5, {}) + erroFrame() +
                  QByteArray("[file]") + fileFrame(nameBytes("  padded.dat   \t"), "p") +
                  fileFrame(nameBytes("old.dat"), "new") + fileFrame(nameBytes("utf8-가.dat"), "k"));
    ASSERT_TRUE(waitForReplies(8));
    const std::vector<std::pair<Outcome, QString>> expected{
        {Outcome::Stored, QStringLiteral("big.dat")},
        {Outcome::Stored, QStringLiteral("empty.dat")},
        {Outcome::Stored, QStringLiteral("negative.dat")},
        {Outcome::ServerError, QString()},
        {Outcome::UnknownHeader, QString()},
        {Outcome::Stored, QStringLiteral("padded.dat")},
        {Outcome::Stored, QStringLiteral("old.dat")},
        {Outcome::Stored, QStringLiteral("utf8-가.dat")},
    };
    ASSERT_EQ(m_replies.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(m_replies[i].outcome, expected[i].first) << i;
        EXPECT_EQ(m_replies[i].name, expected[i].second) << i;
    }
    EXPECT_EQ(m_replies[0].bytes, 10000);
    EXPECT_EQ(contentOf(QStringLiteral("big.dat")), tenThousand);
    EXPECT_EQ(contentOf(QStringLiteral("empty.dat")), QByteArray());
    EXPECT_EQ(contentOf(QStringLiteral("negative.dat")), QByteArray());
    EXPECT_EQ(contentOf(QStringLiteral("padded.dat")), QByteArray("p"));
    EXPECT_EQ(contentOf(QStringLiteral("old.dat")), QByteArray("new"));
    EXPECT_EQ(contentOf(QStringLiteral("utf8-가.dat")), QByteArray("k"));
    EXPECT_TRUE(m_notices.isEmpty()) << m_notices.join(u'\n').toStdString();
    EXPECT_EQ(folderEntries().filter(QStringLiteral(".part")), QStringList());
}

TEST_F(TransferEngineTest, AReplyTrickledByteByByteIsStoredWhole) {
    const QByteArray frame = fileFrame(nameBytes("slow.dat"), QByteArray(5000, 's'));
    for (qsizetype i = 0; i < frame.size(); i += 997) {
        m_server.send(frame.mid(i, 997));
        test::spin(2);
    }
    ASSERT_TRUE(waitForReplies(1));
    EXPECT_EQ(m_replies[0].outcome, Outcome::Stored);
    EXPECT_EQ(contentOf(QStringLiteral("slow.dat")), QByteArray(5000, 's'));
}

TEST_F(TransferEngineTest, NamesThatLeaveTheDataFolderAreRefusedAndReadAway) {
    const QByteArray names[] = {"../escape.dat",
                                "sub/x.dat",
                                "..\\x.dat",
                                "C:x.dat",
                                "..",
                                ".",
                                QByteArray(10, ' '),
                                QByteArray("a\x01"
                                           "b.dat")};
    QByteArray stream;
    for (const QByteArray& n : names)
        stream += fileFrame(nameBytes(n), "evil");
    stream += fileFrame(nameBytes("good.dat"), "fine");
    m_server.send(stream);
    ASSERT_TRUE(waitForReplies(std::size(names) + 1));
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(m_replies[i].outcome, Outcome::Refused) << names[i].toStdString();
    EXPECT_EQ(m_replies.back().outcome, Outcome::Stored);
    EXPECT_EQ(contentOf(QStringLiteral("good.dat")), QByteArray("fine"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("good.dat")});
    EXPECT_FALSE(QFile::exists(QDir(m_dir.path()).filePath(QStringLiteral("escape.dat"))));
    ASSERT_EQ(m_notices.size(), qsizetype(std::size(names)));
    for (const QString& n : std::as_const(m_notices))
        EXPECT_TRUE(n.startsWith(QStringLiteral("Error receiving file: "))) << n.toStdString();
}

TEST_F(TransferEngineTest, AFolderThatCannotBeCreatedDrainsTheReply) {
    // Where the data folder should be there is a file.
    QFile blocker(QDir(m_dir.path()).filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = blocker.fileName() + QStringLiteral("/Data");
    m_replies.clear();
    connectTo(m_server.port(), folder);
    m_server.send(fileFrame(nameBytes("a.dat"), QByteArray(6000, 'a')) + erroFrame());
    ASSERT_TRUE(waitForReplies(2));
    EXPECT_EQ(m_replies[0].outcome, Outcome::Failed);
    // The stream stayed in step: the next frame was read as a frame.
    EXPECT_EQ(m_replies[1].outcome, Outcome::ServerError);
    EXPECT_EQ(m_notices,
              QStringList{QStringLiteral("Failed to create directory: ") + folder + QLatin1Char('/')});
}

TEST_F(TransferEngineTest, AStalledReplyLeavesNothingUnderItsNameAndTheConnectionIsRenewed) {
    m_engine->setStallTimeout(300);
    m_engine->setFirstRetryDelay(50);
    m_server.send(fileFrameWithLength(nameBytes("stall.dat"), 10000, QByteArray(3000, 's')));
    ASSERT_TRUE(waitForReplies(1));
    EXPECT_EQ(m_replies[0].outcome, Outcome::Failed);
    EXPECT_EQ(m_notices, QStringList{QStringLiteral("Error receiving file: Read timed out.")});
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("stall.dat"))));
    EXPECT_EQ(folderEntries(), QStringList());

    ASSERT_TRUE(waitUntil([&] { return m_server.connections() == 2 && m_engine->isConnected(); }));
    m_server.send(fileFrame(nameBytes("stall.dat"), "whole"));
    ASSERT_TRUE(waitForReplies(2));
    EXPECT_EQ(contentOf(QStringLiteral("stall.dat")), QByteArray("whole"));
    EXPECT_EQ(m_notices.size(), 1);
}

TEST_F(TransferEngineTest, ACutInMidFileLeavesNothingAndServerRestartsAreSurvived) {
    // Long enough that no attempt to reconnect is under way while the requests below are sent.
    m_engine->setFirstRetryDelay(400);
    m_server.send(fileFrameWithLength(nameBytes("cut.dat"), 10000, QByteArray(4000, 'c')));
    test::spin(50);
    const quint16 port = m_server.port();
    m_server.close();
    ASSERT_TRUE(waitForReplies(1));
    EXPECT_EQ(m_replies[0].outcome, Outcome::Failed);
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("cut.dat"))));
    EXPECT_EQ(folderEntries(), QStringList());
    ASSERT_TRUE(waitUntil([&] { return !m_notices.isEmpty(); }));
    EXPECT_TRUE(m_notices[0].startsWith(QStringLiteral("Connection to the data server lost: ")))
        << m_notices[0].toStdString();

    // While it is down, the flood of requests shows one failure.
    ASSERT_TRUE(waitUntil([&] { return !m_engine->isConnected(); }));
    for (int i = 0; i < 50; ++i)
        m_engine->request(QStringLiteral("B20250701_0900.dat"));
    test::spin(100);
    EXPECT_EQ(m_notices.filter(QStringLiteral("Error sending file request: ")).size(), 1)
        << m_notices.join(u'\n').toStdString();
    EXPECT_EQ(m_notices.size(), 2);

    // The server comes back on its port: the engine finds it and requests flow silently.
    ScriptedServer again(port);
    ASSERT_TRUE(waitUntil([&] { return m_engine->isConnected() && again.hasClient(); }, 10000));
    m_engine->request(QStringLiteral("B20250701_0900.dat"));
    ASSERT_TRUE(waitUntil([&] { return again.received().size() == 262; }));
    again.send(fileFrame(nameBytes("B20250701_0900.dat"), "back"));
    ASSERT_TRUE(waitForReplies(2));
    EXPECT_EQ(contentOf(QStringLiteral("B20250701_0900.dat")), QByteArray("back"));
    EXPECT_EQ(m_notices.size(), 2);
    EXPECT_TRUE(m_startErrors.isEmpty());
}

TEST(TransferEngineStart, AFailedFirstConnectionIsAStartErrorAndIsRetried) {
    QTemporaryDir dir;
    quint16 port = 0;
    {
        ScriptedServer probe;
        port = probe.port();
    }
    TransferEngine engine(QStringLiteral("127.0.0.1"), port, dir.path());
    engine.setFirstRetryDelay(50);
    QStringList startErrors;
    QObject::connect(&engine, &TransferEngine::startFailed, [&](const QString& t) { startErrors << t; });
    engine.start();
    ASSERT_TRUE(waitUntil([&] { return !startErrors.isEmpty(); }));
    EXPECT_EQ(startErrors, QStringList{QStringLiteral("Connection refused")});
    ScriptedServer server(port);
    ASSERT_TRUE(waitUntil([&] { return engine.isConnected(); }));
    EXPECT_EQ(startErrors.size(), 1);
}

} // namespace
} // namespace vantorel

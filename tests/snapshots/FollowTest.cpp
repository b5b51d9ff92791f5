#include "DataServerProcess.h"
#include "snapshots/SnapshotFiles.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/ToolProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <csignal>

namespace vantorel {
namespace {

using dataserver::DataServerProcess;
using test::waitUntil;

// Today's synthetic day, every minute of it there already.
std::unique_ptr<DataServerProcess> startServer(quint16 port = 0) {
    return std::make_unique<DataServerProcess>(QStringList{
        QStringLiteral("--synthetic"), QStringLiteral("--stocks"), QStringLiteral("20"),
        QStringLiteral("--now"), QDate::currentDate().toString(Qt::ISODate) + QStringLiteral("T15:30:00"),
        QStringLiteral("--port"), QString::number(port)});
}

QString today(const QString& hhmm) {
    return QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('_') + hhmm;
}

// vantorel-cli follow --json, its lines read as they come.
class Follower {
public:
    explicit Follower(const QStringList& arguments) {
        m_process.start(test::toolPath(QStringLiteral("vantorel-cli")),
                        QStringList{QStringLiteral("follow"), QStringLiteral("--json")} + arguments);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
            while (m_process.canReadLine()) {
                raw.append(m_process.readLine().trimmed());
                lines.append(QJsonDocument::fromJson(raw.last()).object());
            }
        });
    }
    ~Follower() {
        m_process.kill();
        m_process.waitForFinished();
    }
    // Names stored from line `from` on.
    QStringList storedSince(qsizetype from) const {
        QStringList names;
        for (qsizetype i = from; i < lines.size(); ++i) {
            if (lines[i].value(QStringLiteral("outcome")).toString() == QLatin1String("stored"))
                names << lines[i].value(QStringLiteral("name")).toString();
        }
        return names;
    }
    qsizetype eventAt(const QString& event, qsizetype from = 0) const {
        for (qsizetype i = from; i < lines.size(); ++i) {
            if (lines[i].value(QStringLiteral("event")).toString() == event)
                return i;
        }
        return -1;
    }
    QProcess& process() { return m_process; }

    QList<QJsonObject> lines;
    QList<QByteArray> raw;

private:
    QProcess m_process;
};

TEST(Follow, CatchesUpWheneverTheServerComesBackAndEndsCleanlyOnSigterm) {
    // A port with no server behind it yet.
    quint16 port = startServer()->port();
    QTemporaryDir dir;
    Follower follower({QStringLiteral("--server"), QStringLiteral("127.0.0.1:%1").arg(port),
                       QStringLiteral("--out"), dir.path(), QStringLiteral("--clock-from"),
                       QStringLiteral("10:29:30")});
    ASSERT_TRUE(waitUntil([&] { return follower.eventAt(QStringLiteral("retry")) >= 0; }));
    EXPECT_TRUE(follower.storedSince(0).isEmpty());

    // Up: the whole day so far, each file once. The failed attempts before made
    // one loss, however many retries.
    auto server = startServer(port);
    ASSERT_TRUE(waitUntil([&] { return follower.storedSince(0).size() >= 2 * 90; }, 10000));
    test::spin(300);
    const auto lost =
        std::count_if(follower.lines.begin(), follower.lines.end(), [](const QJsonObject& line) {
            return line.value(QStringLiteral("event")).toString() == QLatin1String("lost");
        });
    EXPECT_EQ(lost, 1);
    QStringList stored = follower.storedSince(0);
    for (const QString& hhmm : {QStringLiteral("0900"), QStringLiteral("1000"), QStringLiteral("1028")}) {
        EXPECT_EQ(stored.count(buyFileName(today(hhmm))), 1) << hhmm.toStdString();
        EXPECT_EQ(stored.count(sellFileName(today(hhmm))), 1) << hhmm.toStdString();
    }
    EXPECT_TRUE(stored.contains(sellFileName(today(QStringLiteral("1029")))));
    // Members in the order a reader expects.
    EXPECT_TRUE(std::any_of(follower.raw.begin(), follower.raw.end(), [&](const QByteArray& line) {
        return line.startsWith(QByteArray(R"({"name":")") +
                               buyFileName(today(QStringLiteral("0900"))).toUtf8() +
                               R"(","outcome":"stored","bytes":)");
    }));
    EXPECT_TRUE(follower.raw.contains(QByteArray(R"({"event":"connected","server":"127.0.0.1:)") +
                                      QByteArray::number(port) + R"("})"));

    // Down and up again: what went missing meanwhile comes back, nothing else.
    server.reset();
    ASSERT_TRUE(waitUntil([&] { return follower.eventAt(QStringLiteral("lost")) >= 0; }));
    const QDir out(dir.path());
    for (const QString& name :
         {buyFileName(today(QStringLiteral("0905"))), sellFileName(today(QStringLiteral("0905")))})
        ASSERT_TRUE(QFile::remove(out.filePath(name)));
    const qsizetype downAt = follower.lines.size();
    server = startServer(port);
    ASSERT_TRUE(waitUntil([&] { return follower.eventAt(QStringLiteral("connected"), downAt) >= 0; }, 10000));
    ASSERT_TRUE(waitUntil([&] { return follower.storedSince(downAt).size() >= 2; }));
    test::spin(300);
    stored = follower.storedSince(downAt);
    stored.removeIf([](const QString& name) {
        return name.endsWith(QLatin1String("_1029.dat")) || name.endsWith(QLatin1String("_1030.dat"));
    });
    EXPECT_EQ(stored, (QStringList{buyFileName(today(QStringLiteral("0905"))),
                                   sellFileName(today(QStringLiteral("0905")))}));

    ::kill(pid_t(follower.process().processId()), SIGTERM);
    ASSERT_TRUE(follower.process().waitForFinished(5000));
    EXPECT_EQ(follower.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(follower.process().exitCode(), 0);
    EXPECT_EQ(out.entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());
    EXPECT_EQ(out.entryList({QStringLiteral("*.dat")}, QDir::Files).size(), 2 * 90);
}

TEST(Follow, EndsByItselfAtUntilWithTheDayFetched) {
    auto server = startServer();
    QTemporaryDir dir;
    const test::ToolRun run =
        test::runTool(QStringLiteral("vantorel-cli"),
                      {QStringLiteral("follow"), QStringLiteral("--server"),
                       QStringLiteral("127.0.0.1:%1").arg(server->port()), QStringLiteral("--out"),
                       dir.path(), QStringLiteral("--clock-from"), QStringLiteral("09:04:59"),
                       QStringLiteral("--until"), QStringLiteral("09:05")},
                      15000);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("connected to 127.0.0.1:")) << run.out.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.dat")}, QDir::Files).size(), 2 * 6);
}

TEST(Follow, NamesTheMinutesNotThereYetOnceAndGivesUpOnAServerThatStaysAway) {
    // The server's day stands at 09:03: the follower's 09:04 and 09:05 are not there.
    DataServerProcess server({QStringLiteral("--synthetic"), QStringLiteral("--stocks"), QStringLiteral("20"),
                              QStringLiteral("--now"),
                              QDate::currentDate().toString(Qt::ISODate) + QStringLiteral("T09:03:30")});
    QTemporaryDir dir;
    test::ToolRun run =
        test::runTool(QStringLiteral("vantorel-cli"),
                      {QStringLiteral("follow"), QStringLiteral("--json"), QStringLiteral("--server"),
                       QStringLiteral("127.0.0.1:%1").arg(server.port()), QStringLiteral("--out"), dir.path(),
                       QStringLiteral("--clock-from"), QStringLiteral("09:05:58"), QStringLiteral("--until"),
                       QStringLiteral("09:06")},
                      15000);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const QString& name :
         {buyFileName(today(QStringLiteral("0904"))), sellFileName(today(QStringLiteral("0905")))}) {
        const QByteArray line = R"({"name":")" + name.toUtf8() + R"(","outcome":"error","bytes":0})";
        EXPECT_EQ(run.out.count(line + '\n'), 1) << name.toStdString() << "\n" << run.out.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.dat")}, QDir::Files).size(), 2 * 4);

    // After the close, with no server: not "done", but a clear failure.
    const quint16 nobody = startServer()->port();
    run = test::runTool(QStringLiteral("vantorel-cli"),
                        {QStringLiteral("follow"), QStringLiteral("--server"),
                         QStringLiteral("127.0.0.1:%1").arg(nobody), QStringLiteral("--out"), dir.path(),
                         QStringLiteral("--clock-from"), QStringLiteral("16:00"), QStringLiteral("--until"),
                         QStringLiteral("15:00")},
                        15000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("the data server did not come back")) << run.err.toStdString();
}

TEST(Follow, RefusesBadArgumentsAndUnusableFolders) {
    QTemporaryDir dir;
    QFile file(QDir(dir.path()).filePath(QStringLiteral("a-file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString server = QStringLiteral("127.0.0.1:1");
    struct Case {
        QStringList arguments;
        const char* message;
    };
    const Case cases[] = {
        {{QStringLiteral("--out"), dir.path()}, "--server wants HOST:PORT"},
        {{QStringLiteral("--server"), QStringLiteral("localhost"), QStringLiteral("--out"), dir.path()},
         "--server wants HOST:PORT"},
        {{QStringLiteral("--server"), server}, "--out wants a folder"},
        {{QStringLiteral("--server"), server, QStringLiteral("--out"), file.fileName()}, "cannot write into"},
        {{QStringLiteral("--server"), server, QStringLiteral("--out"), dir.path(), QStringLiteral("--until"),
          QStringLiteral("25:00")},
         "--until wants HH:MM"},
        {{QStringLiteral("--server"), server, QStringLiteral("--out"), dir.path(),
          QStringLiteral("--clock-from"), QStringLiteral("9:30")},
         "--clock-from wants HH:MM or HH:MM:SS"},
        {{QStringLiteral("--server"), server, QStringLiteral("--out"), dir.path(), QStringLiteral("--fast")},
         "unknown argument --fast"},
        {{QStringLiteral("--server")}, "--server wants a value"},
    };
    for (const Case& c : cases) {
        const test::ToolRun run = test::runTool(QStringLiteral("vantorel-cli"),
                                                QStringList{QStringLiteral("follow")} + c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.message;
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
}

} // namespace
} // namespace vantorel

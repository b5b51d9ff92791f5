#include "DataServerProcess.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/TransferEngine.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/ToolProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace vantorel {
namespace {

using dataserver::DataServerProcess;
using test::runTool;
using test::waitUntil;
using Outcome = TransferReply::Outcome;

const QString kNow = QStringLiteral("2025-07-01T10:05:30");

// Fetches names through an engine, as the program does, and keeps the outcomes.
struct Fetch {
    Fetch(quint16 port, const QString& folder)
        : engine(QStringLiteral("127.0.0.1"), port, folder) {
        QObject::connect(&engine, &TransferEngine::replyHandled,
                         [this](const TransferReply& r) { replies.push_back(r); });
        QObject::connect(&engine, &TransferEngine::notice, [this](const QString& t) { notices << t; });
        engine.start();
    }
    void request(const QStringList& names) {
        for (const QString& n : names)
            engine.request(n);
    }
    TransferEngine engine;
    std::vector<TransferReply> replies;
    QStringList notices;
};

QStringList decoded(const QString& path) {
    QStringList lines;
    EXPECT_TRUE(LoadDatFile(path, lines)) << lines.join(u'\n').toStdString();
    return lines;
}

TEST(DataServer, ServesARealisticSyntheticDay) {
    DataServerProcess server({QStringLiteral("--synthetic"), QStringLiteral("--stocks"),
                              QStringLiteral("300"), QStringLiteral("--now"), kNow});
    QTemporaryDir dir;
    Fetch fetch(server.port(), dir.path());
    fetch.request({QStringLiteral("B20250701_0900.dat"), QStringLiteral("B20250701_1005.dat"),
                   QStringLiteral("S20250701_1005.dat"), QStringLiteral("B20250701_1006.dat"),
                   QStringLiteral("B20250701_0859.dat"), QStringLiteral("notes.txt")});
    ASSERT_TRUE(waitUntil([&] { return fetch.replies.size() == 6; }));
    const Outcome expected[] = {Outcome::Stored,      Outcome::Stored,      Outcome::Stored,
                                Outcome::ServerError, Outcome::ServerError, Outcome::ServerError};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(fetch.replies[i].outcome, expected[i]) << i;

    // The envelope: base64 in lines of 76 characters.
    QFile raw(QDir(dir.path()).filePath(QStringLiteral("B20250701_1005.dat")));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QList<QByteArray> envelopeLines = raw.readAll().split('\n');
    EXPECT_EQ(envelopeLines.first().size(), 77); // 76 and the CR

    const QStringList early = decoded(raw.fileName().replace(QStringLiteral("1005"), QStringLiteral("0900")));
    const QStringList late = decoded(raw.fileName());
    ASSERT_EQ(early.size(), 301);
    ASSERT_EQ(late.size(), 301);
    EXPECT_EQ(late[0], QStringLiteral("Time,Stock Code,Stock Name,Occurrences"));
    static const QRegularExpression line(QStringLiteral("^(\\d{6}),(\\d{6}),(\\p{Hangul}+),(\\d+)$"));
    for (int i = 1; i <= 300; ++i) {
        const auto a = line.match(early[i]);
        const auto b = line.match(late[i]);
        ASSERT_TRUE(a.hasMatch() && b.hasMatch()) << early[i].toStdString() << " / " << late[i].toStdString();
        EXPECT_EQ(a.captured(2), b.captured(2));
        EXPECT_LE(a.captured(4).toInt(), b.captured(4).toInt())
            << "counts never fall: " << a.captured(2).toStdString();
        EXPECT_LE(b.captured(1), QStringLiteral("100559"));
        EXPECT_GE(b.captured(1), QStringLiteral("090000"));
    }
    // Buy and sell are different snapshots.
    EXPECT_NE(decoded(QDir(dir.path()).filePath(QStringLiteral("S20250701_1005.dat"))), late);
}

TEST(DataServer, IsDeterministicFromItsSeed) {
    const auto fetchOne = [](const QString& seed) {
        DataServerProcess server({QStringLiteral("--synthetic"), QStringLiteral("--stocks"),
                                  QStringLiteral("50"), QStringLiteral("--seed"), seed,
                                  QStringLiteral("--now"), kNow});
        QTemporaryDir dir;
        Fetch fetch(server.port(), dir.path());
        fetch.request({QStringLiteral("S20250701_0930.dat")});
        EXPECT_TRUE(waitUntil([&] { return fetch.replies.size() == 1; }));
        QFile f(QDir(dir.path()).filePath(QStringLiteral("S20250701_0930.dat")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray first = fetchOne(QStringLiteral("7"));
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(fetchOne(QStringLiteral("7")), first);
    EXPECT_NE(fetchOne(QStringLiteral("8")), first);
}

TEST(DataServer, ServesAFolderToManyClientsAtOnce) {
    QTemporaryDir root;
    QStringList names;
    for (int i = 0; i < 10; ++i) {
        names << QStringLiteral("B20250701_09%1.dat").arg(i, 2, 10, QLatin1Char('0'));
        QFile f(QDir(root.path()).filePath(names.last()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(20000 + i, char('a' + i)));
    }
    DataServerProcess server({QStringLiteral("--root"), root.path()});
    QTemporaryDir dirs[4];
    std::vector<std::unique_ptr<Fetch>> clients;
    for (auto& d : dirs) {
        clients.push_back(std::make_unique<Fetch>(server.port(), d.path()));
        clients.back()->request(names + QStringList{QStringLiteral("../outside.dat")});
    }
    ASSERT_TRUE(waitUntil([&] {
        return std::all_of(clients.begin(), clients.end(),
                           [](const auto& c) { return c->replies.size() == 11; });
    }));
    for (size_t c = 0; c < clients.size(); ++c) {
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(clients[c]->replies[i].outcome, Outcome::Stored);
            EXPECT_EQ(QFileInfo(QDir(dirs[c].path()).filePath(names[i])).size(), 20000 + i);
        }
        EXPECT_EQ(clients[c]->replies[10].outcome, Outcome::ServerError);
    }
}

TEST(DataServer, MisbehavesOnRequest) {
    struct Case {
        const char* fault;
        std::vector<Outcome> outcomes;
        bool stored;
    };
    const Case cases[] = {
        {"bad-header", {Outcome::UnknownHeader, Outcome::Stored}, true},
        {"cut", {Outcome::Failed}, false},
        {"stall", {Outcome::Failed}, false},
    };
    for (const Case& c : cases) {
        DataServerProcess server({QStringLiteral("--synthetic"), QStringLiteral("--stocks"),
                                  QStringLiteral("200"), QStringLiteral("--now"), kNow,
                                  QStringLiteral("--fault"), QString::fromLatin1(c.fault)});
        QTemporaryDir dir;
        Fetch fetch(server.port(), dir.path());
        fetch.engine.setStallTimeout(300);
        fetch.request({QStringLiteral("B20250701_0900.dat")});
        ASSERT_TRUE(waitUntil([&] { return fetch.replies.size() == c.outcomes.size(); })) << c.fault;
        for (size_t i = 0; i < c.outcomes.size(); ++i)
            EXPECT_EQ(fetch.replies[i].outcome, c.outcomes[i]) << c.fault << " " << i;
        EXPECT_EQ(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("B20250701_0900.dat"))), c.stored)
            << c.fault;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), c.stored ? 1 : 0) << c.fault;
    }
}

TEST(Cli, FetchesAndDecodesThroughTheProgramsCode) {
    DataServerProcess server({QStringLiteral("--synthetic"), QStringLiteral("--stocks"), QStringLiteral("20"),
                              QStringLiteral("--now"), kNow});
    QTemporaryDir dir;
    const QString address = QStringLiteral("127.0.0.1:%1").arg(server.port());

    auto run = runTool(QStringLiteral("vantorel-cli"),
                       {QStringLiteral("fetch"), QStringLiteral("--json"), QStringLiteral("--server"),
                        address, QStringLiteral("--out"), dir.path(), QStringLiteral("B20250701_0901.dat"),
                        QStringLiteral("S20250701_0901.dat")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray replies = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(replies.size(), 2) << run.out.toStdString();
    EXPECT_EQ(replies[0].toObject()[QStringLiteral("name")].toString(), QStringLiteral("B20250701_0901.dat"));
    EXPECT_EQ(replies[0].toObject()[QStringLiteral("outcome")].toString(), QStringLiteral("stored"));
    EXPECT_GT(replies[0].toObject()[QStringLiteral("bytes")].toInt(), 0);

    // A minute still to come is not stored: exit 1, and the line says so.
    run = runTool(QStringLiteral("vantorel-cli"),
                  {QStringLiteral("fetch"), QStringLiteral("--server"), address, QStringLiteral("--out"),
                   dir.path(), QStringLiteral("B20250701_1100.dat")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QByteArray("error B20250701_1100.dat 0\n"));

    const QString file = QDir(dir.path()).filePath(QStringLiteral("B20250701_0901.dat"));
    run = runTool(QStringLiteral("vantorel-cli"), {QStringLiteral("decode"), QStringLiteral("--json"), file});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject doc = QJsonDocument::fromJson(run.out).object();
    EXPECT_TRUE(doc[QStringLiteral("ok")].toBool());
    QStringList lines;
    ASSERT_TRUE(LoadDatFile(file, lines));
    EXPECT_EQ(doc[QStringLiteral("lines")].toVariant().toStringList(), lines);

    run = runTool(QStringLiteral("vantorel-cli"),
                  {QStringLiteral("decode"), file + QStringLiteral(".missing")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(run.out).startsWith(QStringLiteral("파일 로드 중 오류 발생: ")));

    // The grid a load gives, and the result table of two loads.
    run = runTool(QStringLiteral("vantorel-cli"), {QStringLiteral("grid"), QStringLiteral("--json"), file});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonArray grid = QJsonDocument::fromJson(run.out).object()[QStringLiteral("rows")].toArray();
    ASSERT_EQ(grid.size(), 21);
    EXPECT_EQ(grid[0].toVariant().toStringList(),
              (QStringList{QStringLiteral("Time"), QStringLiteral("Stock Code"), QStringLiteral("Stock Name"),
                           QStringLiteral("Occurrences")}));
    EXPECT_EQ(grid[1].toArray()[0].toString().size(), 4);

    const QString sell = QDir(dir.path()).filePath(QStringLiteral("S20250701_0901.dat"));
    run = runTool(QStringLiteral("vantorel-cli"),
                  {QStringLiteral("compare"), QStringLiteral("--json"), file, sell});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonArray table = QJsonDocument::fromJson(run.out).object()[QStringLiteral("rows")].toArray();
    ASSERT_EQ(table.size(), 21); // the same 20 stocks on both sides
    EXPECT_EQ(table[0].toVariant().toStringList(),
              (QStringList{QStringLiteral("종목코드"), QStringLiteral("종목명"), QStringLiteral("총매수"),
                           QStringLiteral("총매도"), QStringLiteral("매수합")}));
    for (int r = 2; r < table.size(); ++r)
        EXPECT_GE(table[r - 1].toArray()[4].toString().toInt(), table[r].toArray()[4].toString().toInt());
}

} // namespace
} // namespace vantorel

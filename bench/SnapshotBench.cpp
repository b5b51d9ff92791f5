// Snapshot decoding and the full-day download, in figures.
#include "DataServer.h"
#include "DataServerProcess.h"
#include "Envelope.h"
#include "snapshots/Base64.h"
#include "snapshots/DownloadPlan.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/TransferEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace vantorel;

namespace {

const QDate kDay(2025, 7, 1);

// One 2,500-stock snapshot as the data server stores it.
QByteArray snapshotFile() {
    dataserver::SyntheticDay day(2500, 1);
    return dataserver::encodeEnvelope(day.payload(QLatin1Char('B'), kDay, 200));
}

void BM_LoadDatFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray bytes = snapshotFile();
    const QString path = QDir(dir.path()).filePath(QStringLiteral("B20250701_1220.dat"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    f.close();
    QStringList memo;
    for (auto _ : state) {
        LoadDatFile(path, memo);
        benchmark::DoNotOptimize(memo);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
    state.counters["lines"] = double(memo.size());
}
BENCHMARK(BM_LoadDatFile)->Unit(benchmark::kMicrosecond);

// The floor: base64 decoding alone, on the same bytes already in memory, by
// our decoder and, for comparison, by Qt's.
void BM_DecodeBase64Only(benchmark::State& state) {
    const QByteArray bytes = snapshotFile();
    for (auto _ : state) {
        QByteArray payload = decodeBase64(bytes);
        benchmark::DoNotOptimize(payload);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}
BENCHMARK(BM_DecodeBase64Only)->Unit(benchmark::kMicrosecond);

void BM_QtFromBase64(benchmark::State& state) {
    const QByteArray bytes = snapshotFile();
    for (auto _ : state) {
        QByteArray payload = QByteArray::fromBase64(bytes);
        benchmark::DoNotOptimize(payload);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}
BENCHMARK(BM_QtFromBase64)->Unit(benchmark::kMicrosecond);

struct BacklogRun {
    int stored = 0;
    qint64 bytes = 0;
    qint64 longestGapMs = 0;
    double seconds = 0;
};

// Requests the day's 762 files through one engine into an empty folder, with a
// 10 ms timer ticking on the same thread to show any stall.
BacklogRun fetchDay(quint16 port, const QString& folder) {
    QStringList names;
    for (const QString& stem : backlogStems(QDateTime(kDay, QTime(16, 0))))
        names << buyFileName(stem) << sellFileName(stem);
    BacklogRun run;
    TransferEngine engine(QStringLiteral("127.0.0.1"), port, folder);
    int answered = 0;
    QObject::connect(&engine, &TransferEngine::replyHandled, [&](const TransferReply& r) {
        ++answered;
        if (r.outcome == TransferReply::Outcome::Stored) {
            ++run.stored;
            run.bytes += r.bytes;
        }
        if (answered == names.size())
            QCoreApplication::exit(0);
    });
    QObject::connect(&engine, &TransferEngine::connected, [&] {
        for (const QString& n : names)
            engine.request(n);
    });
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { run.longestGapMs = std::max(run.longestGapMs, sinceTick.restart()); });
    QTimer::singleShot(60000, [] { QCoreApplication::exit(1); });
    clock.start();
    sinceTick.start();
    ticker.start();
    engine.start();
    QCoreApplication::exec();
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    return run;
}

void BM_FullDayBacklog(benchmark::State& state) {
    // A whole synthetic day (the clock after the close), its files made once
    // before timing starts.
    std::unique_ptr<dataserver::DataServerProcess> server;
    try {
        server = std::make_unique<dataserver::DataServerProcess>(QStringList{
            QStringLiteral("--synthetic"), QStringLiteral("--now"), QStringLiteral("2025-07-01T16:00:00")});
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    {
        // Let the server make its files once, so that the client is what is timed.
        QTemporaryDir warm;
        fetchDay(server->port(), warm.path());
    }
    BacklogRun last;
    for (auto _ : state) {
        QTemporaryDir dir;
        last = fetchDay(server->port(), QDir(dir.path()).filePath(QStringLiteral("Data")));
        state.SetIterationTime(last.seconds);
        if (last.stored != 762)
            state.SkipWithError("not every file was stored");
    }
    state.counters["files"] = last.stored;
    state.counters["files_per_s"] = last.stored / last.seconds;
    state.counters["MB_per_s"] = double(last.bytes) / 1e6 / last.seconds;
    state.counters["MB"] = double(last.bytes) / 1e6;
    state.counters["longest_tick_gap_ms"] = double(last.longestGapMs);
}
BENCHMARK(BM_FullDayBacklog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

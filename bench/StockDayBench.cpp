// The single-stock window's full-day query: from the day index warm, from files
// that nothing has read yet (with the window thread's longest stall), and the
// literal way of decoding every file on the window thread; and the resident
// size of the program after a full day's backlog with the index built.
#include "DataServerProcess.h"
#include "Envelope.h"
#include "NoMessages.h"
#include "SyntheticDay.h"
#include "comparison/Unit1.h"
#include "live/DayIndex.h"
#include "live/StockDay.h"
#include "snapshots/DownloadPlan.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/uClient.h"
#include "snapshots/uFileManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

using namespace vantorel;

namespace {

const QDate kDay(2025, 7, 1);
const QDateTime kAfterTheClose(kDay, QTime(16, 0));

// A whole day of 2,500-stock snapshots in a folder, made once.
const QString& dayFolder() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        dataserver::SyntheticDay day(2500, 1);
        const QStringList stems = backlogStems(kAfterTheClose);
        for (int m = 0; m < stems.size(); ++m) {
            for (const QChar side : {QLatin1Char('B'), QLatin1Char('S')}) {
                QFile f(QDir(dir.path()).filePath(side + stems[m] + QStringLiteral(".dat")));
                f.open(QIODevice::WriteOnly);
                f.write(dataserver::encodeEnvelope(day.payload(side, kDay, m)));
            }
        }
        made = true;
    }
    static const QString path = dir.path();
    return path;
}

// A stock of the synthetic day, from its first snapshot.
QString someCode() {
    QStringList lines;
    LoadDatFile(QDir(dayFolder()).filePath(QStringLiteral("B20250701_0900.dat")), lines);
    return lines.value(1000).section(QLatin1Char(','), 1, 1);
}

// Until the index has read the files; the longest gap between the ticks of a
// 10 ms timer on this thread meanwhile, in ms.
qint64 readAll(DayIndex& index, const QStringList& files) {
    QEventLoop loop;
    bool done = false;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticks;
    ticks.setInterval(10);
    QObject::connect(&ticks, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    ticks.start();
    sinceTick.start();
    index.whenRead(files, &loop, [&] {
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
    return std::max(longestGap, sinceTick.elapsed());
}

void BM_StockDayFromWarmIndex(benchmark::State& state) {
    DayIndex index(dayFolder());
    TextGrid grid;
    StockDay day(index, dayFolder(), grid);
    const QStringList stems = backlogStems(kAfterTheClose);
    const QString code = someCode();
    readAll(index, day.filesToRead(stems));
    for (auto _ : state) {
        day.ClearSlotGrid();
        day.fill(stems, code);
        benchmark::DoNotOptimize(grid);
    }
    state.counters["rows"] = double(grid.rowCount() - 1);
    state.counters["index_MB"] = double(index.memoryUse()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_StockDayFromWarmIndex)->Unit(benchmark::kMillisecond);

void BM_StockDayFromFilesNothingHasRead(benchmark::State& state) {
    const QStringList stems = backlogStems(kAfterTheClose);
    const QString code = someCode();
    qint64 longestGap = 0;
    int rows = 0;
    for (auto _ : state) {
        DayIndex index(dayFolder());
        TextGrid grid;
        StockDay day(index, dayFolder(), grid);
        longestGap = std::max(longestGap, readAll(index, day.filesToRead(stems)));
        day.fill(stems, code);
        rows = grid.rowCount() - 1;
    }
    state.counters["rows"] = rows;
    state.counters["longest_stall_ms"] = double(longestGap);
}
BENCHMARK(BM_StockDayFromFilesNothingHasRead)->Unit(benchmark::kMillisecond)->Iterations(5);

// The literal way: each file decoded on the window thread in turn, the stock
// found by a plain substring search of its lines.
void BM_StockDayDecodingEveryFile(benchmark::State& state) {
    const QStringList stems = backlogStems(kAfterTheClose);
    const QString code = someCode();
    const QDir data(dayFolder());
    qint64 found = 0;
    for (auto _ : state) {
        QStringList memo;
        found = 0;
        for (const QString& stem : stems) {
            for (const QString& name : {buyFileName(stem), sellFileName(stem)}) {
                if (!LoadDatFile(data.filePath(name), memo))
                    continue;
                for (const QString& line : std::as_const(memo)) {
                    if (line.contains(code) && line.split(QLatin1Char(',')).size() >= 4) {
                        ++found;
                        break;
                    }
                }
            }
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}
BENCHMARK(BM_StockDayDecodingEveryFile)->Unit(benchmark::kMillisecond)->Iterations(2);

double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// The program's work windows after the day's backlog, fetched from a data
// server of 2,500 stocks after the close, with the index built.
void BM_ProgramResidentAfterTheDay(benchmark::State& state) {
    for (auto _ : state) {
        dataserver::DataServerProcess server(
            {QStringLiteral("--synthetic"), QStringLiteral("--now"),
             QDateTime::currentDateTime().date().toString(Qt::ISODate) + QStringLiteral("T16:00:00")});
        QTemporaryDir folder;
        bench::NoMessages messages;
        // After the close, so that the backlog is the whole day.
        const ShiftedClock clock(QDateTime(QDate::currentDate(), QTime(16, 0)));
        AppContext context{messages, clock, ProgramFolder(folder.path()),
                           Config{{}, QStringLiteral("127.0.0.1"), server.port()}};
        const double before = residentMegabytes();
        {
            TfrmReceive receive(context);
            TfrmMain main(context);
            main.attachReceiver(&receive);
            TfrmFileManager manager(context, receive);
            main.show();
            const QStringList stems = backlogStems(QDateTime(clock.now().date(), QTime(16, 0)));
            const QDir data(context.folder.dataFolder());
            // The whole day stored and read, looked at five times a second.
            QEventLoop loop;
            QTimer look;
            QObject::connect(&look, &QTimer::timeout, [&] {
                if (data.entryList(QDir::Files).size() == 2 * stems.size() &&
                    main.dayIndex().isRead(
                        QStringList{buyFileName(stems.last()), sellFileName(stems.last())}))
                    loop.quit();
            });
            look.start(200);
            QTimer::singleShot(120000, &loop, &QEventLoop::quit);
            loop.exec();
            main.dayIndex().waitForIdle();
            QCoreApplication::processEvents();
            state.counters["files"] = double(data.entryList(QDir::Files).size());
            state.counters["resident_MB"] = residentMegabytes();
            state.counters["index_MB"] = double(main.dayIndex().memoryUse()) / (1024.0 * 1024.0);
            state.counters["resident_before_MB"] = before;
            main.hide();
        }
    }
}
BENCHMARK(BM_ProgramResidentAfterTheDay)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

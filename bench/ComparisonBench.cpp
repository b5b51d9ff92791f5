// The result table: the program's build against the literal one, and a whole
// auto run in the real window.
#include "DataServer.h"
#include "Envelope.h"
#include "LiteralComparison.h"
#include "NoMessages.h"
#include "common/StringGrid.h"
#include "comparison/Comparison.h"
#include "comparison/GridRoutines.h"
#include "comparison/Unit1.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

using namespace vantorel;

namespace {

// 2,500 buy and 2,500 sell stocks, 2,000 of them on both sides, with some codes
// twice on a side and some counts that are no numbers.
std::pair<TextGrid, TextGrid> marketGrids() {
    std::mt19937 rng(42);
    const auto snapshotGrid = [&](int firstCode) {
        TextGrid g(4, 1);
        g.setCell(0, 0, QStringLiteral("Time"));
        g.setCell(1, 0, QStringLiteral("Stock Code"));
        g.setCell(2, 0, QStringLiteral("Stock Name"));
        g.setCell(3, 0, QStringLiteral("Occurrences"));
        for (int i = 0; i < 2500; ++i) {
            const int code = (i % 97 == 0 && i > 0) ? firstCode + i - 1 : firstCode + i; // duplicates
            const QString count = rng() % 53 == 0 ? QStringLiteral("n/a") : QString::number(rng() % 400);
            g.appendRow({QStringLiteral("0930"), QStringLiteral("%1").arg(code, 6, 10, QLatin1Char('0')),
                         QStringLiteral("종목%1").arg(code), count});
        }
        return g;
    };
    return {snapshotGrid(100000), snapshotGrid(100500)};
}

void BM_ResultBuild(benchmark::State& state) {
    const auto [buy, sell] = marketGrids();
    TextGrid fast;
    TextGrid literal;
    QElapsedTimer timer;
    timer.start();
    bench::literalCompare(buy, sell, literal);
    bench::literalSort(literal, 4);
    const double literalMs = double(timer.nsecsElapsed()) / 1e6;
    qint64 fastNs = 0;
    for (auto _ : state) {
        timer.restart();
        GridReset(fast);
        CompareStringGrids(buy, sell, fast);
        SortHH(fast, 4);
        benchmark::DoNotOptimize(fast);
        fastNs += timer.nsecsElapsed();
    }
    bool same = fast.rowCount() == literal.rowCount();
    for (int r = 0; same && r < fast.rowCount(); ++r)
        same = fast.row(r) == literal.row(r);
    if (!same)
        state.SkipWithError("the tables differ");
    state.counters["rows"] = fast.rowCount();
    state.counters["literal_ms"] = literalMs;
    state.counters["literal_over_fast"] = literalMs / (double(fastNs) / 1e6 / double(state.iterations()));
}
BENCHMARK(BM_ResultBuild)->Unit(benchmark::kMillisecond);

// Two loads of 2,500-stock snapshots, the result and a repaint of the three
// grids, as one auto run does, in the real window.
void BM_AutoRun(benchmark::State& state) {
    QTemporaryDir dir;
    bench::NoMessages messages;
    SystemClock clock;
    AppContext context{messages, clock, ProgramFolder(dir.path()), Config{}};
    QDir().mkpath(context.folder.dataFolder());
    dataserver::SyntheticDay day(2500, 3);
    for (const QChar side : {QLatin1Char('B'), QLatin1Char('S')}) {
        QFile f(QDir(context.folder.dataFolder()).filePath(side + QStringLiteral("20250701_1015.dat")));
        f.open(QIODevice::WriteOnly);
        f.write(dataserver::encodeEnvelope(day.payload(side, QDate(2025, 7, 1), 75)));
    }
    TfrmMain window(context);
    window.show();
    window.edcp2->setText(QStringLiteral("B20250701_1015.dat"));
    window.edcpM2->setText(QStringLiteral("S20250701_1015.dat"));
    for (auto _ : state) {
        window.Button5Click();
        window.Button13Click();
        window.Button19Click();
        for (StringGrid* grid : {window.sgcp2, window.sgcpM2, window.sgTotalTarget})
            grid->viewport()->repaint();
    }
    state.counters["result_rows"] = window.sgTotalTarget->grid().rowCount();
}
BENCHMARK(BM_AutoRun)->Unit(benchmark::kMillisecond);

} // namespace

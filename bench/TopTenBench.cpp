// One top-10 refresh on a day's result table: the lists alone, and in the real
// window with its grids and change lines.
#include "NoMessages.h"
#include "common/StringGrid.h"
#include "comparison/GridRoutines.h"
#include "comparison/Unit1.h"
#include "live/TopTen.h"
#include "live/uTopReal.h"

#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <random>

using namespace vantorel;

namespace {

constexpr int kStocks = 3000;

// A sorted result of 3,000 stocks, a tenth of them on one side only; the next
// minute moves every count up by up to 5.
void fillResult(TextGrid& result, bool nextMinute) {
    std::mt19937 rng(42);
    std::mt19937 moves(7);
    GridReset5(result);
    const QStringList headings{QStringLiteral("종목코드"), QStringLiteral("종목명"), QStringLiteral("총매수"),
                               QStringLiteral("총매도"), QStringLiteral("매수합")};
    for (int c = 0; c < 5; ++c)
        result.setCell(c, 0, headings[c]);
    result.reserveRows(kStocks + 1);
    for (int i = 0; i < kStocks; ++i) {
        const unsigned kind = rng() % 20;
        int buy = kind == 0 ? 0 : int(rng() % 400);
        int sell = kind == 1 ? 0 : int(rng() % 400);
        const int buyMove = int(moves() % 6);
        const int sellMove = int(moves() % 6);
        if (nextMinute) {
            buy += buy > 0 ? buyMove : 0;
            sell += sell > 0 ? sellMove : 0;
        }
        result.appendRow({QStringLiteral("%1").arg(100000 + i), QStringLiteral("종목%1").arg(i),
                          QString::number(buy), QString::number(sell), QString::number(buy - sell)});
    }
    SortHH(result, 4);
}

// Alternates between two minutes' results, so each refresh moves balances and
// writes change lines.
void BM_TopTenRefresh(benchmark::State& state) {
    TextGrid minutes[2];
    fillResult(minutes[0], false);
    fillResult(minutes[1], true);
    TopTen lists;
    const int condition = int(state.range(0));
    qint64 lines = 0;
    int k = 0;
    for (auto _ : state) {
        lists.refresh(minutes[k ^= 1], condition, 2, 2);
        lines += lists.buyLines().size() + lists.sellLines().size();
        benchmark::DoNotOptimize(lists);
    }
    state.counters["rows"] = minutes[0].rowCount();
    state.counters["lines_per_refresh"] = double(lines) / double(state.iterations());
}
BENCHMARK(BM_TopTenRefresh)->Arg(TopTen::OneSideOnly)->Arg(TopTen::Strongest)->Unit(benchmark::kMicrosecond);

// The window's tick after a new result: the refresh, both grids and memos
// updated and repainted.
void BM_TopTenWindowTick(benchmark::State& state) {
    QTemporaryDir dir;
    bench::NoMessages messages;
    SystemClock clock;
    AppContext context{messages, clock, ProgramFolder(dir.path()), Config{}};
    TfrmMain main(context);
    TfrmTopReal* top = main.openTopTenWindow();
    top->Timer1->stop();
    top->Button1Click();
    TextGrid minutes[2];
    fillResult(minutes[0], false);
    fillResult(minutes[1], true);
    int k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        main.sgTotalTarget->grid() = minutes[k ^= 1];
        ++main.pgMCnt;
        state.ResumeTiming();
        top->Timer1Timer();
        top->sgBuy->viewport()->repaint();
        top->sgSell->viewport()->repaint();
    }
    state.counters["refreshed"] = top->pgRCnt == main.pgMCnt;
}
BENCHMARK(BM_TopTenWindowTick)->Unit(benchmark::kMicrosecond);

} // namespace

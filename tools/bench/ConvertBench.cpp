// Converting one downloaded results page: what the download window spends per race between the page's
// arrival and the next request. A full field of 16, every bet type with dead heats on place and wide, the
// trifecta and a refund.
#include "results/ResultsPageConverter.h"
#include "resultsite/ResultPages.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString fullPage() {
    ResultPages::RacePage p;
    for (int n = 1; n <= 16; ++n) {
        ResultPages::Runner r;
        r.chaku = QString::number(n);
        r.waku = (n + 1) / 2;
        r.num = n;
        r.umaName = QStringLiteral("サンプルホース");
        r.time = QStringLiteral("1:34.%1").arg(n % 10);
        r.margin = n == 1 ? QString() : QStringLiteral("1 1/2馬身");
        p.runners << r;
    }
    p.payouts[0] = {{1, 0, 0, 230, 1}};
    p.payouts[1] = {{1, 0, 0, 120, 1}, {2, 0, 0, 340, 5}, {3, 0, 0, 560, 8}, {4, 0, 0, 610, 9}};
    p.payouts[2] = {{1, 1, 0, 1230, 4}};
    p.payouts[3] = {{1, 2, 0, 2450, 6}};
    p.payouts[4] = {{1, 2, 0, 810, 5}, {1, 3, 0, 1020, 11}, {2, 3, 0, 2980, 30}, {1, 4, 0, 1100, 12}};
    p.payouts[5] = {{1, 2, 0, 4560, 12}};
    p.payouts[6] = {{1, 2, 3, 8790, 25}};
    p.trifecta = {{1, 2, 3, 45670, 140}};
    p.refundHorses = {16};
    return ResultPages::joinLines(ResultPages::resultsPageLines(p)).replace(u' ', u'#');
}

// The page read and the record built, no file.
void bmConvertResultsPage(benchmark::State& state) {
    const QString page = fullPage();
    for (auto _ : state) {
        auto file = ResultsPageConverter::makeKekka(page);
        if (!file) {
            state.SkipWithError("the page made no result file");
            return;
        }
        benchmark::DoNotOptimize(file->bytes.data());
    }
}
BENCHMARK(bmConvertResultsPage)->Unit(benchmark::kMicrosecond);

// The whole GetKekka: the record written to a temporary file and put in place of the old one.
void bmGetKekkaWritesFile(benchmark::State& state) {
    const QString page = fullPage();
    QTemporaryDir dir;
    for (auto _ : state) {
        ResultsPageConverter conv;
        conv.setSavePathName(dir.path());
        if (!conv.convertResultsPage(page)) {
            state.SkipWithError("no result file written");
            return;
        }
    }
}
BENCHMARK(bmGetKekkaWritesFile)->Unit(benchmark::kMicrosecond);

} // namespace

// Converting one downloaded results page: what the download window spends per race between the page's
// arrival and the next request. A full field of 16, every bet type with dead heats on place and wide, the
// trifecta and a refund.
#include "results/ResultsPageConverter.h"
#include "resultsite/ResultPages.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString FullPage() {
    ResultPages::RacePage p;
    for (int n = 1; n <= 16; ++n) {
        ResultPages::Runner r;
        r.Chaku = QString::number(n);
        r.Waku = (n + 1) / 2;
        r.Num = n;
        r.UmaName = QStringLiteral("サンプルホース");
        r.Time = QStringLiteral("1:34.%1").arg(n % 10);
        r.Margin = n == 1 ? QString() : QStringLiteral("1 1/2馬身");
        p.Runners << r;
    }
    p.Payouts[0] = {{1, 0, 0, 230, 1}};
    p.Payouts[1] = {{1, 0, 0, 120, 1}, {2, 0, 0, 340, 5}, {3, 0, 0, 560, 8}, {4, 0, 0, 610, 9}};
    p.Payouts[2] = {{1, 1, 0, 1230, 4}};
    p.Payouts[3] = {{1, 2, 0, 2450, 6}};
    p.Payouts[4] = {{1, 2, 0, 810, 5}, {1, 3, 0, 1020, 11}, {2, 3, 0, 2980, 30}, {1, 4, 0, 1100, 12}};
    p.Payouts[5] = {{1, 2, 0, 4560, 12}};
    p.Payouts[6] = {{1, 2, 3, 8790, 25}};
    p.Trifecta = {{1, 2, 3, 45670, 140}};
    p.RefundHorses = {16};
    return ResultPages::JoinLines(ResultPages::ResultsPageLines(p)).replace(u' ', u'#');
}

// The page read and the record built, no file.
void BM_ConvertResultsPage(benchmark::State& state) {
    const QString page = FullPage();
    for (auto _ : state) {
        auto file = ResultsPageConverter::MakeKekka(page);
        if (!file) {
            state.SkipWithError("the page made no result file");
            return;
        }
        benchmark::DoNotOptimize(file->Bytes.data());
    }
}
BENCHMARK(BM_ConvertResultsPage)->Unit(benchmark::kMicrosecond);

// The whole GetKekka: the record written to a temporary file and put in place of the old one.
void BM_GetKekkaWritesFile(benchmark::State& state) {
    const QString page = FullPage();
    QTemporaryDir dir;
    for (auto _ : state) {
        ResultsPageConverter conv;
        conv.setSavePathName(dir.path());
        if (!conv.GetKekka(page)) {
            state.SkipWithError("no result file written");
            return;
        }
    }
}
BENCHMARK(BM_GetKekkaWritesFile)->Unit(benchmark::kMicrosecond);

} // namespace

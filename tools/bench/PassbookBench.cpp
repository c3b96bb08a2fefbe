// The passbook on a book of 10,000 days: reading the book as the program does at start, what a click on
// 通帳 costs before any widget is made (the statistics, caption and totals, the first page, the best and
// worst lists), an OK that registers a day (the whole file written again), and the chart of every day.
#include "profit/ProfitBook.h"
#include "ui/PassbookChartView.h"
#include "views/Passbook.h"
#include "views/PassbookChart.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
constexpr int kDays = 10000;

class BookFolder {
public:
    BookFolder() {
        // A day each, back from the sale day, with stakes and payouts spread so that both lists are long
        // and the sort has work to do.
        QString text;
        QDate day(2026, 12, 5);
        quint32 seed = 20261205;
        for (int i = 0; i < kDays; ++i, day = day.addDays(-1)) {
            seed = seed * 1103515245u + 12345u;
            const qint32 buy = 100 * static_cast<qint32>(10 + (seed >> 8) % 500);
            const qint32 pay = buy / 100 * static_cast<qint32>((seed >> 18) % 250);
            text += ProfitBook::recordToLine({day.toString(QStringLiteral("yyyyMMdd")), buy, pay, pay - buy, 0}) +
                    QStringLiteral("\r\n");
        }
        text += ProfitBook::recordToLine({ProfitBook::sentinelDate(), 0, 0, 0, 0}) + QStringLiteral("\r\n");
        QFile file(path() + ProfitBook::fileName());
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toLatin1()) != text.size()) {
            qFatal("cannot write the book");
        }
    }
    QString path() const { return m_dir.path() + QLatin1Char('/'); }

private:
    QTemporaryDir m_dir;
};

const BookFolder& folder() {
    static const BookFolder folder;
    return folder;
}

void read(ProfitBook& book) {
    book.setFolder(folder().path());
    book.load();
}

void bmPassbookReadBook(benchmark::State& state) {
    for (auto _ : state) {
        ProfitBook book;
        read(book);
        benchmark::DoNotOptimize(book.pastCount());
    }
}

void bmPassbookOpen(benchmark::State& state) {
    ProfitBook book;
    read(book);
    for (auto _ : state) {
        book.checkRecord(0, 0, 0, QString(), 0, 0); // the statistics, as the window's load computes them
        benchmark::DoNotOptimize(buildPassbookTotals(book));
        benchmark::DoNotOptimize(passbookLastPage(book));
        benchmark::DoNotOptimize(buildPassbookPage(book, 0));
        benchmark::DoNotOptimize(buildPassbookRanking(book, PassbookRanking::Best));
        benchmark::DoNotOptimize(buildPassbookRanking(book, PassbookRanking::Worst));
    }
    state.counters["best"] = static_cast<double>(book.bestCount());
    state.counters["worst"] = static_cast<double>(book.worstCount());
}

void bmPassbookRegister(benchmark::State& state) {
    ProfitBook book;
    read(book);
    qint32 pay = 0;
    for (auto _ : state) {
        pay = pay == 0 ? 2500 : 0; // a change every time, so every OK writes the file
        book.checkRecord(1000, pay, 0, QStringLiteral("20261206"), 0, 1);
    }
}

// The chart of the whole book (27 years of days): the points, then the page painted as グラフ shows it.
void bmPassbookChart(benchmark::State& state) {
    ProfitBook book;
    read(book);
    for (auto _ : state) {
        benchmark::DoNotOptimize(buildPassbookChart(book, PassbookSpan::All));
    }
}

void bmPassbookChartWindow(benchmark::State& state) {
    ProfitBook book;
    read(book);
    for (auto _ : state) {
        PassbookChartView view(book, nullptr);
        view.resize(800, 500);
        view.setSpan(PassbookSpan::All);
        benchmark::DoNotOptimize(view.grab());
    }
}
} // namespace

BENCHMARK(bmPassbookReadBook)->Unit(benchmark::kMillisecond);
BENCHMARK(bmPassbookOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(bmPassbookRegister)->Unit(benchmark::kMillisecond);
BENCHMARK(bmPassbookChart)->Unit(benchmark::kMillisecond);
BENCHMARK(bmPassbookChartWindow)->Unit(benchmark::kMillisecond);

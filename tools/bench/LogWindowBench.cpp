// The bet log window on the heavy sale day (about 65,000 bet lines): building the caption and the texts
// of all five views, and opening the window and clicking through every view until each is painted.
#include "control/DayController.h"
#include "core/Folders.h"
#include "patdata/BetLogReader.h"
#include "samplefolder/HeavyDay.h"
#include "ui/BetLogWindow.h"
#include "views/LogViews.h"

#include <QApplication>
#include <QListView>
#include <QTemporaryDir>
#include <QToolButton>

#include <memory>

#include <benchmark/benchmark.h>

namespace {

// The heavy day read by a controller, as the windowed program has it when the log window opens.
class HeavyControl {
public:
    HeavyControl() {
        QString error;
        if (!HeavyDay::write(m_day.path(), &error)) {
            qFatal("cannot write the heavy day: %s", qPrintable(error));
        }
        m_control = std::make_unique<DayController>(
            Folders{m_program.path() + QLatin1Char('/'), m_day.path() + QLatin1Char('/'), QString()});
        m_control->start();
    }
    DayController& control() { return *m_control; }

private:
    QTemporaryDir m_day;
    QTemporaryDir m_program;
    std::unique_ptr<DayController> m_control;
};

HeavyControl& day() {
    static HeavyControl day;
    return day;
}

void bmLogViewsHeavyDay(benchmark::State& state) {
    DayController& c = day().control();
    qsizetype chars = 0;
    for (auto _ : state) {
        chars = LogViews::title(c.saleDate(), c.betLog()).size();
        for (qint16 view = 1; view <= LogViews::kViewCount; ++view) {
            chars += LogViews::text(view, c.meetings())->size();
        }
    }
    state.counters["bet_lines"] = double(c.betLog()->logCount());
    state.counters["chars"] = double(chars);
}

// Opens on the accepted bets (the first run's view), then shows the other four, each painted.
void bmOpenLogWindowAllViewsHeavyDay(benchmark::State& state) {
    DayController& c = day().control();
    for (auto _ : state) {
        c.settings().setDispMode(LogViews::Accepted);
        BetLogWindow log(c, nullptr);
        log.show();
        QApplication::processEvents();
        for (const int view : {1, 3, 4, 5}) {
            log.button(view)->click();
            log.textView()->viewport()->repaint();
        }
        benchmark::DoNotOptimize(log.textView()->model()->rowCount());
    }
}

} // namespace

BENCHMARK(bmLogViewsHeavyDay)->Unit(benchmark::kMillisecond);
BENCHMARK(bmOpenLogWindowAllViewsHeavyDay)->Unit(benchmark::kMillisecond);

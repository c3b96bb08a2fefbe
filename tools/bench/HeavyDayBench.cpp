// The heavy sale day written into a temporary folder: 3 meetings, 36 races, 900 tickets (mostly boxes of
// ten and wheels over the whole field; some bought the day before) and full result files with refunds.
// Times the bet log reader, the evaluation of every race, the result readers, the whole folder read, the
// summary's JSON of the read day, and the opening of the day profit table and of a busy race's detail and
// results windows.
#include "cli/SummaryReport.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/ResultFiles.h"
#include "control/DayController.h"
#include "patdata/BetLogReader.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "results/RaceResultReader.h"
#include "samplefolder/HeavyDay.h"
#include "views/ProfitTable.h"
#include "views/RaceDetail.h"
#include "views/RaceResults.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using namespace HeavyDay;

class HeavyFolder {
public:
    HeavyFolder() {
        QString error;
        if (!HeavyDay::write(m_dir.path(), &error)) {
            qFatal("cannot write the heavy day: %s", qPrintable(error));
        }
    }

    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

    // The day's meetings and races as the folder reader builds them, each race of the day with its
    // result reader attached.
    std::vector<std::unique_ptr<Meeting>> meetings() const {
        std::vector<std::unique_ptr<Meeting>> meetings;
        for (const int venue : kVenues) {
            auto meeting = std::make_unique<Meeting>();
            meeting->setKaisaiNum(static_cast<qint16>(venue));
            meeting->setNendo(QString::number(kYear));
            meeting->setKaiJi(QStringLiteral("%1").arg(kKaiJi, 2, 10, QLatin1Char('0')));
            meeting->setHiJi(QStringLiteral("%1").arg(kHiJi, 2, 10, QLatin1Char('0')));
            meeting->setSaleDate(saleDate());
            for (qint16 num = 1; num <= 12; ++num) {
                auto race = std::make_unique<Race>();
                race->setRaceNum(num);
                race->setKenshu(AccountFiles::kAllTypes);
                auto reader = std::make_unique<RaceResultReader>(RaceResultReader::read(
                    folder(), ResultFiles::resultFileId(venue, kYear, kKaiJi, kHiJi, num), 18, saleDate()));
                if (reader->kekkaCount() > 0) {
                    race->setResult(std::move(reader));
                }
                meeting->addRace(std::move(race));
            }
            meetings.push_back(std::move(meeting));
        }
        return meetings;
    }

private:
    QTemporaryDir m_dir;
};

const HeavyFolder& heavyDay() {
    static const HeavyFolder day;
    return day;
}

void bmReadBetLog(benchmark::State& state) {
    const HeavyFolder& day = heavyDay();
    qsizetype bets = 0;
    qsizetype tickets = 0;
    for (auto _ : state) {
        const BetLogReader lg = BetLogReader::read(day.folder(), saleDate());
        bets = lg.logCount();
        tickets = lg.logOmitCount();
    }
    state.counters["tickets"] = double(kTickets);
    state.counters["ticket_lines"] = double(tickets);
    state.counters["bet_lines"] = double(bets);
}

void bmEvaluateAllRaces(benchmark::State& state) {
    const HeavyFolder& day = heavyDay();
    const BetLogReader lg = BetLogReader::read(day.folder(), saleDate());
    const auto meetings = day.meetings();
    qsizetype evaluated = 0;
    qsizetype resultLines = 0;
    qint64 paid = 0;
    for (auto _ : state) {
        evaluated = 0;
        resultLines = 0;
        paid = 0;
        for (const auto& meeting : meetings) {
            for (const auto& race : meeting->races()) {
                race->takeBets(lg);
                evaluated += race->logCount();
                resultLines += race->result() ? race->result()->kekkaCount() : 0;
                paid += race->amtPay();
            }
        }
    }
    state.counters["bet_lines"] = double(evaluated);
    state.counters["result_lines"] = double(resultLines);
    state.counters["paid_yen"] = double(paid);
}

void bmReadResultFiles(benchmark::State& state) {
    const HeavyFolder& day = heavyDay();
    for (auto _ : state) {
        benchmark::DoNotOptimize(day.meetings());
    }
}

void bmInitializeWholeFolder(benchmark::State& state) {
    const HeavyFolder& day = heavyDay();
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaleDayReader::read(day.folder()));
    }
}

// The folder read as the program reads it, once, for the windows that open on a read day.
SaleDayReader& readDay() {
    static const auto pat = [] { return std::make_unique<SaleDayReader>(SaleDayReader::read(heavyDay().folder())); }();
    return *pat;
}

void bmOpenProfitTable(benchmark::State& state) {
    const SaleDayReader& pat = readDay();
    for (auto _ : state) {
        benchmark::DoNotOptimize(buildProfitTable(pat.meetings(), pat.saleDate()));
    }
    state.counters["meetings"] = double(pat.kaisaiCount());
}

// The summary command's JSON of the read day, written to the null device: its layout alone.
void bmSummaryJson(benchmark::State& state) {
    const SaleDayReader& pat = readDay();
    FILE* sink = std::fopen(QFile::encodeName(QProcess::nullDevice()).constData(), "w");
    if (sink == nullptr) {
        state.SkipWithError("cannot open the null device");
        return;
    }
    for (auto _ : state) {
        writeSummaryJson(sink, pat, true);
    }
    std::fclose(sink);
}

// The race with the most bet lines: its aggregate opened, then both windows built, as a click does.
void bmOpenRaceDetailAndResults(benchmark::State& state) {
    SaleDayReader& pat = readDay();
    qint16 meeting = 0;
    qint16 race = 0;
    qsizetype lines = 0;
    for (qint16 m = 1; m <= pat.kaisaiCount(); ++m) {
        for (qint16 r = 1; r <= pat.meeting(m)->raceCount(); ++r) {
            if (pat.meeting(m)->race(r)->logCount() > lines) {
                lines = pat.meeting(m)->race(r)->logCount();
                meeting = m;
                race = r;
            }
        }
    }
    const Race& chosen = *pat.meeting(meeting)->race(race);
    qsizetype rows = 0;
    for (auto _ : state) {
        pat.readRaceOdds(meeting, race);
        const auto detail = buildRaceDetail(chosen, pat.raceOdds());
        const auto results = buildRaceResults(chosen, pat.raceOdds(), DayController::standardWakuColors());
        benchmark::DoNotOptimize(detail);
        rows = results ? results->rows.size() : 0;
    }
    state.counters["bet_lines"] = double(lines);
    state.counters["payout_rows"] = double(rows);
}

} // namespace

BENCHMARK(bmReadBetLog)->Unit(benchmark::kMillisecond);
BENCHMARK(bmEvaluateAllRaces)->Unit(benchmark::kMillisecond);
BENCHMARK(bmReadResultFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(bmInitializeWholeFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(bmSummaryJson)->Unit(benchmark::kMillisecond);
BENCHMARK(bmOpenProfitTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(bmOpenRaceDetailAndResults)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Widgets are measured too; they need no screen of their own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The heavy sale day written into a temporary folder: 3 meetings, 36 races, 900 tickets (mostly boxes of
// ten and wheels over the whole field; some bought the day before) and full result files with refunds.
// Times the bet log reader, the evaluation of every race, the result readers and the whole folder read,
// and the opening of the day profit table and of a busy race's detail and results windows.
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
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace HeavyDay;

class HeavyFolder {
public:
    HeavyFolder() {
        QString error;
        if (!HeavyDay::Write(m_dir.path(), &error)) {
            qFatal("cannot write the heavy day: %s", qPrintable(error));
        }
    }

    QString Folder() const { return m_dir.path() + QLatin1Char('/'); }

    // The day's meetings and races as the folder reader builds them, each race of the day with its
    // result reader attached.
    std::vector<std::unique_ptr<Meeting>> Meetings() const {
        std::vector<std::unique_ptr<Meeting>> meetings;
        for (const int venue : kVenues) {
            auto meeting = std::make_unique<Meeting>();
            meeting->setKaisaiNum(static_cast<qint16>(venue));
            meeting->setNendo(QString::number(kYear));
            meeting->setKaiJi(QStringLiteral("%1").arg(kKaiJi, 2, 10, QLatin1Char('0')));
            meeting->setHiJi(QStringLiteral("%1").arg(kHiJi, 2, 10, QLatin1Char('0')));
            meeting->setCurDate(SaleDate());
            for (qint16 num = 1; num <= 12; ++num) {
                auto race = std::make_unique<Race>();
                race->setRaceNum(num);
                race->setKenshu(AccountFiles::kAllTypes);
                auto reader = std::make_unique<RaceResultReader>();
                reader->setPathName(Folder());
                reader->setFileName(ResultFiles::ResultFileId(venue, kYear, kKaiJi, kHiJi, num));
                reader->setTosu(18);
                if (reader->GetData(SaleDate())) {
                    race->setObjKekka(std::move(reader));
                }
                meeting->AddRace(std::move(race));
            }
            meetings.push_back(std::move(meeting));
        }
        return meetings;
    }

private:
    QTemporaryDir m_dir;
};

const HeavyFolder& Day() {
    static const HeavyFolder day;
    return day;
}

void BM_ReadBetLog(benchmark::State& state) {
    const HeavyFolder& day = Day();
    qsizetype bets = 0;
    qsizetype tickets = 0;
    for (auto _ : state) {
        BetLogReader lg;
        lg.setPathName(day.Folder());
        benchmark::DoNotOptimize(lg.GetData(SaleDate()));
        bets = lg.LogCount();
        tickets = lg.LogOmitCount();
    }
    state.counters["tickets"] = double(kTickets);
    state.counters["ticket_lines"] = double(tickets);
    state.counters["bet_lines"] = double(bets);
}

void BM_EvaluateAllRaces(benchmark::State& state) {
    const HeavyFolder& day = Day();
    BetLogReader lg;
    lg.setPathName(day.Folder());
    lg.GetData(SaleDate());
    const auto meetings = day.Meetings();
    qsizetype evaluated = 0;
    qsizetype resultLines = 0;
    qint64 paid = 0;
    for (auto _ : state) {
        evaluated = 0;
        resultLines = 0;
        paid = 0;
        for (const auto& meeting : meetings) {
            for (const auto& race : meeting->colRace()) {
                race->GetLog(lg);
                evaluated += race->LogCount();
                resultLines += race->objKekka() ? race->objKekka()->KekkaCount() : 0;
                paid += race->AmtPay();
            }
        }
    }
    state.counters["bet_lines"] = double(evaluated);
    state.counters["result_lines"] = double(resultLines);
    state.counters["paid_yen"] = double(paid);
}

void BM_ReadResultFiles(benchmark::State& state) {
    const HeavyFolder& day = Day();
    for (auto _ : state) {
        benchmark::DoNotOptimize(day.Meetings());
    }
}

void BM_InitializeWholeFolder(benchmark::State& state) {
    const HeavyFolder& day = Day();
    for (auto _ : state) {
        SaleDayReader pat;
        pat.setPathName(day.Folder());
        pat.setDownPath(QString());
        benchmark::DoNotOptimize(pat.Initialize());
    }
}

// The folder read as the program reads it, once, for the windows that open on a read day.
SaleDayReader& ReadDay() {
    static const auto pat = [] {
        auto p = std::make_unique<SaleDayReader>();
        p->setPathName(Day().Folder());
        p->setDownPath(QString());
        p->Initialize();
        return p;
    }();
    return *pat;
}

void BM_OpenProfitTable(benchmark::State& state) {
    const SaleDayReader& pat = ReadDay();
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildProfitTable(pat.colKaisai(), pat.CurDate()));
    }
    state.counters["meetings"] = double(pat.KaisaiCount());
}

// The race with the most bet lines: its aggregate opened, then both windows built, as a click does.
void BM_OpenRaceDetailAndResults(benchmark::State& state) {
    SaleDayReader& pat = ReadDay();
    qint16 meeting = 0;
    qint16 race = 0;
    qsizetype lines = 0;
    for (qint16 m = 1; m <= pat.KaisaiCount(); ++m) {
        for (qint16 r = 1; r <= pat.objKaisai(m)->RaceCount(); ++r) {
            if (pat.objKaisai(m)->objRace(r)->LogCount() > lines) {
                lines = pat.objKaisai(m)->objRace(r)->LogCount();
                meeting = m;
                race = r;
            }
        }
    }
    const Race& chosen = *pat.objKaisai(meeting)->objRace(race);
    qsizetype rows = 0;
    for (auto _ : state) {
        pat.GetOdds(meeting, race);
        const auto detail = BuildRaceDetail(chosen, pat.objFactory());
        const auto results = BuildRaceResults(chosen, pat.objFactory(), DayController::StandardWakuColors());
        benchmark::DoNotOptimize(detail);
        rows = results ? results->Rows.size() : 0;
    }
    state.counters["bet_lines"] = double(lines);
    state.counters["payout_rows"] = double(rows);
}

} // namespace

BENCHMARK(BM_ReadBetLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateAllRaces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadResultFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InitializeWholeFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProfitTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenRaceDetailAndResults)->Unit(benchmark::kMillisecond);

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

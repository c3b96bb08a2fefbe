// The realistic sample day: reading the whole folder as the program does at start and on refresh, and
// opening its largest race (all four odds files read, brackets assigned).
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/RaceOdds.h"
#include "patdata/SaleDayReader.h"
#include "samplefolder/SampleDay.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
class SampleFolder {
public:
    SampleFolder() {
        if (!writeSampleDay(m_dir.path())) {
            qFatal("cannot write the sample day");
        }
    }
    QString path() const { return m_dir.path() + QLatin1Char('/'); }

private:
    QTemporaryDir m_dir;
};

const SampleFolder& sample() {
    static const SampleFolder folder;
    return folder;
}

SaleDayReader read() {
    return SaleDayReader::read(sample().path(), sample().path() + QStringLiteral("VQDOWNLOAD"));
}

void bmInitializeSampleDay(benchmark::State& state) {
    qsizetype lines = 0;
    for (auto _ : state) {
        const SaleDayReader pat = read();
        lines = 0;
        for (const auto& meeting : pat.meetings()) {
            for (const auto& race : meeting->races()) {
                lines += race->logCount();
            }
        }
        benchmark::DoNotOptimize(lines);
    }
    state.counters["bet_lines"] = static_cast<double>(lines);
}

// The race of the day with the most runners among those selling every bet type.
void bmOpenRaceWithAllFourFiles(benchmark::State& state) {
    SaleDayReader pat = read();
    qint16 bestMeeting = 0;
    qint16 bestRace = 0;
    qint16 bestTosu = 0;
    for (qint16 m = 1; m <= pat.kaisaiCount(); ++m) {
        for (qint16 r = 1; r <= 12; ++r) {
            if (pat.meeting(m)->race(r)->kenshu() == 127 && pat.readRaceOdds(m, r) && pat.raceOdds()->existSo() &&
                pat.raceOdds()->existYo() && pat.raceOdds()->entryTosu() > bestTosu) {
                bestTosu = pat.raceOdds()->entryTosu();
                bestMeeting = m;
                bestRace = r;
            }
        }
    }
    if (bestTosu == 0) {
        state.SkipWithError("no race with all four odds files");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(pat.readRaceOdds(bestMeeting, bestRace));
    }
    state.counters["runners"] = bestTosu;
}
} // namespace

BENCHMARK(bmInitializeSampleDay)->Unit(benchmark::kMillisecond);
BENCHMARK(bmOpenRaceWithAllFourFiles)->Unit(benchmark::kMicrosecond);

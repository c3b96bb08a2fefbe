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
        if (!WriteSampleDay(m_dir.path())) {
            qFatal("cannot write the sample day");
        }
    }
    QString Path() const { return m_dir.path() + QLatin1Char('/'); }

private:
    QTemporaryDir m_dir;
};

const SampleFolder& Sample() {
    static const SampleFolder folder;
    return folder;
}

void Read(SaleDayReader& pat) {
    pat.setPathName(Sample().Path());
    pat.setDownPath(Sample().Path() + QStringLiteral("VQDOWNLOAD"));
    pat.Initialize();
}

void BM_InitializeSampleDay(benchmark::State& state) {
    qsizetype lines = 0;
    for (auto _ : state) {
        SaleDayReader pat;
        Read(pat);
        lines = 0;
        for (const auto& meeting : pat.colKaisai()) {
            for (const auto& race : meeting->colRace()) {
                lines += race->LogCount();
            }
        }
        benchmark::DoNotOptimize(lines);
    }
    state.counters["bet_lines"] = static_cast<double>(lines);
}

// The race of the day with the most runners among those selling every bet type.
void BM_OpenRaceWithAllFourFiles(benchmark::State& state) {
    SaleDayReader pat;
    Read(pat);
    qint16 bestMeeting = 0;
    qint16 bestRace = 0;
    qint16 bestTosu = 0;
    for (qint16 m = 1; m <= pat.KaisaiCount(); ++m) {
        for (qint16 r = 1; r <= 12; ++r) {
            if (pat.objKaisai(m)->objRace(r)->Kenshu() == 127 && pat.GetOdds(m, r) && pat.objFactory()->ExistSO() &&
                pat.objFactory()->ExistYO() && pat.objFactory()->EntryTosu() > bestTosu) {
                bestTosu = pat.objFactory()->EntryTosu();
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
        benchmark::DoNotOptimize(pat.GetOdds(bestMeeting, bestRace));
    }
    state.counters["runners"] = bestTosu;
}
} // namespace

BENCHMARK(BM_InitializeSampleDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenRaceWithAllFourFiles)->Unit(benchmark::kMicrosecond);

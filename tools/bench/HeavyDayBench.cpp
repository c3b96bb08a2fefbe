// A heavy sale day, generated with the fixture writers into a temporary folder: 3 meetings, 36 races,
// 900 tickets (mostly boxes of ten and wheels over the whole field; some bought the day before) and full
// result files with refunds. Times the bet log reader, the evaluation of every race, the result readers
// and the whole folder read.
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "patdata/clsControlLG.h"
#include "patdata/clsControlPAT.h"
#include "patdata/clsKaisai.h"
#include "patdata/clsRace.h"
#include "results/clsControlKS.h"

#include "core/Codes.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

const QString kDate = QStringLiteral("20260405");
const QString kEve = QStringLiteral("20260404");
constexpr int kVenues[3] = {5, 6, 9};
constexpr int kYear = 2026;
constexpr int kKaiJi = 2;
constexpr int kHiJi = 8;
constexpr int kTicketsPerRace = 25;

// Ten distinct horses of 18, different for each ticket and race.
QList<int> TenHorses(int race, int k) {
    QList<int> horses;
    const int base = (k * 7 + race) % 18;
    for (int i = 0; i < 10; ++i) {
        horses << (base + i) % 18 + 1;
    }
    return horses;
}

QList<int> AllBut(std::initializer_list<int> axes, int top) {
    QList<int> partners;
    for (int j = 1; j <= top; ++j) {
        if (std::find(axes.begin(), axes.end(), j) == axes.end()) {
            partners << j;
        }
    }
    return partners;
}

LogFiles::Ticket RaceTicket(int race, int k) {
    using namespace LogFiles;
    const int axis = (race + k) % 18 + 1;
    const int axis2 = (race + k + 9) % 18 + 1;
    const QList<int> ten = TenHorses(race, k);
    const int units = 1 + k % 5;
    if (k < 8) {
        return BoxBet(Trio, ten, units);
    }
    if (k < 13) {
        return BoxBet(Exacta, ten, units);
    }
    if (k < 16) {
        return BoxBet(Quinella, ten, units);
    }
    if (k < 19) {
        return BoxBet(Wide, ten, units);
    }
    if (k < 21) {
        return TrioWheel(axis, axis2, AllBut({axis, axis2}, 18), units);
    }
    switch (k) {
    case 21:
        return WheelBet(Quinella, axis, AllBut({axis}, 18), units);
    case 22:
        return ExactaWheel(axis, 1 + k % 2, AllBut({axis}, 18), units);
    case 23:
        return WheelBet(BracketQuinella, race % 8 + 1, AllBut({race % 8 + 1}, 8), units);
    default:
        return SingleBet(Win, 0, 0, axis, units);
    }
}

ResultFiles::ResultFile RaceResult(int venue, int race) {
    ResultFiles::ResultFile r;
    r.Date = kDate;
    r.Venue = KaisaiName(static_cast<qint16>(venue));
    r.Year = kYear;
    r.KaiJi = kKaiJi;
    r.HiJi = kHiJi;
    r.RaceNum = race;
    const auto h = [&](int i) { return (race * 5 + i * 3) % 18 + 1; }; // distinct for i = 0..5
    r.Payouts[0] = {{h(0), 0, 0, 450}, {h(1), 0, 0, 460}, {h(2), 0, 0, 470}};
    r.Payouts[1] = {{h(0), 0, 0, 150}, {h(1), 0, 0, 230}, {h(2), 0, 0, 310}, {h(3), 0, 0, 180}, {h(4), 0, 0, 200}};
    r.Payouts[2] = {{1, 4, 0, 1200}, {2, 4, 0, 1300}, {4, 4, 0, 900}};
    r.Payouts[3] = {{h(0), h(1), 0, 2100}, {h(0), h(2), 0, 2200}, {h(1), h(2), 0, 2300}};
    for (int i = 0; i < 10; ++i) {
        r.Payouts[4].append({h(i % 5), h(i % 5 + 1), 0, 600 + i * 10});
    }
    for (int i = 0; i < 6; ++i) {
        r.Payouts[5].append({h(i), h((i + 1) % 6), 0, 5000 + i * 100});
    }
    r.Payouts[6] = {{h(0), h(1), h(2), 12000}, {h(0), h(1), h(3), 13000}, {h(0), h(2), h(3), 150000}};
    r.RefundHorses = {(race + 7) % 18 + 1, (race + 13) % 18 + 1};
    r.WakuMarks[static_cast<size_t>(race % 8)] = 1;
    return r;
}

class HeavyDay {
public:
    HeavyDay() {
        const QString dir = Folder();
        const QChar letters[3] = {u'A', u'B', u'C'};
        QList<LogFiles::Ticket> today;
        QList<LogFiles::Ticket> eve;
        for (int m = 0; m < 3; ++m) {
            AccountFiles::AccountFile account = AccountFiles::AllOnSale(kVenues[m], kYear, kKaiJi, kHiJi);
            account.Date = kDate;
            account.Amounts = {500000, 0, 0, 0};
            AccountFiles::SaveAccountFile(dir, letters[m], account);
            for (int race = 1; race <= 12; ++race) {
                ResultFiles::SaveResultFile(dir, RaceResult(kVenues[m], race));
                for (int k = 0; k < kTicketsPerRace; ++k) {
                    const LogFiles::Ticket t = RaceTicket(race, k);
                    // The last trio wheel and the single of each race were bought the day before.
                    if (k == 19 || k == 24) {
                        eve << LogFiles::At(t, kVenues[m], race, 2);
                    } else {
                        today << LogFiles::At(t, kVenues[m], race);
                    }
                }
            }
        }
        QList<LogFiles::IndexEntry> entries;
        const auto save = [&](const QList<LogFiles::Ticket>& tickets, const QString& date) {
            for (qsizetype from = 0; from < tickets.size(); from += 90) {
                const QString name = QStringLiteral("LG%1").arg(entries.size() + 1, 3, 10, QLatin1Char('0'));
                LogFiles::DayLog log;
                log.LogNo = static_cast<int>(entries.size() + 1);
                log.Tickets = tickets.mid(from, 90);
                LogFiles::SaveDayLog(dir, name, log);
                entries.append({name, date});
            }
        };
        save(eve, kEve);
        save(today, kDate);
        LogFiles::SaveIndex(dir, entries);
        ticketCount = today.size() + eve.size();
    }

    QString Folder() const { return m_dir.path() + QLatin1Char('/'); }

    // The day's meetings and races as the folder reader builds them, each race of the day with its
    // result reader attached.
    std::vector<std::unique_ptr<clsKaisai>> Meetings() const {
        std::vector<std::unique_ptr<clsKaisai>> meetings;
        for (const int venue : kVenues) {
            auto meeting = std::make_unique<clsKaisai>();
            meeting->setKaisaiNum(static_cast<qint16>(venue));
            meeting->setNendo(QString::number(kYear));
            meeting->setKaiJi(QStringLiteral("%1").arg(kKaiJi, 2, 10, QLatin1Char('0')));
            meeting->setHiJi(QStringLiteral("%1").arg(kHiJi, 2, 10, QLatin1Char('0')));
            meeting->setCurDate(kDate);
            for (qint16 num = 1; num <= 12; ++num) {
                auto race = std::make_unique<clsRace>();
                race->setRaceNum(num);
                race->setKenshu(AccountFiles::kAllTypes);
                auto reader = std::make_unique<clsControlKS>();
                reader->setPathName(Folder());
                reader->setFileName(ResultFiles::ResultFileId(venue, kYear, kKaiJi, kHiJi, num));
                reader->setTosu(18);
                if (reader->GetData(kDate)) {
                    race->setObjKekka(std::move(reader));
                }
                meeting->AddRace(std::move(race));
            }
            meetings.push_back(std::move(meeting));
        }
        return meetings;
    }

    qsizetype ticketCount = 0;

private:
    QTemporaryDir m_dir;
};

const HeavyDay& Day() {
    static const HeavyDay day;
    return day;
}

void BM_ReadBetLog(benchmark::State& state) {
    const HeavyDay& day = Day();
    qsizetype bets = 0;
    qsizetype tickets = 0;
    for (auto _ : state) {
        clsControlLG lg;
        lg.setPathName(day.Folder());
        benchmark::DoNotOptimize(lg.GetData(kDate));
        bets = lg.LogCount();
        tickets = lg.LogOmitCount();
    }
    state.counters["tickets"] = double(day.ticketCount);
    state.counters["ticket_lines"] = double(tickets);
    state.counters["bet_lines"] = double(bets);
}

void BM_EvaluateAllRaces(benchmark::State& state) {
    const HeavyDay& day = Day();
    clsControlLG lg;
    lg.setPathName(day.Folder());
    lg.GetData(kDate);
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
    const HeavyDay& day = Day();
    for (auto _ : state) {
        benchmark::DoNotOptimize(day.Meetings());
    }
}

void BM_InitializeWholeFolder(benchmark::State& state) {
    const HeavyDay& day = Day();
    for (auto _ : state) {
        clsControlPAT pat;
        pat.setPathName(day.Folder());
        pat.setDownPath(QString());
        benchmark::DoNotOptimize(pat.Initialize());
    }
}

} // namespace

BENCHMARK(BM_ReadBetLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateAllRaces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadResultFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InitializeWholeFolder)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#pragma once

// What the parts of the sample day hand each other: the races and the day they make up, the random
// numbers, and the few functions one part calls in another. Not for use outside tools/samplefolder.
#include "SampleDay.h"

#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"

#include <QList>
#include <QString>

#include <array>
#include <map>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace SampleDay::Detail {

// Random numbers from the engine's raw output only: the engine's sequence is fixed by the standard, the
// library's distributions are not, and the day must come out the same everywhere.
class Rng {
public:
    explicit Rng(quint32 seed) : m_engine(seed) {}
    int below(int n) { return static_cast<int>(static_cast<quint32>(m_engine()) % static_cast<quint32>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }

private:
    std::mt19937 m_engine;
};

inline constexpr quint32 kSeed = 20261205;

using Pair = std::pair<int, int>;
using Triple = std::tuple<int, int, int>;

// The bracket quinella bit of a race's ticket types.
inline constexpr int kBracketQuinellaBit = 4;

struct Race {
    int meeting = 0; // 1-based position, A = 1
    int venue = 0;
    int kaiJi = 0;
    int hiJi = 0;
    int raceNum = 0;
    QString name1;
    QString name2;
    bool turf = true;
    int distance = 0;
    int start = 0; // minutes after midnight
    int tosu = 0;
    bool bracketSale = true;
    std::vector<qint64> strength; // by horse number (index 0 unused); 0 for a scratched horse
    int nameSeed = 0;

    std::map<int, int> win, placeLo, placeHi;
    std::map<Pair, int> quinella, wideLo, wideHi, exacta, bracket;
    std::map<Triple, int> trio;
    std::vector<int> favourites; // running horses by win odds, shortest first

    std::vector<int> order; // finishing order, for races already run
    bool deadHeat = false;  // the first two finished together

    bool scratched(int horse) const { return strength[static_cast<size_t>(horse)] == 0; }
    int kenshu() const {
        return bracketSale ? AccountFiles::kAllTypes : AccountFiles::kAllTypes & ~kBracketQuinellaBit;
    }
    int placed(int k) const { return order[static_cast<size_t>(k - 1)]; }
    int fav(int k) const { return favourites[static_cast<size_t>(k - 1)]; }
};

struct Day {
    std::array<std::vector<Race>, kMeetings> races;   // races 1-12 of the day
    std::array<std::vector<Race>, kMeetings> advance; // the next day's races on advance sale

    const Race& at(int meeting, int race) const {
        return races[static_cast<size_t>(meeting - 1)][static_cast<size_t>(race - 1)];
    }
    const Race& at(RaceRef ref) const { return at(ref.meeting, ref.race); }
    const Race& next(int meeting, int race) const {
        for (const Race& r : advance[static_cast<size_t>(meeting - 1)]) {
            if (r.raceNum == race) {
                return r;
            }
        }
        return advance[static_cast<size_t>(meeting - 1)].front();
    }
};

// The programme (Programme.cpp).
Day makeDay();
int waku(int tosu, int horse);
QList<int> bracketHorses(int tosu, int waku);
QString horseName(const Race& r, int horse);
QString venue(const Race& r);
QString raceId(const Race& r);
QString twoDigits(int n);

// The prices (Prices.cpp).
void price(Race& r);
bool writeOdds(const QString& folder, const Race& r);

// The results (Results.cpp). DrawFinish goes on with the race's own random numbers, so it must be called
// where the programme has drawn the race's runners and nothing else in between.
void drawFinish(Race& r, Rng& rng);
Pair sorted2(int a, int b);
Triple sorted3(int a, int b, int c);
ResultFiles::ResultFile resultOf(const Race& r);
std::array<ResultFiles::PayoutFile, 7> emptyPayoutFiles(int meeting);
void addPayouts(std::array<ResultFiles::PayoutFile, 7>& files, int raceNum, const ResultFiles::ResultFile& result);

// The bet log's tickets (Tickets.cpp).
QList<LogFiles::Ticket> previousDayTickets(const Day& d);
QList<LogFiles::Ticket> morningTickets(const Day& d);
QList<LogFiles::Ticket> afternoonTickets(const Day& d);
QList<LogFiles::Ticket> oldTickets();
qint32 stake(const QList<LogFiles::Ticket>& tickets);

// The profit book (ProfitBookDays.cpp).
bool writeProfitBook(const QString& folder, QString& failure);

} // namespace SampleDay::Detail

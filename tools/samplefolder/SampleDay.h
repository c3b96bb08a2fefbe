#pragma once

#include <QString>

#include <array>

namespace ResultFiles {
struct ResultFile;
}

// A complete client folder for one sale day, for the demo and for tests that want a realistic day:
// three meetings of twelve races with the next day's main races on advance sale, a bet log with tickets
// of every kind, odds files for every race on sale, results of the races already run and a profit book
// of the past three months. The day is the same, byte for byte, on every run and every platform.
namespace SampleDay {

// The sale day (a Saturday), the day before it (whose log holds advance tickets for it) and the next day.
inline QString saleDate() {
    return QStringLiteral("20261205");
}
inline QString previousDate() {
    return QStringLiteral("20261204");
}
inline QString nextDate() {
    return QStringLiteral("20261206");
}

constexpr int kYear = 2026;
constexpr int kMeetings = 3;
constexpr int kRacesPerDay = 12;
// Races 1 to kRacesRun of every meeting have been run and have results; the rest are still open.
constexpr int kRacesRun = 8;

// The meetings in account-file order (A, B, C): venue code, meeting number of the year, and how many of
// the next day's last races are on advance sale (in the advance files D, E, F).
struct Meeting {
    int venue;
    int kaiJi;
    int advanceRaces;
};
constexpr std::array<Meeting, kMeetings> kMeetingList{{{6, 5, 4}, {9, 5, 3}, {7, 4, 2}}};
constexpr int kHiJi = 1; // day 1 of every meeting; the advance sale is day 2

// A race of the day by meeting position (1-based, A = 1) and race number.
struct RaceRef {
    int meeting;
    int race;
};
// The result only in the per-bet-type payout files (no result file in the client folder).
constexpr RaceRef kPayoutFilesOnly{2, 7};
// The result only in the download folder "VQDOWNLOAD/<sale date>/"; the payout files do not carry it yet.
constexpr RaceRef kDownloadOnly{1, 8};
// The result file is named "PR-" instead of "KS-".
constexpr RaceRef kPrFile{3, 5};
// The first two horses finished together.
constexpr RaceRef kDeadHeat{3, 4};
// A horse was scratched after sale began; its bets are refunded.
constexpr RaceRef kRefund{2, 2};
constexpr int kRefundHorse = 4;
// A trio paying 10,000 yen or more per 100 yen, hit by a ticket of the day.
constexpr RaceRef kLongShot{1, 6};

// The result file that settles the first open race, 中山 9R: the 1,000 yen on 7 wins, paying 2.8 times (a
// hit of 2,800 yen).
ResultFiles::ResultFile openRaceResult();

// The folder holding the program file, the file a rerun recognises as one of ours.
constexpr char kProgramText[] = "sample client\r\n";

} // namespace SampleDay

// Creates the folder when missing and marks it as a sample folder (its program file is ours). False with a
// reason in `error` when it cannot be created or holds a betting client's real program.
bool claimSampleFolder(const QString& folder, QString* error = nullptr);

// Writes the whole day into the folder, creating it when missing. An existing folder is only written
// over when it is a sample folder itself (its program file is ours, or it has none): a betting client's
// real folder is refused. The profit book of an earlier sample is replaced. False with a reason in
// `error` when something cannot be written.
bool writeSampleDay(const QString& folder, QString* error = nullptr);

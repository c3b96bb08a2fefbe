#pragma once

#include <QString>

// A heavy sale day for measuring: three meetings of twelve races, 900 tickets (mostly boxes of ten and
// wheels over the whole field, some bought the day before), about 63,000 bet lines, and a result file
// with refunds for every race. The same bytes on every run.
namespace HeavyDay {

inline QString saleDate() {
    return QStringLiteral("20260405");
}
inline QString previousDate() {
    return QStringLiteral("20260404");
}

constexpr int kVenues[3] = {5, 6, 9};
constexpr int kYear = 2026;
constexpr int kKaiJi = 2;
constexpr int kHiJi = 8;
constexpr int kRacesPerDay = 12;
constexpr int kTicketsPerRace = 25;
constexpr int kTickets = 3 * kRacesPerDay * kTicketsPerRace;

// Writes the day into the folder (created when missing; a betting client's own folder is refused, as for
// the sample day). False with a reason in `error` when something cannot be written.
bool write(const QString& folder, QString* error = nullptr);

} // namespace HeavyDay

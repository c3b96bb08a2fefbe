#pragma once

#include <QString>

// Heavy sale days for measuring, the same bytes on every run. Both have three meetings of twelve races.
// - Mixed: 900 tickets (mostly boxes of ten and wheels over the whole field, some bought the day
//   before), about 63,000 bet lines, and a result file with refunds for every race.
// - Boxes: 1,440 tickets, fifteen trio boxes of ten and 25 win bets a race, 65,700 bet lines; the first
//   eight races of each meeting have their result (10,872 result lines), the rest are still open.
namespace HeavyDay {

enum class Shape { Mixed, Boxes };

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
bool write(const QString& folder, QString* error = nullptr, Shape shape = Shape::Mixed);

} // namespace HeavyDay

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

class RaceOdds;

// The race line of the win/place/bracket odds file, field by field and as one line of text.
struct RaceHeader {
    QString Kaisai;
    QString NenJi;
    QString KaiJi;
    QString HiJi;
    qint16 RaceNum = 0;
    QString TimeFlg;
    QString HH;
    QString MM;
    QString RaceName1;
    QString RaceName2;
    qint16 Tosu = 0;
    qint16 Keshi = 0;
    QString Line; // venue, meeting, day, race, names, post time, runners and scratchings
};

// One runner of the win/place table.
struct RunnerRow {
    int Number = 0;
    qint16 Bracket = 0;
    QString Win;
    QString PlaceLo;
    QString PlaceHi;
    QString Place; // "lo-hi"; empty for a runner without win odds, whose place bounds mean nothing
};

// The keys of the tables, which the reports use as names too.
namespace OddsKey {
inline constexpr QStringView Bracket = u"bracket";
inline constexpr QStringView Quinella = u"quinella";
inline constexpr QStringView Wide = u"wide"; // lower bound
inline constexpr QStringView WideMax = u"wideMax";
inline constexpr QStringView Exacta = u"exacta";
inline constexpr QStringView Trio = u"trio";
// Every table a race can have, in the order they are listed.
inline constexpr std::array<QStringView, 6> All = {Bracket, Quinella, Wide, WideMax, Exacta, Trio};
} // namespace OddsKey

// Cells[a - 1][b - 1] holds the odds of the pair (a, b): first number down, second across.
using OddsGrid = QList<QStringList>;

// One combination table of the race.
struct OddsTable {
    QString Key;   // one of OddsKey::All
    QString Title; // the heading shown above the table
    qsizetype Size = 0;
    // An unordered bet holds the same odds in (a, b) and (b, a): only the cells with a <= b are shown.
    bool UpperOnly = false;
    OddsGrid Cells;         // Size x Size; empty for the trio
    QList<OddsGrid> Slices; // trio only: the slice of every first runner 1..Size
};

// Everything shown about the odds of one opened race.
struct RaceTables {
    bool Ok = false; // what opening the race returned
    qint16 EntryTosu = 0;
    bool ExistZO = false;
    bool ExistUO = false;
    bool ExistSO = false;
    bool ExistYO = false;
    std::array<qint16, 18> Waku{}; // bracket of horse 1..18; all 0 without a race
    // None without the win/place/bracket odds; then there are no runners and no tables either.
    std::optional<RaceHeader> Header;
    QList<RunnerRow> Runners;
    QList<OddsTable> Tables; // only those the race has, in the order of OddsKey::All

    // The table of that key, or nullptr when the race has none.
    const OddsTable* Find(QStringView key) const;
};

// `factory` may be null (no race opened); `ok` is what opening it returned.
RaceTables BuildRaceTables(const RaceOdds* factory, bool ok);

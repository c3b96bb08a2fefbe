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
    QString kaisai;
    QString nenJi;
    QString kaiJi;
    QString hiJi;
    qint16 raceNum = 0;
    QString timeFlg;
    QString hh;
    QString mm;
    QString raceName1;
    QString raceName2;
    qint16 tosu = 0;
    qint16 keshi = 0;
    QString line; // venue, meeting, day, race, names, post time, runners and scratchings
};

// One runner of the win/place table.
struct RunnerRow {
    int number = 0;
    qint16 bracket = 0;
    QString win;
    QString placeLo;
    QString placeHi;
    QString place; // "lo-hi"; empty for a runner without win odds, whose place bounds mean nothing
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
    QString key;   // one of OddsKey::All
    QString title; // the heading shown above the table
    qsizetype size = 0;
    // An unordered bet holds the same odds in (a, b) and (b, a): only the cells with a <= b are shown.
    bool upperOnly = false;
    OddsGrid cells;         // Size x Size; empty for the trio
    QList<OddsGrid> slices; // trio only: the slice of every first runner 1..Size
};

// Everything shown about the odds of one opened race.
struct RaceTables {
    bool ok = false; // what opening the race returned
    qint16 entryTosu = 0;
    bool existZo = false;
    bool existUo = false;
    bool existSo = false;
    bool existYo = false;
    std::array<qint16, 18> waku{}; // bracket of horse 1..18; all 0 without a race
    // None without the win/place/bracket odds; then there are no runners and no tables either.
    std::optional<RaceHeader> header;
    QList<RunnerRow> runners;
    QList<OddsTable> tables; // only those the race has, in the order of OddsKey::All

    // The table of that key, or nullptr when the race has none.
    const OddsTable* find(QStringView key) const;
};

// `factory` may be null (no race opened); `ok` is what opening it returned.
RaceTables buildRaceTables(const RaceOdds* factory, bool ok);

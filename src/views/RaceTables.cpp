#include "RaceTables.h"

#include "odds/OddsList.h"
#include "odds/OddsMatrix.h"
#include "odds/WinPlaceOddsReader.h"
#include "patdata/RaceOdds.h"

namespace {
RaceHeader header(const WinPlaceOddsReader& zo) {
    RaceHeader h;
    h.kaisai = zo.kaisai();
    h.nenJi = zo.nenJi();
    h.kaiJi = zo.kaiJi();
    h.hiJi = zo.hiJi();
    h.raceNum = zo.raceNum();
    h.timeFlg = zo.timeFlg();
    h.hh = zo.hh();
    h.mm = zo.mm();
    h.raceName1 = zo.raceName1();
    h.raceName2 = zo.raceName2();
    h.tosu = zo.tosu();
    h.keshi = zo.keshi();
    // Put together piece by piece: a race name may hold a "%" followed by digits, which a chain of arg()
    // calls would take for a place of its own.
    h.line = zo.kaisai() + QLatin1Char(' ') + zo.kaiJi() + QStringLiteral("回 ") + zo.hiJi() + QStringLiteral("日 ") +
             QString::number(zo.raceNum()) + QStringLiteral("R  ") + zo.raceName1() + QLatin1Char(' ') +
             zo.raceName2() + QStringLiteral("  ") + zo.hh() + QLatin1Char(':') + zo.mm() + QStringLiteral("  ") +
             QString::number(zo.tosu()) + QStringLiteral("頭 (取消 ") + QString::number(zo.keshi()) + QLatin1Char(')');
    return h;
}

QList<RunnerRow> runners(const RaceOdds& f, qint16 tosu) {
    QList<RunnerRow> rows;
    for (int n = 1; n <= tosu; ++n) {
        RunnerRow r;
        r.number = n;
        r.bracket = f.wakuNum(n);
        r.win = f.winOdds()->odds(n);
        r.placeLo = f.placeOdds()->odds(n);
        r.placeHi = f.placeMaxOdds()->odds(n);
        if (!r.win.isEmpty()) {
            r.place = r.placeLo + QLatin1Char('-') + r.placeHi;
        }
        rows.append(r);
    }
    return rows;
}

OddsGrid grid(const OddsMatrix& table) {
    OddsGrid rows;
    for (int a = 1; a <= table.tosu(); ++a) {
        QStringList row;
        for (int b = 1; b <= table.tosu(); ++b) {
            row << table.odds(a, b);
        }
        rows.append(row);
    }
    return rows;
}

OddsTable pairs(QStringView key, const QString& title, const OddsMatrix& table, bool upperOnly) {
    OddsTable t;
    t.key = key.toString();
    t.title = title;
    t.size = table.tosu();
    t.upperOnly = upperOnly;
    t.cells = grid(table);
    return t;
}

QList<OddsTable> tables(const RaceOdds& f) {
    QList<OddsTable> tables;
    tables.append(pairs(OddsKey::Bracket, QStringLiteral("枠連"), *f.bracketOdds(), true));
    if (f.existUo()) {
        // Without quinella sale the table holds the bracket odds of the representative horses; it comes
        // with no wide odds, which only a real quinella file carries.
        const bool derived = f.quinellaFromBrackets();
        tables.append(pairs(OddsKey::Quinella, derived ? QStringLiteral("馬連 (枠連より)") : QStringLiteral("馬連"),
                            *f.quinellaOdds(), true));
        if (!derived) {
            tables.append(pairs(OddsKey::Wide, QStringLiteral("ワイド (下限)"), *f.wideOdds(), true));
            tables.append(pairs(OddsKey::WideMax, QStringLiteral("ワイド (上限)"), *f.wideMaxOdds(), true));
        }
    }
    if (f.existSo()) {
        tables.append(pairs(OddsKey::Exacta, QStringLiteral("馬単 (1着 縦, 2着 横)"), *f.exactaOdds(), false));
    }
    if (f.existYo()) {
        OddsTable trio;
        trio.key = OddsKey::Trio.toString();
        trio.size = f.trioCount();
        trio.title = QStringLiteral("３連複: %1 頭分の表").arg(trio.size);
        trio.upperOnly = true;
        for (int n = 1; n <= trio.size; ++n) {
            trio.slices.append(grid(*f.trioOdds(n)));
        }
        tables.append(trio);
    }
    return tables;
}
} // namespace

const OddsTable* RaceTables::find(QStringView key) const {
    for (const OddsTable& t : tables) {
        if (t.key == key) {
            return &t;
        }
    }
    return nullptr;
}

RaceTables buildRaceTables(const RaceOdds* f, bool ok) {
    RaceTables v;
    v.ok = ok;
    if (!f) {
        return v;
    }
    v.entryTosu = f->entryTosu();
    v.existZo = f->existZo();
    v.existUo = f->existUo();
    v.existSo = f->existSo();
    v.existYo = f->existYo();
    for (int h = 1; h <= 18; ++h) {
        v.waku[static_cast<size_t>(h - 1)] = f->wakuNum(h);
    }
    // Every other table comes after the win/place/bracket file: without it there is nothing to show.
    if (const WinPlaceOddsReader* zo = f->readerZo()) {
        v.header = header(*zo);
        v.runners = runners(*f, zo->tosu());
        v.tables = tables(*f);
    }
    return v;
}

#include "RaceTables.h"

#include "odds/OddsList.h"
#include "odds/OddsMatrix.h"
#include "odds/WinPlaceOddsReader.h"
#include "patdata/RaceOdds.h"

namespace {
RaceHeader Header(const WinPlaceOddsReader& zo) {
    RaceHeader h;
    h.Kaisai = zo.Kaisai();
    h.NenJi = zo.NenJi();
    h.KaiJi = zo.KaiJi();
    h.HiJi = zo.HiJi();
    h.RaceNum = zo.RaceNum();
    h.TimeFlg = zo.TimeFlg();
    h.HH = zo.HH();
    h.MM = zo.MM();
    h.RaceName1 = zo.RaceName1();
    h.RaceName2 = zo.RaceName2();
    h.Tosu = zo.Tosu();
    h.Keshi = zo.Keshi();
    // Put together piece by piece: a race name may hold a "%" followed by digits, which a chain of arg()
    // calls would take for a place of its own.
    h.Line = zo.Kaisai() + QLatin1Char(' ') + zo.KaiJi() + QStringLiteral("回 ") + zo.HiJi() + QStringLiteral("日 ") +
             QString::number(zo.RaceNum()) + QStringLiteral("R  ") + zo.RaceName1() + QLatin1Char(' ') +
             zo.RaceName2() + QStringLiteral("  ") + zo.HH() + QLatin1Char(':') + zo.MM() + QStringLiteral("  ") +
             QString::number(zo.Tosu()) + QStringLiteral("頭 (取消 ") + QString::number(zo.Keshi()) + QLatin1Char(')');
    return h;
}

QList<RunnerRow> Runners(const RaceOdds& f, qint16 tosu) {
    QList<RunnerRow> rows;
    for (int n = 1; n <= tosu; ++n) {
        RunnerRow r;
        r.Number = n;
        r.Bracket = f.WakuNum(n);
        r.Win = f.objOddsWin()->Odds(n);
        r.PlaceLo = f.objOddsPlace()->Odds(n);
        r.PlaceHi = f.objOddsPlaceMax()->Odds(n);
        if (!r.Win.isEmpty()) {
            r.Place = r.PlaceLo + QLatin1Char('-') + r.PlaceHi;
        }
        rows.append(r);
    }
    return rows;
}

OddsGrid Grid(const OddsMatrix& table) {
    OddsGrid rows;
    for (int a = 1; a <= table.Tosu(); ++a) {
        QStringList row;
        for (int b = 1; b <= table.Tosu(); ++b) {
            row << table.Odds(a, b);
        }
        rows.append(row);
    }
    return rows;
}

OddsTable Pairs(QStringView key, const QString& title, const OddsMatrix& table, bool upperOnly) {
    OddsTable t;
    t.Key = key.toString();
    t.Title = title;
    t.Size = table.Tosu();
    t.UpperOnly = upperOnly;
    t.Cells = Grid(table);
    return t;
}

QList<OddsTable> Tables(const RaceOdds& f) {
    QList<OddsTable> tables;
    tables.append(Pairs(OddsKey::Bracket, QStringLiteral("枠連"), *f.objOddsBracket(), true));
    if (f.ExistUO()) {
        // Without quinella sale the table holds the bracket odds of the representative horses; it comes
        // with no wide odds, which only a real quinella file carries.
        const bool derived = f.QuinellaFromBrackets();
        tables.append(Pairs(OddsKey::Quinella, derived ? QStringLiteral("馬連 (枠連より)") : QStringLiteral("馬連"),
                            *f.objOddsQuinella(), true));
        if (!derived) {
            tables.append(Pairs(OddsKey::Wide, QStringLiteral("ワイド (下限)"), *f.objOddsWide(), true));
            tables.append(Pairs(OddsKey::WideMax, QStringLiteral("ワイド (上限)"), *f.objOddsWideMax(), true));
        }
    }
    if (f.ExistSO()) {
        tables.append(Pairs(OddsKey::Exacta, QStringLiteral("馬単 (1着 縦, 2着 横)"), *f.objOddsExacta(), false));
    }
    if (f.ExistYO()) {
        OddsTable trio;
        trio.Key = OddsKey::Trio.toString();
        trio.Size = f.TrioCount();
        trio.Title = QStringLiteral("３連複: %1 頭分の表").arg(trio.Size);
        trio.UpperOnly = true;
        for (int n = 1; n <= trio.Size; ++n) {
            trio.Slices.append(Grid(*f.objOddsTrio(n)));
        }
        tables.append(trio);
    }
    return tables;
}
} // namespace

const OddsTable* RaceTables::Find(QStringView key) const {
    for (const OddsTable& t : Tables) {
        if (t.Key == key) {
            return &t;
        }
    }
    return nullptr;
}

RaceTables BuildRaceTables(const RaceOdds* f, bool ok) {
    RaceTables v;
    v.Ok = ok;
    if (!f) {
        return v;
    }
    v.EntryTosu = f->EntryTosu();
    v.ExistZO = f->ExistZO();
    v.ExistUO = f->ExistUO();
    v.ExistSO = f->ExistSO();
    v.ExistYO = f->ExistYO();
    for (int h = 1; h <= 18; ++h) {
        v.Waku[static_cast<size_t>(h - 1)] = f->WakuNum(h);
    }
    // Every other table comes after the win/place/bracket file: without it there is nothing to show.
    if (const WinPlaceOddsReader* zo = f->ReaderZO()) {
        v.Header = Header(*zo);
        v.Runners = Runners(*f, zo->Tosu());
        v.Tables = Tables(*f);
    }
    return v;
}

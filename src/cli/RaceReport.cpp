#include "RaceReport.h"

#include "Json.h"
#include "odds/clsControlZO.h"
#include "odds/clsOdds1.h"
#include "odds/clsOdds2.h"
#include "patdata/clsFactory.h"

namespace {
QStringList Column(const clsOdds1& table) {
    QStringList cells;
    for (int n = 1; n <= table.Tosu(); ++n) {
        cells << table.Odds(n);
    }
    return cells;
}

void Grid(JsonWriter& j, const clsOdds2& table) {
    j.BeginArray();
    for (int a = 1; a <= table.Tosu(); ++a) {
        QStringList row;
        for (int b = 1; b <= table.Tosu(); ++b) {
            row << table.Odds(a, b);
        }
        j.Strings(row);
    }
    j.EndArray();
}

void Header(JsonWriter& j, const clsControlZO& zo) {
    j.BeginObject();
    j.Key(QStringLiteral("kaisai")).Value(zo.Kaisai());
    j.Key(QStringLiteral("nenji")).Value(zo.NenJi());
    j.Key(QStringLiteral("kaiji")).Value(zo.KaiJi());
    j.Key(QStringLiteral("hiji")).Value(zo.HiJi());
    j.Key(QStringLiteral("raceNum")).Value(qint64(zo.RaceNum()));
    j.Key(QStringLiteral("timeFlg")).Value(zo.TimeFlg());
    j.Key(QStringLiteral("hh")).Value(zo.HH());
    j.Key(QStringLiteral("mm")).Value(zo.MM());
    j.Key(QStringLiteral("raceName1")).Value(zo.RaceName1());
    j.Key(QStringLiteral("raceName2")).Value(zo.RaceName2());
    j.Key(QStringLiteral("tosu")).Value(qint64(zo.Tosu()));
    j.Key(QStringLiteral("keshi")).Value(qint64(zo.Keshi()));
    j.EndObject();
}

// A quinella table derived from bracket odds has no wide tables beside it.
bool HasWide(const clsFactory& f) {
    return f.ExistUO() && !f.QuinellaFromBrackets();
}
} // namespace

QByteArray RaceJson(const clsFactory* f, bool ok) {
    JsonWriter j;
    j.BeginObject();
    j.Key(QStringLiteral("ok")).Value(ok);
    j.Key(QStringLiteral("entryTosu")).Value(qint64(f ? f->EntryTosu() : 0));
    j.Key(QStringLiteral("exist")).BeginObject();
    j.Key(QStringLiteral("zo")).Value(f && f->ExistZO());
    j.Key(QStringLiteral("uo")).Value(f && f->ExistUO());
    j.Key(QStringLiteral("so")).Value(f && f->ExistSO());
    j.Key(QStringLiteral("yo")).Value(f && f->ExistYO());
    j.EndObject();
    j.Key(QStringLiteral("waku")).BeginArray();
    for (int h = 1; h <= 18; ++h) {
        j.Value(qint64(f ? f->WakuNum(h) : 0));
    }
    j.EndArray();
    j.Key(QStringLiteral("header"));
    if (f && f->ReaderZO()) {
        Header(j, *f->ReaderZO());
    } else {
        j.Null();
    }

    const bool zo = f && f->ExistZO();
    const bool wide = f && HasWide(*f);
    j.Key(QStringLiteral("odds")).BeginObject();
    j.Key(QStringLiteral("win"));
    zo ? j.Strings(Column(*f->objOddsWin())) : j.Null();
    j.Key(QStringLiteral("place"));
    zo ? j.Strings(Column(*f->objOddsPlace())) : j.Null();
    j.Key(QStringLiteral("placeMax"));
    zo ? j.Strings(Column(*f->objOddsPlaceMax())) : j.Null();
    j.Key(QStringLiteral("bracket"));
    zo ? Grid(j, *f->objOddsBracket()) : void(j.Null());
    j.Key(QStringLiteral("quinella"));
    f && f->ExistUO() ? Grid(j, *f->objOddsQuinella()) : void(j.Null());
    j.Key(QStringLiteral("wide"));
    wide ? Grid(j, *f->objOddsWide()) : void(j.Null());
    j.Key(QStringLiteral("wideMax"));
    wide ? Grid(j, *f->objOddsWideMax()) : void(j.Null());
    j.Key(QStringLiteral("exacta"));
    f && f->ExistSO() ? Grid(j, *f->objOddsExacta()) : void(j.Null());
    j.Key(QStringLiteral("trio"));
    if (f && f->ExistYO()) {
        j.BeginArray();
        for (int n = 1; n <= f->TrioCount(); ++n) {
            Grid(j, *f->objOddsTrio(n));
        }
        j.EndArray();
    } else {
        j.Null();
    }
    j.EndObject();
    j.EndObject();
    return j.ToUtf8() + '\n';
}

namespace {
// One pair table as rows of fixed-width cells, first numbers down, second numbers across.
QString PairTable(const QString& title, const clsOdds2& table, bool upperOnly) {
    QString t = title + QLatin1Char('\n') + QStringLiteral("     ");
    for (int b = 1; b <= table.Tosu(); ++b) {
        t += QStringLiteral("%1").arg(b, 7);
    }
    t += QLatin1Char('\n');
    for (int a = 1; a <= table.Tosu(); ++a) {
        t += QStringLiteral("%1  ").arg(a, 3);
        for (int b = 1; b <= table.Tosu(); ++b) {
            t += QStringLiteral("%1").arg(upperOnly && b < a ? QString() : table.Odds(a, b), 7);
        }
        t += QLatin1Char('\n');
    }
    return t;
}
} // namespace

QString RaceText(const clsFactory* f, bool ok) {
    QString t;
    if (!f || !f->ExistZO()) {
        t += ok ? QString() : QStringLiteral("no odds for this race\n");
        return t;
    }
    const clsControlZO& zo = *f->ReaderZO();
    t += QStringLiteral("%1 %2回 %3日 %4R  %5 %6  %7:%8  %9頭 (取消 %10)\n")
             .arg(zo.Kaisai(), zo.KaiJi(), zo.HiJi())
             .arg(zo.RaceNum())
             .arg(zo.RaceName1(), zo.RaceName2(), zo.HH(), zo.MM())
             .arg(zo.Tosu())
             .arg(zo.Keshi());
    t += QStringLiteral("\n馬番 枠    単勝      複勝\n");
    for (int n = 1; n <= zo.Tosu(); ++n) {
        const QString win = f->objOddsWin()->Odds(n);
        const QString place = win.isEmpty()
                                  ? QString()
                                  : f->objOddsPlace()->Odds(n) + QStringLiteral("-") + f->objOddsPlaceMax()->Odds(n);
        t += QStringLiteral("%1 %2 %3 %4\n").arg(n, 4).arg(f->WakuNum(n), 3).arg(win, 7).arg(place, 13);
    }
    t += QLatin1Char('\n') + PairTable(QStringLiteral("枠連"), *f->objOddsBracket(), true);
    if (f->ExistUO()) {
        t += QLatin1Char('\n') +
             PairTable(f->QuinellaFromBrackets() ? QStringLiteral("馬連 (枠連より)") : QStringLiteral("馬連"),
                       *f->objOddsQuinella(), true);
        if (HasWide(*f)) {
            t += QLatin1Char('\n') + PairTable(QStringLiteral("ワイド (下限)"), *f->objOddsWide(), true);
        }
    }
    if (f->ExistSO()) {
        t += QLatin1Char('\n') + PairTable(QStringLiteral("馬単 (1着 縦, 2着 横)"), *f->objOddsExacta(), false);
    }
    if (f->ExistYO()) {
        t += QStringLiteral("\n３連複: %1 頭分の表 (--json で全件)\n").arg(f->TrioCount());
    }
    return t;
}

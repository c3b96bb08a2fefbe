#include "RaceReport.h"

#include "Json.h"
#include "control/DayController.h"
#include "patdata/RaceOdds.h"
#include "views/RaceDetail.h"
#include "views/RaceResults.h"
#include "views/RaceTables.h"
#include "views/WarningText.h"

namespace {
void Grid(JsonWriter& j, const OddsGrid& grid) {
    j.BeginArray();
    for (const QStringList& row : grid) {
        j.Strings(row);
    }
    j.EndArray();
}

void Header(JsonWriter& j, const RaceHeader& h) {
    j.BeginObject();
    j.Key(QStringLiteral("kaisai")).Value(h.Kaisai);
    j.Key(QStringLiteral("nenji")).Value(h.NenJi);
    j.Key(QStringLiteral("kaiji")).Value(h.KaiJi);
    j.Key(QStringLiteral("hiji")).Value(h.HiJi);
    j.Key(QStringLiteral("raceNum")).Value(qint64(h.RaceNum));
    j.Key(QStringLiteral("timeFlg")).Value(h.TimeFlg);
    j.Key(QStringLiteral("hh")).Value(h.HH);
    j.Key(QStringLiteral("mm")).Value(h.MM);
    j.Key(QStringLiteral("raceName1")).Value(h.RaceName1);
    j.Key(QStringLiteral("raceName2")).Value(h.RaceName2);
    j.Key(QStringLiteral("tosu")).Value(qint64(h.Tosu));
    j.Key(QStringLiteral("keshi")).Value(qint64(h.Keshi));
    j.EndObject();
}

void Detail(JsonWriter& j, const std::optional<RaceDetail>& d) {
    if (!d) {
        j.Null();
        return;
    }
    j.BeginObject();
    j.Key(QStringLiteral("caption")).Value(d->Caption);
    j.Key(QStringLiteral("text")).Value(d->Text);
    j.EndObject();
}

void Results(JsonWriter& j, const std::optional<RaceResults>& r) {
    if (!r) {
        j.Null();
        return;
    }
    j.BeginObject();
    j.Key(QStringLiteral("caption")).Value(r->Caption);
    j.Key(QStringLiteral("hit")).Value(r->Hit);
    j.Key(QStringLiteral("info")).Value(r->Info);
    j.Key(QStringLiteral("finishers")).BeginArray();
    for (const FinisherRow& f : r->Finishers) {
        j.BeginObject();
        j.Key(QStringLiteral("chaku")).Value(f.Chaku);
        j.Key(QStringLiteral("waku")).Value(f.Waku);
        WriteColour(j.Key(QStringLiteral("wakuBack")), f.WakuBack);
        WriteColour(j.Key(QStringLiteral("wakuFore")), f.WakuFore);
        j.Key(QStringLiteral("uma")).Value(f.Uma);
        j.Key(QStringLiteral("umaName")).Value(f.UmaName);
        j.Key(QStringLiteral("diff")).Value(f.Diff);
        j.EndObject();
    }
    j.EndArray();
    j.Key(QStringLiteral("rows")).BeginArray();
    for (const PayoutRow& row : r->Rows) {
        j.BeginObject();
        j.Key(QStringLiteral("label")).Value(row.Label);
        j.Key(QStringLiteral("text")).Value(row.Text);
        WriteColour(j.Key(QStringLiteral("back")), row.Back);
        j.EndObject();
    }
    j.EndArray();
    j.Key(QStringLiteral("henkanUma")).Value(r->HenkanUma);
    j.Key(QStringLiteral("henkanWaku")).Value(r->HenkanWaku);
    j.EndObject();
}

// One column of the runner rows, or null without the win/place/bracket odds.
void Column(JsonWriter& j, const RaceTables& v, QString RunnerRow::*field) {
    if (!v.Header) {
        j.Null();
        return;
    }
    QStringList cells;
    for (const RunnerRow& r : v.Runners) {
        cells << r.*field;
    }
    j.Strings(cells);
}
} // namespace

QByteArray RaceJson(const Race& race, const RaceOdds* f, bool ok) {
    const RaceTables v = BuildRaceTables(f, ok);
    JsonWriter j;
    j.BeginObject();
    j.Key(QStringLiteral("ok")).Value(v.Ok);
    j.Key(QStringLiteral("entryTosu")).Value(qint64(v.EntryTosu));
    j.Key(QStringLiteral("exist")).BeginObject();
    j.Key(QStringLiteral("zo")).Value(v.ExistZO);
    j.Key(QStringLiteral("uo")).Value(v.ExistUO);
    j.Key(QStringLiteral("so")).Value(v.ExistSO);
    j.Key(QStringLiteral("yo")).Value(v.ExistYO);
    j.EndObject();
    j.Key(QStringLiteral("waku")).BeginArray();
    for (const qint16 w : v.Waku) {
        j.Value(qint64(w));
    }
    j.EndArray();
    j.Key(QStringLiteral("header"));
    v.Header ? Header(j, *v.Header) : void(j.Null());

    j.Key(QStringLiteral("odds")).BeginObject();
    j.Key(QStringLiteral("win"));
    Column(j, v, &RunnerRow::Win);
    j.Key(QStringLiteral("place"));
    Column(j, v, &RunnerRow::PlaceLo);
    j.Key(QStringLiteral("placeMax"));
    Column(j, v, &RunnerRow::PlaceHi);
    // Every table has its member; one the race does not have is null.
    for (const QStringView key : OddsKey::All) {
        j.Key(key.toString());
        const OddsTable* t = v.Find(key);
        if (!t) {
            j.Null();
        } else if (key == OddsKey::Trio) {
            j.BeginArray();
            for (const OddsGrid& slice : t->Slices) {
                Grid(j, slice);
            }
            j.EndArray();
        } else {
            Grid(j, t->Cells);
        }
    }
    j.EndObject();
    Detail(j.Key(QStringLiteral("detail")), BuildRaceDetail(race, f));
    Results(j.Key(QStringLiteral("results")), BuildRaceResults(race, f, DayController::StandardWakuColors()));
    j.Key(QStringLiteral("warnings")).Strings(f ? WarningText::Lines(f->Warnings()) : QStringList());
    j.EndObject();
    return j.ToUtf8() + '\n';
}

namespace {
// One pair table as rows of fixed-width cells, first numbers down, second numbers across.
QString PairTable(const OddsTable& table) {
    QString t = table.Title + QLatin1Char('\n') + QStringLiteral("     ");
    for (int b = 1; b <= table.Size; ++b) {
        t += QStringLiteral("%1").arg(b, 7);
    }
    t += QLatin1Char('\n');
    for (int a = 1; a <= table.Size; ++a) {
        t += QStringLiteral("%1  ").arg(a, 3);
        for (int b = 1; b <= table.Size; ++b) {
            const QString cell = table.UpperOnly && b < a ? QString() : table.Cells[a - 1][b - 1];
            t += QStringLiteral("%1").arg(cell, 7);
        }
        t += QLatin1Char('\n');
    }
    return t;
}

// The odds part: the header line, the runners and the pair tables.
QString OddsText(const RaceOdds* f, bool ok) {
    const RaceTables v = BuildRaceTables(f, ok);
    QString t;
    if (!v.Header) {
        t += ok ? QString() : QStringLiteral("no odds for this race\n");
        return t;
    }
    t += v.Header->Line + QLatin1Char('\n');
    t += QStringLiteral("\n馬番 枠    単勝      複勝\n");
    for (const RunnerRow& r : v.Runners) {
        t += QStringLiteral("%1 %2 %3 %4\n").arg(r.Number, 4).arg(r.Bracket, 3).arg(r.Win, 7).arg(r.Place, 13);
    }
    for (const OddsTable& table : v.Tables) {
        if (table.Key == OddsKey::WideMax) {
            continue; // the wide table shows the lower bounds only, to keep the text short
        }
        if (table.Key == OddsKey::Trio) {
            // Eighteen grids would drown the rest; the JSON report has them all.
            t += QLatin1Char('\n') + table.Title + QStringLiteral(" (--json で全件)\n");
            continue;
        }
        t += QLatin1Char('\n') + PairTable(table);
    }
    return t;
}

QString DetailText(const RaceDetail& d) {
    QString text = d.Text;
    return d.Caption + QLatin1Char('\n') + text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
           QLatin1Char('\n');
}

QString ResultsText(const RaceResults& r) {
    QString t = r.Caption + QLatin1Char('\n');
    if (!r.Hit.isEmpty()) {
        t += r.Hit + QLatin1Char('\n');
    }
    t += r.Info + QLatin1Char('\n');
    for (const FinisherRow& f : r.Finishers) {
        if (f.Chaku.isEmpty()) {
            continue; // an empty slot is an empty row in the window too
        }
        t += QStringLiteral("%1着 %2枠 %3番%4  %5\n")
                 .arg(f.Chaku, 2)
                 .arg(f.Waku, 2)
                 .arg(f.Uma, 2)
                 .arg(f.UmaName, f.Diff);
    }
    // The labels are full-width: padding with the full-width space keeps the payout columns in line.
    for (const PayoutRow& row : r.Rows) {
        t += row.Label.leftJustified(3, QChar(0x3000)) + QLatin1Char(' ') + row.Text + QLatin1Char('\n');
    }
    t += QStringLiteral("返還馬番") + r.HenkanUma + QLatin1Char('\n');
    t += QStringLiteral("返還枠番") + r.HenkanWaku + QLatin1Char('\n');
    return t;
}
} // namespace

QString RaceText(const Race& race, const RaceOdds* f, bool ok) {
    QString t = OddsText(f, ok);
    const auto section = [&t](const QString& part) { t += (t.isEmpty() ? QString() : QStringLiteral("\n")) + part; };
    if (const auto d = BuildRaceDetail(race, f)) {
        section(DetailText(*d));
    }
    if (const auto r = BuildRaceResults(race, f, DayController::StandardWakuColors())) {
        section(ResultsText(*r));
    }
    return t;
}

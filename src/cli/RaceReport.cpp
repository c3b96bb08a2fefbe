#include "RaceReport.h"

#include "Json.h"
#include "control/DayController.h"
#include "patdata/RaceOdds.h"
#include "views/RaceDetail.h"
#include "views/RaceResults.h"
#include "views/RaceTables.h"
#include "views/WarningText.h"

namespace {
void grid(JsonWriter& j, const OddsGrid& grid) {
    j.beginArray();
    for (const QStringList& row : grid) {
        j.strings(row);
    }
    j.endArray();
}

void header(JsonWriter& j, const RaceHeader& h) {
    j.beginObject();
    j.key(QStringLiteral("kaisai")).value(h.kaisai);
    j.key(QStringLiteral("nenji")).value(h.nenJi);
    j.key(QStringLiteral("kaiji")).value(h.kaiJi);
    j.key(QStringLiteral("hiji")).value(h.hiJi);
    j.key(QStringLiteral("raceNum")).value(qint64(h.raceNum));
    j.key(QStringLiteral("timeFlg")).value(h.timeFlg);
    j.key(QStringLiteral("hh")).value(h.hh);
    j.key(QStringLiteral("mm")).value(h.mm);
    j.key(QStringLiteral("raceName1")).value(h.raceName1);
    j.key(QStringLiteral("raceName2")).value(h.raceName2);
    j.key(QStringLiteral("tosu")).value(qint64(h.tosu));
    j.key(QStringLiteral("keshi")).value(qint64(h.keshi));
    j.endObject();
}

void detail(JsonWriter& j, const std::optional<RaceDetail>& d) {
    if (!d) {
        j.null();
        return;
    }
    j.beginObject();
    j.key(QStringLiteral("caption")).value(d->caption);
    j.key(QStringLiteral("text")).value(d->text);
    j.endObject();
}

void results(JsonWriter& j, const std::optional<RaceResults>& r) {
    if (!r) {
        j.null();
        return;
    }
    j.beginObject();
    j.key(QStringLiteral("caption")).value(r->caption);
    j.key(QStringLiteral("hit")).value(r->hit);
    j.key(QStringLiteral("info")).value(r->info);
    j.key(QStringLiteral("finishers")).beginArray();
    for (const FinisherRow& f : r->finishers) {
        j.beginObject();
        j.key(QStringLiteral("chaku")).value(f.chaku);
        j.key(QStringLiteral("waku")).value(f.waku);
        writeColour(j.key(QStringLiteral("wakuBack")), f.wakuBack);
        writeColour(j.key(QStringLiteral("wakuFore")), f.wakuFore);
        j.key(QStringLiteral("uma")).value(f.uma);
        j.key(QStringLiteral("umaName")).value(f.umaName);
        j.key(QStringLiteral("diff")).value(f.diff);
        j.endObject();
    }
    j.endArray();
    j.key(QStringLiteral("rows")).beginArray();
    for (const PayoutRow& row : r->rows) {
        j.beginObject();
        j.key(QStringLiteral("label")).value(row.label);
        j.key(QStringLiteral("text")).value(row.text);
        writeColour(j.key(QStringLiteral("back")), row.back);
        j.endObject();
    }
    j.endArray();
    j.key(QStringLiteral("henkanUma")).value(r->henkanUma);
    j.key(QStringLiteral("henkanWaku")).value(r->henkanWaku);
    j.endObject();
}

// One column of the runner rows, or null without the win/place/bracket odds.
void column(JsonWriter& j, const RaceTables& v, QString RunnerRow::*field) {
    if (!v.header) {
        j.null();
        return;
    }
    QStringList cells;
    for (const RunnerRow& r : v.runners) {
        cells << r.*field;
    }
    j.strings(cells);
}
} // namespace

QByteArray raceJson(const Race& race, const RaceOdds* f, bool ok) {
    const RaceTables v = buildRaceTables(f, ok);
    JsonWriter j;
    j.beginObject();
    j.key(QStringLiteral("ok")).value(v.ok);
    j.key(QStringLiteral("entryTosu")).value(qint64(v.entryTosu));
    j.key(QStringLiteral("exist")).beginObject();
    j.key(QStringLiteral("zo")).value(v.existZo);
    j.key(QStringLiteral("uo")).value(v.existUo);
    j.key(QStringLiteral("so")).value(v.existSo);
    j.key(QStringLiteral("yo")).value(v.existYo);
    j.endObject();
    j.key(QStringLiteral("waku")).beginArray();
    for (const qint16 w : v.waku) {
        j.value(qint64(w));
    }
    j.endArray();
    j.key(QStringLiteral("header"));
    v.header ? header(j, *v.header) : void(j.null());

    j.key(QStringLiteral("odds")).beginObject();
    j.key(QStringLiteral("win"));
    column(j, v, &RunnerRow::win);
    j.key(QStringLiteral("place"));
    column(j, v, &RunnerRow::placeLo);
    j.key(QStringLiteral("placeMax"));
    column(j, v, &RunnerRow::placeHi);
    // Every table has its member; one the race does not have is null.
    for (const QStringView key : OddsKey::All) {
        j.key(key.toString());
        const OddsTable* t = v.find(key);
        if (!t) {
            j.null();
        } else if (key == OddsKey::Trio) {
            j.beginArray();
            for (const OddsGrid& slice : t->slices) {
                grid(j, slice);
            }
            j.endArray();
        } else {
            grid(j, t->cells);
        }
    }
    j.endObject();
    detail(j.key(QStringLiteral("detail")), buildRaceDetail(race, f));
    results(j.key(QStringLiteral("results")), buildRaceResults(race, f, DayController::standardWakuColors()));
    j.key(QStringLiteral("warnings")).strings(f ? WarningText::lines(f->warnings()) : QStringList());
    j.endObject();
    return j.toUtf8() + '\n';
}

namespace {
// One pair table as rows of fixed-width cells, first numbers down, second numbers across.
QString pairTable(const OddsTable& table) {
    QString t = table.title + QLatin1Char('\n') + QStringLiteral("     ");
    for (int b = 1; b <= table.size; ++b) {
        t += QStringLiteral("%1").arg(b, 7);
    }
    t += QLatin1Char('\n');
    for (int a = 1; a <= table.size; ++a) {
        t += QStringLiteral("%1  ").arg(a, 3);
        for (int b = 1; b <= table.size; ++b) {
            const QString cell = table.upperOnly && b < a ? QString() : table.cells[a - 1][b - 1];
            t += QStringLiteral("%1").arg(cell, 7);
        }
        t += QLatin1Char('\n');
    }
    return t;
}

// The odds part: the header line, the runners and the pair tables.
QString oddsText(const RaceOdds* f, bool ok) {
    const RaceTables v = buildRaceTables(f, ok);
    QString t;
    if (!v.header) {
        t += ok ? QString() : QStringLiteral("no odds for this race\n");
        return t;
    }
    t += v.header->line + QLatin1Char('\n');
    t += QStringLiteral("\n馬番 枠    単勝      複勝\n");
    for (const RunnerRow& r : v.runners) {
        t += QStringLiteral("%1 %2 %3 %4\n").arg(r.number, 4).arg(r.bracket, 3).arg(r.win, 7).arg(r.place, 13);
    }
    for (const OddsTable& table : v.tables) {
        if (table.key == OddsKey::WideMax) {
            continue; // the wide table shows the lower bounds only, to keep the text short
        }
        if (table.key == OddsKey::Trio) {
            // Eighteen grids would drown the rest; the JSON report has them all.
            t += QLatin1Char('\n') + table.title + QStringLiteral(" (--json で全件)\n");
            continue;
        }
        t += QLatin1Char('\n') + pairTable(table);
    }
    return t;
}

QString detailText(const RaceDetail& d) {
    QString text = d.text;
    return d.caption + QLatin1Char('\n') + text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
           QLatin1Char('\n');
}

QString resultsText(const RaceResults& r) {
    QString t = r.caption + QLatin1Char('\n');
    if (!r.hit.isEmpty()) {
        t += r.hit + QLatin1Char('\n');
    }
    t += r.info + QLatin1Char('\n');
    for (const FinisherRow& f : r.finishers) {
        if (f.chaku.isEmpty()) {
            continue; // an empty slot is an empty row in the window too
        }
        t += QStringLiteral("%1着 %2枠 %3番%4  %5\n")
                 .arg(f.chaku, 2)
                 .arg(f.waku, 2)
                 .arg(f.uma, 2)
                 .arg(f.umaName, f.diff);
    }
    // The labels are full-width: padding with the full-width space keeps the payout columns in line.
    for (const PayoutRow& row : r.rows) {
        t += row.label.leftJustified(3, QChar(0x3000)) + QLatin1Char(' ') + row.text + QLatin1Char('\n');
    }
    t += QStringLiteral("返還馬番") + r.henkanUma + QLatin1Char('\n');
    t += QStringLiteral("返還枠番") + r.henkanWaku + QLatin1Char('\n');
    return t;
}
} // namespace

QString raceText(const Race& race, const RaceOdds* f, bool ok) {
    QString t = oddsText(f, ok);
    const auto section = [&t](const QString& part) { t += (t.isEmpty() ? QString() : QStringLiteral("\n")) + part; };
    if (const auto d = buildRaceDetail(race, f)) {
        section(detailText(*d));
    }
    if (const auto r = buildRaceResults(race, f, DayController::standardWakuColors())) {
        section(resultsText(*r));
    }
    return t;
}

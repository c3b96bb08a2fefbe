#include "SummaryReport.h"

#include "Json.h"
#include "core/Formats.h"
#include "patdata/BetLogReader.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "results/RaceResultReader.h"
#include "views/MainDisplay.h"
#include "views/WarningText.h"

#include <algorithm>

namespace {
// Bet, ticket and result lines in their text form, written straight from the records (a heavy day has
// tens of thousands of them).
void line(JsonWriter& j, const BetLine& r) {
    BetRecords::writeText(r, j.plainStringOf(kLogTextLength));
}

void line(JsonWriter& j, const TicketLine& r) {
    BetRecords::writeText(r, j.plainStringOf(kOmitTextLength));
}

template <class Record>
void lines(JsonWriter& j, const std::vector<Record>& records) {
    j.beginArray();
    for (const Record& r : records) {
        line(j, r);
    }
    j.endArray();
}

void betLines(JsonWriter& j, const Race& race) {
    // Laid out some thousands at a time, and written out between.
    constexpr qsizetype kBatch = 2048;
    j.beginArray();
    for (qsizetype first = 1; first <= race.logCount(); first += kBatch) {
        const qsizetype count = std::min(kBatch, race.logCount() - first + 1);
        char* out = j.plainStringsOf(count, kLogTextLength);
        for (qsizetype i = first; i < first + count; ++i, out += kLogTextLength + 3) {
            race.writeLog(i, out);
        }
    }
    j.endArray();
}

void writeResult(JsonWriter& j, const RaceResultReader& k) {
    j.beginObject();
    j.key(QStringLiteral("lines")).beginArray();
    for (qsizetype i = 1; i <= k.kekkaCount(); ++i) {
        line(j, k.kekkaRecord(i));
    }
    j.endArray();
    j.key(QStringLiteral("weather")).value(k.weather());
    j.key(QStringLiteral("turf")).value(k.turf());
    j.key(QStringLiteral("dirt")).value(k.dirt());
    j.key(QStringLiteral("raceName1")).value(k.raceName1());
    j.key(QStringLiteral("raceName2")).value(k.raceName2());
    j.key(QStringLiteral("henkanUma")).value(k.henkanUmaNum());
    j.key(QStringLiteral("henkanWaku")).value(k.henkanWakuNum());
    j.key(QStringLiteral("finishers")).beginArray();
    for (int s = 1; s <= 5; ++s) {
        j.beginObject();
        j.key(QStringLiteral("chaku")).value(qint64(k.chaku(s)));
        j.key(QStringLiteral("num")).value(qint64(k.num(s)));
        j.key(QStringLiteral("umaName")).value(k.umaName(s));
        j.key(QStringLiteral("diff")).value(k.diff(s));
        j.key(QStringLiteral("waku")).value(qint64(k.wakuNum(s)));
        j.endObject();
    }
    j.endArray();
    j.endObject();
}

void writeRace(JsonWriter& j, const Race& race) {
    j.beginObject();
    j.key(QStringLiteral("raceNum")).value(qint64(race.raceNum()));
    j.key(QStringLiteral("sale")).value(qint64(race.sale()));
    j.key(QStringLiteral("kenshu")).value(qint64(race.kenshu()));
    j.key(QStringLiteral("fileId")).value(race.fileId());
    j.key(QStringLiteral("amtBuy")).value(qint64(race.amtBuy()));
    j.key(QStringLiteral("amtYesterday")).value(qint64(race.amtYesterday()));
    j.key(QStringLiteral("amtTomorrow")).value(qint64(race.amtTomorrow()));
    j.key(QStringLiteral("amtPay")).value(qint64(race.amtPay()));
    j.key(QStringLiteral("amtYet")).value(qint64(race.amtYet()));
    j.key(QStringLiteral("message")).value(race.message());
    betLines(j.key(QStringLiteral("bets")), race);
    lines(j.key(QStringLiteral("tickets")), race.omitRecords());
    j.key(QStringLiteral("result"));
    if (race.result()) {
        writeResult(j, *race.result());
    } else {
        j.null();
    }
    j.endObject();
}

qint64 betCount(const SaleDayReader& pat) {
    return pat.betLog() ? pat.betLog()->betCount() : 0;
}
} // namespace

void writeSummaryJson(FILE* stream, const SaleDayReader& pat, bool ok) {
    const MainDisplay d = buildMainDisplay(sumDayTotals(pat.meetings()), pat.saleDate(), pat.amtZan(), pat.warnings());
    JsonWriter j(stream);
    j.beginObject();
    j.key(QStringLiteral("ok")).value(ok);
    j.key(QStringLiteral("saleDate")).value(pat.saleDate());
    j.key(QStringLiteral("balance")).value(qint64(pat.amtZan()));
    j.key(QStringLiteral("betCount")).value(betCount(pat));

    j.key(QStringLiteral("display")).beginObject();
    j.key(QStringLiteral("date")).value(d.date);
    j.key(QStringLiteral("status")).value(d.status);
    j.key(QStringLiteral("bets")).value(d.bets);
    j.key(QStringLiteral("payouts")).value(d.payouts);
    j.key(QStringLiteral("profit")).value(d.profit);
    j.key(QStringLiteral("recovery")).value(d.recovery);
    j.key(QStringLiteral("balance")).value(d.balance);
    j.key(QStringLiteral("tooltip")).value(d.tooltip);
    j.endObject();

    j.key(QStringLiteral("totals")).beginObject();
    j.key(QStringLiteral("amtBuy")).value(qint64(d.amtBuy));
    j.key(QStringLiteral("amtPay")).value(qint64(d.amtPay));
    j.key(QStringLiteral("amtYet")).value(qint64(d.amtYet));
    j.key(QStringLiteral("amtBuyTomorrow")).value(qint64(d.amtBuyTomorrow));
    j.key(QStringLiteral("amtBuyYesterday")).value(qint64(d.amtBuyYesterday));
    j.key(QStringLiteral("logCount")).value(qint64(d.logCount));
    j.endObject();

    j.key(QStringLiteral("meetings")).beginArray();
    for (const auto& meeting : pat.meetings()) {
        j.beginObject();
        j.key(QStringLiteral("venueCode")).value(qint64(meeting->kaisaiNum()));
        j.key(QStringLiteral("venue")).value(meeting->kaisai());
        j.key(QStringLiteral("nendo")).value(meeting->nendo());
        j.key(QStringLiteral("kaiji")).value(meeting->kaiJi());
        j.key(QStringLiteral("hiji")).value(meeting->hiJi());
        j.key(QStringLiteral("curDate")).value(meeting->saleDate());
        j.key(QStringLiteral("races")).beginArray();
        for (const auto& race : meeting->races()) {
            writeRace(j, *race);
        }
        j.endArray();
        j.endObject();
    }
    j.endArray();
    j.key(QStringLiteral("warnings")).strings(WarningText::lines(pat.warnings()));
    j.endObject();
    j.flush();
    std::fputc('\n', stream);
    std::fflush(stream);
}

QString summaryText(const SaleDayReader& pat, bool ok) {
    const MainDisplay d = buildMainDisplay(sumDayTotals(pat.meetings()), pat.saleDate(), pat.amtZan(), pat.warnings());
    QString t;
    const auto line = [&t](const QString& s) { t += s + QLatin1Char('\n'); };
    line(d.date);
    if (!d.status.isEmpty()) {
        line(d.status);
    }
    line(QStringLiteral("投票 %1 円").arg(d.bets, 12));
    line(QStringLiteral("払戻 %1 円").arg(d.payouts, 12));
    line(QStringLiteral("損益 %1 円").arg(d.profit, 12));
    line(QStringLiteral("回収 %1 ％").arg(d.recovery, 12));
    line(QStringLiteral("残高 %1 円").arg(d.balance, 12));
    if (!d.tooltip.isEmpty()) {
        line(d.tooltip);
    }
    line(QStringLiteral("account balance %1, bet lines of the day %2, read %3")
             .arg(pat.amtZan())
             .arg(betCount(pat))
             .arg(!pat.warnings().empty() ? QStringLiteral("incomplete (see the files below)")
                  : ok                    ? QStringLiteral("complete")
                                          : QStringLiteral("without bets")));
    for (const auto& meeting : pat.meetings()) {
        line(QString());
        line(QStringLiteral("%1 %2回 %3日 (%4)")
                 .arg(meeting->kaisai(), Fmt::hash0(meeting->kaiJi()), Fmt::hash0(meeting->hiJi()), meeting->nendo()));
        for (const auto& race : meeting->races()) {
            if (race->kenshu() == 0 && race->logCount() == 0) {
                continue;
            }
            QString row = QStringLiteral("  %1%2R %3  bet %4  paid %5  open %6")
                              .arg(race->sale() == 2 ? QStringLiteral("前日 ") : QString())
                              .arg(race->raceNum(), 2)
                              .arg(race->fileId())
                              .arg(qint64(race->amtBuy()) + race->amtYesterday() + race->amtTomorrow(), 8)
                              .arg(race->amtPay(), 8)
                              .arg(race->amtYet(), 8);
            if (race->result()) {
                row += QStringLiteral("  result");
            }
            if (!race->message().isEmpty()) {
                row += QStringLiteral("  ") + race->message();
            }
            line(row);
        }
    }
    if (!pat.warnings().empty()) {
        line(QString());
        for (const QString& warning : WarningText::lines(pat.warnings())) {
            line(warning);
        }
    }
    return t;
}

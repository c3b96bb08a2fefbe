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

namespace {
// Bet, ticket and result lines in their text form, written straight from the records (a heavy day has
// tens of thousands of them).
template <class Record>
void Line(JsonWriter& j, const Record& r) {
    char text[kOmitTextLength];
    j.PlainString(QByteArrayView(text, BetRecords::WriteText(r, text) - text));
}

template <class Record>
void Lines(JsonWriter& j, const std::vector<Record>& records) {
    j.BeginArray();
    for (const Record& r : records) {
        Line(j, r);
    }
    j.EndArray();
}

void BetLines(JsonWriter& j, const Race& race) {
    j.BeginArray();
    for (qsizetype i = 1; i <= race.LogCount(); ++i) {
        Line(j, race.LogRecord(i));
    }
    j.EndArray();
}

void WriteResult(JsonWriter& j, const RaceResultReader& k) {
    j.BeginObject();
    j.Key(QStringLiteral("lines")).BeginArray();
    for (qsizetype i = 1; i <= k.KekkaCount(); ++i) {
        Line(j, k.KekkaRecord(i));
    }
    j.EndArray();
    j.Key(QStringLiteral("weather")).Value(k.Weather());
    j.Key(QStringLiteral("turf")).Value(k.Turf());
    j.Key(QStringLiteral("dirt")).Value(k.Dirt());
    j.Key(QStringLiteral("raceName1")).Value(k.RaceName1());
    j.Key(QStringLiteral("raceName2")).Value(k.RaceName2());
    j.Key(QStringLiteral("henkanUma")).Value(k.HenkanUmaNum());
    j.Key(QStringLiteral("henkanWaku")).Value(k.HenkanWakuNum());
    j.Key(QStringLiteral("finishers")).BeginArray();
    for (int s = 1; s <= 5; ++s) {
        j.BeginObject();
        j.Key(QStringLiteral("chaku")).Value(qint64(k.Chaku(s)));
        j.Key(QStringLiteral("num")).Value(qint64(k.Num(s)));
        j.Key(QStringLiteral("umaName")).Value(k.UmaName(s));
        j.Key(QStringLiteral("diff")).Value(k.Diff(s));
        j.Key(QStringLiteral("waku")).Value(qint64(k.WakuNum(s)));
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

void WriteRace(JsonWriter& j, const Race& race) {
    j.BeginObject();
    j.Key(QStringLiteral("raceNum")).Value(qint64(race.RaceNum()));
    j.Key(QStringLiteral("sale")).Value(qint64(race.Sale()));
    j.Key(QStringLiteral("kenshu")).Value(qint64(race.Kenshu()));
    j.Key(QStringLiteral("fileId")).Value(race.FileID());
    j.Key(QStringLiteral("amtBuy")).Value(qint64(race.AmtBuy()));
    j.Key(QStringLiteral("amtYesterday")).Value(qint64(race.AmtYesterday()));
    j.Key(QStringLiteral("amtTomorrow")).Value(qint64(race.AmtTomorrow()));
    j.Key(QStringLiteral("amtPay")).Value(qint64(race.AmtPay()));
    j.Key(QStringLiteral("amtYet")).Value(qint64(race.AmtYet()));
    j.Key(QStringLiteral("message")).Value(race.strMessage());
    BetLines(j.Key(QStringLiteral("bets")), race);
    Lines(j.Key(QStringLiteral("tickets")), race.OmitRecords());
    j.Key(QStringLiteral("result"));
    if (race.objKekka()) {
        WriteResult(j, *race.objKekka());
    } else {
        j.Null();
    }
    j.EndObject();
}

qint64 BetCount(const SaleDayReader& pat) {
    return pat.objLog() ? pat.objLog()->BetCount() : 0;
}
} // namespace

void WriteSummaryJson(FILE* stream, const SaleDayReader& pat, bool ok) {
    const MainDisplay d = BuildMainDisplay(SumDayTotals(pat.colKaisai()), pat.CurDate(), pat.AmtZan(), pat.Warnings());
    JsonWriter j(stream);
    j.BeginObject();
    j.Key(QStringLiteral("ok")).Value(ok);
    j.Key(QStringLiteral("saleDate")).Value(pat.CurDate());
    j.Key(QStringLiteral("balance")).Value(qint64(pat.AmtZan()));
    j.Key(QStringLiteral("betCount")).Value(BetCount(pat));

    j.Key(QStringLiteral("display")).BeginObject();
    j.Key(QStringLiteral("date")).Value(d.Date);
    j.Key(QStringLiteral("status")).Value(d.Status);
    j.Key(QStringLiteral("bets")).Value(d.Bets);
    j.Key(QStringLiteral("payouts")).Value(d.Payouts);
    j.Key(QStringLiteral("profit")).Value(d.Profit);
    j.Key(QStringLiteral("recovery")).Value(d.Recovery);
    j.Key(QStringLiteral("balance")).Value(d.Balance);
    j.Key(QStringLiteral("tooltip")).Value(d.Tooltip);
    j.EndObject();

    j.Key(QStringLiteral("totals")).BeginObject();
    j.Key(QStringLiteral("amtBuy")).Value(qint64(d.AmtBuy));
    j.Key(QStringLiteral("amtPay")).Value(qint64(d.AmtPay));
    j.Key(QStringLiteral("amtYet")).Value(qint64(d.AmtYet));
    j.Key(QStringLiteral("amtBuyTomorrow")).Value(qint64(d.AmtBuyTomorrow));
    j.Key(QStringLiteral("amtBuyYesterday")).Value(qint64(d.AmtBuyYesterday));
    j.Key(QStringLiteral("logCount")).Value(qint64(d.LogCount));
    j.EndObject();

    j.Key(QStringLiteral("meetings")).BeginArray();
    for (const auto& meeting : pat.colKaisai()) {
        j.BeginObject();
        j.Key(QStringLiteral("venueCode")).Value(qint64(meeting->KaisaiNum()));
        j.Key(QStringLiteral("venue")).Value(meeting->Kaisai());
        j.Key(QStringLiteral("nendo")).Value(meeting->Nendo());
        j.Key(QStringLiteral("kaiji")).Value(meeting->KaiJi());
        j.Key(QStringLiteral("hiji")).Value(meeting->HiJi());
        j.Key(QStringLiteral("curDate")).Value(meeting->CurDate());
        j.Key(QStringLiteral("races")).BeginArray();
        for (const auto& race : meeting->colRace()) {
            WriteRace(j, *race);
        }
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.Key(QStringLiteral("warnings")).Strings(WarningText::Lines(pat.Warnings()));
    j.EndObject();
    j.Flush();
    std::fputc('\n', stream);
    std::fflush(stream);
}

QString SummaryText(const SaleDayReader& pat, bool ok) {
    const MainDisplay d = BuildMainDisplay(SumDayTotals(pat.colKaisai()), pat.CurDate(), pat.AmtZan(), pat.Warnings());
    QString t;
    const auto line = [&t](const QString& s) { t += s + QLatin1Char('\n'); };
    line(d.Date);
    if (!d.Status.isEmpty()) {
        line(d.Status);
    }
    line(QStringLiteral("投票 %1 円").arg(d.Bets, 12));
    line(QStringLiteral("払戻 %1 円").arg(d.Payouts, 12));
    line(QStringLiteral("損益 %1 円").arg(d.Profit, 12));
    line(QStringLiteral("回収 %1 ％").arg(d.Recovery, 12));
    line(QStringLiteral("残高 %1 円").arg(d.Balance, 12));
    if (!d.Tooltip.isEmpty()) {
        line(d.Tooltip);
    }
    line(QStringLiteral("account balance %1, bet lines of the day %2, read %3")
             .arg(pat.AmtZan())
             .arg(BetCount(pat))
             .arg(!pat.Warnings().empty() ? QStringLiteral("incomplete (see the files below)")
                  : ok                    ? QStringLiteral("complete")
                                          : QStringLiteral("without bets")));
    for (const auto& meeting : pat.colKaisai()) {
        line(QString());
        line(QStringLiteral("%1 %2回 %3日 (%4)")
                 .arg(meeting->Kaisai(), Fmt::Hash0(meeting->KaiJi()), Fmt::Hash0(meeting->HiJi()), meeting->Nendo()));
        for (const auto& race : meeting->colRace()) {
            if (race->Kenshu() == 0 && race->LogCount() == 0) {
                continue;
            }
            QString row = QStringLiteral("  %1%2R %3  bet %4  paid %5  open %6")
                              .arg(race->Sale() == 2 ? QStringLiteral("前日 ") : QString())
                              .arg(race->RaceNum(), 2)
                              .arg(race->FileID())
                              .arg(qint64(race->AmtBuy()) + race->AmtYesterday() + race->AmtTomorrow(), 8)
                              .arg(race->AmtPay(), 8)
                              .arg(race->AmtYet(), 8);
            if (race->objKekka()) {
                row += QStringLiteral("  result");
            }
            if (!race->strMessage().isEmpty()) {
                row += QStringLiteral("  ") + race->strMessage();
            }
            line(row);
        }
    }
    if (!pat.Warnings().empty()) {
        line(QString());
        for (const QString& warning : WarningText::Lines(pat.Warnings())) {
            line(warning);
        }
    }
    return t;
}

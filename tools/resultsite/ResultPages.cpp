#include "ResultPages.h"

#include "core/Formats.h"

namespace ResultPages {

namespace {

QString Two(int n) {
    return Fmt::Zeros(n, 2);
}

QString DateLine(const MeetingDay& d) {
    return QStringLiteral("%1年%2回%3%4日 %5月 %6日（%7）")
        .arg(d.Year)
        .arg(d.KaiJi)
        .arg(d.Venue)
        .arg(d.HiJi)
        .arg(d.Month)
        .arg(d.Day)
        .arg(d.Weekday);
}

// Horse numbers inside a combination are written with two digits, as the site does ("03-12").
QString Combination(int betType, const Payout& p) {
    switch (betType) {
    case 1:
    case 2:
        return QString::number(p.Num1);
    case 3:
        return QStringLiteral("%1-%2").arg(p.Num1).arg(p.Num2);
    case 7:
    case 8:
        return Two(p.Num1) + u'-' + Two(p.Num2) + u'-' + Two(p.Num3);
    default:
        return Two(p.Num1) + u'-' + Two(p.Num2);
    }
}

// Bet types 1-7, then 8 for the trifecta.
void AppendPayoutRows(QStringList& lines, int betType, const QList<Payout>& payouts) {
    static const char16_t* const kHeads[8] = {u"単勝",   u"複勝", u"枠連",   u"馬連",
                                              u"ワイド", u"馬単", u"３連複", u"３連単"};
    for (qsizetype i = 0; i < payouts.size(); ++i) {
        const Payout& p = payouts[i];
        const QString head = i == 0 ? QString::fromUtf16(kHeads[betType - 1]) : QString();
        lines << head + u' ' + Combination(betType, p) + u' ' + Fmt::Thousands(p.Amount) + QStringLiteral("円 ") +
                     QString::number(p.Ninki) + QStringLiteral("番人気");
    }
}

void AppendRefundRow(QStringList& lines, const QString& head, const QList<int>& numbers, QChar unit) {
    if (numbers.isEmpty()) {
        return;
    }
    QString line = head;
    for (const int n : numbers) {
        line += u' ' + QString::number(n) + unit;
    }
    lines << line;
}

void AppendPayouts(QStringList& lines, const RacePage& race) {
    for (int t = 1; t <= 7; ++t) {
        AppendPayoutRows(lines, t, race.Payouts[t - 1]);
    }
    AppendPayoutRows(lines, 8, race.Trifecta);
    AppendRefundRow(lines, QStringLiteral("返還馬番"), race.RefundHorses, u'番');
    AppendRefundRow(lines, QStringLiteral("返還枠番"), race.RefundBrackets, u'枠');
    AppendRefundRow(lines, QStringLiteral("返還同枠"), race.RefundSameBrackets, u'枠');
}

} // namespace

QStringList ResultsPageLines(const RacePage& race) {
    QStringList lines;
    lines << kResultsTitle;
    lines << DateLine(race.Meeting) + QStringLiteral(" %1Ｒ").arg(race.RaceNum);
    lines << QStringLiteral("%1Ｒ ").arg(race.RaceNum) + race.RaceName + race.Grade;
    lines << race.RaceKind + u' ' + race.Course;
    lines << race.Conditions + u' ' + race.RaceClass + u' ' + race.Weights;
    lines << QStringLiteral(" 天候：") + race.Weather + u' ' + race.Surface + u'：' + race.Going;
    lines << QStringLiteral("人気 着順 枠番 馬番 性齢 馬名 負担重量 騎手 タイム 着差 馬体重");
    for (const Runner& r : race.Runners) {
        lines << QStringList{r.Chaku,
                             QString::number(r.Waku),
                             QString::number(r.Num),
                             r.SexAge,
                             r.UmaName,
                             r.Kinryo,
                             r.Jockey,
                             r.Time,
                             r.Margin}
                         .join(u' ') +
                     QStringLiteral("  ") + r.Weight;
    }
    lines << QStringLiteral("----------");
    lines << QStringLiteral("＜払戻金・給付金＞");
    AppendPayouts(lines, race);
    return lines;
}

QStringList PayoutListLines(const MeetingDay& day, const QList<RacePage>& races) {
    QStringList lines{kPayoutListTitle, DateLine(day)};
    for (const RacePage& race : races) {
        lines << QStringLiteral("%1Ｒ ").arg(race.RaceNum) + race.RaceName;
        AppendPayouts(lines, race);
    }
    return lines;
}

QString JoinLines(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace ResultPages

#include "ResultPages.h"

#include "core/Formats.h"

namespace ResultPages {

namespace {

QString two(int n) {
    return Fmt::zeros(n, 2);
}

QString dateLine(const MeetingDay& d) {
    return QStringLiteral("%1年%2回%3%4日 %5月 %6日（%7）")
        .arg(d.year)
        .arg(d.kaiJi)
        .arg(d.venue)
        .arg(d.hiJi)
        .arg(d.month)
        .arg(d.day)
        .arg(d.weekday);
}

// Horse numbers inside a combination are written with two digits, as the site does ("03-12").
QString combination(int betType, const Payout& p) {
    switch (betType) {
    case 1:
    case 2:
        return QString::number(p.num1);
    case 3:
        return QStringLiteral("%1-%2").arg(p.num1).arg(p.num2);
    case 7:
    case 8:
        return two(p.num1) + u'-' + two(p.num2) + u'-' + two(p.num3);
    default:
        return two(p.num1) + u'-' + two(p.num2);
    }
}

// Bet types 1-7, then 8 for the trifecta.
void appendPayoutRows(QStringList& lines, int betType, const QList<Payout>& payouts) {
    static const char16_t* const kHeads[8] = {u"単勝",   u"複勝", u"枠連",   u"馬連",
                                              u"ワイド", u"馬単", u"３連複", u"３連単"};
    for (qsizetype i = 0; i < payouts.size(); ++i) {
        const Payout& p = payouts[i];
        const QString head = i == 0 ? QString::fromUtf16(kHeads[betType - 1]) : QString();
        lines << head + u' ' + combination(betType, p) + u' ' + Fmt::thousands(p.amount) + QStringLiteral("円 ") +
                     QString::number(p.ninki) + QStringLiteral("番人気");
    }
}

void appendRefundRow(QStringList& lines, const QString& head, const QList<int>& numbers, QChar unit) {
    if (numbers.isEmpty()) {
        return;
    }
    QString line = head;
    for (const int n : numbers) {
        line += u' ' + QString::number(n) + unit;
    }
    lines << line;
}

void appendPayouts(QStringList& lines, const RacePage& race) {
    for (int t = 1; t <= 7; ++t) {
        appendPayoutRows(lines, t, race.payouts[t - 1]);
    }
    appendPayoutRows(lines, 8, race.trifecta);
    appendRefundRow(lines, QStringLiteral("返還馬番"), race.refundHorses, u'番');
    appendRefundRow(lines, QStringLiteral("返還枠番"), race.refundBrackets, u'枠');
    appendRefundRow(lines, QStringLiteral("返還同枠"), race.refundSameBrackets, u'枠');
}

} // namespace

QStringList resultsPageLines(const RacePage& race) {
    QStringList lines;
    lines << kResultsTitle;
    lines << dateLine(race.meeting) + QStringLiteral(" %1Ｒ").arg(race.raceNum);
    lines << QStringLiteral("%1Ｒ ").arg(race.raceNum) + race.raceName + race.grade;
    lines << race.raceKind + u' ' + race.course;
    lines << race.conditions + u' ' + race.raceClass + u' ' + race.weights;
    lines << QStringLiteral(" 天候：") + race.weather + u' ' + race.surface + u'：' + race.going;
    lines << QStringLiteral("人気 着順 枠番 馬番 性齢 馬名 負担重量 騎手 タイム 着差 馬体重");
    for (const Runner& r : race.runners) {
        lines << QStringList{r.chaku,
                             QString::number(r.waku),
                             QString::number(r.num),
                             r.sexAge,
                             r.umaName,
                             r.kinryo,
                             r.jockey,
                             r.time,
                             r.margin}
                         .join(u' ') +
                     QStringLiteral("  ") + r.weight;
    }
    lines << QStringLiteral("----------");
    lines << QStringLiteral("＜払戻金・給付金＞");
    appendPayouts(lines, race);
    return lines;
}

QStringList payoutListLines(const MeetingDay& day, const QList<RacePage>& races) {
    QStringList lines{kPayoutListTitle, dateLine(day)};
    for (const RacePage& race : races) {
        lines << QStringLiteral("%1Ｒ ").arg(race.raceNum) + race.raceName;
        appendPayouts(lines, race);
    }
    return lines;
}

QString joinLines(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace ResultPages

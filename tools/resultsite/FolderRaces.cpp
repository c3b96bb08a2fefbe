// The races of a client data folder as results pages: what the program itself reads of each race's
// result, laid out the way the results site shows it.
#include "ResultsSite.h"

#include "core/AppError.h"
#include "core/BetRecords.h"
#include "core/Dates.h"
#include "core/Paths.h"
#include "core/Width.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "results/RaceResultReader.h"

#include <QFileInfo>

#include <algorithm>

using ResultPages::Payout;
using ResultPages::RacePage;

namespace {

// The result file keeps the race kind and class run together ("サラ系２歳　未勝利",
// "サラ系３歳以上１６００万下"); the page has them on two lines, and the converter joins them again.
void splitKindClass(const QString& name2, RacePage& page) {
    const QString man = QStringLiteral("万下");
    if (name2.endsWith(man)) {
        qsizetype start = name2.size() - man.size();
        const qsizetype end = start;
        while (start > 0 && Width::toHalf(name2.mid(start - 1, 1)).at(0).isDigit()) {
            --start;
        }
        if (start < end) {
            page.raceKind = Width::toFull(name2.left(start));
            page.raceClass = Width::toHalf(name2.mid(start, end - start)) + QStringLiteral("万円以下");
            return;
        }
    }
    const qsizetype gap = name2.indexOf(u'　');
    page.raceKind = Width::toFull(gap < 0 ? name2 : name2.left(gap + 1));
    page.raceClass = gap < 0 ? QString() : Width::toFull(name2.mid(gap + 1));
}

// A margin as the site writes it: "1 1/2" for the file's "1.1/2" (the converter turns the space back
// into a point), "クビ" in full width, "（３位降着）" for a demoted horse.
QString siteMargin(const QString& diff) {
    const qsizetype demoted = diff.indexOf(QStringLiteral("降着"));
    if (demoted > 0) {
        return QStringLiteral("（") + Width::toFull(diff.left(demoted)) + QStringLiteral("位降着）");
    }
    const bool digits = std::any_of(diff.cbegin(), diff.cend(), [](QChar c) { return c.isDigit(); });
    return digits ? QString(diff).replace(u'.', u' ') : Width::toFull(diff);
}

void addFinishers(const RaceResultReader& ks, RacePage& page) {
    const QString raceTime = ks.diff(1).trimmed();
    const QString time = ks.chaku(1) != 0 && raceTime.contains(u':') ? raceTime : QString();
    for (int s = 1; s <= 5; ++s) {
        if (ks.chaku(s) == 0) {
            continue;
        }
        ResultPages::Runner r;
        r.chaku = QString::number(ks.chaku(s));
        r.waku = ks.wakuNum(s);
        r.num = ks.num(s);
        // The reader gives half-width names with "-" for the prolonged-sound mark.
        r.umaName = Width::toFull(ks.umaName(s).trimmed().replace(u'-', u'ｰ'));
        // Only the winner's time is in the file; the others are shown with it, which is what a close
        // finish looks like and what keeps the margin where the converter looks for it.
        r.time = time;
        r.margin = s == 1 ? QString() : siteMargin(ks.diff(s).trimmed());
        page.runners << r;
    }
}

void addPayouts(const RaceResultReader& ks, RacePage& page) {
    for (qsizetype i = 1; i <= ks.kekkaCount(); ++i) {
        const BetLine line = ks.kekkaRecord(i);
        // Lines without an amount are the refunded combinations; the page names the refunds instead.
        if (line.payout <= 0 || line.betType < 1 || line.betType > 7) {
            continue;
        }
        Payout p;
        if (line.betType <= 2) {
            p.num1 = line.num3;
        } else if (line.betType <= 6) {
            p.num1 = line.num2;
            p.num2 = line.num3;
        } else {
            p = {line.num1, line.num2, line.num3};
        }
        p.amount = line.payout;
        // The file has no popularity; longer prices were the less favoured.
        p.ninki = std::clamp(line.payout / 250 + 1, 1, 999);
        page.payouts[static_cast<size_t>(line.betType - 1)] << p;
    }
    const QList<Payout>& trio = page.payouts[6];
    if (!trio.isEmpty()) {
        // The result file has no trifecta; the site shows one. The finishing order gives its direction
        // when the first three are the trio's horses.
        Payout t = trio.first();
        QList<int> firstThree;
        for (const auto& r : page.runners) {
            if (firstThree.size() < 3) {
                firstThree << r.num;
            }
        }
        QList<int> sorted = firstThree;
        std::sort(sorted.begin(), sorted.end());
        if (sorted == QList<int>{t.num1, t.num2, t.num3}) {
            t.num1 = firstThree[0];
            t.num2 = firstThree[1];
            t.num3 = firstThree[2];
        }
        t.amount = static_cast<qint32>(std::min<qint64>(qint64{t.amount} * 6, 99999990));
        t.ninki = std::min(t.ninki * 3, 4896);
        page.trifecta = {t};
    }
}

// "HenkanUmaNum" reads " 3,7"; "HenkanWakuNum" " 3-*,5-5" (3 wholly refunded, 5 only as 5-5).
void addRefunds(const RaceResultReader& ks, RacePage& page) {
    for (const QString& n : ks.henkanUmaNum().trimmed().split(u',', Qt::SkipEmptyParts)) {
        if (n.toInt() > 0) {
            page.refundHorses << n.toInt();
        }
    }
    for (const QString& w : ks.henkanWakuNum().trimmed().split(u',', Qt::SkipEmptyParts)) {
        const int bracket = w.section(u'-', 0, 0).toInt();
        if (bracket < 1) {
            continue;
        }
        if (w.endsWith(u'*')) {
            page.refundBrackets << bracket;
        } else {
            page.refundSameBrackets << bracket;
        }
    }
}

RacePage pageOf(const ResultPages::MeetingDay& day, qint16 raceNum, const RaceResultReader& ks) {
    RacePage page;
    page.meeting = day;
    page.raceNum = raceNum;
    // A result only in the payout files has no name: the page still needs one in its place.
    page.raceName = ks.raceName1().isEmpty() ? Width::toFull(QString::number(raceNum)) + QStringLiteral("競走")
                                             : Width::toFull(ks.raceName1());
    splitKindClass(ks.raceName2(), page);
    page.weather = ks.weather();
    const bool turf = !ks.turf().isEmpty();
    page.surface = turf ? QStringLiteral("芝") : QStringLiteral("ダート");
    page.course = page.surface;
    page.going = turf ? ks.turf() : ks.dirt();
    addFinishers(ks, page);
    addPayouts(ks, page);
    addRefunds(ks, page);
    return page;
}

} // namespace

QList<RacePage> ResultsSite::racesOfFolder(const QString& dataFolder) {
    const QString folder = addPathSep(QFileInfo(dataFolder).absoluteFilePath());
    std::optional<SaleDayReader> read;
    try {
        // A folder whose log is empty still has its meetings and results read; only an error ends it.
        read.emplace(SaleDayReader::read(folder, ClientFiles::find(folder, QStringLiteral("VQDOWNLOAD"))));
    } catch (const AppError&) {
        return {};
    }
    const SaleDayReader& pat = *read;
    ResultPages::MeetingDay day;
    const auto date = Dates::fromYmd(pat.saleDate());
    if (date) {
        day.month = date->month();
        day.day = date->day();
        day.weekday = Dates::weekdayMark(*date).mid(1, 1);
    }
    QList<RacePage> races;
    for (const auto& meeting : pat.meetings()) {
        day.year = meeting->nendo().toInt();
        day.kaiJi = meeting->kaiJi().toInt();
        day.hiJi = meeting->hiJi().toInt();
        day.venue = meeting->kaisai();
        for (const auto& race : meeting->races()) {
            // An advance-sale race has not been run; it never has a result of its own.
            if (race->sale() == 1 && race->result() != nullptr) {
                races << pageOf(day, race->raceNum(), *race->result());
            }
        }
    }
    return races;
}

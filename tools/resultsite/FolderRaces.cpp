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
void SplitKindClass(const QString& name2, RacePage& page) {
    const QString man = QStringLiteral("万下");
    if (name2.endsWith(man)) {
        qsizetype start = name2.size() - man.size();
        const qsizetype end = start;
        while (start > 0 && Width::ToHalf(name2.mid(start - 1, 1)).at(0).isDigit()) {
            --start;
        }
        if (start < end) {
            page.RaceKind = Width::ToFull(name2.left(start));
            page.RaceClass = Width::ToHalf(name2.mid(start, end - start)) + QStringLiteral("万円以下");
            return;
        }
    }
    const qsizetype gap = name2.indexOf(u'　');
    page.RaceKind = Width::ToFull(gap < 0 ? name2 : name2.left(gap + 1));
    page.RaceClass = gap < 0 ? QString() : Width::ToFull(name2.mid(gap + 1));
}

// A margin as the site writes it: "1 1/2" for the file's "1.1/2" (the converter turns the space back
// into a point), "クビ" in full width, "（３位降着）" for a demoted horse.
QString SiteMargin(const QString& diff) {
    const qsizetype demoted = diff.indexOf(QStringLiteral("降着"));
    if (demoted > 0) {
        return QStringLiteral("（") + Width::ToFull(diff.left(demoted)) + QStringLiteral("位降着）");
    }
    const bool digits = std::any_of(diff.cbegin(), diff.cend(), [](QChar c) { return c.isDigit(); });
    return digits ? QString(diff).replace(u'.', u' ') : Width::ToFull(diff);
}

void AddFinishers(const RaceResultReader& ks, RacePage& page) {
    const QString raceTime = ks.Diff(1).trimmed();
    const QString time = ks.Chaku(1) != 0 && raceTime.contains(u':') ? raceTime : QString();
    for (int s = 1; s <= 5; ++s) {
        if (ks.Chaku(s) == 0) {
            continue;
        }
        ResultPages::Runner r;
        r.Chaku = QString::number(ks.Chaku(s));
        r.Waku = ks.WakuNum(s);
        r.Num = ks.Num(s);
        // The reader gives half-width names with "-" for the prolonged-sound mark.
        r.UmaName = Width::ToFull(ks.UmaName(s).trimmed().replace(u'-', u'ｰ'));
        // Only the winner's time is in the file; the others are shown with it, which is what a close
        // finish looks like and what keeps the margin where the converter looks for it.
        r.Time = time;
        r.Margin = s == 1 ? QString() : SiteMargin(ks.Diff(s).trimmed());
        page.Runners << r;
    }
}

void AddPayouts(const RaceResultReader& ks, RacePage& page) {
    for (qsizetype i = 1; i <= ks.KekkaCount(); ++i) {
        const BetLine line = ks.KekkaRecord(i);
        // Lines without an amount are the refunded combinations; the page names the refunds instead.
        if (line.Payout <= 0 || line.BetType < 1 || line.BetType > 7) {
            continue;
        }
        Payout p;
        if (line.BetType <= 2) {
            p.Num1 = line.Num3;
        } else if (line.BetType <= 6) {
            p.Num1 = line.Num2;
            p.Num2 = line.Num3;
        } else {
            p = {line.Num1, line.Num2, line.Num3};
        }
        p.Amount = line.Payout;
        // The file has no popularity; longer prices were the less favoured.
        p.Ninki = std::clamp(line.Payout / 250 + 1, 1, 999);
        page.Payouts[static_cast<size_t>(line.BetType - 1)] << p;
    }
    const QList<Payout>& trio = page.Payouts[6];
    if (!trio.isEmpty()) {
        // The result file has no trifecta; the site shows one. The finishing order gives its direction
        // when the first three are the trio's horses.
        Payout t = trio.first();
        QList<int> firstThree;
        for (const auto& r : page.Runners) {
            if (firstThree.size() < 3) {
                firstThree << r.Num;
            }
        }
        QList<int> sorted = firstThree;
        std::sort(sorted.begin(), sorted.end());
        if (sorted == QList<int>{t.Num1, t.Num2, t.Num3}) {
            t.Num1 = firstThree[0];
            t.Num2 = firstThree[1];
            t.Num3 = firstThree[2];
        }
        t.Amount = static_cast<qint32>(std::min<qint64>(qint64{t.Amount} * 6, 99999990));
        t.Ninki = std::min(t.Ninki * 3, 4896);
        page.Trifecta = {t};
    }
}

// "HenkanUmaNum" reads " 3,7"; "HenkanWakuNum" " 3-*,5-5" (3 wholly refunded, 5 only as 5-5).
void AddRefunds(const RaceResultReader& ks, RacePage& page) {
    for (const QString& n : ks.HenkanUmaNum().trimmed().split(u',', Qt::SkipEmptyParts)) {
        if (n.toInt() > 0) {
            page.RefundHorses << n.toInt();
        }
    }
    for (const QString& w : ks.HenkanWakuNum().trimmed().split(u',', Qt::SkipEmptyParts)) {
        const int bracket = w.section(u'-', 0, 0).toInt();
        if (bracket < 1) {
            continue;
        }
        if (w.endsWith(u'*')) {
            page.RefundBrackets << bracket;
        } else {
            page.RefundSameBrackets << bracket;
        }
    }
}

RacePage PageOf(const ResultPages::MeetingDay& day, qint16 raceNum, const RaceResultReader& ks) {
    RacePage page;
    page.Meeting = day;
    page.RaceNum = raceNum;
    // A result only in the payout files has no name: the page still needs one in its place.
    page.RaceName = ks.RaceName1().isEmpty() ? Width::ToFull(QString::number(raceNum)) + QStringLiteral("競走")
                                             : Width::ToFull(ks.RaceName1());
    SplitKindClass(ks.RaceName2(), page);
    page.Weather = ks.Weather();
    const bool turf = !ks.Turf().isEmpty();
    page.Surface = turf ? QStringLiteral("芝") : QStringLiteral("ダート");
    page.Course = page.Surface;
    page.Going = turf ? ks.Turf() : ks.Dirt();
    AddFinishers(ks, page);
    AddPayouts(ks, page);
    AddRefunds(ks, page);
    return page;
}

} // namespace

QList<RacePage> ResultsSite::RacesOfFolder(const QString& dataFolder) {
    const QString folder = AddPathSep(QFileInfo(dataFolder).absoluteFilePath());
    SaleDayReader pat;
    pat.setPathName(folder);
    pat.setDownPath(ClientFiles::Find(folder, QStringLiteral("VQDOWNLOAD")));
    try {
        // A folder whose log is empty still has its meetings and results read; only an error ends it.
        pat.Initialize();
    } catch (const AppError&) {
        return {};
    }
    ResultPages::MeetingDay day;
    const auto date = Dates::FromYmd(pat.CurDate());
    if (date) {
        day.Month = date->month();
        day.Day = date->day();
        day.Weekday = Dates::WeekdayMark(*date).mid(1, 1);
    }
    QList<RacePage> races;
    for (const auto& meeting : pat.colKaisai()) {
        day.Year = meeting->Nendo().toInt();
        day.KaiJi = meeting->KaiJi().toInt();
        day.HiJi = meeting->HiJi().toInt();
        day.Venue = meeting->Kaisai();
        for (const auto& race : meeting->colRace()) {
            // An advance-sale race has not been run; it never has a result of its own.
            if (race->Sale() == 1 && race->objKekka() != nullptr) {
                races << PageOf(day, race->RaceNum(), *race->objKekka());
            }
        }
    }
    return races;
}

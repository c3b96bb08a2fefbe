#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The racing authority's results site, as plain text: the lines a browser copies from a race's results
// page ("競走成績") and from a meeting day's payout list ("払戻金一覧"), built from plain race data.
// Spaces stay spaces (the download window turns them into "#" before converting). The shapes are the
// ones the converter reads:
//
//     競走成績
//     2026年2回東京8日 4月 5日（日） 11Ｒ             date line
//     11Ｒ 府中ステークス（Ｇ３）                      race name line
//     サラ系３歳以上 芝1600m                           race kind line
//     （混合）（特指） 1600万円以下 定量               race class line
//      天候：晴 芝：良                                 weather line
//     人気 着順 枠番 馬番 性齢 馬名 …                  heading of the finishing order
//     1 2 3 牡4 アイウエーオ 57 騎手 1:34.5   480Kg    one row per runner, table order
//     2 4 7 牡5 カキクケコ 56 騎手 1:34.6 1/2  478Kg
//     ----------
//     ＜払戻金・給付金＞
//     単勝 3 230円 1番人気                             first row of a bet type
//      7 340円 5番人気                                 further rows start with a space
//     返還馬番 3番 7番                                 refunds
namespace ResultPages {

// Page titles (the browser's location name), by which the download window tells the pages apart.
inline const QString kResultsTitle = QStringLiteral("競走成績");
inline const QString kPayoutListTitle = QStringLiteral("払戻金一覧");

struct MeetingDay {
    int year = 2026;
    int kaiJi = 2; // meeting number
    QString venue = QStringLiteral("東京");
    int hiJi = 8; // day number
    int month = 4;
    int day = 5;
    QString weekday = QStringLiteral("日");
};

// One row of the finishing order.
struct Runner {
    QString chaku; // "1", "2", …; "中止", "除外", "取消" for a horse without a position
    int waku = 0;
    int num = 0;
    QString umaName; // as the site shows it, full-width katakana
    QString sexAge = QStringLiteral("牡4");
    QString kinryo = QStringLiteral("57");
    QString jockey = QStringLiteral("騎手");
    QString time;   // "1:34.5"; empty for a horse without a time
    QString margin; // "1/2", "1 1/2馬身", "クビ", "（３位降着）"; empty for the winner
    QString weight = QStringLiteral("480Kg");
};

// One payout: win and place use Num1; bracket quinella, quinella, wide and exacta Num1-Num2 (exacta in
// finishing order); trio and trifecta all three.
struct Payout {
    int num1 = 0;
    int num2 = 0;
    int num3 = 0;
    qint32 amount = 0; // yen per 100 yen, written with thousands separators
    int ninki = 1;     // popularity
};

struct RacePage {
    MeetingDay meeting;
    int raceNum = 11;
    QString raceName = QStringLiteral("府中ステークス");
    QString grade; // follows the name, e.g. "（Ｇ３）"
    QString raceKind = QStringLiteral("サラ系３歳以上");
    QString course = QStringLiteral("芝1600m");
    QString conditions = QStringLiteral("（混合）（特指）");
    QString raceClass = QStringLiteral("1600万円以下"); // or "オープン", …
    QString weights = QStringLiteral("定量");
    QString weather = QStringLiteral("晴");
    QString surface = QStringLiteral("芝"); // "芝" or "ダート"
    QString going = QStringLiteral("良");
    QList<Runner> runners;
    // By bet type code - 1: win, place, bracket quinella, quinella, wide, exacta, trio. Several payouts of
    // one type (place, wide, dead heats) make one row each.
    std::array<QList<Payout>, 7> payouts{};
    QList<Payout> trifecta; // "３連単", a bet type the result file does not hold
    QList<int> refundHorses;
    QList<int> refundBrackets;     // every combination with the bracket refunded
    QList<int> refundSameBrackets; // only the bracket's same-bracket combination refunded
};

// The results page of one race.
QStringList resultsPageLines(const RacePage& race);
// The payout list of a meeting day: one block per published race ("1Ｒ 府中ステークス" and its payout
// rows), in the order given.
QStringList payoutListLines(const MeetingDay& day, const QList<RacePage>& races);
// The lines as the browser copies them: CR LF between lines.
QString joinLines(const QStringList& lines);

} // namespace ResultPages

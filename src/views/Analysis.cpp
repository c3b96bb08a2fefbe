#include "Analysis.h"

#include "BetText.h"
#include "core/Codes.h"
#include "core/Formats.h"
#include "core/Money.h"

#include <QDate>

#include <map>

namespace {

QString Rate(qint64 part, qint64 whole) {
    const std::optional<qint64> tenths = Money::PerMilleOf(part, whole);
    return tenths ? Fmt::Tenths(*tenths) : QStringLiteral("-");
}

AnalysisRow MakeRow(qint16 code, const QString& name, const Archive::Figures& sum) {
    return {code, name, sum, Rate(sum.Hits, sum.Hits + sum.Misses), Rate(sum.Payout, sum.Stake)};
}

std::vector<AnalysisRow> Rows(const std::map<qint16, Archive::Figures>& groups, QString (*name)(qint16)) {
    std::vector<AnalysisRow> rows;
    rows.reserve(groups.size());
    for (const auto& [code, sum] : groups) {
        rows.push_back(MakeRow(code, name(code), sum));
    }
    return rows;
}

QString TypeName(qint16 code) {
    // The bet log's six-cell label without its padding.
    return BetText::TypeLabel(code).trimmed().remove(QChar(0x3000));
}

QString VenueName(qint16 code) {
    const QString name = KaisaiName(code).remove(QChar(0x3000));
    return name.isEmpty() ? QString::number(code) : name;
}

QString Ymd(const QDate& d) {
    return d.toString(QStringLiteral("yyyyMMdd"));
}

} // namespace

AnalysisDates AnalysisPeriodDates(AnalysisPeriod period, const QString& today, const QString& firstStored,
                                  const QString& lastStored, const QString& from, const QString& to) {
    const QDate day = QDate::fromString(today, QStringLiteral("yyyyMMdd"));
    switch (period) {
    case AnalysisPeriod::SaleDay:
        break;
    case AnalysisPeriod::Month:
        if (day.isValid()) {
            return {Ymd(QDate(day.year(), day.month(), 1)), Ymd(QDate(day.year(), day.month(), day.daysInMonth()))};
        }
        break;
    case AnalysisPeriod::Year:
        if (day.isValid()) {
            return {Ymd(QDate(day.year(), 1, 1)), Ymd(QDate(day.year(), 12, 31))};
        }
        break;
    case AnalysisPeriod::All:
        if (!firstStored.isEmpty() && !lastStored.isEmpty()) {
            return {firstStored, lastStored};
        }
        break;
    case AnalysisPeriod::Range:
        return from <= to ? AnalysisDates{from, to} : AnalysisDates{to, from};
    }
    return {today, today};
}

QString AnalysisRecordStart(const QStringList& days) {
    return days.isEmpty() ? QStringLiteral("記録なし") : QStringLiteral("記録開始 ") + Fmt::DatePattern(days.first());
}

AnalysisTables BuildAnalysis(const std::vector<Archive::DayFigures>& days, const QString& from, const QString& to) {
    std::map<qint16, Archive::Figures> byType;
    std::map<qint16, Archive::Figures> byVenue;
    Archive::Figures total;
    for (const Archive::DayFigures& d : days) {
        if (d.SaleDate < from || d.SaleDate > to) {
            continue;
        }
        byType[d.BetType] += d.Sum;
        byVenue[d.Venue] += d.Sum;
        total += d.Sum;
    }
    AnalysisTables t;
    t.From = from;
    t.To = to;
    t.ByBetType = Rows(byType, TypeName);
    t.ByVenue = Rows(byVenue, VenueName);
    t.Total = MakeRow(0, QStringLiteral("合計"), total);
    return t;
}

QStringList AnalysisColumns() {
    return {QStringLiteral("件数"),   QStringLiteral("購入額"), QStringLiteral("払戻額"), QStringLiteral("的中"),
            QStringLiteral("的中率"), QStringLiteral("回収率"), QStringLiteral("返還"),   QStringLiteral("未確定")};
}

QStringList AnalysisCells(const AnalysisRow& row) {
    return {QString::number(row.Sum.Bets),
            QString::number(row.Sum.Stake),
            QString::number(row.Sum.Payout),
            QString::number(row.Sum.Hits),
            row.HitRate,
            row.Recovery,
            QString::number(row.Sum.Refunds),
            QString::number(row.Sum.Unsettled)};
}

QList<QStringList> AnalysisCsvRows(const AnalysisTables& tables) {
    QList<QStringList> out;
    out << QStringList{QStringLiteral("期間"), tables.From, tables.To};
    const auto table = [&out](const QString& title, const std::vector<AnalysisRow>& rows, const AnalysisRow& total) {
        out << QStringList{} << (QStringList{title} << AnalysisColumns());
        for (const AnalysisRow& r : rows) {
            out << (QStringList{r.Name} << AnalysisCells(r));
        }
        out << (QStringList{total.Name} << AnalysisCells(total));
    };
    table(QStringLiteral("式別"), tables.ByBetType, tables.Total);
    table(QStringLiteral("場"), tables.ByVenue, tables.Total);
    return out;
}

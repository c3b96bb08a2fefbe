#include "Analysis.h"

#include "BetText.h"
#include "core/Codes.h"
#include "core/Formats.h"
#include "core/Money.h"

#include <QDate>

#include <map>

namespace {

QString rate(qint64 part, qint64 whole) {
    const std::optional<qint64> tenths = Money::perMilleOf(part, whole);
    return tenths ? Fmt::tenths(*tenths) : QStringLiteral("-");
}

AnalysisRow makeRow(qint16 code, const QString& name, const Archive::Figures& sum) {
    return {code, name, sum, rate(sum.hits, sum.hits + sum.misses), rate(sum.payout, sum.stake)};
}

std::vector<AnalysisRow> rows(const std::map<qint16, Archive::Figures>& groups, QString (*name)(qint16)) {
    std::vector<AnalysisRow> rows;
    rows.reserve(groups.size());
    for (const auto& [code, sum] : groups) {
        rows.push_back(makeRow(code, name(code), sum));
    }
    return rows;
}

QString typeName(qint16 code) {
    // The bet log's six-cell label without its padding.
    return BetText::typeLabel(code).trimmed().remove(QChar(0x3000));
}

QString venueName(qint16 code) {
    const QString name = kaisaiName(code).remove(QChar(0x3000));
    return name.isEmpty() ? QString::number(code) : name;
}

QString ymd(const QDate& d) {
    return d.toString(QStringLiteral("yyyyMMdd"));
}

} // namespace

AnalysisDates analysisPeriodDates(AnalysisPeriod period, const QString& today, const QString& firstStored,
                                  const QString& lastStored, const QString& from, const QString& to) {
    const QDate day = QDate::fromString(today, QStringLiteral("yyyyMMdd"));
    switch (period) {
    case AnalysisPeriod::SaleDay:
        break;
    case AnalysisPeriod::Month:
        if (day.isValid()) {
            return {ymd(QDate(day.year(), day.month(), 1)), ymd(QDate(day.year(), day.month(), day.daysInMonth()))};
        }
        break;
    case AnalysisPeriod::Year:
        if (day.isValid()) {
            return {ymd(QDate(day.year(), 1, 1)), ymd(QDate(day.year(), 12, 31))};
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

QString analysisRecordStart(const QStringList& days) {
    return days.isEmpty() ? QStringLiteral("記録なし") : QStringLiteral("記録開始 ") + Fmt::datePattern(days.first());
}

AnalysisTables buildAnalysis(const std::vector<Archive::DayFigures>& days, const QString& from, const QString& to) {
    std::map<qint16, Archive::Figures> byType;
    std::map<qint16, Archive::Figures> byVenue;
    Archive::Figures total;
    for (const Archive::DayFigures& d : days) {
        if (d.saleDate < from || d.saleDate > to) {
            continue;
        }
        byType[d.betType] += d.sum;
        byVenue[d.venue] += d.sum;
        total += d.sum;
    }
    AnalysisTables t;
    t.from = from;
    t.to = to;
    t.byBetType = rows(byType, typeName);
    t.byVenue = rows(byVenue, venueName);
    t.total = makeRow(0, QStringLiteral("合計"), total);
    return t;
}

QStringList analysisColumns() {
    return {QStringLiteral("件数"),   QStringLiteral("購入額"), QStringLiteral("払戻額"), QStringLiteral("的中"),
            QStringLiteral("的中率"), QStringLiteral("回収率"), QStringLiteral("返還"),   QStringLiteral("未確定")};
}

QStringList analysisCells(const AnalysisRow& row) {
    return {QString::number(row.sum.bets),
            QString::number(row.sum.stake),
            QString::number(row.sum.payout),
            QString::number(row.sum.hits),
            row.hitRate,
            row.recovery,
            QString::number(row.sum.refunds),
            QString::number(row.sum.unsettled)};
}

QList<QStringList> analysisCsvRows(const AnalysisTables& tables) {
    QList<QStringList> out;
    out << QStringList{QStringLiteral("期間"), tables.from, tables.to};
    const auto table = [&out](const QString& title, const std::vector<AnalysisRow>& rows, const AnalysisRow& total) {
        out << QStringList{} << (QStringList{title} << analysisColumns());
        for (const AnalysisRow& r : rows) {
            out << (QStringList{r.name} << analysisCells(r));
        }
        out << (QStringList{total.name} << analysisCells(total));
    };
    table(QStringLiteral("式別"), tables.byBetType, tables.total);
    table(QStringLiteral("場"), tables.byVenue, tables.total);
    return out;
}

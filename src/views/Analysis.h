#pragma once

#include "archive/ArchivedBet.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The analysis window (分析): a period's archived bets by bet type and by venue, with hit and recovery
// rates. Shared with the command line's `analyse`.

enum class AnalysisPeriod { SaleDay, Month, Year, All, Range };

// The first and last day (yyyymmdd) of a period: the sale day `today`, its month or year, every stored
// day (firstStored..lastStored; the sale day alone while nothing is stored), or from..to as given (put in
// order when given the wrong way round).
struct AnalysisDates {
    QString from;
    QString to;
};
AnalysisDates analysisPeriodDates(AnalysisPeriod period, const QString& today, const QString& firstStored,
                                  const QString& lastStored, const QString& from = QString(),
                                  const QString& to = QString());

// From which day the archive holds bets (`days` oldest first, as stored): "記録開始 2026/12/05", or "記録なし".
// The archive starts with the first refresh of a day, so 全期間 is rarely the passbook's whole history.
QString analysisRecordStart(const QStringList& days);

struct AnalysisRow {
    qint16 code = 0; // the bet type (1..7) or the venue code
    QString name;    // "単勝", "３連複"; "札幌", "中山"
    Archive::Figures sum;
    QString hitRate;  // hits among the decided bets (hit or missed), "#0.0"; "-" when none is decided
    QString recovery; // payout ÷ stake in percent, "#0.0" as the main window writes it; "-" without stake
};

struct AnalysisTables {
    QString from;
    QString to;
    std::vector<AnalysisRow> byBetType; // by code, only the codes the period has
    std::vector<AnalysisRow> byVenue;
    AnalysisRow total; // every bet of the period, named "合計"
};
AnalysisTables buildAnalysis(const std::vector<Archive::DayFigures>& days, const QString& from, const QString& to);

// The window's column titles after the name column ("式別" or "場"), and the figures of a row in that order.
QStringList analysisColumns();
QStringList analysisCells(const AnalysisRow& row);
// Both tables for a spreadsheet: a title line per table, its header and its rows, then the total.
QList<QStringList> analysisCsvRows(const AnalysisTables& tables);

#include "AnalysisReport.h"

#include "Json.h"
#include "archive/BetArchive.h"
#include "core/Csv.h"
#include "views/Analysis.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

const char kAnalyseUsage[] = "velqora analyse [--json | --csv] PATFOLDER [--from YYYYMMDD] [--to YYYYMMDD]\n";

namespace {

void Print(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int Usage() {
    Print(stderr, QByteArray("usage: ") + kAnalyseUsage);
    return 2;
}

void WriteRows(JsonWriter& j, const std::vector<AnalysisRow>& rows, const QString& codeKey, const QString& nameKey) {
    j.BeginArray();
    for (const AnalysisRow& r : rows) {
        j.BeginObject();
        j.Key(codeKey).Value(qint64{r.Code});
        j.Key(nameKey).Value(r.Name);
        j.Key(QStringLiteral("bets")).Value(r.Sum.Bets);
        j.Key(QStringLiteral("stake")).Value(r.Sum.Stake);
        j.Key(QStringLiteral("payout")).Value(r.Sum.Payout);
        j.Key(QStringLiteral("hits")).Value(r.Sum.Hits);
        j.Key(QStringLiteral("refunds")).Value(r.Sum.Refunds);
        j.Key(QStringLiteral("unsettled")).Value(r.Sum.Unsettled);
        j.Key(QStringLiteral("hitRate")).Value(r.HitRate);
        j.Key(QStringLiteral("recovery")).Value(r.Recovery);
        j.EndObject();
    }
    j.EndArray();
}

QString Text(const AnalysisTables& t) {
    QString out = QStringLiteral("期間 %1 - %2\n").arg(t.From, t.To);
    const auto table = [&out, &t](const QString& title, const std::vector<AnalysisRow>& rows) {
        out += u'\n' + (QStringList{title} << AnalysisColumns()).join(u'\t') + u'\n';
        for (const AnalysisRow& r : rows) {
            out += (QStringList{r.Name} << AnalysisCells(r)).join(u'\t') + u'\n';
        }
        out += (QStringList{t.Total.Name} << AnalysisCells(t.Total)).join(u'\t') + u'\n';
    };
    table(QStringLiteral("式別"), t.ByBetType);
    table(QStringLiteral("場"), t.ByVenue);
    return out;
}

} // namespace

int AnalyseCommand(const QStringList& args) {
    bool json = false;
    bool csv = false;
    QString folder;
    QString from;
    QString to;
    static const QRegularExpression ymd(QStringLiteral("^[0-9]{8}$"));
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--json")) {
            json = true;
        } else if (a == QLatin1String("--csv")) {
            csv = true;
        } else if (a == QLatin1String("--from") || a == QLatin1String("--to")) {
            if (i + 1 >= args.size() || !ymd.match(args[i + 1]).hasMatch()) {
                Print(stderr, "velqora: " + a.toUtf8() + " needs a date YYYYMMDD\n");
                return Usage();
            }
            (a == QLatin1String("--from") ? from : to) = args[++i];
        } else if (a.startsWith(QLatin1String("--")) || !folder.isEmpty()) {
            return Usage();
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty() || (json && csv)) {
        return Usage();
    }
    if (!QFileInfo(folder).isDir()) {
        Print(stderr, "velqora: no such folder: " + folder.toUtf8() + "\n");
        return 3;
    }
    if (!QFileInfo::exists(QFileInfo(folder).absoluteFilePath() + u'/' + BetArchive::FileName())) {
        Print(stderr, "velqora: the folder has no bet archive yet (velqora archive DATAFOLDER makes it)\n");
        return 3;
    }
    BetArchive archive;
    if (!archive.Open(QFileInfo(folder).absoluteFilePath(), BetArchive::Access::Read)) {
        Print(stderr, "velqora: " + archive.ErrorText().toUtf8() + "\n");
        return 4;
    }
    const QStringList days = archive.Days();
    const QString first = days.isEmpty() ? QString() : days.first();
    const QString last = days.isEmpty() ? QString() : days.last();
    const AnalysisDates dates = AnalysisPeriodDates(AnalysisPeriod::Range, last, first, last,
                                                    from.isEmpty() ? first : from, to.isEmpty() ? last : to);
    const AnalysisTables t = BuildAnalysis(archive.FiguresOf(dates.From, dates.To), dates.From, dates.To);
    if (!archive.ErrorText().isEmpty()) { // a read that met damage: its message, and no figures
        Print(stderr, "velqora: " + archive.ErrorText().toUtf8() + "\n");
        return 4;
    }
    if (csv) {
        Print(stdout, Csv::Document(AnalysisCsvRows(t)));
    } else if (json) {
        JsonWriter j;
        j.BeginObject();
        j.Key(QStringLiteral("from")).Value(t.From);
        j.Key(QStringLiteral("to")).Value(t.To);
        j.Key(QStringLiteral("byBetType"));
        WriteRows(j, t.ByBetType, QStringLiteral("betType"), QStringLiteral("name"));
        j.Key(QStringLiteral("byVenue"));
        WriteRows(j, t.ByVenue, QStringLiteral("venueCode"), QStringLiteral("venue"));
        j.EndObject();
        Print(stdout, j.ToUtf8() + "\n");
    } else {
        Print(stdout, Text(t).toUtf8());
    }
    return 0;
}

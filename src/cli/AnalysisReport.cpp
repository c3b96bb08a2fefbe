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

void print(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int usage() {
    print(stderr, QByteArray("usage: ") + kAnalyseUsage);
    return 2;
}

void writeRows(JsonWriter& j, const std::vector<AnalysisRow>& rows, const QString& codeKey, const QString& nameKey) {
    j.beginArray();
    for (const AnalysisRow& r : rows) {
        j.beginObject();
        j.key(codeKey).value(qint64{r.code});
        j.key(nameKey).value(r.name);
        j.key(QStringLiteral("bets")).value(r.sum.bets);
        j.key(QStringLiteral("stake")).value(r.sum.stake);
        j.key(QStringLiteral("payout")).value(r.sum.payout);
        j.key(QStringLiteral("hits")).value(r.sum.hits);
        j.key(QStringLiteral("refunds")).value(r.sum.refunds);
        j.key(QStringLiteral("unsettled")).value(r.sum.unsettled);
        j.key(QStringLiteral("hitRate")).value(r.hitRate);
        j.key(QStringLiteral("recovery")).value(r.recovery);
        j.endObject();
    }
    j.endArray();
}

QString text(const AnalysisTables& t) {
    QString out = QStringLiteral("期間 %1 - %2\n").arg(t.from, t.to);
    const auto table = [&out, &t](const QString& title, const std::vector<AnalysisRow>& rows) {
        out += u'\n' + (QStringList{title} << analysisColumns()).join(u'\t') + u'\n';
        for (const AnalysisRow& r : rows) {
            out += (QStringList{r.name} << analysisCells(r)).join(u'\t') + u'\n';
        }
        out += (QStringList{t.total.name} << analysisCells(t.total)).join(u'\t') + u'\n';
    };
    table(QStringLiteral("式別"), t.byBetType);
    table(QStringLiteral("場"), t.byVenue);
    return out;
}

} // namespace

int analyseCommand(const QStringList& args) {
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
                print(stderr, "velqora: " + a.toUtf8() + " needs a date YYYYMMDD\n");
                return usage();
            }
            (a == QLatin1String("--from") ? from : to) = args[++i];
        } else if (a.startsWith(QLatin1String("--")) || !folder.isEmpty()) {
            return usage();
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty() || (json && csv)) {
        return usage();
    }
    if (!QFileInfo(folder).isDir()) {
        print(stderr, "velqora: no such folder: " + folder.toUtf8() + "\n");
        return 3;
    }
    if (!QFileInfo::exists(QFileInfo(folder).absoluteFilePath() + u'/' + BetArchive::fileName())) {
        print(stderr, "velqora: the folder has no bet archive yet (velqora archive DATAFOLDER makes it)\n");
        return 3;
    }
    BetArchive archive;
    if (!archive.open(QFileInfo(folder).absoluteFilePath(), BetArchive::Access::Read)) {
        print(stderr, "velqora: " + archive.errorText().toUtf8() + "\n");
        return 4;
    }
    const QStringList days = archive.days();
    const QString first = days.isEmpty() ? QString() : days.first();
    const QString last = days.isEmpty() ? QString() : days.last();
    const AnalysisDates dates = analysisPeriodDates(AnalysisPeriod::Range, last, first, last,
                                                    from.isEmpty() ? first : from, to.isEmpty() ? last : to);
    const AnalysisTables t = buildAnalysis(archive.figuresOf(dates.from, dates.to), dates.from, dates.to);
    if (!archive.errorText().isEmpty()) { // a read that met damage: its message, and no figures
        print(stderr, "velqora: " + archive.errorText().toUtf8() + "\n");
        return 4;
    }
    if (csv) {
        print(stdout, Csv::document(analysisCsvRows(t)));
    } else if (json) {
        JsonWriter j;
        j.beginObject();
        j.key(QStringLiteral("from")).value(t.from);
        j.key(QStringLiteral("to")).value(t.to);
        j.key(QStringLiteral("byBetType"));
        writeRows(j, t.byBetType, QStringLiteral("betType"), QStringLiteral("name"));
        j.key(QStringLiteral("byVenue"));
        writeRows(j, t.byVenue, QStringLiteral("venueCode"), QStringLiteral("venue"));
        j.endObject();
        print(stdout, j.toUtf8() + "\n");
    } else {
        print(stdout, text(t).toUtf8());
    }
    return 0;
}

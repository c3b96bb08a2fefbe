// vq-fuzz-seeds OUTDIR: the starting corpus of every harness, one folder per harness, made from the
// sample day the way the client and the results site would have written it.
#include "FuzzSupport.h"

#include "core/BetRecords.h"
#include "core/Settings.h"
#include "patdata/BetLogReader.h"
#include "resultsite/ResultPages.h"
#include "resultsite/ResultsSite.h"
#include "samplefolder/SampleDay.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString g_out;

void seed(const QString& harness, const QString& name, const QByteArray& bytes) {
    const QString folder = g_out + u'/' + harness;
    QDir().mkpath(folder);
    QFile f(folder + u'/' + name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "vq-fuzz-seeds: cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
}

// The files of the folder whose names match one of the patterns, as archive entries.
std::vector<Fuzz::NamedFile> filesOf(const QString& folder, const QStringList& patterns) {
    std::vector<Fuzz::NamedFile> files;
    for (const QString& name : QDir(folder).entryList(patterns, QDir::Files, QDir::Name)) {
        files.push_back({name, Fuzz::fileBytes(folder + u'/' + name)});
    }
    return files;
}

// An archive whose first file is the harness's default one, written without its marker.
QByteArray withDefault(const QByteArray& first, const std::vector<Fuzz::NamedFile>& rest) {
    return first + Fuzz::joinArchive(rest);
}

void dataFolderSeeds(const QString& day) {
    const QStringList base{QStringLiteral("UY-*.JRA"), QStringLiteral("LG*.JRA"), QStringLiteral("KS-*.JRA"),
                           QStringLiteral("PR-*.JRA"), QStringLiteral("?H-*.JRA")};
    std::vector<Fuzz::NamedFile> all = filesOf(day, base);
    for (const QString& race : {QStringLiteral("614"), QStringLiteral("916")}) {
        for (Fuzz::NamedFile& f : filesOf(day, {QStringLiteral("?O-") + race + QStringLiteral(".JRA")})) {
            all.push_back(std::move(f));
        }
    }
    seed(QStringLiteral("datafolder"), QStringLiteral("day"), Fuzz::joinArchive(all));
    seed(QStringLiteral("datafolder"), QStringLiteral("accounts"),
         Fuzz::joinArchive(filesOf(day, {QStringLiteral("UY-*.JRA")})));
    seed(QStringLiteral("datafolder"), QStringLiteral("accounts-log"),
         Fuzz::joinArchive(filesOf(day, {QStringLiteral("UY-*.JRA"), QStringLiteral("LG*.JRA")})));
}

void betLogSeeds(const QString& day) {
    const QByteArray index = Fuzz::fileBytes(day + QStringLiteral("/LG-FILE.JRA"));
    seed(QStringLiteral("betlog"), QStringLiteral("day"),
         withDefault(index, filesOf(day, {QStringLiteral("LG0*.JRA")})));
    seed(QStringLiteral("betlog"), QStringLiteral("one-log"),
         withDefault(index, filesOf(day, {QStringLiteral("LG003.JRA")})));
}

void resultSeeds(const QString& day) {
    for (const QString& name : QDir(day).entryList({QStringLiteral("KS-*.JRA")}, QDir::Files, QDir::Name).first(6)) {
        seed(QStringLiteral("results"), name, Fuzz::fileBytes(day + u'/' + name));
    }
    const QString pr = QDir(day).entryList({QStringLiteral("PR-*.JRA")}, QDir::Files).value(0);
    seed(QStringLiteral("results"), QStringLiteral("pr-file"),
         Fuzz::joinArchive({{QStringLiteral("PR-96518.JRA"), Fuzz::fileBytes(day + u'/' + pr)}}));
    // The meeting day's payout files alone, renamed to the meeting the harness asks for.
    std::vector<Fuzz::NamedFile> payouts = filesOf(day, {QStringLiteral("?H-7641.JRA")});
    for (Fuzz::NamedFile& f : payouts) {
        f.name = f.name.left(3) + QStringLiteral("9651.JRA");
    }
    seed(QStringLiteral("results"), QStringLiteral("payout-files"), Fuzz::joinArchive(payouts));
}

void oddsSeeds(const QString& day) {
    for (const QString& race : {QStringLiteral("614"), QStringLiteral("71A"), QStringLiteral("92C")}) {
        for (const Fuzz::NamedFile& f : filesOf(day, {QStringLiteral("?O-") + race + QStringLiteral(".JRA")})) {
            seed(QStringLiteral("odds"), f.name, f.bytes);
        }
    }
}

void bookAndSettingsSeeds(const QString& day, const QString& scratch) {
    const QByteArray book = Fuzz::fileBytes(day + QStringLiteral("/VQPROFIT.TXT"));
    seed(QStringLiteral("profitbook"), QStringLiteral("sample"), book);
    seed(QStringLiteral("profitbook"), QStringLiteral("first-lines"), book.left(book.indexOf("\r\n", 200) + 2));

    Settings s;
    s.setFolder(scratch);
    for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
        s.setPosTop(slot, 120 * slot);
        s.setPosLeft(slot, -15 * slot);
        s.setHeight(slot, 4000 + slot);
        s.setWidth(slot, 3000 + slot);
    }
    s.setBackColor(0x00C0FF);
    s.setResultSite(QStringLiteral("http://127.0.0.1:8080"));
    s.saveSettings();
    const QByteArray ini = Fuzz::fileBytes(scratch + QStringLiteral("/VQV50.INI"));
    seed(QStringLiteral("settings"), QStringLiteral("saved"), ini);
    seed(QStringLiteral("settings"), QStringLiteral("foreign-lines"),
         "; kept\r\n[OTHER]\r\nkey = value \r\n" + ini + "[WINDOW]\r\ntop1=5\r\n");
}

void betLineSeeds(const QString& day) {
    const BetLogReader log = BetLogReader::read(day, SampleDay::saleDate());
    if (log.logCount() == 0) {
        std::fprintf(stderr, "vq-fuzz-seeds: the sample day has no bet log\n");
        std::exit(1);
    }
    for (qsizetype i = 1; i <= qMin<qsizetype>(log.logOmitCount(), 12); ++i) {
        seed(QStringLiteral("betlines"), QStringLiteral("ticket%1").arg(i), log.logOmit(i).toLatin1());
    }
    for (qsizetype i = 1; i <= log.logCount(); i += log.logCount() / 12 + 1) {
        seed(QStringLiteral("betlines"), QStringLiteral("bet%1").arg(i), log.log(i).toLatin1());
    }
}

void converterSeeds(const QString& day) {
    const QList<ResultPages::RacePage> races = ResultsSite::racesOfFolder(day);
    for (qsizetype i = 0; i < qMin<qsizetype>(races.size(), 8); ++i) {
        seed(QStringLiteral("converter"), QStringLiteral("race%1").arg(i),
             ResultPages::joinLines(ResultPages::resultsPageLines(races[i])).toUtf8());
    }
    if (!races.isEmpty()) {
        seed(QStringLiteral("converter"), QStringLiteral("payout-list"),
             ResultPages::joinLines(
                 ResultPages::payoutListLines(races[0].meeting, races.first(qMin<qsizetype>(races.size(), 6))))
                 .toUtf8());
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vq-fuzz-seeds OUTDIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir scratch;
    const QString day = scratch.path() + QStringLiteral("/day");
    QString error;
    if (!scratch.isValid() || !writeSampleDay(day, &error)) {
        std::fprintf(stderr, "vq-fuzz-seeds: cannot write the sample day: %s\n", qPrintable(error));
        return 1;
    }
    dataFolderSeeds(day);
    betLogSeeds(day);
    resultSeeds(day);
    oddsSeeds(day);
    bookAndSettingsSeeds(day, scratch.path());
    betLineSeeds(day);
    converterSeeds(day);
    return 0;
}

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

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Seed(const QString& harness, const QString& name, const QByteArray& bytes) {
    const QString folder = g_out + u'/' + harness;
    QDir().mkpath(folder);
    QFile f(folder + u'/' + name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "vq-fuzz-seeds: cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
}

// The files of the folder whose names match one of the patterns, as archive entries.
std::vector<Fuzz::NamedFile> Files(const QString& folder, const QStringList& patterns) {
    std::vector<Fuzz::NamedFile> files;
    for (const QString& name : QDir(folder).entryList(patterns, QDir::Files, QDir::Name)) {
        files.push_back({name, FileBytes(folder + u'/' + name)});
    }
    return files;
}

// An archive whose first file is the harness's default one, written without its marker.
QByteArray WithDefault(const QByteArray& first, const std::vector<Fuzz::NamedFile>& rest) {
    return first + Fuzz::JoinArchive(rest);
}

void DataFolderSeeds(const QString& day) {
    const QStringList base{QStringLiteral("UY-*.JRA"), QStringLiteral("LG*.JRA"), QStringLiteral("KS-*.JRA"),
                           QStringLiteral("PR-*.JRA"), QStringLiteral("?H-*.JRA")};
    std::vector<Fuzz::NamedFile> all = Files(day, base);
    for (const QString& race : {QStringLiteral("614"), QStringLiteral("916")}) {
        for (Fuzz::NamedFile& f : Files(day, {QStringLiteral("?O-") + race + QStringLiteral(".JRA")})) {
            all.push_back(std::move(f));
        }
    }
    Seed(QStringLiteral("datafolder"), QStringLiteral("day"), Fuzz::JoinArchive(all));
    Seed(QStringLiteral("datafolder"), QStringLiteral("accounts"),
         Fuzz::JoinArchive(Files(day, {QStringLiteral("UY-*.JRA")})));
    Seed(QStringLiteral("datafolder"), QStringLiteral("accounts-log"),
         Fuzz::JoinArchive(Files(day, {QStringLiteral("UY-*.JRA"), QStringLiteral("LG*.JRA")})));
}

void BetLogSeeds(const QString& day) {
    const QByteArray index = FileBytes(day + QStringLiteral("/LG-FILE.JRA"));
    Seed(QStringLiteral("betlog"), QStringLiteral("day"), WithDefault(index, Files(day, {QStringLiteral("LG0*.JRA")})));
    Seed(QStringLiteral("betlog"), QStringLiteral("one-log"),
         WithDefault(index, Files(day, {QStringLiteral("LG003.JRA")})));
}

void ResultSeeds(const QString& day) {
    for (const QString& name : QDir(day).entryList({QStringLiteral("KS-*.JRA")}, QDir::Files, QDir::Name).first(6)) {
        Seed(QStringLiteral("results"), name, FileBytes(day + u'/' + name));
    }
    const QString pr = QDir(day).entryList({QStringLiteral("PR-*.JRA")}, QDir::Files).value(0);
    Seed(QStringLiteral("results"), QStringLiteral("pr-file"),
         Fuzz::JoinArchive({{QStringLiteral("PR-96518.JRA"), FileBytes(day + u'/' + pr)}}));
    // The meeting day's payout files alone, renamed to the meeting the harness asks for.
    std::vector<Fuzz::NamedFile> payouts = Files(day, {QStringLiteral("?H-7641.JRA")});
    for (Fuzz::NamedFile& f : payouts) {
        f.Name = f.Name.left(3) + QStringLiteral("9651.JRA");
    }
    Seed(QStringLiteral("results"), QStringLiteral("payout-files"), Fuzz::JoinArchive(payouts));
}

void OddsSeeds(const QString& day) {
    for (const QString& race : {QStringLiteral("614"), QStringLiteral("71A"), QStringLiteral("92C")}) {
        for (const Fuzz::NamedFile& f : Files(day, {QStringLiteral("?O-") + race + QStringLiteral(".JRA")})) {
            Seed(QStringLiteral("odds"), f.Name, f.Bytes);
        }
    }
}

void BookAndSettingsSeeds(const QString& day, const QString& scratch) {
    const QByteArray book = FileBytes(day + QStringLiteral("/VQPROFIT.TXT"));
    Seed(QStringLiteral("profitbook"), QStringLiteral("sample"), book);
    Seed(QStringLiteral("profitbook"), QStringLiteral("first-lines"), book.left(book.indexOf("\r\n", 200) + 2));

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
    s.SaveSettings();
    const QByteArray ini = FileBytes(scratch + QStringLiteral("/VQV50.INI"));
    Seed(QStringLiteral("settings"), QStringLiteral("saved"), ini);
    Seed(QStringLiteral("settings"), QStringLiteral("foreign-lines"),
         "; kept\r\n[OTHER]\r\nkey = value \r\n" + ini + "[WINDOW]\r\ntop1=5\r\n");
}

void BetLineSeeds(const QString& day) {
    BetLogReader log;
    log.setPathName(day);
    if (!log.GetData(SampleDay::SaleDate())) {
        std::fprintf(stderr, "vq-fuzz-seeds: the sample day has no bet log\n");
        std::exit(1);
    }
    for (qsizetype i = 1; i <= qMin<qsizetype>(log.LogOmitCount(), 12); ++i) {
        Seed(QStringLiteral("betlines"), QStringLiteral("ticket%1").arg(i), log.LogOmit(i).toLatin1());
    }
    for (qsizetype i = 1; i <= log.LogCount(); i += log.LogCount() / 12 + 1) {
        Seed(QStringLiteral("betlines"), QStringLiteral("bet%1").arg(i), log.Log(i).toLatin1());
    }
}

void ConverterSeeds(const QString& day) {
    const QList<ResultPages::RacePage> races = ResultsSite::RacesOfFolder(day);
    for (qsizetype i = 0; i < qMin<qsizetype>(races.size(), 8); ++i) {
        Seed(QStringLiteral("converter"), QStringLiteral("race%1").arg(i),
             ResultPages::JoinLines(ResultPages::ResultsPageLines(races[i])).toUtf8());
    }
    if (!races.isEmpty()) {
        Seed(QStringLiteral("converter"), QStringLiteral("payout-list"),
             ResultPages::JoinLines(
                 ResultPages::PayoutListLines(races[0].Meeting, races.first(qMin<qsizetype>(races.size(), 6))))
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
    if (!scratch.isValid() || !WriteSampleDay(day, &error)) {
        std::fprintf(stderr, "vq-fuzz-seeds: cannot write the sample day: %s\n", qPrintable(error));
        return 1;
    }
    DataFolderSeeds(day);
    BetLogSeeds(day);
    ResultSeeds(day);
    OddsSeeds(day);
    BookAndSettingsSeeds(day, scratch.path());
    BetLineSeeds(day);
    ConverterSeeds(day);
    return 0;
}

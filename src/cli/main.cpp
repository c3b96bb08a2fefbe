// velqora: reports on a client data folder, for checking figures without the windows, and the profit
// book's edits.
//
//     velqora summary [--json] DATAFOLDER               the main window's figures and every race
//     velqora profit [--json] DATAFOLDER                the day profit table
//     velqora race [--json] DATAFOLDER MEETING RACE     odds, bet detail and results of one race
//     velqora log [--json] DATAFOLDER                   the bet log window's caption and views
//     velqora book [--json|--csv] PATFOLDER [an edit]   the passbook, and its edits
//     velqora convert PAGEFILE SAVEDIR                  a downloaded results page into a result file
//     velqora archive DATAFOLDER                        stores the day's bets in the folder's bet archive
//     velqora analyse [--json | --csv] PATFOLDER ...    the bet archive by bet type and venue
#include "AnalysisReport.h"
#include "BookReport.h"
#include "ConvertCommand.h"
#include "LogReport.h"
#include "ProfitReport.h"
#include "RaceReport.h"
#include "SummaryReport.h"
#include "archive/BetArchive.h"
#include "archive/DayBets.h"
#include "core/AppError.h"
#include "core/Paths.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "views/WarningText.h"

#include <QFileInfo>

#include <cstdio>
#include <functional>

namespace {
void print(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

const QByteArray kUsage = QByteArray("usage: velqora summary [--json] DATAFOLDER\n"
                                     "       velqora profit [--json] DATAFOLDER\n"
                                     "       velqora race [--json] DATAFOLDER MEETING RACE\n"
                                     "       velqora log [--json] DATAFOLDER\n"
                                     "       velqora convert PAGEFILE SAVEDIR | --race-list PAGEFILE\n"
                                     "       velqora archive DATAFOLDER\n") +
                          "       " + kBookUsage + "       " + kAnalyseUsage;

int usage() {
    print(stderr, kUsage);
    return 2;
}

// Splits off "--json"; false (after a message) for any other option.
bool options(const QStringList& args, bool& json, QStringList& rest) {
    json = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--json")) {
            json = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            print(stderr, "velqora: unknown option " + a.toUtf8() + "\n");
            return false;
        } else {
            rest << a;
        }
    }
    return true;
}

// Reads the folder as the program does into `pat` (`ok`: the whole day, bets included, could be read); on
// failure prints why and gives the exit status.
int openFolder(const QString& arg, std::optional<SaleDayReader>& pat, bool& ok) {
    const QFileInfo folder(arg);
    if (!folder.isDir()) {
        print(stderr, "velqora: no such folder: " + arg.toUtf8() + "\n");
        return 3;
    }
    const QString path = addPathSep(folder.absoluteFilePath());
    // Results downloaded into the folder's own download folder count, as they do for the program.
    pat.emplace(SaleDayReader::read(path, ClientFiles::find(path, QStringLiteral("VQDOWNLOAD"))));
    ok = pat->betLog() != nullptr;
    return 0;
}

int failed(const AppError& e) {
    print(stderr,
          QStringLiteral("velqora: %1 (%2) %3\n").arg(e.source()).arg(e.number()).arg(e.description()).toUtf8());
    return 4;
}

// The reports that read one folder and print one document: the folder is read as the program reads it,
// and `report` prints it (`ok`: the whole folder could be read).
int folderReport(const QStringList& args, const std::function<void(SaleDayReader& pat, bool ok, bool json)>& report) {
    bool json = false;
    QStringList rest;
    if (!options(args, json, rest) || rest.size() != 1) {
        return usage();
    }
    std::optional<SaleDayReader> day;
    bool ok = false;
    try {
        if (const int status = openFolder(rest[0], day, ok)) {
            return status;
        }
        SaleDayReader& pat = *day;
        report(pat, ok, json);
    } catch (const AppError& e) {
        return failed(e);
    }
    return 0;
}

int summary(const QStringList& args) {
    return folderReport(args, [](SaleDayReader& pat, bool ok, bool json) {
        if (json) {
            writeSummaryJson(stdout, pat, ok);
        } else {
            print(stdout, summaryText(pat, ok).toUtf8());
        }
    });
}

int profit(const QStringList& args) {
    // A folder read without bets still has its meetings, and the table shows them with zeros.
    return folderReport(args, [](SaleDayReader& pat, bool, bool json) {
        print(stdout, json ? profitJson(pat) : profitText(pat).toUtf8());
    });
}

// The bet log window's caption and views.
int log(const QStringList& args) {
    return folderReport(args, [](SaleDayReader& pat, bool, bool json) {
        json ? writeLogJson(stdout, pat) : writeLogText(stdout, pat);
    });
}

int raceCommand(const QStringList& args) {
    bool json = false;
    QStringList rest;
    if (!options(args, json, rest) || rest.size() != 3) {
        return usage();
    }
    bool meetingOk = false;
    bool raceOk = false;
    const int meeting = rest[1].toInt(&meetingOk);
    const int race = rest[2].toInt(&raceOk);
    if (!meetingOk || !raceOk || meeting < 1 || race < 1 || meeting > 32767 || race > 32767) {
        print(stderr, "velqora: MEETING and RACE are positions counted from 1\n");
        return usage();
    }
    std::optional<SaleDayReader> day;
    bool ok = false;
    try {
        if (const int status = openFolder(rest[0], day, ok)) {
            return status;
        }
        SaleDayReader& pat = *day;
        if (meeting > pat.kaisaiCount() || race > pat.meeting(meeting)->raceCount()) {
            print(stderr, QStringLiteral("velqora: the folder has %1 meeting(s); no race at %2 %3\n")
                              .arg(pat.kaisaiCount())
                              .arg(meeting)
                              .arg(race)
                              .toUtf8());
            return 5;
        }
        const bool opened = pat.readRaceOdds(static_cast<qint16>(meeting), static_cast<qint16>(race));
        const Race& r = *pat.meeting(meeting)->race(race);
        print(stdout, json ? raceJson(r, pat.raceOdds(), opened) : raceText(r, pat.raceOdds(), opened).toUtf8());
    } catch (const AppError& e) {
        return failed(e);
    }
    return 0;
}
// Stores the day's evaluated bets in the archive of the folder, as a refresh of the main window does.
int archiveDay(const QStringList& args) {
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--"))) {
        return usage();
    }
    std::optional<SaleDayReader> day;
    bool ok = false;
    try {
        if (const int status = openFolder(args[0], day, ok)) {
            return status;
        }
        SaleDayReader& pat = *day;
        if (!ok || pat.saleDate().isEmpty()) {
            print(stderr, "velqora: the folder could not be read as a sale day; nothing stored\n");
            return 5;
        }
        // A day read with a file cut short would replace the stored day with wrong bets.
        if (!pat.warnings().empty()) {
            print(stderr, "velqora: " + WarningText::storeRefused(pat.warnings()).toUtf8());
            return 6;
        }
        const std::vector<Archive::Bet> bets = Archive::dayBets(pat);
        BetArchive archive;
        if (!archive.open(pat.pathName()) || !archive.storeDay(pat.saleDate(), bets)) {
            print(stderr, "velqora: " + archive.errorText().toUtf8() + "\n");
            return 4;
        }
        print(stdout, QStringLiteral("%1: %2 bets stored in %3\n")
                          .arg(pat.saleDate())
                          .arg(bets.size())
                          .arg(pat.pathName() + BetArchive::fileName())
                          .toUtf8());
    } catch (const AppError& e) {
        return failed(e);
    }
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    // No application object: a report needs files and texts only, and a run is short enough that its
    // start-up is a good part of it.
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    if (args.isEmpty()) {
        return usage();
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("summary")) {
        return summary(args);
    }
    if (command == QLatin1String("profit")) {
        return profit(args);
    }
    if (command == QLatin1String("race")) {
        return raceCommand(args);
    }
    if (command == QLatin1String("log")) {
        return log(args);
    }
    if (command == QLatin1String("book")) {
        return bookCommand(args);
    }
    if (command == QLatin1String("archive")) {
        return archiveDay(args);
    }
    if (command == QLatin1String("analyse")) {
        return analyseCommand(args);
    }
    if (command == QLatin1String("convert")) {
        return convertCommand(args);
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        print(stdout, kUsage);
        return 0;
    }
    print(stderr, "velqora: unknown command " + command.toUtf8() + "\n");
    return usage();
}

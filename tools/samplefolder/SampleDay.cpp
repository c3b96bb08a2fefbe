// The writing of the sample day: the folder claimed as ours, then the bet log, the account files, the
// odds, the results and the profit book the other parts make, each into the client's own file.
#include "SampleDay.h"

#include "SampleDayParts.h"

#include "clientfiles/AccountFiles.h"
#include "clientfiles/FixedRecord.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "core/Paths.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <utility>

using namespace SampleDay;
using namespace SampleDay::Detail;

namespace {

bool Fail(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
    return false;
}

} // namespace

bool ClaimSampleFolder(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        return Fail(error, QStringLiteral("cannot create ") + folder);
    }
    // Never write over a betting client's own folder.
    const QString program = AddPathSep(folder) + QStringLiteral("PAT.EXE");
    if (QFile::exists(program)) {
        QFile f(program);
        if (!f.open(QIODevice::ReadOnly) || f.readAll() != QByteArray(kProgramText)) {
            return Fail(error, folder + QStringLiteral(" holds a betting client; a sample day is not written there"));
        }
    }
    if (!WriteFixtureFile(AddPathSep(folder), QStringLiteral("PAT.EXE"), QByteArray(kProgramText))) {
        return Fail(error, QStringLiteral("cannot write ") + program);
    }
    return true;
}

bool WriteSampleDay(const QString& folderName, QString* error) {
    using namespace ResultFiles;
    const QString folder = AddPathSep(QDir(folderName).absolutePath());
    if (!ClaimSampleFolder(folder, error)) {
        return false;
    }

    const Day day = MakeDay();
    const auto written = [&](bool ok, const QString& what) {
        return ok ? true : Fail(error, QStringLiteral("cannot write ") + what + QStringLiteral(" in ") + folder);
    };

    // Bet log: a week-old log, the previous day's and two of today's.
    const QList<LogFiles::Ticket> previous = PreviousDayTickets(day);
    const QDate sale = QDate::fromString(SaleDate(), QStringLiteral("yyyyMMdd"));
    const QString weekBefore = sale.addDays(-6).toString(QStringLiteral("yyyyMMdd"));
    const QList<std::pair<LogFiles::IndexEntry, LogFiles::DayLog>> logs = {
        {{QStringLiteral("LG001"), weekBefore}, {1, OldTickets()}},
        {{QStringLiteral("LG002"), PreviousDate()}, {2, previous}},
        {{QStringLiteral("LG003"), SaleDate()}, {3, MorningTickets(day)}},
        {{QStringLiteral("LG004"), SaleDate()}, {4, AfternoonTickets(day)}},
    };
    QList<LogFiles::IndexEntry> index;
    for (const auto& [entry, log] : logs) {
        if (!written(LogFiles::SaveDayLog(folder, entry.Name, log), entry.Name + QStringLiteral(".JRA"))) {
            return false;
        }
        index << entry;
    }
    if (!written(LogFiles::SaveIndex(folder, index), QStringLiteral("LG-FILE.JRA"))) {
        return false;
    }

    // Account files. The balance is what the account held after the previous day's advance purchases.
    const QString letters = QStringLiteral("ABCDEF");
    for (int m = 1; m <= kMeetings; ++m) {
        const Meeting& meeting = kMeetingList[static_cast<size_t>(m - 1)];
        AccountFiles::AccountFile today;
        today.Date = SaleDate();
        today.Amounts = {100000, Stake(previous), 0, 0};
        today.Venue = meeting.Venue;
        today.Year = kYear;
        today.KaiJi = meeting.KaiJi;
        today.HiJi = kHiJi;
        for (int r = 1; r <= kRacesPerDay; ++r) {
            today.Kenshu[static_cast<size_t>(r - 1)] = day.At(m, r).Kenshu();
        }
        AccountFiles::AccountFile next = today;
        next.Date = NextDate();
        next.HiJi = kHiJi + 1;
        next.Kenshu.fill(0);
        for (const Race& r : day.advance[static_cast<size_t>(m - 1)]) {
            next.Kenshu[static_cast<size_t>(r.raceNum - 1)] = r.Kenshu();
        }
        if (!written(!AccountFiles::SaveAccountFile(folder, letters[m - 1], today).isEmpty(),
                     AccountFiles::AccountFileName(letters[m - 1])) ||
            !written(!AccountFiles::SaveAccountFile(folder, letters[m + 2], next).isEmpty(),
                     AccountFiles::AccountFileName(letters[m + 2]))) {
            return false;
        }
    }

    // Odds of every race on sale.
    for (int m = 1; m <= kMeetings; ++m) {
        for (const auto* races : {&day.races[static_cast<size_t>(m - 1)], &day.advance[static_cast<size_t>(m - 1)]}) {
            for (const Race& r : *races) {
                if (!written(WriteOdds(folder, r), QStringLiteral("the odds files of ") + RaceId(r))) {
                    return false;
                }
            }
        }
    }

    // Results of the races run: a result file each (one named "PR-", one only downloaded, one missing),
    // and the client's payout files of every meeting, which have not caught up with the downloaded race.
    const QString downloads = folder + QStringLiteral("VQDOWNLOAD/") + SaleDate() + QLatin1Char('/');
    if (!QDir().mkpath(downloads)) {
        return Fail(error, QStringLiteral("cannot create ") + downloads);
    }
    for (int m = 1; m <= kMeetings; ++m) {
        std::array<PayoutFile, 7> payouts = EmptyPayoutFiles(m);
        for (int r = 1; r <= kRacesRun; ++r) {
            const ResultFile result = Result(day.At(m, r));
            const bool download = m == kDownloadOnly.Meeting && r == kDownloadOnly.Race;
            const bool payoutOnly = m == kPayoutFilesOnly.Meeting && r == kPayoutFilesOnly.Race;
            const bool pr = m == kPrFile.Meeting && r == kPrFile.Race;
            QString name;
            if (download) {
                name = SaveResultFile(downloads, result);
            } else if (!payoutOnly) {
                name = SaveResultFile(folder, result, pr ? QStringLiteral("PR-") : QStringLiteral("KS-"));
            }
            if (!payoutOnly && !written(!name.isEmpty(), QStringLiteral("the result of ") + ResultFileId(result))) {
                return false;
            }
            if (download) {
                continue;
            }
            AddPayouts(payouts, r, result);
        }
        for (const PayoutFile& p : payouts) {
            if (!written(!SavePayoutFile(folder, p).isEmpty(), PayoutFileName(p))) {
                return false;
            }
        }
    }

    QString failure;
    if (!WriteProfitBook(folder, failure)) {
        return Fail(error, QStringLiteral("profit book: ") + failure);
    }
    return true;
}

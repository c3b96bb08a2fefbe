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

bool fail(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
    return false;
}

} // namespace

bool claimSampleFolder(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        return fail(error, QStringLiteral("cannot create ") + folder);
    }
    // Never write over a betting client's own folder.
    const QString program = addPathSep(folder) + QStringLiteral("PAT.EXE");
    if (QFile::exists(program)) {
        QFile f(program);
        if (!f.open(QIODevice::ReadOnly) || f.readAll() != QByteArray(kProgramText)) {
            return fail(error, folder + QStringLiteral(" holds a betting client; a sample day is not written there"));
        }
    }
    if (!writeFixtureFile(addPathSep(folder), QStringLiteral("PAT.EXE"), QByteArray(kProgramText))) {
        return fail(error, QStringLiteral("cannot write ") + program);
    }
    return true;
}

bool writeSampleDay(const QString& folderName, QString* error) {
    using namespace ResultFiles;
    const QString folder = addPathSep(QDir(folderName).absolutePath());
    if (!claimSampleFolder(folder, error)) {
        return false;
    }

    const Day day = makeDay();
    const auto written = [&](bool ok, const QString& what) {
        return ok ? true : fail(error, QStringLiteral("cannot write ") + what + QStringLiteral(" in ") + folder);
    };

    // Bet log: a week-old log, the previous day's and two of today's.
    const QList<LogFiles::Ticket> previous = previousDayTickets(day);
    const QDate sale = QDate::fromString(saleDate(), QStringLiteral("yyyyMMdd"));
    const QString weekBefore = sale.addDays(-6).toString(QStringLiteral("yyyyMMdd"));
    const QList<std::pair<LogFiles::IndexEntry, LogFiles::DayLog>> logs = {
        {{QStringLiteral("LG001"), weekBefore}, {1, oldTickets()}},
        {{QStringLiteral("LG002"), previousDate()}, {2, previous}},
        {{QStringLiteral("LG003"), saleDate()}, {3, morningTickets(day)}},
        {{QStringLiteral("LG004"), saleDate()}, {4, afternoonTickets(day)}},
    };
    QList<LogFiles::IndexEntry> index;
    for (const auto& [entry, log] : logs) {
        if (!written(LogFiles::saveDayLog(folder, entry.name, log), entry.name + QStringLiteral(".JRA"))) {
            return false;
        }
        index << entry;
    }
    if (!written(LogFiles::saveIndex(folder, index), QStringLiteral("LG-FILE.JRA"))) {
        return false;
    }

    // Account files. The balance is what the account held after the previous day's advance purchases.
    const QString letters = QStringLiteral("ABCDEF");
    for (int m = 1; m <= kMeetings; ++m) {
        const Meeting& meeting = kMeetingList[static_cast<size_t>(m - 1)];
        AccountFiles::AccountFile today;
        today.date = saleDate();
        today.amounts = {100000, stake(previous), 0, 0};
        today.venue = meeting.venue;
        today.year = kYear;
        today.kaiJi = meeting.kaiJi;
        today.hiJi = kHiJi;
        for (int r = 1; r <= kRacesPerDay; ++r) {
            today.kenshu[static_cast<size_t>(r - 1)] = day.at(m, r).kenshu();
        }
        AccountFiles::AccountFile next = today;
        next.date = nextDate();
        next.hiJi = kHiJi + 1;
        next.kenshu.fill(0);
        for (const Race& r : day.advance[static_cast<size_t>(m - 1)]) {
            next.kenshu[static_cast<size_t>(r.raceNum - 1)] = r.kenshu();
        }
        if (!written(!AccountFiles::saveAccountFile(folder, letters[m - 1], today).isEmpty(),
                     AccountFiles::accountFileName(letters[m - 1])) ||
            !written(!AccountFiles::saveAccountFile(folder, letters[m + 2], next).isEmpty(),
                     AccountFiles::accountFileName(letters[m + 2]))) {
            return false;
        }
    }

    // Odds of every race on sale.
    for (int m = 1; m <= kMeetings; ++m) {
        for (const auto* races : {&day.races[static_cast<size_t>(m - 1)], &day.advance[static_cast<size_t>(m - 1)]}) {
            for (const Race& r : *races) {
                if (!written(writeOdds(folder, r), QStringLiteral("the odds files of ") + raceId(r))) {
                    return false;
                }
            }
        }
    }

    // Results of the races run: a result file each (one named "PR-", one only downloaded, one missing),
    // and the client's payout files of every meeting, which have not caught up with the downloaded race.
    const QString downloads = folder + QStringLiteral("VQDOWNLOAD/") + saleDate() + QLatin1Char('/');
    if (!QDir().mkpath(downloads)) {
        return fail(error, QStringLiteral("cannot create ") + downloads);
    }
    for (int m = 1; m <= kMeetings; ++m) {
        std::array<PayoutFile, 7> payouts = emptyPayoutFiles(m);
        for (int r = 1; r <= kRacesRun; ++r) {
            const ResultFile result = resultOf(day.at(m, r));
            const bool download = m == kDownloadOnly.meeting && r == kDownloadOnly.race;
            const bool payoutOnly = m == kPayoutFilesOnly.meeting && r == kPayoutFilesOnly.race;
            const bool pr = m == kPrFile.meeting && r == kPrFile.race;
            QString name;
            if (download) {
                name = saveResultFile(downloads, result);
            } else if (!payoutOnly) {
                name = saveResultFile(folder, result, pr ? QStringLiteral("PR-") : QStringLiteral("KS-"));
            }
            if (!payoutOnly && !written(!name.isEmpty(), QStringLiteral("the result of ") + resultFileId(result))) {
                return false;
            }
            if (download) {
                continue;
            }
            addPayouts(payouts, r, result);
        }
        for (const PayoutFile& p : payouts) {
            if (!written(!savePayoutFile(folder, p).isEmpty(), payoutFileName(p))) {
                return false;
            }
        }
    }

    QString failure;
    if (!writeProfitBook(folder, failure)) {
        return fail(error, QStringLiteral("profit book: ") + failure);
    }
    return true;
}

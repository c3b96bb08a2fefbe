#include "HeavyDay.h"

#include "SampleDay.h"

#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "core/Codes.h"
#include "core/Paths.h"

#include <QDir>

#include <algorithm>

namespace HeavyDay {
namespace {

// Ten distinct horses of 18, different for each ticket and race.
QList<int> tenHorses(int race, int k) {
    QList<int> horses;
    const int base = (k * 7 + race) % 18;
    for (int i = 0; i < 10; ++i) {
        horses << (base + i) % 18 + 1;
    }
    return horses;
}

QList<int> allBut(std::initializer_list<int> axes, int top) {
    QList<int> partners;
    for (int j = 1; j <= top; ++j) {
        if (std::find(axes.begin(), axes.end(), j) == axes.end()) {
            partners << j;
        }
    }
    return partners;
}

LogFiles::Ticket raceTicket(int race, int k) {
    using namespace LogFiles;
    const int axis = (race + k) % 18 + 1;
    const int axis2 = (race + k + 9) % 18 + 1;
    const QList<int> ten = tenHorses(race, k);
    const int units = 1 + k % 5;
    if (k < 8) {
        return boxBet(Trio, ten, units);
    }
    if (k < 13) {
        return boxBet(Exacta, ten, units);
    }
    if (k < 16) {
        return boxBet(Quinella, ten, units);
    }
    if (k < 19) {
        return boxBet(Wide, ten, units);
    }
    if (k < 21) {
        return trioWheel(axis, axis2, allBut({axis, axis2}, 18), units);
    }
    switch (k) {
    case 21:
        return wheelBet(Quinella, axis, allBut({axis}, 18), units);
    case 22:
        return exactaWheel(axis, 1 + k % 2, allBut({axis}, 18), units);
    case 23:
        return wheelBet(BracketQuinella, race % 8 + 1, allBut({race % 8 + 1}, 8), units);
    default:
        return singleBet(Win, 0, 0, axis, units);
    }
}

// The boxes day: trio boxes of ten, then win bets over the field.
LogFiles::Ticket boxesTicket(int race, int k) {
    using namespace LogFiles;
    if (k < 15) {
        return boxBet(Trio, tenHorses(race, k), 1 + k % 3);
    }
    return singleBet(Win, 0, 0, (race + k) % 18 + 1, 1 + k % 4);
}
constexpr int kBoxesTicketsPerRace = 40;
constexpr int kBoxesSettledRaces = 8;

ResultFiles::ResultFile raceResult(int venue, int race) {
    ResultFiles::ResultFile r;
    r.date = saleDate();
    r.venue = kaisaiName(static_cast<qint16>(venue));
    r.year = kYear;
    r.kaiJi = kKaiJi;
    r.hiJi = kHiJi;
    r.raceNum = race;
    const auto h = [&](int i) { return (race * 5 + i * 3) % 18 + 1; }; // distinct for i = 0..5
    r.payouts[0] = {{h(0), 0, 0, 450}, {h(1), 0, 0, 460}, {h(2), 0, 0, 470}};
    r.payouts[1] = {{h(0), 0, 0, 150}, {h(1), 0, 0, 230}, {h(2), 0, 0, 310}, {h(3), 0, 0, 180}, {h(4), 0, 0, 200}};
    r.payouts[2] = {{1, 4, 0, 1200}, {2, 4, 0, 1300}, {4, 4, 0, 900}};
    r.payouts[3] = {{h(0), h(1), 0, 2100}, {h(0), h(2), 0, 2200}, {h(1), h(2), 0, 2300}};
    for (int i = 0; i < 10; ++i) {
        r.payouts[4].append({h(i % 5), h(i % 5 + 1), 0, 600 + i * 10});
    }
    for (int i = 0; i < 6; ++i) {
        r.payouts[5].append({h(i), h((i + 1) % 6), 0, 5000 + i * 100});
    }
    r.payouts[6] = {{h(0), h(1), h(2), 12000}, {h(0), h(1), h(3), 13000}, {h(0), h(2), h(3), 150000}};
    r.refundHorses = {(race + 7) % 18 + 1, (race + 13) % 18 + 1};
    r.wakuMarks[static_cast<size_t>(race % 8)] = 1;
    return r;
}

bool fail(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
    return false;
}

} // namespace

bool write(const QString& folderName, QString* error, Shape shape) {
    const QString folder = addPathSep(QDir(folderName).absolutePath());
    if (!claimSampleFolder(folder, error)) {
        return false;
    }
    const auto cannot = [&](const QString& what) { return fail(error, QStringLiteral("cannot write ") + what); };
    const QChar letters[3] = {u'A', u'B', u'C'};
    QList<LogFiles::Ticket> today;
    QList<LogFiles::Ticket> eve;
    for (int m = 0; m < 3; ++m) {
        AccountFiles::AccountFile account = AccountFiles::allOnSale(kVenues[m], kYear, kKaiJi, kHiJi);
        account.date = saleDate();
        account.amounts = {500000, 0, 0, 0};
        if (AccountFiles::saveAccountFile(folder, letters[m], account).isEmpty()) {
            return cannot(AccountFiles::accountFileName(letters[m]));
        }
        const bool boxes = shape == Shape::Boxes;
        for (int race = 1; race <= kRacesPerDay; ++race) {
            const ResultFiles::ResultFile result = raceResult(kVenues[m], race);
            if ((!boxes || race <= kBoxesSettledRaces) && ResultFiles::saveResultFile(folder, result).isEmpty()) {
                return cannot(QStringLiteral("the result of ") + ResultFiles::resultFileId(result));
            }
            for (int k = 0; k < (boxes ? kBoxesTicketsPerRace : kTicketsPerRace); ++k) {
                const LogFiles::Ticket t = boxes ? boxesTicket(race, k) : raceTicket(race, k);
                // Of the mixed day, the last trio wheel and the single of each race were bought the day
                // before; of the boxes day, the last win bet.
                if (boxes ? k == kBoxesTicketsPerRace - 1 : (k == 19 || k == 24)) {
                    eve << LogFiles::at(t, kVenues[m], race, 2);
                } else {
                    today << LogFiles::at(t, kVenues[m], race);
                }
            }
        }
    }
    // Day log files of 90 tickets each, the previous day's first.
    QList<LogFiles::IndexEntry> entries;
    const auto save = [&](const QList<LogFiles::Ticket>& tickets, const QString& date) {
        for (qsizetype from = 0; from < tickets.size(); from += 90) {
            const QString name = QStringLiteral("LG%1").arg(entries.size() + 1, 3, 10, QLatin1Char('0'));
            LogFiles::DayLog log;
            log.logNo = static_cast<int>(entries.size() + 1);
            log.tickets = tickets.mid(from, 90);
            if (!LogFiles::saveDayLog(folder, name, log)) {
                return cannot(name + QStringLiteral(".JRA"));
            }
            entries.append({name, date});
        }
        return true;
    };
    if (!save(eve, previousDate()) || !save(today, saleDate())) {
        return false;
    }
    return LogFiles::saveIndex(folder, entries) ? true : cannot(QStringLiteral("LG-FILE.JRA"));
}

} // namespace HeavyDay

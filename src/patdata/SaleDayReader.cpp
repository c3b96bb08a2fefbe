#include "SaleDayReader.h"

#include <QFileInfo>
#include <QStringList>

#include "BetLogReader.h"
#include "Meeting.h"
#include "Race.h"
#include "RaceOdds.h"
#include "core/AppError.h"
#include "core/Bytes.h"
#include "core/Codes.h"
#include "core/Dates.h"
#include "core/Money.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "results/RaceResultReader.h"

namespace {
const QString kSource = QStringLiteral("AAA");
constexpr int kRacesPerDay = 12;
// The client writes a handful of files in a moment; a folder still changing after three reads is being
// rewritten for longer than a refresh should wait.
constexpr int kMaxReads = 3;

// Race id: venue, day number and race number, one upper-case hexadecimal digit each.
QString raceId(qint16 venue, qint16 day, qint16 race) {
    return QString(hexDigit(venue)) + hexDigit(day) + hexDigit(race);
}

qint16 ticketTypes(const QByteArray& file, int race) {
    return Num::clampToInt16(Bytes::number(file, 70 + 3 * (race - 1), 3));
}
} // namespace

SaleDayReader::SaleDayReader(const QString& folder, const QString& downloadFolder)
    : m_pathName(addPathSep(folder)), m_downPath(downloadFolder) {}
SaleDayReader::SaleDayReader(SaleDayReader&&) noexcept = default;
SaleDayReader& SaleDayReader::operator=(SaleDayReader&&) noexcept = default;
SaleDayReader::~SaleDayReader() = default;

Meeting* SaleDayReader::meeting(qsizetype index) const {
    if (index < 1 || index > kaisaiCount()) {
        throw AppError::indexOutOfRange();
    }
    return m_meetings[index - 1].get();
}

QString SaleDayReader::resultFileId(const Meeting& meeting, qint16 raceNum) {
    return QString(hexDigit(meeting.kaisaiNum())) + meeting.nendo().right(1) + meeting.kaiJi().right(1) +
           meeting.hiJi().right(1) + hexDigit(raceNum);
}

SaleDayReader SaleDayReader::read(const QString& folder, const QString& downloadFolder, ClientFiles::ReadHook hook) {
    SaleDayReader day(folder, downloadFolder);
    try {
        // A day read while the client rewrote some of its files would mix two versions of the folder (a
        // result of the new one with the log of the old): when a file read has changed by the end of the
        // read, the whole day is read again.
        for (int read = 1;; ++read) {
            ClientFiles::FolderRead files(hook);
            day.readDay(files);
            const QStringList changed = files.changedFiles();
            if (changed.isEmpty()) {
                day.m_fingerprint = day.m_warnings.empty() ? files.fingerprint() : QByteArray();
                return day;
            }
            if (read == kMaxReads) {
                for (const QString& name : changed) {
                    Warnings::add(day.m_warnings, {name, FileWarning::Problem::Changing});
                }
                return day;
            }
        }
    } catch (const AppError& e) {
        throw e.rebased(kSource);
    }
}

void SaleDayReader::readDay(ClientFiles::FolderRead& files) {
    m_meetings.clear();
    m_raceOdds.reset();
    m_betLog.reset();
    m_saleDate.clear();
    m_amtZan = 0;
    m_warnings.clear();
    if (!readAccountFiles(files)) {
        return;
    }
    readResults(files);
    m_betLog = std::make_unique<BetLogReader>(BetLogReader::read(m_pathName, m_saleDate, &files));
    Warnings::addAll(m_warnings, m_betLog->warnings());
    if (m_betLog->logCount() > 0) {
        handBetsToRaces();
    } else {
        m_betLog.reset();
    }
}

bool SaleDayReader::readAccountFiles(ClientFiles::FolderRead& files) {
    if (files.findFile(m_pathName, QStringLiteral("UY-A.JRA")).isEmpty()) {
        return false;
    }
    const QString letters = QStringLiteral("ABCDEF");
    for (int i = 0; i < 3; ++i) {
        const QString path = files.findFile(m_pathName, QStringLiteral("UY-%1.JRA").arg(letters[i]));
        if (path.isEmpty()) {
            continue;
        }
        const QByteArray file = files.readWhole(path).value_or(QByteArray());
        if (i == 0) {
            m_saleDate = Bytes::text(file, 1, 8);
            qint32 zan = Bytes::number(file, 25, 8);
            zan = Money::sub(zan, Bytes::number(file, 33, 8));
            zan = Money::add(zan, Bytes::number(file, 41, 8));
            m_amtZan = Money::add(zan, Bytes::number(file, 49, 8));
        }

        auto meeting = std::make_unique<Meeting>();
        meeting->setKaisaiNum(Num::clampToInt16(Bytes::number(file, 59, 2)));
        meeting->setNendo(Bytes::text(file, 61, 4));
        meeting->setKaiJi(Bytes::text(file, 65, 2));
        meeting->setHiJi(Bytes::text(file, 67, 2));
        meeting->setSaleDate(m_saleDate);
        const qint16 day = Num::toInt16(meeting->hiJi());
        for (qint16 r = 1; r <= kRacesPerDay; ++r) {
            auto race = std::make_unique<Race>();
            race->setKenshu(ticketTypes(file, r));
            race->setRaceNum(r);
            race->setSale(1);
            race->setFileId(raceId(meeting->kaisaiNum(), day, r));
            meeting->addRace(std::move(race));
        }

        // The next day's advance sale of the same venue: the letter three places further.
        const QString advancePath = files.findFile(m_pathName, QStringLiteral("UY-%1.JRA").arg(letters[i + 3]));
        if (!advancePath.isEmpty()) {
            const QByteArray advance = files.readWhole(advancePath).value_or(QByteArray());
            const qint16 venue = Num::clampToInt16(Bytes::number(advance, 59, 2));
            const qint16 advanceDay = Num::clampToInt16(Bytes::number(advance, 67, 2));
            for (qint16 r = 1; r <= kRacesPerDay; ++r) {
                const qint16 kenshu = ticketTypes(advance, r);
                if (kenshu <= 0) {
                    continue;
                }
                auto race = std::make_unique<Race>();
                race->setKenshu(kenshu);
                race->setRaceNum(r);
                race->setSale(2);
                race->setFileId(raceId(venue, advanceDay, r));
                meeting->addRace(std::move(race));
            }
        }
        m_meetings.push_back(std::move(meeting));
    }
    return true;
}

void SaleDayReader::readResults(ClientFiles::FolderRead& files) {
    QStringList folders;
    // The sale date names the download subfolder: only a date may name one.
    if (!m_downPath.isEmpty() && Dates::fromYmd(m_saleDate)) {
        // Most days nothing was downloaded: a missing folder spares every race its look there. The date
        // comes from an account file, so it is looked up like any client file name.
        const QString downloads = files.find(m_downPath, m_saleDate);
        if (!downloads.isEmpty() && QFileInfo(downloads).isDir()) {
            folders << addPathSep(downloads);
        }
    }
    folders << m_pathName;
    for (const auto& meeting : m_meetings) {
        for (const auto& race : meeting->races()) {
            // A next-day race would be given today's result of the same race number (the result id is
            // built from today's meeting), so advance-sale races get no result reader.
            if (race->kenshu() == 0 || race->sale() != 1) {
                continue;
            }
            const QString id = resultFileId(*meeting, race->raceNum());
            for (const QString& folder : folders) {
                auto reader = std::make_unique<RaceResultReader>(
                    RaceResultReader::read(folder, id, 18, meeting->saleDate(), &files));
                Warnings::addAll(m_warnings, reader->warnings());
                if (reader->kekkaCount() > 0) {
                    race->setResult(std::move(reader));
                    break;
                }
            }
        }
    }
}

void SaleDayReader::handBetsToRaces() {
    for (const auto& meeting : m_meetings) {
        for (const auto& race : meeting->races()) {
            race->takeBets(*m_betLog);
        }
    }
}

bool SaleDayReader::readRaceOdds(qint16 kaisai, qint16 race) {
    Race* r = meeting(kaisai)->race(race);
    if (r->kenshu() == 0) {
        return false; // nothing on sale: the previous aggregate stays
    }
    ClientFiles::FolderRead files;
    m_raceOdds = std::make_unique<RaceOdds>(m_pathName, *r, files);
    return m_raceOdds->complete();
}

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
QString RaceId(qint16 venue, qint16 day, qint16 race) {
    return QString(HexDigit(venue)) + HexDigit(day) + HexDigit(race);
}

qint16 TicketTypes(const QByteArray& file, int race) {
    return Num::ClampToInt16(Bytes::Number(file, 70 + 3 * (race - 1), 3));
}
} // namespace

SaleDayReader::SaleDayReader() = default;
SaleDayReader::~SaleDayReader() = default;

void SaleDayReader::setPathName(const QString& folder) {
    m_pathName = AddPathSep(folder);
}

void SaleDayReader::setDownPath(const QString& folder) {
    m_downPath = folder;
}

Meeting* SaleDayReader::objKaisai(qsizetype index) const {
    if (index < 1 || index > KaisaiCount()) {
        throw AppError::IndexOutOfRange();
    }
    return m_kaisai[index - 1].get();
}

QString SaleDayReader::ResultFileId(const Meeting& meeting, qint16 raceNum) {
    return QString(HexDigit(meeting.KaisaiNum())) + meeting.Nendo().right(1) + meeting.KaiJi().right(1) +
           meeting.HiJi().right(1) + HexDigit(raceNum);
}

bool SaleDayReader::Initialize() {
    try {
        // A day read while the client rewrote some of its files would mix two versions of the folder (a
        // result of the new one with the log of the old): when a file read has changed by the end of the
        // read, the whole day is read again.
        for (int read = 1;; ++read) {
            // The folder is read as one snapshot: each listing needed for a case-insensitive lookup is made
            // once.
            const ClientFiles::Scope scope;
            const bool ok = ReadDay();
            const QStringList changed = scope.ChangedFiles();
            if (changed.isEmpty()) {
                return ok;
            }
            if (read == kMaxReads) {
                for (const QString& name : changed) {
                    Warnings::Add(m_warnings, {name, FileWarning::Problem::Changing});
                }
                return ok;
            }
        }
    } catch (const AppError& e) {
        throw e.Rebased(kSource);
    }
}

bool SaleDayReader::ReadDay() {
    m_kaisai.clear();
    m_factory.reset();
    m_log.reset();
    m_curDate.clear();
    m_amtZan = 0;
    m_warnings.clear();
    if (!ReadAccountFiles()) {
        return false;
    }
    GetAllKekka();
    m_log = std::make_unique<BetLogReader>();
    const bool read = GetAllLog();
    Warnings::AddAll(m_warnings, m_log->Warnings());
    if (read) {
        SetLog();
        return true;
    }
    m_log.reset();
    return false;
}

bool SaleDayReader::ReadAccountFiles() {
    if (ClientFiles::FindFile(m_pathName, QStringLiteral("UY-A.JRA")).isEmpty()) {
        return false;
    }
    const QString letters = QStringLiteral("ABCDEF");
    for (int i = 0; i < 3; ++i) {
        const QString path = ClientFiles::FindFile(m_pathName, QStringLiteral("UY-%1.JRA").arg(letters[i]));
        if (path.isEmpty()) {
            continue;
        }
        const QByteArray file = ReadWholeFile(path).value_or(QByteArray());
        if (i == 0) {
            m_curDate = Bytes::Text(file, 1, 8);
            qint32 zan = Bytes::Number(file, 25, 8);
            zan = Money::Sub(zan, Bytes::Number(file, 33, 8));
            zan = Money::Add(zan, Bytes::Number(file, 41, 8));
            m_amtZan = Money::Add(zan, Bytes::Number(file, 49, 8));
        }

        auto meeting = std::make_unique<Meeting>();
        meeting->setKaisaiNum(Num::ClampToInt16(Bytes::Number(file, 59, 2)));
        meeting->setNendo(Bytes::Text(file, 61, 4));
        meeting->setKaiJi(Bytes::Text(file, 65, 2));
        meeting->setHiJi(Bytes::Text(file, 67, 2));
        meeting->setCurDate(m_curDate);
        const qint16 day = Num::ToInt16(meeting->HiJi());
        for (qint16 r = 1; r <= kRacesPerDay; ++r) {
            auto race = std::make_unique<Race>();
            race->setKenshu(TicketTypes(file, r));
            race->setRaceNum(r);
            race->setSale(1);
            race->setFileID(RaceId(meeting->KaisaiNum(), day, r));
            meeting->AddRace(std::move(race));
        }

        // The next day's advance sale of the same venue: the letter three places further.
        const QString advancePath = ClientFiles::FindFile(m_pathName, QStringLiteral("UY-%1.JRA").arg(letters[i + 3]));
        if (!advancePath.isEmpty()) {
            const QByteArray advance = ReadWholeFile(advancePath).value_or(QByteArray());
            const qint16 venue = Num::ClampToInt16(Bytes::Number(advance, 59, 2));
            const qint16 advanceDay = Num::ClampToInt16(Bytes::Number(advance, 67, 2));
            for (qint16 r = 1; r <= kRacesPerDay; ++r) {
                const qint16 kenshu = TicketTypes(advance, r);
                if (kenshu <= 0) {
                    continue;
                }
                auto race = std::make_unique<Race>();
                race->setKenshu(kenshu);
                race->setRaceNum(r);
                race->setSale(2);
                race->setFileID(RaceId(venue, advanceDay, r));
                meeting->AddRace(std::move(race));
            }
        }
        m_kaisai.push_back(std::move(meeting));
    }
    return true;
}

bool SaleDayReader::GetAllKekka() {
    QStringList folders;
    // The sale date names the download subfolder: only a date may name one.
    if (!m_downPath.isEmpty() && Dates::FromYmd(m_curDate)) {
        // Most days nothing was downloaded: a missing folder spares every race its look there. The date
        // comes from an account file, so it is looked up like any client file name.
        const QString downloads = ClientFiles::Find(m_downPath, m_curDate);
        if (!downloads.isEmpty() && QFileInfo(downloads).isDir()) {
            folders << AddPathSep(downloads);
        }
    }
    folders << m_pathName;
    for (const auto& meeting : m_kaisai) {
        for (const auto& race : meeting->colRace()) {
            // A next-day race would be given today's result of the same race number (the result id is
            // built from today's meeting), so advance-sale races get no result reader.
            if (race->Kenshu() == 0 || race->Sale() != 1) {
                continue;
            }
            const QString id = ResultFileId(*meeting, race->RaceNum());
            for (const QString& folder : folders) {
                auto reader = std::make_unique<RaceResultReader>();
                reader->setTosu(18);
                reader->setPathName(folder);
                reader->setFileName(id);
                const bool read = reader->GetData(meeting->CurDate());
                Warnings::AddAll(m_warnings, reader->Warnings());
                if (read) {
                    race->setObjKekka(std::move(reader));
                    break;
                }
            }
        }
    }
    return true;
}

bool SaleDayReader::GetAllLog() {
    m_log->setPathName(m_pathName);
    return m_log->GetData(m_curDate);
}

void SaleDayReader::SetLog() {
    for (const auto& meeting : m_kaisai) {
        for (const auto& race : meeting->colRace()) {
            race->GetLog(*m_log);
        }
    }
}

bool SaleDayReader::GetOdds(qint16 kaisai, qint16 race) {
    Race* r = objKaisai(kaisai)->objRace(race);
    if (r->Kenshu() == 0) {
        return false; // nothing on sale: the previous aggregate stays
    }
    ClientFiles::Scope scope;
    m_factory = std::make_unique<RaceOdds>();
    m_factory->setPathName(m_pathName);
    m_factory->setObjRace(r);
    return m_factory->GetData();
}

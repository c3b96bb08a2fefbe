#pragma once

#include "core/BetRecords.h"
#include "core/FileWarning.h"
#include "core/Paths.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// Reader of one race's result file ("KS-" + id + ".JRA", or "PR-" + id + ".JRA" in its place), with the
// fallback to the client's seven per-bet-type payout files of the meeting day. It yields the finishing
// order, the race conditions, and every payout and refunded combination as result lines (bet lines with
// the declared payout; refund lines carry 0).
class RaceResultReader {
public:
    // Reads the result file of the race (its five-character result file id) in the folder, else the
    // meeting's payout files, within a reading of the whole folder when one is given. `tosu` is the runner
    // count bounding the refund expansion; `date` is the meeting date, checked against the payout files
    // only. A race without results has no result lines (kekkaCount 0).
    static RaceResultReader read(const QString& folder, const QString& raceId, qint16 tosu, const QString& date,
                                 ClientFiles::FolderRead* within = nullptr);
    RaceResultReader(RaceResultReader&&) noexcept;
    RaceResultReader& operator=(RaceResultReader&&) noexcept;
    ~RaceResultReader();

    const QString& weather() const { return m_weather; }
    const QString& turf() const { return m_turf; }
    const QString& dirt() const { return m_dirt; }
    const QString& raceName1() const { return m_raceName1; }
    const QString& raceName2() const { return m_raceName2; }

    // Result lines 1..KekkaCount (27-character bet lines); any other index raises the index error.
    QString kekka(qsizetype index) const;
    qsizetype kekkaCount() const { return static_cast<qsizetype>(m_kekka.size()); }
    QStringList kekkaLines() const;
    // The same line as a record, fitted to its text form; any other index raises the index error.
    BetLine kekkaRecord(qsizetype index) const;

    // Finisher slots 1..5; any other index raises the index error.
    qint16 chaku(int index) const;
    qint16 num(int index) const;
    qint16 wakuNum(int index) const;
    const QString& umaName(int index) const;
    const QString& diff(int index) const;

    // The refunds of the last read for display: a space, then the refunded horses ("3,7") or brackets
    // ("3-*,6-6"). Only horses 1..18 and bracket marks 1 and 2 are refunds; a slot or mark holding
    // anything else adds no result line and does not show here.
    const QString& henkanUmaNum() const { return m_henkanUmaNum; }
    const QString& henkanWakuNum() const { return m_henkanWakuNum; }

    // The files of the last GetData that could not be read whole (of another length than their layout, or
    // not to be opened). What they hold whole is still read.
    const FileWarnings& warnings() const { return m_warnings; }

private:
    struct Finisher {
        qint16 chaku = 0;
        qint16 num = 0;
        QString umaName;
        QString diff;
        qint16 wakuNum = 0;
    };
    const Finisher& slot(int index) const;

    // Venue code and race number written into every result line of one read.
    struct LineKey {
        qint16 venue = 0;
        qint16 race = 0;
    };
    RaceResultReader(const QString& folder, const QString& raceId, qint16 tosu);
    bool readResultFile(ClientFiles::FolderRead& files);
    bool readPayoutFiles(ClientFiles::FolderRead& files, const QString& date);
    void readSection(QByteArrayView data, qsizetype pos, int betType, LineKey key);
    void readUmaRefunds(QByteArrayView data, qsizetype pos, LineKey key);
    void readWakuRefunds(QByteArrayView data, qsizetype pos, LineKey key);
    void addLine(LineKey key, int betType, qint16 num1, qint16 num2, qint16 num3, qint32 amount);

    QString m_pathName;
    QString m_fileName;
    std::array<Finisher, 5> m_finishers{};
    // Result lines packed as bet lines are (see BetRecords::PackBet): a refunded horse alone makes a few
    // hundred of them, and a heavy day holds tens of thousands.
    std::vector<quint64> m_kekka;
    std::vector<quint32> m_kekkaPayout;
    qint16 m_tosu = 0;
    bool m_umaRefundSeen = false;
    bool m_wakuRefundSeen = false;
    QString m_henkanUmaNum;
    QString m_henkanWakuNum;
    QString m_weather;
    QString m_turf;
    QString m_dirt;
    QString m_raceName1;
    QString m_raceName2;
    FileWarnings m_warnings;
};

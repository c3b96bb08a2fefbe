#pragma once

#include "BetLogReader.h"
#include "core/BetRecords.h"

#include <QString>

#include <memory>
#include <vector>

class Meeting;
class RaceResultReader;

// One race: what is on sale, its result (when one was found), the user's bets on it and their
// evaluation.
class Race {
public:
    Race();
    ~Race();
    Race(const Race&) = delete;
    Race& operator=(const Race&) = delete;

    // Takes this race's bet lines and ticket lines from the log reader (matching venue, race number and
    // sale) and evaluates them. Raises the overflow error when an amount does not fit 32 bits.
    void takeBets(const BetLogReader& log);

    qint16 raceNum() const { return m_raceNum; }
    void setRaceNum(qint16 v) { m_raceNum = v; }
    qint16 kenshu() const { return m_kenshu; }
    void setKenshu(qint16 v) { m_kenshu = v; }
    const QString& fileId() const { return m_fileId; }
    void setFileId(const QString& v) { m_fileId = v; }
    qint16 sale() const { return m_sale; }
    void setSale(qint16 v) { m_sale = v; }

    Meeting* meeting() const { return m_parent; }
    void setMeeting(Meeting* meeting) { m_parent = meeting; }

    // The result reader, owned by the race; none while no result file was found.
    RaceResultReader* result() const { return m_kekka.get(); }
    void setResult(std::unique_ptr<RaceResultReader> reader);

    // Bet lines 1..LogCount and ticket lines 1..OmitCount as texts; other indexes raise the index error.
    QString log(qsizetype index) const;
    qsizetype logCount() const { return m_bets.count(); }
    QString omit(qsizetype index) const;
    qsizetype omitCount() const { return static_cast<qsizetype>(m_omit.size()); }
    // The same lines as records: the evaluated bet (payout rate and hit flag set), the ticket.
    BetLine logRecord(qsizetype index) const;
    // Bet line `index` in its text form, kLogTextLength ASCII digits into `out`; returns the end.
    char* writeLog(qsizetype index, char* out) const;
    // The bet lines that won (hit flag 1), in their order; found without unpacking the others.
    std::vector<BetLine> wonBets() const;
    const std::vector<TicketLine>& omitRecords() const { return m_omit; }

    qint32 amtPay() const { return m_amtPay; }
    void setAmtPay(qint32 v) { m_amtPay = v; }
    qint32 amtYet() const { return m_amtYet; }
    void setAmtYet(qint32 v) { m_amtYet = v; }
    qint32 amtBuy() const { return m_amtBuy; }
    void setAmtBuy(qint32 v) { m_amtBuy = v; }
    qint32 amtTomorrow() const { return m_amtTomorrow; }
    void setAmtTomorrow(qint32 v) { m_amtTomorrow = v; }
    qint32 amtYesterday() const { return m_amtYesterday; }
    void setAmtYesterday(qint32 v) { m_amtYesterday = v; }
    const QString& message() const { return m_message; }

private:
    // Evaluates the race's bets into `evaluation` (packed payout and hit flag, bet by bet); only when every
    // amount fits are the amounts stored.
    void calcLog(const BetRun& bets, std::vector<quint32>& evaluation);

    Meeting* m_parent = nullptr;
    qint16 m_raceNum = 0;
    qint16 m_kenshu = 0;
    QString m_fileId;
    qint16 m_sale = 1;
    std::unique_ptr<RaceResultReader> m_kekka;
    qint32 m_amtPay = 0;
    qint32 m_amtYet = 0;
    qint32 m_amtBuy = 0;
    qint32 m_amtTomorrow = 0;
    qint32 m_amtYesterday = 0;
    QString m_message;
    BetRun m_bets;                     // the race's run of the log's bet lines
    std::vector<quint32> m_evaluation; // of each of them: payout and hit flag, packed
    std::vector<TicketLine> m_omit;
};

#include "Race.h"

#include "BetLogReader.h"
#include "Meeting.h"

#include "core/AppError.h"
#include "core/BetRecords.h"
#include "core/Money.h"
#include "results/RaceResultReader.h"

#include <algorithm>
#include <utility>

namespace {

// A race's result lines indexed by what a bet is compared on. A bet meets the lines of its own
// bet type, venue and race: the first line with the same numbers decides it (hit or refund); failing
// that, any line of that kind makes it a miss; with none it stays open. Looking the bet up gives the
// same outcome as walking the lines in order, at one binary search per bet. Lines and bets are compared
// packed, so in the form of their texts.
class ResultIndex {
public:
    // The lines of the result, when the race has one.
    explicit ResultIndex(const RaceResultReader* result) {
        const qsizetype count = result ? result->kekkaCount() : 0;
        m_payout.reserve(static_cast<std::size_t>(count));
        m_kinds.reserve(static_cast<std::size_t>(count));
        for (qsizetype i = 1; i <= count; ++i) {
            const BetLine r = result->kekkaRecord(i);
            const quint64 line = BetRecords::packBet(r);
            m_payout.push_back({BetRecords::combinationOf(line), r.payout});
            m_kinds.push_back(BetRecords::kindOf(line));
        }
        // Stable, so that of the lines of one combination the first stays in front and decides.
        std::stable_sort(m_payout.begin(), m_payout.end(),
                         [](const Entry& a, const Entry& b) { return a.combo < b.combo; });
        std::sort(m_kinds.begin(), m_kinds.end());
        m_kinds.erase(std::unique(m_kinds.begin(), m_kinds.end()), m_kinds.end());
        m_nextPayout = m_payout.begin();
        m_nextKind = m_kinds.begin();
    }
    // The declared payout of the first line with the bet's combination, if any.
    const qint32* payout(quint64 bet) {
        const quint64 combo = BetRecords::combinationOf(bet);
        m_nextPayout = seek(m_payout, m_nextPayout, combo, [](const Entry& e) { return e.combo; });
        return m_nextPayout != m_payout.end() && m_nextPayout->combo == combo ? &m_nextPayout->payout : nullptr;
    }
    bool hasKind(quint64 bet) {
        const quint64 kind = BetRecords::kindOf(bet);
        m_nextKind = seek(m_kinds, m_nextKind, kind, [](quint64 k) { return k; });
        return m_nextKind != m_kinds.end() && *m_nextKind == kind;
    }

private:
    struct Entry {
        quint64 combo;
        qint32 payout;
    };

    // The first element not below `value`. A race's bets come sorted, and within one race that is the
    // order of their combinations too, so the search usually ends a step or two after where the last one
    // stopped; otherwise it is a binary search (from the front when the value lies behind).
    template <class T, class Of>
    static typename std::vector<T>::const_iterator
    seek(const std::vector<T>& sorted, typename std::vector<T>::const_iterator from, quint64 value, Of of) {
        if (from != sorted.begin() && of(*(from - 1)) >= value) {
            from = sorted.begin();
        }
        for (int step = 0; step < 4; ++step, ++from) {
            if (from == sorted.end() || of(*from) >= value) {
                return from;
            }
        }
        return std::lower_bound(from, sorted.end(), value, [&](const T& e, quint64 v) { return of(e) < v; });
    }

    std::vector<Entry> m_payout;
    std::vector<quint64> m_kinds;
    std::vector<Entry>::const_iterator m_nextPayout;
    std::vector<quint64>::const_iterator m_nextKind;
};

using namespace BetCodes;

QString hitMessage(qint32 highestPayout) {
    if (highestPayout >= 1000000) {
        return QStringLiteral("１００万馬券が的中しています！");
    }
    if (highestPayout >= 100000) {
        return QStringLiteral("１０万馬券が的中しています！");
    }
    if (highestPayout >= 10000) {
        return QStringLiteral("万馬券が的中しています！");
    }
    if (highestPayout >= 1) {
        return QStringLiteral("的中しています！");
    }
    return QString();
}

} // namespace

Race::Race() = default;
Race::~Race() = default;

void Race::setResult(std::unique_ptr<RaceResultReader> reader) {
    m_kekka = std::move(reader);
}

BetLine Race::logRecord(qsizetype index) const {
    if (index < 1 || index > logCount()) {
        throw AppError::indexOutOfRange();
    }
    return BetRecords::unpack(m_bets.packed(index - 1), m_evaluation[static_cast<std::size_t>(index - 1)]);
}

char* Race::writeLog(qsizetype index, char* out) const {
    if (index < 1 || index > logCount()) {
        throw AppError::indexOutOfRange();
    }
    return BetRecords::writeText(m_bets.packed(index - 1), m_evaluation[static_cast<std::size_t>(index - 1)], out);
}

std::vector<BetLine> Race::wonBets() const {
    std::vector<BetLine> won;
    for (std::size_t i = 0; i < m_evaluation.size(); ++i) {
        if (BetRecords::hitOf(m_evaluation[i]) == Hit) {
            won.push_back(BetRecords::unpack(m_bets.packed(static_cast<qsizetype>(i)), m_evaluation[i]));
        }
    }
    return won;
}

QString Race::log(qsizetype index) const {
    char text[kLogTextLength];
    return QString::fromLatin1(text, writeLog(index, text) - text);
}

QString Race::omit(qsizetype index) const {
    if (index < 1 || index > omitCount()) {
        throw AppError::indexOutOfRange();
    }
    return ticketLineText(m_omit[static_cast<std::size_t>(index - 1)]);
}

void Race::takeBets(const BetLogReader& log) {
    if (m_parent == nullptr) {
        throw AppError::objectNotSet();
    }
    // The log's lists are sorted, so this race's lines are one run that the reader finds by search.
    BetRun bets = log.logOf(m_sale, m_parent->kaisaiNum(), m_raceNum);
    const auto ticketRun = log.logOmitOf(m_sale, m_parent->kaisaiNum(), m_raceNum);
    std::vector<quint32> evaluation;
    // An amount that does not fit leaves the race as it was, not half evaluated.
    calcLog(bets, evaluation);
    m_bets = std::move(bets);
    m_evaluation = std::move(evaluation);
    m_omit.assign(ticketRun.begin(), ticketRun.end());
}

void Race::calcLog(const BetRun& bets, std::vector<quint32>& evaluation) {
    qint32 amtPay = 0;
    qint32 amtYet = 0;
    qint32 amtBuy = 0;
    qint32 amtTomorrow = 0;
    qint32 amtYesterday = 0;
    qint32 highest = 0;

    const QString source = QStringLiteral("clsRace");
    ResultIndex results(m_kekka.get());
    evaluation.reserve(static_cast<std::size_t>(bets.count()));

    for (qsizetype i = 0; i < bets.count(); ++i) {
        const quint64 packed = bets.packed(i);
        BetLine bet = BetRecords::unpack(packed, 0);
        const qint32 stake = Money::mul(bet.units, 100, source);
        qint16 flag = Open;
        qint32 rate = 0;
        if (bet.sale == 1) {
            if (bet.buyDay == 1) {
                amtBuy = Money::add(amtBuy, stake, source);
            } else {
                amtYesterday = Money::add(amtYesterday, stake, source);
            }
            if (m_kekka) {
                if (const qint32* payout = results.payout(packed)) {
                    if (*payout != 0) {
                        rate = *payout;
                        flag = Hit;
                        highest = std::max(highest, *payout);
                    } else {
                        rate = 100; // a refund pays the stake back
                        flag = Refunded;
                    }
                    amtPay = Money::add(amtPay, Money::mul(bet.units, rate, source), source);
                } else if (results.hasKind(packed)) {
                    flag = Miss;
                }
            }
            if (flag == Open) {
                amtYet = Money::add(amtYet, stake, source);
            }
        } else {
            amtTomorrow = Money::add(amtTomorrow, stake, source);
            flag = AdvanceSale;
        }
        bet.payout = rate;
        bet.hit = flag;
        evaluation.push_back(BetRecords::packEvaluation(bet));
    }

    // Nothing is stored until every sum has fitted.
    m_amtPay = amtPay;
    m_amtYet = amtYet;
    m_amtBuy = amtBuy;
    m_amtTomorrow = amtTomorrow;
    m_amtYesterday = amtYesterday;
    m_message = hitMessage(highest);
}

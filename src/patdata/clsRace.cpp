#include "clsRace.h"

#include "clsControlLG.h"
#include "clsKaisai.h"

#include "core/AppError.h"
#include "core/BetRecords.h"
#include "core/Money.h"
#include "results/clsControlKS.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <utility>

namespace {

// A race's result lines indexed by what a bet is compared on. A bet meets the lines of its own
// bet type, venue and race: the first line with the same numbers decides it (hit or refund); failing
// that, any line of that kind makes it a miss; with none it stays open. Looking the bet up gives the
// same outcome as walking the lines in order, at one hash look-up per bet.
struct KindKey {
    qint16 betType = 0;
    qint16 venue = 0;
    qint16 raceNum = 0;
    bool operator==(const KindKey&) const = default;
};

struct ComboKey {
    KindKey kind;
    qint16 num1 = 0;
    qint16 num2 = 0;
    qint16 num3 = 0;
    bool operator==(const ComboKey&) const = default;
};

size_t qHash(const KindKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.betType, k.venue, k.raceNum);
}

size_t qHash(const ComboKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.kind.betType, k.kind.venue, k.kind.raceNum, k.num1, k.num2, k.num3);
}

KindKey KindOf(const udtLog& l) {
    return {l.BetType, l.Venue, l.RaceNum};
}
ComboKey ComboOf(const udtLog& l) {
    return {KindOf(l), l.Num1, l.Num2, l.Num3};
}

class ResultIndex {
public:
    explicit ResultIndex(const QStringList& lines) {
        m_payout.reserve(lines.size());
        for (const QString& text : lines) {
            const udtLog r = StrToLog(text);
            const ComboKey combo = ComboOf(r);
            if (!m_payout.contains(combo)) { // the first line of a combination decides
                m_payout.insert(combo, r.Payout);
            }
            m_kinds.insert(KindOf(r));
        }
    }
    // The declared payout of the first line with the bet's combination, if any.
    const qint32* Payout(const udtLog& bet) const {
        const auto it = m_payout.constFind(ComboOf(bet));
        return it == m_payout.constEnd() ? nullptr : &it.value();
    }
    bool HasKind(const udtLog& bet) const { return m_kinds.contains(KindOf(bet)); }

private:
    QHash<ComboKey, qint32> m_payout;
    QSet<KindKey> m_kinds;
};

enum HitFlag : qint16 { Open = 0, Hit = 1, Miss = 2, Refunded = 3, AdvanceSale = 9 };

QString HitMessage(qint32 highestPayout) {
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

clsRace::clsRace() = default;
clsRace::~clsRace() = default;

void clsRace::setObjKekka(std::unique_ptr<clsControlKS> reader) {
    m_kekka = std::move(reader);
}

const QString& clsRace::Log(qsizetype index) const {
    if (index < 1 || index > m_log.size()) {
        throw AppError::IndexOutOfRange();
    }
    return m_log[index - 1];
}

const QString& clsRace::Omit(qsizetype index) const {
    if (index < 1 || index > m_omit.size()) {
        throw AppError::IndexOutOfRange();
    }
    return m_omit[index - 1];
}

void clsRace::GetLog(const clsControlLG& log) {
    if (m_parent == nullptr) {
        throw AppError::ObjectNotSet();
    }
    // The log's lists are sorted, so this race's lines are one run that the reader finds by search.
    QStringList bets = log.LogOf(m_sale, m_parent->KaisaiNum(), m_raceNum);
    QStringList tickets = log.LogOmitOf(m_sale, m_parent->KaisaiNum(), m_raceNum);
    std::swap(m_log, bets);
    std::swap(m_omit, tickets);
    try {
        CalcLog();
    } catch (...) {
        // An amount that does not fit leaves the race as it was, not half evaluated.
        std::swap(m_log, bets);
        std::swap(m_omit, tickets);
        throw;
    }
}

void clsRace::CalcLog() {
    qint32 amtPay = 0;
    qint32 amtYet = 0;
    qint32 amtBuy = 0;
    qint32 amtTomorrow = 0;
    qint32 amtYesterday = 0;
    qint32 highest = 0;

    const QString source = QStringLiteral("clsRace");
    const ResultIndex results(m_kekka ? m_kekka->KekkaLines() : QStringList());
    QStringList evaluated;
    evaluated.reserve(m_log.size());

    for (const QString& line : std::as_const(m_log)) {
        udtLog bet = StrToLog(line);
        const qint32 stake = Money::Mul(bet.Units, 100, source);
        qint16 flag = Open;
        qint32 rate = 0;
        if (bet.Sale == 1) {
            if (bet.BuyDay == 1) {
                amtBuy = Money::Add(amtBuy, stake, source);
            } else {
                amtYesterday = Money::Add(amtYesterday, stake, source);
            }
            if (m_kekka) {
                if (const qint32* payout = results.Payout(bet)) {
                    if (*payout != 0) {
                        rate = *payout;
                        flag = Hit;
                        highest = std::max(highest, *payout);
                    } else {
                        rate = 100; // a refund pays the stake back
                        flag = Refunded;
                    }
                    amtPay = Money::Add(amtPay, Money::Mul(bet.Units, rate, source), source);
                } else if (results.HasKind(bet)) {
                    flag = Miss;
                }
            }
            if (flag == Open) {
                amtYet = Money::Add(amtYet, stake, source);
            }
        } else {
            amtTomorrow = Money::Add(amtTomorrow, stake, source);
            flag = AdvanceSale;
        }
        bet.Payout = rate;
        bet.Hit = flag;
        evaluated.append(LogToStr(bet));
    }

    // Nothing is stored until every sum has fitted.
    m_log = std::move(evaluated);
    m_amtPay = amtPay;
    m_amtYet = amtYet;
    m_amtBuy = amtBuy;
    m_amtTomorrow = amtTomorrow;
    m_amtYesterday = amtYesterday;
    m_message = HitMessage(highest);
}

#include "patdata/BetLogReader.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"

#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "core/AppError.h"
#include "core/BetRecords.h"
#include "results/RaceResultReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

using LogFiles::at;
using LogFiles::singleBet;
using LogFiles::Ticket;
using ResultFiles::Payout;

namespace {

const QString kDate = QStringLiteral("20260405");

enum Flag { Open = 0, Hit = 1, Miss = 2, Refunded = 3, AdvanceSale = 9 };

// Race 11 of the default result file's meeting (Tokyo, 2026, 2nd meeting, 8th day).
class Evaluation : public ::testing::Test {
protected:
    Evaluation() {
        meeting.setKaisaiNum(5);
        meeting.setNendo(QStringLiteral("2026"));
        meeting.setKaiJi(QStringLiteral("02"));
        meeting.setHiJi(QStringLiteral("08"));
        meeting.setSaleDate(kDate);
        race = meeting.addRace(std::make_unique<Race>());
        race->setRaceNum(11);
        race->setKenshu(127);
    }

    void attachResult() {
        ASSERT_FALSE(ResultFiles::saveResultFile(folder.path(), result).isEmpty());
        auto reader = std::make_unique<RaceResultReader>(
            RaceResultReader::read(folder.path(), ResultFiles::resultFileId(result), 18, kDate));
        ASSERT_GT(reader->kekkaCount(), 0);
        race->setResult(std::move(reader));
    }

    // Writes the tickets as the day's log (and the eve's log), reads it into `lg` and hands it to the race.
    void evaluate(const QList<Ticket>& today, const QList<Ticket>& eve = {}) {
        const QString dir = folder.sub(QStringLiteral("log%1").arg(++logs));
        QList<LogFiles::IndexEntry> entries;
        const auto save = [&](const QList<Ticket>& tickets, const QString& date) {
            for (qsizetype from = 0; from < tickets.size(); from += 99) {
                const QString name = QStringLiteral("L%1").arg(entries.size() + 1, 4, 10, QLatin1Char('0'));
                ASSERT_TRUE(LogFiles::saveDayLog(dir, name, {1, tickets.mid(from, 99)}));
                entries.append({name, date});
            }
        };
        save(today, kDate);
        save(eve, QStringLiteral("20260404"));
        ASSERT_TRUE(LogFiles::saveIndex(dir, entries));
        lg.emplace(BetLogReader::read(dir, kDate));
        race->takeBets(*lg);
    }

    QList<BetLine> bets() const {
        QList<BetLine> out;
        for (qsizetype i = 1; i <= race->logCount(); ++i) {
            out << betLineFromText(race->log(i));
        }
        return out;
    }

    // Hit flag and paid rate of the race's bet on that combination.
    std::tuple<int, int> outcome(int betType, int n1, int n2, int n3) const {
        for (const BetLine& l : bets()) {
            if (l.betType == betType && l.num1 == n1 && l.num2 == n2 && l.num3 == n3) {
                return {l.hit, l.payout};
            }
        }
        ADD_FAILURE() << "no bet " << betType << " " << n1 << "-" << n2 << "-" << n3;
        return {-1, -1};
    }

    TempFolder folder;
    int logs = 0;
    Meeting meeting;
    Race* race = nullptr;
    std::optional<BetLogReader> lg;
    ResultFiles::ResultFile result;
};

Ticket bet(int betType, int n1, int n2, int n3, int units = 1) {
    return at(singleBet(betType, n1, n2, n3, units), 5, 11);
}

TEST_F(Evaluation, WithoutAResultEveryBetStaysOpen) {
    evaluate({bet(1, 0, 0, 5, 3), bet(7, 1, 2, 3, 10), at(singleBet(1, 0, 0, 5), 5, 12)},
             {at(bet(4, 0, 1, 2, 2), 5, 11, 2)});
    ASSERT_EQ(race->logCount(), 3); // race 12's bet is not this race's
    for (const BetLine& l : bets()) {
        EXPECT_EQ(l.hit, Open);
        EXPECT_EQ(l.payout, 0);
    }
    EXPECT_EQ(race->amtBuy(), 1300);
    EXPECT_EQ(race->amtYesterday(), 200);
    EXPECT_EQ(race->amtYet(), 1500);
    EXPECT_EQ(race->amtPay(), 0);
    EXPECT_EQ(race->amtTomorrow(), 0);
    EXPECT_TRUE(race->message().isEmpty());
}

TEST_F(Evaluation, HitsMissesRefundsAndOpenBets) {
    auto& p = result.payouts;
    p[0] = {{5, 0, 0, 350}};
    p[1] = {{3, 0, 0, 210}, {5, 0, 0, 130}, {8, 0, 0, 400}};
    p[3] = {{3, 5, 0, 1230}};
    p[4] = {{3, 5, 0, 450}, {5, 8, 0, 800}, {3, 8, 0, 1500}};
    p[5] = {{5, 3, 0, 2500}};
    p[6] = {{3, 5, 8, 4200}};
    result.refundHorses = {12};
    attachResult();
    evaluate({bet(1, 0, 0, 5, 2), bet(1, 0, 0, 7), bet(2, 0, 0, 8, 3), bet(5, 0, 5, 8), bet(5, 0, 3, 8),
              bet(5, 0, 1, 2), bet(6, 0, 3, 5), bet(6, 0, 5, 3), bet(7, 3, 5, 8), bet(3, 0, 1, 2, 4),
              bet(4, 0, 5, 12, 5), bet(1, 0, 0, 12)},
             {at(bet(2, 0, 0, 3, 10), 5, 11, 2)});

    struct Case {
        int type, n1, n2, n3, flag, rate;
    };
    const Case cases[] = {
        {1, 0, 0, 5, Hit, 350},  {1, 0, 0, 7, Miss, 0}, {2, 0, 0, 8, Hit, 400},       {5, 0, 5, 8, Hit, 800},
        {5, 0, 3, 8, Hit, 1500}, {5, 0, 1, 2, Miss, 0}, {6, 0, 3, 5, Miss, 0},        {6, 0, 5, 3, Hit, 2500},
        {7, 3, 5, 8, Hit, 4200}, {3, 0, 1, 2, Open, 0}, {4, 0, 5, 12, Refunded, 100}, {1, 0, 0, 12, Refunded, 100},
        {2, 0, 0, 3, Hit, 210}, // bought the day before
    };
    for (const Case& c : cases) {
        EXPECT_EQ(outcome(c.type, c.n1, c.n2, c.n3), std::tuple(c.flag, c.rate))
            << c.type << " " << c.n1 << "-" << c.n2 << "-" << c.n3;
    }
    EXPECT_EQ(race->amtBuy(), 2200);
    EXPECT_EQ(race->amtYesterday(), 1000);
    EXPECT_EQ(race->amtYet(), 400);
    EXPECT_EQ(race->amtPay(), 2 * 350 + 3 * 400 + 800 + 1500 + 2500 + 4200 + 5 * 100 + 100 + 10 * 210);
    EXPECT_EQ(race->message(), u"的中しています！"_qs);
    EXPECT_EQ(race->omitCount(), 13);
}

TEST_F(Evaluation, TheFirstLineOfACombinationDecides) {
    result.payouts[0] = {{5, 0, 0, 350}};
    result.payouts[6] = {{1, 2, 3, 500}, {1, 2, 3, 900}};
    result.refundHorses = {5}; // a refund line for win 5 follows its payout line
    attachResult();
    evaluate({bet(1, 0, 0, 5), bet(7, 1, 2, 3), bet(7, 1, 2, 5)});
    EXPECT_EQ(outcome(1, 0, 0, 5), std::tuple(Hit, 350));
    EXPECT_EQ(outcome(7, 1, 2, 3), std::tuple(Hit, 500));
    EXPECT_EQ(outcome(7, 1, 2, 5), std::tuple(Refunded, 100));
}

TEST_F(Evaluation, AdvanceSaleRaceOnlySumsItsStakes) {
    race->setSale(2);
    result.payouts[0] = {{5, 0, 0, 350}};
    attachResult(); // even a result, wrongly attached, settles nothing here
    evaluate({at(bet(1, 0, 0, 5, 4), 5, 11, 2), bet(1, 0, 0, 5, 7)});
    ASSERT_EQ(race->logCount(), 1);
    EXPECT_EQ(outcome(1, 0, 0, 5), std::tuple(AdvanceSale, 0));
    EXPECT_EQ(race->amtTomorrow(), 400);
    EXPECT_EQ(race->amtBuy() + race->amtYet() + race->amtPay() + race->amtYesterday(), 0);
}

TEST_F(Evaluation, HitMessageByHighestPayout) {
    const std::vector<std::pair<qint32, QString>> cases = {
        {1, u"的中しています！"_qs},
        {9999, u"的中しています！"_qs},
        {10000, u"万馬券が的中しています！"_qs},
        {99999, u"万馬券が的中しています！"_qs},
        {100000, u"１０万馬券が的中しています！"_qs},
        {999999, u"１０万馬券が的中しています！"_qs},
        {1000000, u"１００万馬券が的中しています！"_qs},
        {99999999, u"１００万馬券が的中しています！"_qs},
    };
    for (const auto& [payout, message] : cases) {
        SCOPED_TRACE(payout);
        TempFolder fresh;
        result.payouts[0] = {{5, 0, 0, 9999}};
        result.payouts[6] = {{1, 2, 3, payout}};
        ASSERT_FALSE(ResultFiles::saveResultFile(fresh.path(), result).isEmpty());
        auto reader = std::make_unique<RaceResultReader>(
            RaceResultReader::read(fresh.path(), ResultFiles::resultFileId(result), 0, kDate));
        ASSERT_GT(reader->kekkaCount(), 0);
        race->setResult(std::move(reader));
        evaluate({bet(1, 0, 0, 5), bet(7, 1, 2, 3)});
        EXPECT_EQ(race->message(), message);
    }
}

TEST_F(Evaluation, RefundsAndMissesGiveNoMessage) {
    result.payouts[0] = {{5, 0, 0, 350}};
    result.refundHorses = {9};
    attachResult();
    evaluate({bet(1, 0, 0, 9), bet(1, 0, 0, 4)});
    EXPECT_TRUE(race->message().isEmpty());
    EXPECT_EQ(race->amtPay(), 100);
}

TEST_F(Evaluation, OverflowRaisesAndLeavesTheRaceAsItWas) {
    result.payouts[0] = {{5, 0, 0, 99999999}};
    attachResult();
    evaluate({bet(1, 0, 0, 5)});
    ASSERT_EQ(race->amtPay(), 99999999);

    const auto expectOverflow = [&](const QList<Ticket>& tickets) {
        try {
            evaluate(tickets);
            ADD_FAILURE() << "no overflow";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), ErrNo::Overflow);
        }
        EXPECT_EQ(race->logCount(), 1);
        EXPECT_EQ(race->amtPay(), 99999999);
        EXPECT_EQ(race->amtBuy(), 100);
    };
    expectOverflow({bet(1, 0, 0, 5, 9999)});                    // one payout beyond 32 bits
    expectOverflow({bet(1, 0, 0, 5, 11), bet(1, 0, 0, 5, 11)}); // each fits, the sum does not
    // 2,160 stakes of 999,900 yen: the day's purchases no longer fit.
    QList<Ticket> boxes;
    for (int i = 0; i < 18; ++i) {
        boxes << at(LogFiles::boxBet(7, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 9999), 5, 11);
    }
    expectOverflow(boxes);
}

// The evaluation as a plain walk over the result lines, bet by bet, to hold the indexed one against.
struct Walked {
    QList<std::tuple<int, int>> outcomes;
    qint64 pay = 0, yet = 0, buy = 0, tomorrow = 0, yesterday = 0, highest = 0;
};

Walked walk(const QList<BetLine>& bets, const QStringList& results) {
    Walked w;
    for (const BetLine& b : bets) {
        const qint64 stake = b.units * 100;
        int flag = 0, rate = 0;
        if (b.sale == 1) {
            (b.buyDay == 1 ? w.buy : w.yesterday) += stake;
            for (const QString& text : results) {
                const BetLine r = betLineFromText(text);
                if (r.betType != b.betType || r.venue != b.venue || r.raceNum != b.raceNum) {
                    continue;
                }
                if (r.num1 == b.num1 && r.num2 == b.num2 && r.num3 == b.num3) {
                    if (r.payout != 0) {
                        rate = r.payout;
                        flag = 1;
                        w.highest = std::max<qint64>(w.highest, r.payout);
                    } else {
                        rate = 100;
                        flag = 3;
                    }
                    w.pay += qint64(b.units) * rate;
                    break;
                }
                flag = 2;
            }
            if (flag == 0) {
                w.yet += stake;
            }
        } else {
            w.tomorrow += stake;
            flag = 9;
        }
        w.outcomes.append({flag, rate});
    }
    return w;
}

TEST_F(Evaluation, IndexedOutcomeEqualsTheWalkOverTheResultLines) {
    std::mt19937 rng(2026);
    const auto pick = [&](int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); };
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        // Few numbers, so that lines of one type repeat, differ and collide with refunds.
        result = ResultFiles::ResultFile();
        const int counts[7] = {3, 5, 3, 3, 10, 6, 3};
        for (int t = 0; t < 7; ++t) {
            for (int k = pick(0, counts[t]); k > 0; --k) {
                const int amount = pick(0, 4) == 0 ? 0 : pick(100, 2000000);
                result.payouts[size_t(t)].append({pick(1, 4), pick(1, 4), pick(1, 4), amount});
            }
        }
        if (pick(0, 1) == 1) {
            result.refundHorses = {pick(1, 4)};
        }
        if (pick(0, 2) == 0) {
            result.wakuMarks[size_t(pick(0, 3))] = pick(1, 2);
        }
        if (!ResultFiles::saveResultFile(folder.path(), result).isEmpty()) {
            auto reader = std::make_unique<RaceResultReader>(
                RaceResultReader::read(folder.path(), ResultFiles::resultFileId(result), 4, kDate));
            race->setResult(reader->kekkaCount() > 0 ? std::move(reader) : nullptr);
        }
        QList<Ticket> today, eve;
        for (int i = 0; i < 150; ++i) {
            const int type = pick(1, 7);
            const int n1 = type == 7 ? pick(0, 4) : 0;
            const int n2 = type >= 3 ? pick(0, 4) : 0;
            Ticket t = bet(type, n1, n2, pick(0, 4), pick(1, 50));
            (i % 5 == 0 ? eve : today) << (i % 5 == 0 ? at(t, 5, 11, 2) : t);
        }
        evaluate(today, eve);

        QList<BetLine> open = bets();
        for (BetLine& l : open) {
            l.payout = 0;
            l.hit = 0;
        }
        const Walked w = walk(open, race->result() ? race->result()->kekkaLines() : QStringList());
        QList<std::tuple<int, int>> got;
        for (const BetLine& l : bets()) {
            got.append({l.hit, l.payout});
        }
        ASSERT_EQ(got, w.outcomes);
        EXPECT_EQ(race->amtPay(), w.pay);
        EXPECT_EQ(race->amtYet(), w.yet);
        EXPECT_EQ(race->amtBuy(), w.buy);
        EXPECT_EQ(race->amtYesterday(), w.yesterday);
        EXPECT_EQ(race->amtTomorrow(), w.tomorrow);
        EXPECT_EQ(race->message().isEmpty(), w.highest == 0);
    }
}

} // namespace

#include "views/LogViews.h"
#include "clientfiles/LogFiles.h"
#include "patdata/BetLogReader.h"
#include "patdata/Meeting.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
// A purchased ticket of the day, as the log reader forms it.
TicketLine ticket(qint16 type, qint16 kind, qint16 n1, qint16 n2, qint16 n3,
                  std::initializer_list<qint16> values = {}) {
    TicketLine t;
    t.sale = 1;
    t.status = 1;
    t.buyDay = 1;
    t.units = 1;
    t.betType = type;
    t.kind = kind;
    t.num1 = n1;
    t.num2 = n2;
    t.num3 = n3;
    std::copy(values.begin(), values.end(), t.partnerSlots.begin());
    return t;
}

// A wheel's slots: 1 for each partner.
TicketLine wheel(qint16 type, qint16 n1, qint16 n2, qint16 axis, std::initializer_list<int> partners) {
    TicketLine t = ticket(type, 1, n1, n2, axis);
    for (const int p : partners) {
        t.partnerSlots[size_t(p - 1)] = 1;
    }
    return t;
}

BetLine bet(qint16 type, qint16 n1, qint16 n2, qint16 n3, qint16 hit, qint32 payout = 0) {
    return BetLine{1, 5, 1, type, n1, n2, n3, 1, 10, payout, hit};
}
} // namespace

// The bet column of every bet type and method, the wheel's partners and the box's members on the line
// below; unknown types and methods keep their line.
TEST(LogViews, TicketColumnsByTypeAndMethod) {
    const TicketLine allSlots = wheel(3, 0, 0, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
    TicketLine wheelOfEighteen = allSlots;
    wheelOfEighteen.betType = 4;
    TicketLine oddBox = ticket(4, 2, 25, 0, 0);
    oddBox.partnerSlots.fill(7);
    const struct {
        TicketLine ticket;
        const char* text;
    } rows[] = {
        {ticket(1, 0, 0, 0, 5), " 購入 単勝　        5     100\r\n"},
        {ticket(2, 0, 0, 0, 12), " 購入 複勝　       12     100\r\n"},
        {ticket(3, 0, 0, 3, 8), " 購入 枠連　     3- 8     100\r\n"},
        {ticket(4, 0, 0, 1, 16), " 購入 馬連　     1-16     100\r\n"},
        {ticket(5, 0, 0, 7, 9), " 購入 ワイド     7- 9     100\r\n"},
        {ticket(6, 0, 0, 9, 3), " 購入 馬単　     9> 3     100\r\n"},
        {ticket(7, 0, 2, 5, 9), " 購入 ３連複  2- 5- 9     100\r\n"},
        {wheel(1, 0, 0, 4, {2}), " 購入 単勝　        4     100\r\n (2)\r\n"},
        {wheel(3, 0, 0, 3, {1, 5, 8}), " 購入 枠連　     3-**     100\r\n (1,5,8)\r\n"},
        {wheel(4, 0, 0, 7, {1, 16}), " 購入 馬連　     7-**     100\r\n (1,16)\r\n"},
        {wheel(5, 0, 0, 18, {17}), " 購入 ワイド    18-**     100\r\n (17)\r\n"},
        {wheel(6, 1, 0, 3, {5, 9}), " 購入 馬単　     3>**     100\r\n (5,9)\r\n"},
        {wheel(6, 2, 0, 3, {5, 9}), " 購入 馬単　    **> 3     100\r\n (5,9)\r\n"},
        {wheel(7, 0, 2, 9, {5}), " 購入 ３連複  2- 9-**     100\r\n (5)\r\n"},
        {ticket(2, 2, 2, 0, 0, {4, 6}), " 購入 複勝　        0     100\r\n (4,6)\r\n"},
        {ticket(3, 2, 3, 0, 0, {1, 2, 3}), " 購入 枠連　    **-**     100\r\n (1,2,3)\r\n"},
        {ticket(4, 2, 10, 0, 0, {9, 10, 11, 12, 13, 14, 15, 16, 17, 18}),
         " 購入 馬連　    **-**     100\r\n (9,10,11,12,13,14,15,16,17,18)\r\n"},
        {ticket(5, 2, 2, 0, 0, {3, 14}), " 購入 ワイド    **-**     100\r\n (3,14)\r\n"},
        {ticket(6, 2, 3, 0, 0, {1, 2, 3}), " 購入 馬単　    **>**     100\r\n (1,2,3)\r\n"},
        {ticket(7, 2, 4, 0, 0, {1, 3, 5, 7}), " 購入 ３連複 **-**-**     100\r\n (1,3,5,7)\r\n"},
        // Bracket wheels have eight slots, the others eighteen; only a slot holding 1 is a partner.
        {allSlots, " 購入 枠連　     2-**     100\r\n (1,2,3,4,5,6,7,8)\r\n"},
        {wheelOfEighteen, " 購入 馬連　     2-**     100\r\n (1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18)\r\n"},
        {ticket(4, 1, 0, 0, 6, {2, 1}), " 購入 馬連　     6-**     100\r\n (2)\r\n"},
        {wheel(4, 0, 0, 6, {}), " 購入 馬連　     6-**     100\r\n )\r\n"},
        {ticket(7, 2, 0, 0, 0, {1, 2, 3}), " 購入 ３連複 **-**-**     100\r\n )\r\n"},
        {oddBox, " 購入 馬連　    **-**     100\r\n (7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7)\r\n"},
        // Types and methods the log does not define.
        {ticket(9, 0, 1, 2, 3), " 購入 ？？？  1- 2- 3     100\r\n"},
        {ticket(0, 0, 0, 0, 4), " 購入 ？？？  0- 0- 4     100\r\n"},
        {wheel(8, 0, 0, 5, {2}), " 購入 ？？？  0- 0- 5     100\r\n (2)\r\n"},
        {ticket(4, 3, 0, 4, 6, {1}), " 購入 馬連　     4- 6     100\r\n"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(LogViews::ticketEntry(r.ticket), QString::fromUtf8(r.text)) << r.text;
    }
}

// What stands before and after the bet column: the previous day's mark, the acceptance state, the stake
// in yen and the log number.
TEST(LogViews, TicketStateStakeAndLogNumber) {
    const struct {
        qint16 buyDay, status, units, logNo;
        const char* text;
    } rows[] = {
        {1, 11, 1, 0, " 無効 単勝　        5     100\r\n"},
        {1, 21, 1, 0, " 同枠 単勝　        5     100\r\n"},
        {1, 31, 1, 0, " 締切 単勝　        5     100\r\n"},
        {1, 7, 1, 0, " E- 7 単勝　        5     100\r\n"},
        {1, 0, 1, 0, " E- 0 単勝　        5     100\r\n"},
        {1, 99, 1, 0, " E-99 単勝　        5     100\r\n"},
        {9, 1, 1, 0, "@購入 単勝　        5     100\r\n"},
        {1, 1, 9999, 0, " 購入 単勝　        5  999900\r\n"},
        {1, 1, 1, 7, " 購入 単勝　        5     100  [0007]\r\n"},
        {9, 1, 30, 1234, "@購入 単勝　        5    3000  [1234]\r\n"},
    };
    for (const auto& r : rows) {
        TicketLine t = ticket(1, 0, 0, 0, 5);
        t.buyDay = r.buyDay;
        t.status = r.status;
        t.units = r.units;
        t.logNo = r.logNo;
        EXPECT_EQ(LogViews::ticketEntry(t), QString::fromUtf8(r.text)) << r.text;
    }
}

// An accepted bet's line: its numbers as one combination, the result mark, and the payout for a hit only.
TEST(LogViews, BetLinesWithMarksAndPayouts) {
    BetLine previousDay = bet(1, 0, 0, 5, 0);
    previousDay.buyDay = 9;
    const struct {
        BetLine bet;
        bool outcome;
        const char* text;
    } rows[] = {
        {bet(1, 0, 0, 5, 1, 2500), true, " 単勝　        5    1000 ○    2500\r\n"},
        {bet(1, 0, 0, 5, 0), true, " 単勝　        5    1000 　 \r\n"},
        {bet(4, 0, 3, 11, 2, 900), true, " 馬連　     3-11    1000 × \r\n"},
        {bet(5, 0, 3, 11, 3, 100), true, " ワイド     3-11    1000 返 \r\n"},
        {bet(6, 0, 11, 3, 9), true, " 馬単　    11> 3    1000 － \r\n"},
        {bet(7, 1, 2, 3, 4), true, " ３連複  1- 2- 3    1000 ？ \r\n"},
        {bet(3, 0, 2, 2, 1, 1234567), true, " 枠連　     2- 2    1000 ○ 1234567\r\n"},
        {bet(8, 0, 0, 5, 1, 12345678), true, " ？？？  0- 0- 5    1000 ○ 12345678\r\n"},
        {bet(1, 0, 0, 5, 0), false, " 単勝　        5    1000\r\n"},
        {previousDay, false, "@単勝　        5    1000\r\n"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(LogViews::betEntry(r.bet, r.outcome), QString::fromUtf8(r.text)) << r.text;
    }
}

TEST(LogViews, TitleWithoutLogAndViewsThatDoNotExist) {
    EXPECT_EQ(LogViews::title(QStringLiteral("20261205"), nullptr), QStringLiteral("12月5日(土)  残ﾍﾞｯﾄ数 900"));
    // Eight ten-horse trio boxes are 960 bet lines, more than the day's 900: none remain.
    TempFolder folder;
    const LogFiles::Ticket box = LogFiles::boxBet(LogFiles::Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1);
    LogFiles::saveDayLog(folder.path(), QStringLiteral("LG001"), LogFiles::DayLog{1, QList<LogFiles::Ticket>(8, box)});
    LogFiles::saveIndex(folder.path(), {{QStringLiteral("LG001"), QStringLiteral("20261205")}});
    const BetLogReader log = BetLogReader::read(folder.path(), QStringLiteral("20261205"));
    ASSERT_GT(log.logCount(), 0);
    EXPECT_EQ(LogViews::title(QStringLiteral("20261205"), &log), QStringLiteral("12月5日(土)  残ﾍﾞｯﾄ数 0"));
    const std::vector<std::unique_ptr<Meeting>> none;
    EXPECT_EQ(LogViews::text(1, none), QString());
    EXPECT_EQ(LogViews::text(4, none), QStringLiteral(" 的中 0件  払戻 0円"));
    EXPECT_FALSE(LogViews::text(0, none).has_value());
    EXPECT_FALSE(LogViews::text(6, none).has_value());
}

#include "views/Passbook.h"
#include "clientfiles/FixedRecord.h"
#include "profit/ProfitBook.h"
#include "support/TestSupport.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {
// A book line: date in 1-8, bet in 9-16, payout in 17-24, profit in 25-33, update flag in 34.
QByteArray line(const QString& date, qint32 buy, qint32 pay) {
    return FixedRecord(34)
               .text(1, date, 8)
               .text(9, QString::number(buy), 8)
               .text(17, QString::number(pay), 8)
               .text(25, QString::number(pay - buy), 9)
               .text(34, QStringLiteral("0"), 1)
               .bytes() +
           "\r\n";
}

// The book of those lines, read and with its statistics computed.
void open(ProfitBook& book, const TempFolder& dir, QByteArray lines) {
    dir.write(ProfitBook::fileName(), lines);
    book.setFolder(dir.path());
    book.load();
    book.checkRecord(0, 0, 0, QString(), 0, 0);
}

// `real` days counting back from 2024/12/31, then the sentinel when asked for.
QByteArray days(int real, bool sentinel) {
    QByteArray lines;
    for (int p = 0; p < real; ++p) {
        lines += line(QDate(2024, 12, 31).addDays(-p).toString(QStringLiteral("yyyyMMdd")), 1000, 500);
    }
    return sentinel ? lines + line(QStringLiteral("00000000"), 0, 0) : lines;
}

QString text(const PassbookRow& r) {
    return QStringList{r.date, r.buy, r.pay, r.profit, Rgb::hex(r.profitColour)}.join(QLatin1Char(' '));
}
} // namespace

TEST(Passbook, ConfirmationAlignsTheAmountsOneCellWiderThanTheLongest) {
    using A = PassbookConfirmation::Action;
    struct Case {
        const char *year, *month, *day, *buy, *pay;
        A action;
        const char* message; // lines joined by '|'
        const char* key;
    };
    const Case cases[] = {
        {"2024", "05", "06", "1200", "5000", A::Register,
         "2024年05月06日|  投票  1200円|  払戻  5000円|  損益  3800円|登録しますか？", "20240506"},
        {"2024", "02", "29", "99", "100", A::Register,
         "2024年02月29日|  投票   99円|  払戻  100円|  損益    1円|登録しますか？", "20240229"},
        {"2026", "11", "30", "99999999", "0", A::Register,
         "2026年11月30日|  投票  99999999円|  払戻         0円|  損益 -99999999円|登録しますか？", "20261130"},
        // Amounts are read leniently after the input method's full-width forms; a blank is 0.
        {"2024", "05", "06", " 1200円", "１，２３４", A::Register,
         "2024年05月06日|  投票  1200円|  払戻  1234円|  損益    34円|登録しますか？", "20240506"},
        {"2024", "05", "06", "0", "300", A::Delete, "2024年05月06日のデータを削除しますか？", "20240506"},
        {"2024", "05", "06", "　", "", A::Delete, "2024年05月06日のデータを削除しますか？", "20240506"},
        // No number, or a decimal, is no amount in whole yen: never 0, which would delete the day.
        {"2024", "05", "06", "abc", "0", A::Refused, "金額を数字で入力して下さい。", ""},
        {"2024", "05", "06", "100", "-", A::Refused, "金額を数字で入力して下さい。", ""},
        {"2024", "05", "06", "0.4", "", A::Refused, "金額を数字で入力して下さい。", ""},
        {"2024", "05", "06", "100", "１２．５", A::Refused, "金額を数字で入力して下さい。", ""},
        {"2024", "05", "06", "－１００", "0", A::Refused, "マイナス金額は入力できません。", ""},
        {"2026", "11", "31", "100", "0", A::Refused, "有効な日付を入力して下さい。", ""},
        {"2026", "02", "29", "100", "0", A::Refused, "有効な日付を入力して下さい。", ""},
        {"24", "05", "06", "100", "0", A::Refused, "有効な日付を入力して下さい。", ""},
        {"", "05", "06", "100", "0", A::Refused, "有効な日付を入力して下さい。", ""},
        {"2026", "11", "31", "-100", "0", A::Refused, "有効な日付を入力して下さい。", ""},
        {"2024", "05", "06", "-100", "0", A::Refused, "マイナス金額は入力できません。", ""},
        {"2024", "05", "06", "100", "-1", A::Refused, "マイナス金額は入力できません。", ""},
        // Nine digits would come back from the file cut to eight.
        {"2024", "05", "06", "100000000", "0", A::Refused, "1億円以上の金額は入力できません。", ""},
        {"2024", "05", "06", "100", "123456789", A::Refused, "1億円以上の金額は入力できません。", ""},
    };
    for (const Case& c : cases) {
        const PassbookConfirmation got = confirmPassbookEntry({c.year, c.month, c.day, c.buy, c.pay});
        const QString row = QStringLiteral("%1/%2/%3 %4 %5").arg(c.year, c.month, c.day, c.buy, c.pay);
        EXPECT_EQ(got.pending, c.action) << row.toStdString();
        EXPECT_EQ(got.message.join(QLatin1Char('|')), QString::fromUtf8(c.message)) << row.toStdString();
        EXPECT_EQ(got.dayKey, QString::fromUtf8(c.key)) << row.toStdString();
    }
}

TEST(Passbook, PagesEndAtTheSentinelOrAtTheLastRecord) {
    struct Case {
        int real;
        bool sentinel;
        int lastPage;
        int page;
        QStringList dates; // the page's rows, by hand: position p is 2024/12/31 less p − 1 days
    };
    const Case cases[] = {
        {0, true, 0, 0, {}},
        {0, false, 0, 0, {}},
        {10,
         true,
         0,
         0,
         {"2024/12/31", "2024/12/30", "2024/12/29", "2024/12/28", "2024/12/27", "2024/12/26", "2024/12/25",
          "2024/12/24", "2024/12/23", "2024/12/22"}},
        {11, true, 1, 1, {"2024/12/21"}},
        {25, true, 2, 2, {"2024/12/11", "2024/12/10", "2024/12/09", "2024/12/08", "2024/12/07"}},
        {25, true, 2, 3, {}},
        {21, false, 2, 2, {"2024/12/11"}},
        {5, false, 0, 0, {"2024/12/31", "2024/12/30", "2024/12/29", "2024/12/28", "2024/12/27"}},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        ProfitBook book;
        open(book, dir, days(c.real, c.sentinel));
        const QString row = QStringLiteral("%1 days, sentinel %2, page %3").arg(c.real).arg(c.sentinel).arg(c.page);
        EXPECT_EQ(passbookLastPage(book), c.lastPage) << row.toStdString();
        QStringList dates;
        for (const PassbookRow& r : buildPassbookPage(book, c.page)) {
            dates << r.date;
        }
        EXPECT_EQ(dates, c.dates) << row.toStdString();
    }
}

TEST(Passbook, RowsCaptionTotalsAndRankings) {
    TempFolder dir;
    ProfitBook book;
    open(book, dir,
         line("20240506", 1200, 5000) + line("20240505", 100000, 0) + line("20240504", 500, 1000) +
             line("20240503", 700, 700) + line("00000000", 0, 0));
    const PassbookTotals t = buildPassbookTotals(book);
    EXPECT_EQ(t.caption, QStringLiteral("現在までの収支 -95,700円"));
    EXPECT_EQ(t.tooltip, QStringLiteral("投票 102,400   払戻 6,700   損益 -95,700"));

    QStringList rows;
    for (const PassbookRow& r : buildPassbookPage(book, 0)) {
        rows << text(r);
    }
    EXPECT_EQ(rows, (QStringList{"2024/05/06 1200 5000 3800 #000000", "2024/05/05 100000 0 -100000 #FF0000",
                                 "2024/05/04 500 1000 500 #000000", "2024/05/03 700 700 0 #000000"}));
    rows.clear();
    for (const PassbookRow& r : buildPassbookRanking(book, PassbookRanking::Best)) {
        rows << text(r);
    }
    EXPECT_EQ(rows, (QStringList{"2024/05/06 1200 5000 3800 #000000", "2024/05/04 500 1000 500 #000000"}));
    rows.clear();
    for (const PassbookRow& r : buildPassbookRanking(book, PassbookRanking::Worst)) {
        rows << text(r);
    }
    EXPECT_EQ(rows, QStringList{"2024/05/05 100000 0 -100000 #FF0000"});

    // 130 heavy days pass 2^31 yen in all: shown whole, the book still usable.
    QByteArray heavy;
    for (int d = 1; d <= 130; ++d) {
        heavy += line(QDate(2025, 1, 1).addDays(d).toString(QStringLiteral("yyyyMMdd")), 20000000, 0);
    }
    open(book, dir, heavy + line("00000000", 0, 0));
    EXPECT_EQ(buildPassbookTotals(book).caption, QStringLiteral("現在までの収支 -2,600,000,000円"));

    TempFolder fresh; // a first run: the sentinel alone
    ProfitBook empty;
    empty.setFolder(fresh.path());
    empty.load();
    EXPECT_EQ(buildPassbookTotals(empty).caption, QStringLiteral("現在までの収支 0円"));
    EXPECT_TRUE(buildPassbookPage(empty, 0).isEmpty());
}

#include "views/PassbookChart.h"
#include "clientfiles/FixedRecord.h"
#include "profit/ProfitBook.h"
#include "support/TestSupport.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {
// A book line: date in 1-8, bet in 9-16, payout in 17-24, profit in 25-33, update flag in 34.
QByteArray line(const QString& date, qint32 buy, qint32 pay, int update = 0) {
    return FixedRecord(34)
               .text(1, date, 8)
               .text(9, QString::number(buy), 8)
               .text(17, QString::number(pay), 8)
               .text(25, QString::number(pay - buy), 9)
               .text(34, QString::number(update), 1)
               .bytes() +
           "\r\n";
}

QString points(const PassbookChart& c) {
    QStringList out;
    for (const PassbookChartPoint& p : c.points) {
        out << QStringLiteral("%1 %2 %3")
                   .arg(p.date.toString(QStringLiteral("yyyyMMdd")))
                   .arg(p.profit)
                   .arg(p.cumulative);
    }
    return out.join(QLatin1Char('|'));
}

QString ticks(const PassbookChart& c) {
    QStringList out;
    for (const PassbookChartTick& t : c.ticks) {
        out << QString::number(t.index) + QLatin1Char(' ') + t.label;
    }
    return out.join(QLatin1Char('|'));
}
} // namespace

// Five days across a year's end, the file's order changed by hand (12/31 after 12/01), a protected day, a
// record whose date is no date and the sentinel. Figures worked out by hand.
TEST(PassbookChart, SpansEndAtTheLatestDayAndRunFromZero) {
    TempFolder dir;
    dir.write(ProfitBook::fileName(), line("20250105", 800, 0) + line("20250104", 1500, 2700) +
                                          line("20241201", 1000, 4500, 1) + line("20241231", 2000, 0) +
                                          line("20241399", 500, 9000) + line("20241130", 3000, 1000) +
                                          line("00000000", 0, 0));
    TempFolder none;
    ProfitBook book, empty;
    book.setFolder(dir.path());
    book.load();
    empty.setFolder(none.path());
    empty.load();

    struct Case {
        const ProfitBook* book;
        PassbookSpan span;
        const char *caption, *points, *ticks;
        qint64 low, high, step;
    };
    const Case cases[] = {
        {&book, PassbookSpan::Month, "2025年1月  2日間  収支 400円", "20250104 1200 1200|20250105 -800 400",
         "0 01/04|1 01/05", -1000, 1500, 500},
        {&book, PassbookSpan::Year, "2025年  2日間  収支 400円", "20250104 1200 1200|20250105 -800 400",
         "0 01/04|1 01/05", -1000, 1500, 500},
        {&book, PassbookSpan::All, "全期間  5日間  収支 -100円",
         "20241130 -2000 -2000|20241201 3500 1500|20241231 -2000 -500|20250104 1200 700|20250105 -800 -100",
         "0 2024/11|1 2024/12|3 2025/01", -2000, 4000, 1000},
        {&empty, PassbookSpan::Month, "記録がありません", "", "", 0, 1000, 200},
        {&empty, PassbookSpan::All, "記録がありません", "", "", 0, 1000, 200},
    };
    for (const Case& c : cases) {
        const PassbookChart chart = buildPassbookChart(*c.book, c.span);
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(chart.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(points(chart), QString::fromUtf8(c.points));
        EXPECT_EQ(ticks(chart), QString::fromUtf8(c.ticks));
        EXPECT_EQ(chart.low, c.low);
        EXPECT_EQ(chart.high, c.high);
        EXPECT_EQ(chart.step, c.step);
    }
}

// Twenty years of days: the axis keeps a dozen labels at most, and a sum past 32 bits is carried.
TEST(PassbookChart, YearsOfDaysKeepAFewLabelsAndA64BitTotal) {
    TempFolder dir;
    QByteArray lines;
    const QDate last(2024, 12, 31);
    qsizetype days = 0;
    for (QDate d = last; d.year() >= 2005; d = d.addDays(-1), ++days) {
        lines += line(d.toString(QStringLiteral("yyyyMMdd")), 1, 99'999'999);
    }
    dir.write(ProfitBook::fileName(), lines + line("00000000", 0, 0));
    ProfitBook book;
    book.setFolder(dir.path());
    book.load();
    const PassbookChart chart = buildPassbookChart(book, PassbookSpan::All);
    ASSERT_EQ(chart.points.size(), days);
    EXPECT_EQ(chart.points.back().cumulative, qint64(days) * 99'999'998);
    EXPECT_EQ(ticks(chart), "0 2005年|730 2007年|1461 2009年|2191 2011年|2922 2013年|3652 2015年|4383 2017年|5113 "
                            "2019年|5844 2021年|6574 2023年");
}

#include "Passbook.h"

#include "core/Csv.h"
#include "core/Dates.h"
#include "core/Formats.h"
#include "core/Numbers.h"
#include "profit/ProfitBook.h"

#include <algorithm>
#include <optional>

namespace {
bool IsSentinel(const QString& date) {
    return date == ProfitBook::SentinelDate();
}

bool Digits(QStringView text, qsizetype count) {
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

PassbookRow MakePassbookRow(const QString& date, qint32 buy, qint32 pay, qint32 profit) {
    return {Fmt::DatePattern(date), Fmt::Hash0(buy), Fmt::Hash0(pay), Fmt::Hash0(profit),
            profit < 0 ? Rgb::Red : Rgb::Black};
}

PassbookTotals BuildPassbookTotals(const ProfitBook& book) {
    const qint64 profit = book.TotalProfit();
    PassbookTotals t;
    t.Caption = QStringLiteral("現在までの収支 ") + Fmt::Thousands(profit) + QStringLiteral("円");
    t.Tooltip = QStringLiteral("投票 ") + Fmt::Thousands(book.TotalBuy()) + QStringLiteral("   払戻 ") +
                Fmt::Thousands(book.TotalPay()) + QStringLiteral("   損益 ") + Fmt::Thousands(profit);
    return t;
}

int PassbookLastPage(const ProfitBook& book) {
    // A sound book ends with the sentinel, which has no row. A book that lost it (edited by hand) still
    // shows its last record.
    qsizetype real = book.PastCount();
    if (real > 0 && IsSentinel(book.PastDate(real))) {
        --real;
    }
    return real > 0 ? static_cast<int>((real - 1) / kPassbookRows) : 0;
}

QList<PassbookRow> BuildPassbookPage(const ProfitBook& book, int page) {
    QList<PassbookRow> rows;
    if (page < 0) {
        return rows;
    }
    for (int r = 1; r <= kPassbookRows; ++r) {
        const qsizetype p = qsizetype(page) * kPassbookRows + r;
        if (p > book.PastCount() || IsSentinel(book.PastDate(p))) {
            break;
        }
        rows << MakePassbookRow(book.PastDate(p), book.PastBuy(p), book.PastPay(p), book.PastProfit(p));
    }
    return rows;
}

QList<PassbookRow> BuildPassbookRanking(const ProfitBook& book, PassbookRanking ranking) {
    const bool best = ranking == PassbookRanking::Best;
    const qsizetype count = std::min<qsizetype>(best ? book.BestCount() : book.WorstCount(), kPassbookRows);
    QList<PassbookRow> rows;
    for (qsizetype i = 1; i <= count; ++i) {
        const QString& date = best ? book.BestDate(i) : book.WorstDate(i);
        if (IsSentinel(date)) {
            rows << PassbookRow{};
        } else if (best) {
            rows << MakePassbookRow(date, book.BestBuy(i), book.BestPay(i), book.BestProfit(i));
        } else {
            rows << MakePassbookRow(date, book.WorstBuy(i), book.WorstPay(i), book.WorstProfit(i));
        }
    }
    return rows;
}

std::optional<QString> PassbookDayKey(const PassbookEntry& entry) {
    // Four digits for the year: a short one would file the day under a year two thousand years back.
    if (!Digits(entry.Year, 4) || !Digits(entry.Month, 2) || !Digits(entry.Day, 2)) {
        return std::nullopt;
    }
    const std::optional<QDate> date = Dates::FromYmd(entry.Year + entry.Month + entry.Day);
    return date ? std::optional<QString>(Dates::ToYmd(*date)) : std::nullopt;
}

std::optional<qint32> ReadPassbookAmount(QStringView typed) {
    QString text;
    text.reserve(typed.size());
    for (const QChar c : typed) {
        const char16_t u = c.unicode();
        if (u >= u'０' && u <= u'９') {
            text += QChar(u'0' + (u - u'０'));
        } else if (u == u'－' || u == u'−') {
            text += u'-';
        } else if (u == u'．') {
            text += u'.';
        } else if (u == u'　') {
            text += u' ';
        } else if (u != u',' && u != u'，') {
            text += c;
        }
    }
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return 0;
    }
    const qsizetype first = trimmed.front() == u'-' || trimmed.front() == u'+' ? 1 : 0;
    if (first >= trimmed.size() || trimmed[first] < u'0' || trimmed[first] > u'9' || trimmed.contains(u'.')) {
        return std::nullopt;
    }
    return Num::ToInt32(trimmed);
}

std::optional<PassbookDay> FindPassbookDay(const ProfitBook& book, const QString& dayKey) {
    for (qsizetype i = 1; i <= book.PastCount(); ++i) {
        if (book.PastDate(i) == dayKey) {
            return PassbookDay{book.PastBuy(i), book.PastPay(i), book.PastUpdate(i) != 0};
        }
    }
    return std::nullopt;
}

PassbookConfirmation ConfirmPassbookEntry(const PassbookEntry& entry, const ProfitBook* book) {
    PassbookConfirmation c;
    const std::optional<QString> key = PassbookDayKey(entry);
    if (!key) {
        c.Message = {QStringLiteral("有効な日付を入力して下さい。")};
        return c;
    }
    const std::optional<qint32> buy = ReadPassbookAmount(entry.Buy);
    const std::optional<qint32> pay = ReadPassbookAmount(entry.Pay);
    if (!buy || !pay) {
        c.Message = {QStringLiteral("金額を数字で入力して下さい。")};
        return c;
    }
    c.Buy = *buy;
    c.Pay = *pay;
    if (c.Buy < 0 || c.Pay < 0) {
        c.Message = {QStringLiteral("マイナス金額は入力できません。")};
        return c;
    }
    if (c.Buy > kPassbookMaxAmount || c.Pay > kPassbookMaxAmount) {
        c.Message = {QStringLiteral("1億円以上の金額は入力できません。")};
        return c;
    }
    c.DayKey = *key;
    const QString label =
        entry.Year + QStringLiteral("年") + entry.Month + QStringLiteral("月") + entry.Day + QStringLiteral("日");
    if (c.Buy == 0) {
        c.Pending = PassbookConfirmation::Delete;
        c.Message = {label + QStringLiteral("のデータを削除しますか？")};
        return c;
    }
    c.Pending = PassbookConfirmation::Register;
    // One cell more than the longest amount, so a loss keeps its minus sign in line with the amounts.
    const int cells = static_cast<int>(std::max(Fmt::Hash0(c.Buy).size(), Fmt::Hash0(c.Pay).size())) + 1;
    const auto line = [cells](const char16_t* caption, qint64 yen) {
        return QString::fromUtf16(caption) + Fmt::At(yen, cells) + QStringLiteral("円");
    };
    c.Message = {label, line(u"  投票 ", c.Buy), line(u"  払戻 ", c.Pay), line(u"  損益 ", qint64(c.Pay) - c.Buy)};
    // A day the book holds is replaced: say by what, so a slip of the date does not go unseen.
    if (const std::optional<PassbookDay> held = book ? FindPassbookDay(*book, c.DayKey) : std::nullopt) {
        c.Message << QStringLiteral("  (登録済み 投票 %1円 払戻 %2円)").arg(held->Buy).arg(held->Pay);
    }
    c.Message << QStringLiteral("登録しますか？");
    return c;
}

QList<QStringList> BuildPassbookCsvRows(const ProfitBook& book) {
    QList<QStringList> rows;
    rows.reserve(book.PastCount() + 1);
    rows.append({QStringLiteral("日付"), QStringLiteral("投票"), QStringLiteral("払戻"), QStringLiteral("損益"),
                 QStringLiteral("保護")});
    for (qsizetype i = 1; i <= book.PastCount(); ++i) {
        if (IsSentinel(book.PastDate(i))) {
            continue;
        }
        rows.append({book.PastDate(i), QString::number(book.PastBuy(i)), QString::number(book.PastPay(i)),
                     QString::number(book.PastProfit(i)),
                     book.PastUpdate(i) != 0 ? QStringLiteral("1") : QStringLiteral("0")});
    }
    return rows;
}

QByteArray PassbookCsv(const ProfitBook& book) {
    return Csv::Document(BuildPassbookCsvRows(book));
}

QString PassbookCsvFileName(const ProfitBook& book, const QString& saleDay) {
    QString day = saleDay;
    if (!Dates::FromYmd(day)) {
        day = book.PastCount() >= 1 && !IsSentinel(book.PastDate(1)) ? book.PastDate(1) : QString();
    }
    return QStringLiteral("通帳") + (day.isEmpty() ? QString() : QLatin1Char('_') + day) + QStringLiteral(".csv");
}

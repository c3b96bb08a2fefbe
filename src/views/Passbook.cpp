#include "Passbook.h"

#include "core/Csv.h"
#include "core/Dates.h"
#include "core/Formats.h"
#include "core/Numbers.h"
#include "profit/ProfitBook.h"

#include <algorithm>
#include <optional>

namespace {
bool isSentinel(const QString& date) {
    return date == ProfitBook::sentinelDate();
}

bool digits(QStringView text, qsizetype count) {
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

PassbookRow makePassbookRow(const QString& date, qint32 buy, qint32 pay, qint32 profit) {
    return {Fmt::datePattern(date), Fmt::hash0(buy), Fmt::hash0(pay), Fmt::hash0(profit),
            profit < 0 ? Rgb::Red : Rgb::Black};
}

PassbookTotals buildPassbookTotals(const ProfitBook& book) {
    const qint64 profit = book.totalProfit();
    PassbookTotals t;
    t.caption = QStringLiteral("現在までの収支 ") + Fmt::thousands(profit) + QStringLiteral("円");
    t.tooltip = QStringLiteral("投票 ") + Fmt::thousands(book.totalBuy()) + QStringLiteral("   払戻 ") +
                Fmt::thousands(book.totalPay()) + QStringLiteral("   損益 ") + Fmt::thousands(profit);
    return t;
}

int passbookLastPage(const ProfitBook& book) {
    // A sound book ends with the sentinel, which has no row. A book that lost it (edited by hand) still
    // shows its last record.
    qsizetype real = book.pastCount();
    if (real > 0 && isSentinel(book.pastDate(real))) {
        --real;
    }
    return real > 0 ? static_cast<int>((real - 1) / kPassbookRows) : 0;
}

QList<PassbookRow> buildPassbookPage(const ProfitBook& book, int page) {
    QList<PassbookRow> rows;
    if (page < 0) {
        return rows;
    }
    for (int r = 1; r <= kPassbookRows; ++r) {
        const qsizetype p = qsizetype(page) * kPassbookRows + r;
        if (p > book.pastCount() || isSentinel(book.pastDate(p))) {
            break;
        }
        rows << makePassbookRow(book.pastDate(p), book.pastBuy(p), book.pastPay(p), book.pastProfit(p));
    }
    return rows;
}

QList<PassbookRow> buildPassbookRanking(const ProfitBook& book, PassbookRanking ranking) {
    const bool best = ranking == PassbookRanking::Best;
    const qsizetype count = std::min<qsizetype>(best ? book.bestCount() : book.worstCount(), kPassbookRows);
    QList<PassbookRow> rows;
    for (qsizetype i = 1; i <= count; ++i) {
        const QString& date = best ? book.bestDate(i) : book.worstDate(i);
        if (isSentinel(date)) {
            rows << PassbookRow{};
        } else if (best) {
            rows << makePassbookRow(date, book.bestBuy(i), book.bestPay(i), book.bestProfit(i));
        } else {
            rows << makePassbookRow(date, book.worstBuy(i), book.worstPay(i), book.worstProfit(i));
        }
    }
    return rows;
}

std::optional<QString> passbookDayKey(const PassbookEntry& entry) {
    // Four digits for the year: a short one would file the day under a year two thousand years back.
    if (!digits(entry.year, 4) || !digits(entry.month, 2) || !digits(entry.day, 2)) {
        return std::nullopt;
    }
    const std::optional<QDate> date = Dates::fromYmd(entry.year + entry.month + entry.day);
    return date ? std::optional<QString>(Dates::toYmd(*date)) : std::nullopt;
}

std::optional<qint32> readPassbookAmount(QStringView typed) {
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
    return Num::toInt32(trimmed);
}

std::optional<PassbookDay> findPassbookDay(const ProfitBook& book, const QString& dayKey) {
    for (qsizetype i = 1; i <= book.pastCount(); ++i) {
        if (book.pastDate(i) == dayKey) {
            return PassbookDay{book.pastBuy(i), book.pastPay(i), book.pastUpdate(i) != 0};
        }
    }
    return std::nullopt;
}

PassbookConfirmation confirmPassbookEntry(const PassbookEntry& entry, const ProfitBook* book) {
    PassbookConfirmation c;
    const std::optional<QString> key = passbookDayKey(entry);
    if (!key) {
        c.message = {QStringLiteral("有効な日付を入力して下さい。")};
        return c;
    }
    const std::optional<qint32> buy = readPassbookAmount(entry.buy);
    const std::optional<qint32> pay = readPassbookAmount(entry.pay);
    if (!buy || !pay) {
        c.message = {QStringLiteral("金額を数字で入力して下さい。")};
        return c;
    }
    c.buy = *buy;
    c.pay = *pay;
    if (c.buy < 0 || c.pay < 0) {
        c.message = {QStringLiteral("マイナス金額は入力できません。")};
        return c;
    }
    if (c.buy > kPassbookMaxAmount || c.pay > kPassbookMaxAmount) {
        c.message = {QStringLiteral("1億円以上の金額は入力できません。")};
        return c;
    }
    c.dayKey = *key;
    const QString label =
        entry.year + QStringLiteral("年") + entry.month + QStringLiteral("月") + entry.day + QStringLiteral("日");
    if (c.buy == 0) {
        c.pending = PassbookConfirmation::Delete;
        c.message = {label + QStringLiteral("のデータを削除しますか？")};
        return c;
    }
    c.pending = PassbookConfirmation::Register;
    // One cell more than the longest amount, so a loss keeps its minus sign in line with the amounts.
    const int cells = static_cast<int>(std::max(Fmt::hash0(c.buy).size(), Fmt::hash0(c.pay).size())) + 1;
    const auto line = [cells](const char16_t* caption, qint64 yen) {
        return QString::fromUtf16(caption) + Fmt::at(yen, cells) + QStringLiteral("円");
    };
    c.message = {label, line(u"  投票 ", c.buy), line(u"  払戻 ", c.pay), line(u"  損益 ", qint64(c.pay) - c.buy)};
    // A day the book holds is replaced: say by what, so a slip of the date does not go unseen.
    if (const std::optional<PassbookDay> held = book ? findPassbookDay(*book, c.dayKey) : std::nullopt) {
        c.message << QStringLiteral("  (登録済み 投票 %1円 払戻 %2円)").arg(held->buy).arg(held->pay);
    }
    c.message << QStringLiteral("登録しますか？");
    return c;
}

QList<QStringList> buildPassbookCsvRows(const ProfitBook& book) {
    QList<QStringList> rows;
    rows.reserve(book.pastCount() + 1);
    rows.append({QStringLiteral("日付"), QStringLiteral("投票"), QStringLiteral("払戻"), QStringLiteral("損益"),
                 QStringLiteral("保護")});
    for (qsizetype i = 1; i <= book.pastCount(); ++i) {
        if (isSentinel(book.pastDate(i))) {
            continue;
        }
        rows.append({book.pastDate(i), QString::number(book.pastBuy(i)), QString::number(book.pastPay(i)),
                     QString::number(book.pastProfit(i)),
                     book.pastUpdate(i) != 0 ? QStringLiteral("1") : QStringLiteral("0")});
    }
    return rows;
}

QByteArray passbookCsv(const ProfitBook& book) {
    return Csv::document(buildPassbookCsvRows(book));
}

QString passbookCsvFileName(const ProfitBook& book, const QString& saleDay) {
    QString day = saleDay;
    if (!Dates::fromYmd(day)) {
        day = book.pastCount() >= 1 && !isSentinel(book.pastDate(1)) ? book.pastDate(1) : QString();
    }
    return QStringLiteral("通帳") + (day.isEmpty() ? QString() : QLatin1Char('_') + day) + QStringLiteral(".csv");
}

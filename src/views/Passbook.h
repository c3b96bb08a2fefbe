#pragma once

#include "Rgb.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class ProfitBook;

// The passbook (通帳): the profit book ten records at a time, the ten best and worst days, and the input
// panel's confirmation of a day to register or delete.

inline constexpr int kPassbookRows = 10;
// The record file keeps eight characters of an amount: a larger one would come back cut.
inline constexpr qint32 kPassbookMaxAmount = 99'999'999;

// One list row. All texts empty: a row left blank.
struct PassbookRow {
    QString date; // "2024/05/06"
    QString buy;
    QString pay;
    QString profit;
    Rgb::Value profitColour = Rgb::Black; // red for a loss
};
PassbookRow makePassbookRow(const QString& date, qint32 buy, qint32 pay, qint32 profit);

// The window caption and the totals tooltip of the list. A total that does not fit 32 bits raises the
// overflow error.
struct PassbookTotals {
    QString caption; // "現在までの収支 12,345円"
    QString tooltip; // "投票 1,000   払戻 13,345   損益 12,345"
};
PassbookTotals buildPassbookTotals(const ProfitBook& book);

// The last page of the scroll bar: the page of the last real record, 0 for a book of up to ten days.
int passbookLastPage(const ProfitBook& book);
// The rows of page `page` (0-based): book positions page × 10 + 1 onwards, ending at the sentinel or at
// the end of the book, whichever comes first.
QList<PassbookRow> buildPassbookPage(const ProfitBook& book, int page);

enum class PassbookRanking { Best, Worst };
// The first ten of the best or worst list; a sentinel there leaves its row blank.
QList<PassbookRow> buildPassbookRanking(const ProfitBook& book, PassbookRanking ranking);

// The input panel's fields as typed.
struct PassbookEntry {
    QString year;
    QString month;
    QString day;
    QString buy;
    QString pay;
};

// The day key (yyyymmdd) of the date fields: a four-digit year and two-digit month and day forming a date;
// none otherwise.
std::optional<QString> passbookDayKey(const PassbookEntry& entry);

// An amount as typed. Input methods type full-width: full-width digits, comma, minus and point count as
// their half-width forms, and thousands separators are dropped. A blank field is 0. None for a text that
// does not begin with a number (after blanks and a sign), or that holds a decimal point: the book holds
// whole yen, and reading either as 0 would offer to delete the day. Otherwise the lenient reading, so
// "1200円" is 1200.
std::optional<qint32> readPassbookAmount(QStringView typed);

// A day the book holds, as the input panel loads it when the day is picked.
struct PassbookDay {
    qint32 buy = 0;
    qint32 pay = 0;
    bool isProtected = false; // "このデータは自動更新させない"
};
std::optional<PassbookDay> findPassbookDay(const ProfitBook& book, const QString& dayKey);

// What the confirm button makes of the fields: the message to show and, unless refused, the action OK
// takes, with the day key (yyyymmdd) and the amounts it takes it with.
struct PassbookConfirmation {
    enum Action { Refused, Register, Delete };
    Action pending = Refused;
    QStringList message; // the lines of the message box
    QString dayKey;
    qint32 buy = 0;
    qint32 pay = 0;
};
// With the book, registering a day it holds says what is replaced.
PassbookConfirmation confirmPassbookEntry(const PassbookEntry& entry, const ProfitBook* book = nullptr);

// The book for spreadsheet programs: the header row "日付,投票,払戻,損益,保護" (the list's own words, as the
// analysis CSV has), then one row per record in the book's order (newest first) with the date as yyyymmdd,
// whole yen and the protected flag as 1 or 0; the sentinel has no row. The window's CSV保存 and
// `velqora book --csv` write these rows.
QList<QStringList> buildPassbookCsvRows(const ProfitBook& book);
// The same rows as the file's bytes (UTF-8 with a byte-order mark, CR LF).
QByteArray passbookCsv(const ProfitBook& book);
// The name CSV保存 offers: "通帳_" and the day the data is of (the sale day read, else the book's latest
// day), never the clock's, so a file saved on a later day still says which day it holds.
QString passbookCsvFileName(const ProfitBook& book, const QString& saleDay);

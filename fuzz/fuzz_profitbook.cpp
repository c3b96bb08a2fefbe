// The profit book: any file is read, a day is entered, and the book saved is the book read back next
// time, record for record (each in the form its line gives it). A book that cannot be read completely is
// never written over. Its rankings order their keys as the pairwise exchange does.
#include "FuzzSupport.h"

#include "core/AppError.h"
#include "core/CodePage.h"
#include "core/ErrorReporter.h"
#include "profit/ProfitBook.h"

#include <QFile>

namespace {

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<PassbookRecord> Records(const ProfitBook& book) {
    std::vector<PassbookRecord> out;
    for (qsizetype i = 1; i <= book.PastCount(); ++i) {
        out.push_back({book.PastDate(i), book.PastBuy(i), book.PastPay(i), book.PastProfit(i), book.PastUpdate(i)});
    }
    return out;
}

// The best and worst lists order their keys (profit, then date) as the pairwise exchange the book was
// always sorted with: records k and j change places when k's profit, then k's date, comes first.
void CheckRankings(const ProfitBook& book) {
    using Key = std::pair<qint32, QString>;
    for (const bool best : {true, false}) {
        QList<Key> keys;
        for (qsizetype i = 1; i < book.PastCount(); ++i) { // the last record is never listed
            const qint32 profit = book.PastProfit(i);
            if (best ? profit > 0 : profit < 0) {
                keys.append({profit, book.PastDate(i)});
            }
        }
        for (qsizetype j = 0; j + 1 < keys.size(); ++j) {
            for (qsizetype k = j + 1; k < keys.size(); ++k) {
                const auto& [pj, dj] = keys[j];
                const auto& [pk, dk] = keys[k];
                if ((best ? pj < pk : pj > pk) || (pj == pk && dj < dk)) {
                    keys.swapItemsAt(j, k);
                }
            }
        }
        const qsizetype count = best ? book.BestCount() : book.WorstCount();
        Fuzz::Check(count == keys.size(), "every gain or loss but the last record's is listed");
        for (qsizetype i = 1; i <= count; ++i) {
            const Key listed{best ? book.BestProfit(i) : book.WorstProfit(i),
                             best ? book.BestDate(i) : book.WorstDate(i)};
            Fuzz::Check(listed == keys[i - 1], "ranked as the pairwise exchange ranks", listed.second);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::Quiet(), true);
    (void)quiet;
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString folder = Fuzz::WriteFiles({{ProfitBook::FileName(), input}});
    const QString path = folder + ProfitBook::FileName();

    ProfitBook book;
    book.setFolder(folder);
    book.GetRecord();
    // Every line is a record, so only a refused book (or an empty file) comes out with none.
    const bool read = book.PastCount() > 0 || input.isEmpty();
    try {
        book.CheckRecord(12300, 4560, 0, 0, QStringLiteral("20261205"), 0, 0);
        book.DeleteRecord(QStringLiteral("20261128"));
        (void)book.TotalBuy();
        (void)book.TotalProfit();
    } catch (const AppError& e) {
        Fuzz::Check(e.Number() == ErrNo::Overflow, "only sums may fail", e.Description());
    }
    if (!read) {
        Fuzz::Check(FileBytes(path) == input, "an unread book is never written over");
        return 0;
    }
    CheckRankings(book);
    // A book we wrote is a book we read back: nothing is reported on reading it.
    struct Counting : IErrorReporter {
        int shown = 0;
        void ShowError(const QString&, const QString&) override { ++shown; }
    } counting;
    IErrorReporter* const quietReporter = CurrentErrorReporter();
    const bool ours = FileBytes(path) != input;
    SetErrorReporter(&counting);
    ProfitBook again;
    again.setFolder(folder);
    again.GetRecord();
    SetErrorReporter(quietReporter);
    Fuzz::Check(!ours || counting.shown == 0, "a written book reads back without a word");
    std::vector<PassbookRecord> expected = Records(book);
    // A book that was saved holds each record's line in the code page (a character it has no place for,
    // one decoded from a stray byte, comes back as its substitute). A book nothing changed in was left as
    // it was, short lines and all.
    if (FileBytes(path) != input) {
        for (PassbookRecord& r : expected) {
            r = ProfitBook::LineToRecord(CodePage::Decode(CodePage::Encode(ProfitBook::RecordToLine(r))));
        }
    }
    const std::vector<PassbookRecord> back = Records(again);
    QString first;
    for (std::size_t i = 0; i < qMin(back.size(), expected.size()) && first.isEmpty(); ++i) {
        if (!(back[i] == expected[i])) {
            first = ProfitBook::RecordToLine(expected[i]) + u'|' + ProfitBook::RecordToLine(back[i]);
        }
    }
    Fuzz::Check(back == expected, "the saved book reads back as it was kept",
                QStringLiteral("%1 records kept, %2 read; %3").arg(expected.size()).arg(back.size()).arg(first));

    // An editor's byte-order mark in front changes nothing that is read.
    if (!input.startsWith("\xEF\xBB\xBF")) {
        ProfitBook plain;
        plain.setFolder(Fuzz::WriteFiles({{ProfitBook::FileName(), input}}));
        plain.GetRecord();
        ProfitBook withMark; // the scratch folder is emptied for it
        withMark.setFolder(Fuzz::WriteFiles({{ProfitBook::FileName(), "\xEF\xBB\xBF" + input}}));
        withMark.GetRecord();
        Fuzz::Check(Records(withMark) == Records(plain), "a byte-order mark is no part of the book");
    }
    return 0;
}

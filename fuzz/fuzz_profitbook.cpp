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

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<PassbookRecord> records(const ProfitBook& book) {
    std::vector<PassbookRecord> out;
    for (qsizetype i = 1; i <= book.pastCount(); ++i) {
        out.push_back({book.pastDate(i), book.pastBuy(i), book.pastPay(i), book.pastProfit(i), book.pastUpdate(i)});
    }
    return out;
}

// The best and worst lists order their keys (profit, then date) as the pairwise exchange the book was
// always sorted with: records k and j change places when k's profit, then k's date, comes first.
void checkRankings(const ProfitBook& book) {
    using Key = std::pair<qint32, QString>;
    for (const bool best : {true, false}) {
        QList<Key> keys;
        for (qsizetype i = 1; i < book.pastCount(); ++i) { // the last record is never listed
            const qint32 profit = book.pastProfit(i);
            if (best ? profit > 0 : profit < 0) {
                keys.append({profit, book.pastDate(i)});
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
        const qsizetype count = best ? book.bestCount() : book.worstCount();
        Fuzz::check(count == keys.size(), "every gain or loss but the last record's is listed");
        for (qsizetype i = 1; i <= count; ++i) {
            const Key listed{best ? book.bestProfit(i) : book.worstProfit(i),
                             best ? book.bestDate(i) : book.worstDate(i)};
            Fuzz::check(listed == keys[i - 1], "ranked as the pairwise exchange ranks", listed.second);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::quiet(), true);
    (void)quiet;
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString folder = Fuzz::writeFiles({{ProfitBook::fileName(), input}});
    const QString path = folder + ProfitBook::fileName();

    ProfitBook book;
    book.setFolder(folder);
    book.load();
    // Every line is a record, so only a refused book (or an empty file) comes out with none.
    const bool read = book.pastCount() > 0 || input.isEmpty();
    try {
        book.checkRecord(12300, 4560, 0, QStringLiteral("20261205"), 0, 0);
        book.deleteRecord(QStringLiteral("20261128"));
        (void)book.totalBuy();
        (void)book.totalProfit();
    } catch (const AppError& e) {
        Fuzz::check(e.number() == ErrNo::Overflow, "only sums may fail", e.description());
    }
    if (!read) {
        Fuzz::check(fileBytes(path) == input, "an unread book is never written over");
        return 0;
    }
    checkRankings(book);
    // A book we wrote is a book we read back: nothing is reported on reading it.
    struct Counting : IErrorReporter {
        int shown = 0;
        void showError(const QString&, const QString&) override { ++shown; }
    } counting;
    IErrorReporter* const quietReporter = currentErrorReporter();
    const bool ours = fileBytes(path) != input;
    setErrorReporter(&counting);
    ProfitBook again;
    again.setFolder(folder);
    again.load();
    setErrorReporter(quietReporter);
    Fuzz::check(!ours || counting.shown == 0, "a written book reads back without a word");
    std::vector<PassbookRecord> expected = records(book);
    // A book that was saved holds each record's line in the code page (a character it has no place for,
    // one decoded from a stray byte, comes back as its substitute). A book nothing changed in was left as
    // it was, short lines and all.
    if (fileBytes(path) != input) {
        for (PassbookRecord& r : expected) {
            r = ProfitBook::lineToRecord(CodePage::decode(CodePage::encode(ProfitBook::recordToLine(r))));
        }
    }
    const std::vector<PassbookRecord> back = records(again);
    QString first;
    for (std::size_t i = 0; i < qMin(back.size(), expected.size()) && first.isEmpty(); ++i) {
        if (!(back[i] == expected[i])) {
            first = ProfitBook::recordToLine(expected[i]) + u'|' + ProfitBook::recordToLine(back[i]);
        }
    }
    Fuzz::check(back == expected, "the saved book reads back as it was kept",
                QStringLiteral("%1 records kept, %2 read; %3").arg(expected.size()).arg(back.size()).arg(first));

    // An editor's byte-order mark in front changes nothing that is read.
    if (!input.startsWith("\xEF\xBB\xBF")) {
        ProfitBook plain;
        plain.setFolder(Fuzz::writeFiles({{ProfitBook::fileName(), input}}));
        plain.load();
        ProfitBook withMark; // the scratch folder is emptied for it
        withMark.setFolder(Fuzz::writeFiles({{ProfitBook::fileName(), "\xEF\xBB\xBF" + input}}));
        withMark.load();
        Fuzz::check(records(withMark) == records(plain), "a byte-order mark is no part of the book");
    }
    return 0;
}

#include "profit/ProfitBook.h"

#include "clientfiles/FixedRecord.h"
#include "core/AppError.h"
#include "core/Paths.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <gtest/gtest.h>

#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

// Holds the book's busy flag, as a read or write in progress would.
class ProfitBookProbe {
public:
    static void setBusy(ProfitBook& book, bool busy) { book.m_busy = busy; }
};

// Readable failure messages: the file as text, records field by field.
void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << '"';
}
void PrintTo(const PassbookRecord& r, std::ostream* os) {
    *os << '{' << r.date.toStdString() << ", " << r.buy << ", " << r.pay << ", " << r.profit << ", " << r.update << '}';
}

namespace {
const QString kFile = QStringLiteral("VQPROFIT.TXT");
// A new book is 34 zeros; the sentinel written back by a save has the layout of every other line.
const QByteArray kSentinelLine = QByteArray(34, '0') + "\r\n";

// One line of the book with every field placed at its position, then CR LF.
QByteArray line(const QString& date, const QString& buy, const QString& pay, const QString& profit,
                const QString& update) {
    return FixedRecord(34)
               .text(1, date, 8)
               .text(9, buy, 8)
               .text(17, pay, 8)
               .text(25, profit, 9)
               .text(34, update, 1)
               .bytes() +
           "\r\n";
}

QByteArray line(const QString& date, qint32 buy, qint32 pay, qint16 update = 0) {
    return line(date, QString::number(buy), QString::number(pay), QString::number(pay - buy), QString::number(update));
}

const QByteArray kSentinelRecord = line("00000000", 0, 0);

// The number of the AppError the call raises, 0 when it raises none.
qint32 errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

class BookTest : public ::testing::Test {
protected:
    void load(const QByteArray& bytes) {
        folder.write(kFile, bytes);
        load();
    }
    void load() {
        book.setFolder(folder.path());
        book.load();
    }
    void check(const QString& day, qint32 buy, qint32 pay, qint16 update = 0, qint16 process = 0) {
        book.checkRecord(buy, pay, 0, day, update, process);
    }
    // The dates of a list, positions 1..count.
    static QStringList datesOf(qsizetype count, const std::function<QString(qsizetype)>& date) {
        QStringList d;
        for (qsizetype i = 1; i <= count; ++i) {
            d << date(i);
        }
        return d;
    }
    QStringList dates() const {
        return datesOf(book.pastCount(), [this](qsizetype i) { return book.pastDate(i); });
    }
    QStringList bestDates() const {
        return datesOf(book.bestCount(), [this](qsizetype i) { return book.bestDate(i); });
    }
    QStringList worstDates() const {
        return datesOf(book.worstCount(), [this](qsizetype i) { return book.worstDate(i); });
    }

    // The book file dated back, and whether it has been written since: a write replaces the file.
    void age() const {
        QFile f(folder.file(kFile));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(kOld, QFileDevice::FileModificationTime));
    }
    bool rewritten() const { return QFileInfo(folder.file(kFile)).lastModified() != kOld; }

    const QDateTime kOld{QDate(2020, 1, 2), QTime(3, 4, 5)};
    TempFolder folder;
    CapturingReporter errors;
    ProfitBook book;
};

TEST_F(BookTest, FirstRunWritesTheSentinelAndTheFirstDayGoesBeforeIt) {
    load();
    EXPECT_EQ(folder.read(kFile), kSentinelLine);
    EXPECT_EQ(book.pastCount(), 1);
    EXPECT_EQ(book.totalProfit(), 0);

    // The stake is the day's purchases plus yesterday's advance ones; tomorrow's belong to tomorrow.
    book.checkRecord(600, 0, 400, QStringLiteral("20240506"), 0, 0);
    EXPECT_EQ(folder.read(kFile), line("20240506", "1000", "0", "-1000", "0") + kSentinelRecord);
    EXPECT_EQ(book.pastCount(), 2);
    EXPECT_EQ(book.totalBuy(), 1000);
    EXPECT_EQ(book.totalProfit(), -1000);
    EXPECT_EQ(worstDates(), QStringList{"20240506"});
    EXPECT_TRUE(errors.texts.isEmpty());
}

TEST_F(BookTest, DaysGoInNewestFirstAndAnEmptyDateIsTheClientsDate) {
    book.setSaleDateSource([] { return QStringLiteral("20240601"); });
    load(line("20240510", 100, 0) + line("20240501", 100, 0) + kSentinelLine);
    for (const char* day : {"20240505", "20240520", "20230101", "20240502", ""}) {
        check(QString::fromLatin1(day), 100, 200);
    }
    EXPECT_EQ(dates(), QStringList({"20240601", "20240520", "20240510", "20240505", "20240502", "20240501", "20230101",
                                    "00000000"}));
    EXPECT_EQ(folder.read(kFile).count("\r\n"), 8);
}

TEST_F(BookTest, AnUnchangedDayWritesNothingAndAChangedOneIsRewrittenInPlace) {
    load(line("20240510", 100, 0) + line("20240505", 1000, 0) + kSentinelLine);
    age();
    check("20240505", 1000, 0);
    EXPECT_FALSE(rewritten());

    check("20240505", 1000, 2500);
    EXPECT_EQ(folder.read(kFile), line("20240510", 100, 0) + line("20240505", 1000, 2500) + kSentinelRecord);
}

TEST_F(BookTest, TheUsersRecordIsKeptFromTheAutomaticUpdateOnly) {
    struct Case {
        qint16 stored;
        qint16 process;
        bool changed;
    };
    for (const Case c : {Case{1, 0, false}, Case{7, 0, false}, Case{0, 0, true}, Case{1, 1, true}}) {
        load(line("20240505", 1000, 0, c.stored) + kSentinelLine);
        check("20240505", 1000, 3000, 0, c.process);
        EXPECT_EQ(book.pastPay(1), c.changed ? 3000 : 0) << c.stored << " " << c.process;
    }
    // The editor's "do not update" box lands in the last column.
    check("20240505", 1000, 3000, 1, 1);
    EXPECT_EQ(folder.read(kFile), line("20240505", 1000, 3000, 1) + kSentinelRecord);
}

TEST_F(BookTest, AStakeOfZeroNeitherAddsNorChangesARecord) {
    load(line("20240505", 1000, 0) + kSentinelLine);
    age();
    check("20240506", 0, 500);
    check("20240505", 0, 500, 0, 1);
    EXPECT_EQ(dates(), QStringList({"20240505", "00000000"}));
    EXPECT_EQ(book.pastPay(1), 0);
    EXPECT_FALSE(rewritten());
}

TEST_F(BookTest, BestAndWorstDaysPutTheLaterDateFirstAndNeverTheLastRecord) {
    load(line("20240401", 800, 500) +  // -300
         line("20240301", 500, 1000) + // +500
         line("20240201", 300, 0) +    // -300
         line("20240115", 1000, 100) + // -900
         line("20240110", 100, 100) +  // 0: in neither list
         line("20240101", 100, 600) +  // +500
         line("20231231", 100, 9000)); // the last record (no sentinel here): counted, never listed
    check("20240402", 100, 200);       // +100
    EXPECT_EQ(bestDates(), QStringList({"20240301", "20240101", "20240402"}));
    EXPECT_EQ(worstDates(), QStringList({"20240115", "20240401", "20240201"}));
    EXPECT_EQ(book.bestProfit(1), 500);
    EXPECT_EQ(book.worstProfit(1), -900);
    EXPECT_EQ(book.worstBuy(1), 1000);
    EXPECT_EQ(book.totalBuy(), 3000);
    EXPECT_EQ(book.totalPay(), 11500);
    EXPECT_EQ(book.totalProfit(), 8500);
}

// A book of 100,000 records tied on date and profit is ranked at once (the order: the book's fuzzer).
TEST_F(BookTest, RankingsOfABookOfTiesAreQuick) {
    QByteArray tied; // distinct records of one date and one profit
    for (qint32 i = 0; i < 99999; ++i) {
        tied += line("20240101", 1000 + i % 5000, 1500 + i % 5000);
    }
    load(tied + kSentinelLine);
    QElapsedTimer timer;
    timer.start();
    book.deleteRecord(QStringLiteral("none"));
    EXPECT_LT(timer.elapsed(), 1000);
}

TEST_F(BookTest, DeleteRemovesTheFirstRecordOfTheDateTheSentinelToo) {
    load(line("20240505", 100, 0) + line("20240505", 200, 0) + line("20240501", 300, 900) + kSentinelLine);
    book.deleteRecord(QStringLiteral("20240505"));
    EXPECT_EQ(folder.read(kFile), line("20240505", 200, 0) + line("20240501", 300, 900) + kSentinelRecord);

    age();
    book.deleteRecord(QStringLiteral("2024050"));
    EXPECT_EQ(book.pastCount(), 3);
    EXPECT_FALSE(rewritten());

    book.deleteRecord(QStringLiteral("00000000"));
    EXPECT_EQ(folder.read(kFile), line("20240505", 200, 0) + line("20240501", 300, 900));
    EXPECT_EQ(book.bestCount(), 0); // 20240501 is now the last record

    // Without the sentinel a day older than every record is kept at the end, not dropped.
    check("20230101", 100, 0);
    EXPECT_EQ(dates(), QStringList({"20240505", "20240501", "20230101"}));
}

TEST_F(BookTest, LinesAreReadByCharacterPositionsWhateverTheyHold) {
    struct Case {
        QByteArray bytes;
        PassbookRecord expected;
    };
    const Case cases[] = {
        {line("20240506", "1000", "0", "-1000", "0"), {"20240506", 1000, 0, -1000, 0}},
        {"20240506100\r", {"20240506", 100, 0, 0, 0}}, // short, ended by CR alone
        {"\r\n", {"", 0, 0, 0, 0}},
        {"garbage!x-y+z?..?#$$%%%&&&&''(()))[]\n", {"garbage!", 0, 0, 0, 0}}, // ended by LF alone
        // Lenient numbers rounded half to even; characters past 34 ignored.
        {FixedRecord(34)
                 .text(1, "20240507")
                 .text(9, "  1000.5")
                 .text(17, "1001.5")
                 .text(25, "-2.5x")
                 .raw(34, "9")
                 .bytes() +
             "beyond the line\r\n",
         {"20240507", 1000, 1002, -2, 9}},
        // Full-width characters count one position each, though they take two bytes; no final line end.
        {FixedRecord().text(1, QStringLiteral("令和六年五月六日")).text(17, "1000    0       -1000    1").bytes(),
         {QStringLiteral("令和六年五月六日"), 1000, 0, -1000, 1}},
    };
    QByteArray file;
    for (const Case& c : cases) {
        file += c.bytes;
    }
    load(file);
    ASSERT_EQ(book.pastCount(), qsizetype(std::size(cases)));
    for (qsizetype i = 1; i <= book.pastCount(); ++i) {
        const PassbookRecord& e = cases[i - 1].expected;
        EXPECT_EQ(PassbookRecord(
                      {book.pastDate(i), book.pastBuy(i), book.pastPay(i), book.pastProfit(i), book.pastUpdate(i)}),
                  e)
            << i;
    }
    EXPECT_TRUE(errors.texts.isEmpty());

    // Written back and read again, the code page text survives.
    check("20240508", 100, 0);
    load();
    EXPECT_EQ(book.pastDate(book.pastCount()), QStringLiteral("令和六年五月六日"));
}

TEST_F(BookTest, AmountsWiderThanTheirColumnsAreCutOnWriting) {
    load();
    check("20240506", 123456789, 0, 12, 1);
    EXPECT_EQ(folder.read(kFile), QByteArray("20240506"
                                             "12345678"
                                             "0       "
                                             "-12345678"
                                             "1\r\n") +
                                      kSentinelRecord);
    load();
    EXPECT_EQ(book.pastBuy(1), 12345678);
    EXPECT_EQ(book.pastProfit(1), -12345678);
    EXPECT_EQ(book.pastUpdate(1), 1);
}

TEST_F(BookTest, AFolderInPlaceOfTheFileIsReportedAndLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(folder.file(kFile)));
    load();
    check("20240506", 100, 0);
    ASSERT_EQ(errors.texts.size(), 2);
    // Said for the user first, the file and the reason on the line below.
    EXPECT_TRUE(errors.texts[0].startsWith(QStringLiteral("通帳を読めませんでした。ファイルには手を加えていません。")))
        << qPrintable(errors.texts[0]);
    EXPECT_TRUE(errors.texts[1].startsWith(QStringLiteral("通帳を保存できませんでした（通帳を読み直せません）。前の"
                                                          "内容はそのままです。")))
        << qPrintable(errors.texts[1]);
    EXPECT_TRUE(errors.texts[1].contains(QStringLiteral("\r\n(75) ") + QDir::toNativeSeparators(folder.file(kFile))));
    EXPECT_EQ(errors.titles[1], "VelqoraV50");
    EXPECT_EQ(book.pastCount(), 1); // no book was read; the day is kept in memory only
    EXPECT_TRUE(QFileInfo(folder.file(kFile)).isDir());
}

#ifdef Q_OS_UNIX
TEST_F(BookTest, AWriteThatFailsHalfwayLeavesTheOldFile) {
    const QByteArray old = line("20240505", 1000, 0) + kSentinelRecord;
    load(old);
    // A file size limit makes the write fail part way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = old.size() + 10;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    check("20240506", 100, 0);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);

    EXPECT_EQ(folder.read(kFile), old);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{kFile});
    ASSERT_EQ(errors.texts.size(), 1);
    // The lock or the book itself meets the limit first; either way the user reads that nothing changed.
    EXPECT_TRUE(errors.texts[0].contains(QStringLiteral("そのままです。"))) << qPrintable(errors.texts[0]);
    EXPECT_EQ(book.pastCount(), 3);

    check("20240506", 100, 50); // the next change saves the whole book
    EXPECT_EQ(folder.read(kFile), line("20240506", 100, 50) + old);
}
#endif

TEST_F(BookTest, ABookNotReadWholeIsNeverWrittenOver) {
    // Never loaded: the change is made on the file as it is, so the days it holds stay.
    folder.write(kFile, line("20240505", 1000, 0) + kSentinelLine);
    book.setFolder(folder.path());
    check("20240506", 100, 0);
    EXPECT_EQ(folder.read(kFile), line("20240506", 100, 0) + line("20240505", 1000, 0) + kSentinelRecord);
    ASSERT_EQ(errors.texts.size(), 0);

    // Too large to read (a sparse file, so the test stays quick).
    QFile f(folder.file(kFile));
    ASSERT_TRUE(f.resize(kMaxFileBytes + 1));
    load();
    check("20240507", 100, 0);
    ASSERT_EQ(errors.texts.size(), 2);
    EXPECT_TRUE(errors.texts[0].endsWith(QStringLiteral(": 通帳としては大きすぎます"))) << qPrintable(errors.texts[0]);
    EXPECT_TRUE(errors.texts[1].startsWith(QStringLiteral("通帳を保存できませんでした")))
        << qPrintable(errors.texts[1]);
    EXPECT_EQ(QFileInfo(folder.file(kFile)).size(), kMaxFileBytes + 1);
}

// 100,000 lines are a book and are rewritten in place; one line more is refused and never written over.
TEST_F(BookTest, ABookOfMoreThan100000LinesIsRefusedAndNeverWritten) {
    const QByteArray day = line("20240505", 1000, 0), full = day.repeated(99999) + kSentinelRecord;
    load(full);
    check("20240505", 1000, 50);
    EXPECT_EQ(folder.read(kFile), line("20240505", 1000, 50) + full.mid(day.size()));
    load(day + full);
    check("20240506", 100, 0);
    book.deleteRecord("20240505");
    EXPECT_EQ(folder.read(kFile), day + full);
    EXPECT_EQ(book.pastCount(), 1);
    EXPECT_EQ(errors.texts.join('|').count(QStringLiteral(": 100000 行を超えています")), 2) << "read, save";
}

TEST_F(BookTest, AReadOrWriteRequestedWhileOneRunsReturnsAtOnce) {
    load(line("20240505", 1000, 0) + kSentinelLine);
    ProfitBookProbe::setBusy(book, true);
    folder.write(kFile, kSentinelLine);
    book.load();
    EXPECT_EQ(book.pastCount(), 2);
    check("20240506", 100, 0);
    EXPECT_EQ(book.pastCount(), 3);
    EXPECT_EQ(folder.read(kFile), kSentinelLine);

    // Once free, a change is made on the file as it is then: another writer left only the sentinel, so
    // there is nothing to delete, and the day kept in memory only is gone too.
    ProfitBookProbe::setBusy(book, false);
    book.deleteRecord(QStringLiteral("20240505"));
    EXPECT_EQ(folder.read(kFile), kSentinelLine);
    EXPECT_EQ(dates(), QStringList{"00000000"});
    EXPECT_TRUE(errors.texts.isEmpty());
}

// An editor's byte-order mark is no part of the book, and a book at the reader's bound takes no more days.
TEST_F(BookTest, FilesTheBookNeverWritesOverOrMisreads) {
    load("\xEF\xBB\xBF" + line("20240505", 1000, 0) + kSentinelLine);
    EXPECT_EQ(dates(), QStringList({"20240505", "00000000"}));
    check("20240506", 100, 0);
    EXPECT_EQ(folder.read(kFile), line("20240506", 100, 0) + line("20240505", 1000, 0) + kSentinelRecord);

    const QByteArray full = line("20240505", 1000, 0).repeated(99999) + kSentinelRecord;
    load(full);
    check("20240506", 100, 0);
    EXPECT_EQ(folder.read(kFile), full);
    ASSERT_EQ(errors.texts.size(), 1);
    EXPECT_TRUE(errors.texts[0].contains(QStringLiteral("日分の記録で一杯のため、20240506 の記録を加えられません")));
    check("20240507", 100, 0);       // the automatic update says it once a run
    check("20240507", 100, 0, 0, 1); // the user's entry is always answered
    EXPECT_EQ(errors.texts.size(), 2);
}

// Another holder of the book (a second copy, the tool): each change is made on the file as the other left
// it, a book asked for nothing follows the file, and while the other holds the lock a change is kept unsaved.
TEST_F(BookTest, ChangesAreMadeOnTheFileAsAnotherHolderLeftIt) {
    load(line("20240505", 1000, 0) + kSentinelLine);
    ProfitBook other;
    other.setFolder(folder.path());
    other.checkRecord(300, 0, 0, QStringLiteral("20240601"), 1, 1); // never loaded: made on the file too
    check("20240602", 100, 0);
    other.deleteRecord(QStringLiteral("20240505"));
    check("20240602", 0, 0);
    EXPECT_EQ(dates(), QStringList({"20240602", "20240601", "00000000"}));
    const QByteArray file = line("20240602", 100, 0) + line("20240601", 300, 0, 1) + kSentinelRecord;
    EXPECT_EQ(folder.read(kFile), file);

    QLockFile held(folder.file(ProfitBook::lockName()));
    ASSERT_TRUE(held.tryLock());
    check("20240603", 100, 0);
    EXPECT_EQ(folder.read(kFile), file);
    ASSERT_EQ(errors.texts.size(), 1);
    EXPECT_TRUE(
        errors.texts[0].contains(QStringLiteral("はほかのプログラムが書き込み中のため、変更を保存できませんでした。")));
    EXPECT_EQ(book.pastDate(1), QStringLiteral("20240603"));
}

TEST_F(BookTest, PositionsOutsideTheListsRaiseAndTotalsPass32Bits) {
    QByteArray lines;
    for (int i = 0; i < 22; ++i) {
        lines += line("20240101", 99999999, 99999999); // 22 x 99,999,999 passes 2^31
    }
    load(lines + kSentinelLine);
    check("20240506", 100, 0);
    EXPECT_EQ(book.totalBuy(), 2'199'999'978 + 100);
    EXPECT_EQ(book.totalPay(), 2'199'999'978);
    EXPECT_EQ(book.totalProfit(), -100);
    EXPECT_EQ(folder.read(kFile).count("\r\n"), 24); // the book was still saved

    for (const auto& call : std::initializer_list<std::function<void()>>{
             [&] { book.pastDate(0); }, [&] { book.pastUpdate(25); }, [&] { book.bestDate(1); },
             [&] { book.worstProfit(2); }, [&] { book.worstBuy(0); }}) {
        EXPECT_EQ(errorOf(call), ErrNo::SubscriptOutOfRange);
    }
}
} // namespace

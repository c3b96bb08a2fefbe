#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

// One day of the profit book.
struct PassbookRecord {
    QString date;      // yyyymmdd as the client writes dates; the sentinel ending the book has "00000000"
    qint32 buy = 0;    // amount bet that day, yen
    qint32 pay = 0;    // payouts of the day, yen
    qint32 profit = 0; // Pay - Buy when the record was written
    qint16 update = 0; // non-zero: entered by the user, so the automatic daily update leaves it alone

    friend bool operator==(const PassbookRecord&, const PassbookRecord&) = default;
};

// The profit book ("VQPROFIT.TXT" in the client folder): one record per betting day, newest first, ended
// by the sentinel record. The controller owns one and forwards its profit-book operations and properties.
//
// The file is ours and must never be lost: it is replaced as a whole through a temporary file, and a
// failed write leaves the old file as it was. Other processes edit it too (a second copy of the program,
// the command-line tool), so every change is made under the book's lock file ("VQPROFIT.LCK" beside it)
// on the file as it is at that moment: read again, changed, written, and only then released. A change
// made meanwhile elsewhere is kept, and a file that cannot be read whole is never written over.
//
// A file of more than 100,000 lines is no book: GetRecord reports it and leaves the book empty, and no
// change makes one (a day that would be its 100,001st line is refused). A byte-order mark before the first
// line is passed over. Something else by the book's name (a folder, a FIFO, a link that names nothing) is
// no book either: it is reported, never replaced by a new one.
//
// File failures are shown with ReportError: number ErrNo::FileAccess (75), source "GetRecord" or
// "SaveRecord", and a description naming the file and the reason. A change that could not be saved stays
// in memory only.
class ProfitBook {
public:
    static QString fileName();     // "VQPROFIT.TXT"
    static QString lockName();     // "VQPROFIT.LCK"
    static QString sentinelDate(); // "00000000"

    ProfitBook();
    ~ProfitBook();
    ProfitBook(const ProfitBook&) = delete;
    ProfitBook& operator=(const ProfitBook&) = delete;

    // The client folder holding the book (a trailing separator is added when missing).
    void setFolder(const QString& folder);
    const QString& folder() const { return m_folder; }
    // Where CheckRecord learns the client's current date (yyyymmdd) when it is given none.
    void setSaleDateSource(std::function<QString()> source);

    // Loads the book from the file, creating the file with the sentinel line when there is none. Lines
    // may end in CR LF, CR or LF; each line is one record, taken as it is. The statistics are not
    // computed here. Returns at once while the file is being read or written. Temporaries left in the
    // folder by a save that was cut short (a crash, a kill) are removed first.
    void load();

    // A load made on another thread ahead of time (the book of `folder` read as load() reads it, nothing
    // shown), for adopt() to take on the book's own thread, where what went wrong is shown.
    struct LoadAhead;
    static std::shared_ptr<LoadAhead> loadAhead(const QString& folder);
    // Takes a load made ahead of the book's folder; false (nothing taken) for another folder's.
    bool adopt(LoadAhead& ahead);
    // Adds or updates the record of one day (saleDate, or the client's current date when empty) with
    // the stake stake + yesterdayStake and the payout payout, recomputes the statistics and
    // saves the book when it changed. The book is first brought up to the file when another process has
    // changed it. A stake of 0 changes nothing. With processMode 0 (the automatic
    // update) a record whose Update is non-zero is kept. A day older than every record (only a book
    // without its sentinel has one) goes at the end. Raises the overflow
    // error when the stake or the profit does not fit 32 bits, before anything changes.
    void checkRecord(qint32 stake, qint32 payout, qint32 yesterdayStake, const QString& saleDate, qint16 updateMode,
                     qint16 processMode);
    // Removes the first record of exactly that date (the sentinel too), recomputes the statistics and
    // saves the book when a record was removed.
    void deleteRecord(const QString& date);

    // The book, positions 1..PastCount (sentinel included). Other positions raise the index error.
    qsizetype pastCount() const { return m_past.size(); }
    const QString& pastDate(qsizetype i) const;
    qint32 pastBuy(qsizetype i) const;
    qint32 pastPay(qsizetype i) const;
    qint32 pastProfit(qsizetype i) const;
    qint16 pastUpdate(qsizetype i) const;

    // Days with a gain, largest first (equal gains: later date first). The last record of the book is
    // never listed.
    qsizetype bestCount() const { return m_best.size(); }
    const QString& bestDate(qsizetype i) const;
    qint32 bestBuy(qsizetype i) const;
    qint32 bestPay(qsizetype i) const;
    qint32 bestProfit(qsizetype i) const;

    // Days with a loss, largest loss first (equal losses: later date first); the last record never.
    qsizetype worstCount() const { return m_worst.size(); }
    const QString& worstDate(qsizetype i) const;
    qint32 worstBuy(qsizetype i) const;
    qint32 worstPay(qsizetype i) const;
    qint32 worstProfit(qsizetype i) const;

    // Sums over the whole book, in 64 bits (each record stays within its 32-bit fields).
    qint64 totalBuy() const;
    qint64 totalPay() const;
    qint64 totalProfit() const;

    // The line form of a record: date, Buy, Pay (8 characters each), Profit (9) and Update (1), every
    // field left-aligned, blank-padded and cut to its width; no line end.
    static QString recordToLine(const PassbookRecord& record);
    static void appendLine(QString& out, const PassbookRecord& record); // the same, added to the end of out
    // A line read back by character positions; missing or non-numeric fields read as 0, numbers are
    // rounded to whole yen.
    static PassbookRecord lineToRecord(QStringView line);

private:
    friend class ProfitBookProbe; // tests hold the busy flag to check the guard

    // What a change of one day's record does to the book: nothing, or overwrite, insert or append at pos.
    struct Placement {
        enum Kind { Unchanged, Overwrite, Insert, Append } kind = Unchanged;
        qsizetype pos = 0;
    };
    Placement placeRecord(const PassbookRecord& fresh, qint16 processMode) const;
    qsizetype findDate(const QString& date) const; // 0-based, -1 when absent

    void calcRecord();
    bool saveRecord(); // false after a reported failure
    template <typename Before>
    static void sortRecords(QList<PassbookRecord>& list, Before before);

    // The file's records, or the reason they could not be read whole. A missing file is a new book.
    struct FileRead {
        QList<PassbookRecord> records;
        QString failure;
        bool missing = false;
    };
    FileRead readFile() const;
    // Reads the file again when it is not the one last read or written (another process replaced it).
    void followFile();
    // Makes a change under the book's lock, on the book as the file holds it then, and saves it when
    // `change` says it changed something. Without the lock or a whole read the change is made in memory
    // only, and reported.
    template <typename Change>
    void changeFile(Change change);

    struct LoadOutcome {
        QString failure;
        bool notCreated = false; // there was no book, and a new one could not be written
    };
    LoadOutcome loadQuietly();
    static void say(const LoadOutcome& outcome);

    QString filePath() const;
    // Size and times of the file: every save replaces the file, so a different stamp means another writer.
    QString fileStamp() const;
    static bool writeFile(const QString& path, const QByteArray& bytes, QString& failure);
    const PassbookRecord& past(qsizetype i) const;

    QString m_folder;
    std::function<QString()> m_saleDate;
    QList<PassbookRecord> m_past;
    QList<PassbookRecord> m_best;
    QList<PassbookRecord> m_worst;
    qint64 m_totalBuy = 0;
    qint64 m_totalPay = 0;
    qint64 m_totalProfit = 0;
    bool m_busy = false;
    QString m_stamp;         // of the file as last read or written; empty before the first read
    bool m_fullSaid = false; // the automatic update has said once that the book is full
};

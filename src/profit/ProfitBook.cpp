#include "ProfitBook.h"

#include "core/AppError.h"
#include "core/AtomicFile.h"
#include "core/CodePage.h"
#include "core/ErrorReporter.h"
#include "core/LockFiles.h"
#include "core/Money.h"
#include "core/Numbers.h"
#include "core/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <utility>

namespace {
constexpr qsizetype kDateWidth = 8;
constexpr qsizetype kAmountWidth = 8;
constexpr qsizetype kProfitWidth = 9;
// At one line a betting day, this is centuries of days. Every line is a record and is written back as 36
// bytes, so a file of blank lines would otherwise grow on every save until it could not be read at all.
constexpr qsizetype kMaxLines = 100000;

// Another process holds the book's lock only while it reads and writes the file, a few milliseconds even
// for a book of years; waiting longer than this means something is wrong with it.
constexpr int kLockWaitMs = 3000;

PassbookRecord sentinel() {
    return PassbookRecord{ProfitBook::sentinelDate(), 0, 0, 0, 0};
}

// The technical line under a message: the error number our users quote, the file and the reason.
QString accessFailure(const QString& path, const QString& reason) {
    return QStringLiteral("(75) %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

void reportUnread(const QString& detail) {
    reportFailure(QStringLiteral("通帳を読めませんでした。ファイルには手を加えていません。ファイルとフォルダを確かめて"
                                 "から、もう一度開いてください。"),
                  detail);
}

// `why` in the user's words: what kept the change from the file.
void reportUnsaved(const QString& why, const QString& detail) {
    reportFailure(QStringLiteral("通帳を保存できませんでした（%1）。前の内容はそのままです。フォルダに書き込めるか"
                                 "確かめてから、もう一度登録してください。")
                      .arg(why),
                  detail);
}

QString lockFailure(const QString& path, QLockFile::LockError error) {
    const QString file = QDir::toNativeSeparators(path);
    if (error == QLockFile::LockFailedError) {
        return QStringLiteral("通帳 %1 はほかのプログラムが書き込み中のため、変更を保存できませんでした。"
                              "通帳のファイルはそのままです。しばらくしてからもう一度お試しください。")
            .arg(file);
    }
    return QStringLiteral("通帳 %1 の変更を始められませんでした (%2)。通帳のファイルはそのままです。"
                          "フォルダに書き込めるか確かめてください。")
        .arg(file, error == QLockFile::PermissionError ? QStringLiteral("書き込みの権限がありません")
                                                       : QStringLiteral("ロックファイルを作れません"));
}

// Splits the bytes into lines ended by CR LF, CR or LF. `pendingCr` carries a CR that ended the previous
// chunk, so a CR LF split between two reads is still one line end. The unterminated rest stays in `line`.
template <typename OnLine>
void splitLines(QByteArrayView chunk, QByteArray& line, bool& pendingCr, OnLine onLine) {
    for (const char c : chunk) {
        if (c == '\n' && pendingCr) {
            pendingCr = false;
            continue;
        }
        pendingCr = false;
        if (c == '\r' || c == '\n') {
            onLine(line);
            line.clear();
            pendingCr = c == '\r';
        } else {
            line.append(c);
        }
    }
}

// The sum of one field over the book. In 64 bits: a few hundred heavy days pass 2^31 yen, and a book whose
// totals could not be shown could not be opened at all.
qint64 sum(const QList<PassbookRecord>& records, qint32 PassbookRecord::*field) {
    qint64 sum = 0;
    for (const PassbookRecord& r : records) {
        sum += r.*field;
    }
    return sum;
}
} // namespace

QString ProfitBook::fileName() {
    return QStringLiteral("VQPROFIT.TXT");
}

QString ProfitBook::lockName() {
    return QStringLiteral("VQPROFIT.LCK");
}

QString ProfitBook::sentinelDate() {
    return QStringLiteral("00000000");
}

ProfitBook::ProfitBook() = default;
ProfitBook::~ProfitBook() = default;

void ProfitBook::setFolder(const QString& folder) {
    m_folder = folder.isEmpty() ? QString() : addPathSep(folder);
}

void ProfitBook::setSaleDateSource(std::function<QString()> source) {
    m_saleDate = std::move(source);
}

QString ProfitBook::filePath() const {
    return ClientFiles::pathForWrite(m_folder, fileName());
}

QString ProfitBook::fileStamp() const {
    const QFileInfo info(filePath());
    if (!info.exists()) {
        return QStringLiteral("none");
    }
    // A save renames a new file over the old one: its birth time (where the file system keeps one) tells
    // a replacement of the same size within the same millisecond.
    return QStringLiteral("%1 %2 %3")
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(info.birthTime().isValid() ? info.birthTime().toMSecsSinceEpoch() : -1);
}

void ProfitBook::appendLine(QString& out, const PassbookRecord& record) {
    // Fixed widths keep every line 34 characters; a wider amount is cut, as the file always was. Built in
    // place: a save writes every line of a book of years.
    const auto pad = [&out](qsizetype width, qsizetype used) {
        out.resize(out.size() + width - used, QLatin1Char(' '));
    };
    const auto number = [&out, &pad](qint64 value, qsizetype width) {
        std::array<char, 24> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        const qsizetype n = std::min<qsizetype>(end - digits.data(), width);
        out.append(QLatin1String(digits.data(), n));
        pad(width, n);
    };
    const qsizetype dateLength = std::min<qsizetype>(record.date.size(), kDateWidth);
    out.append(QStringView(record.date).first(dateLength));
    pad(kDateWidth, dateLength);
    number(record.buy, kAmountWidth);
    number(record.pay, kAmountWidth);
    number(record.profit, kProfitWidth);
    number(record.update, 1);
}

QString ProfitBook::recordToLine(const PassbookRecord& record) {
    QString line;
    line.reserve(kDateWidth + 2 * kAmountWidth + kProfitWidth + 1);
    appendLine(line, record);
    return line;
}

PassbookRecord ProfitBook::lineToRecord(QStringView line) {
    const auto field = [&line](qsizetype pos, qsizetype len) {
        return pos < line.size() ? line.sliced(pos, std::min(len, line.size() - pos)) : QStringView();
    };
    PassbookRecord r;
    r.date = field(0, kDateWidth).toString();
    r.buy = Num::toInt32(field(8, kAmountWidth));
    r.pay = Num::toInt32(field(16, kAmountWidth));
    r.profit = Num::toInt32(field(24, kProfitWidth));
    r.update = Num::toInt16(field(33, 1));
    return r;
}

bool ProfitBook::writeFile(const QString& path, const QByteArray& bytes, QString& failure) {
    // Replaced as a whole: a crash or a full disk leaves either the old book or the new one, never a
    // half-written file.
    QString reason;
    if (!AtomicFile::replace(path, bytes, &reason)) {
        failure = accessFailure(path, reason);
        return false;
    }
    return true;
}

ProfitBook::FileRead ProfitBook::readFile() const {
    FileRead read;
    const QString path = ClientFiles::findFile(m_folder, fileName());
    if (path.isEmpty()) {
        // Something else by that name (a folder, a FIFO, a link that names nothing) is no book, and not
        // a missing one either: a new book written over it would be a book lost.
        if (const QString other = ClientFiles::find(m_folder, fileName()); !other.isEmpty()) {
            read.failure = accessFailure(other, QStringLiteral("通常のファイルではありません"));
        } else {
            read.missing = true;
        }
        return read;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.failure = accessFailure(path, file.errorString());
        return read;
    }
    if (file.size() > kMaxFileBytes) {
        read.failure = accessFailure(path, QStringLiteral("通帳としては大きすぎます"));
        return read;
    }
    QByteArray line;
    bool pendingCr = false;
    qsizetype lines = 0;
    // Lines past the limit are only counted, never made into records.
    const auto append = [&read, &lines](const QByteArray& bytes) {
        if (++lines <= kMaxLines) {
            read.records.append(lineToRecord(CodePage::decode(bytes)));
        }
    };
    // Read in pieces of at most 64 KiB; a book smaller than that (nearly every one) in one piece.
    QByteArray chunk(qBound(qint64{1}, file.size() + 1, qint64{64 * 1024}), Qt::Uninitialized);
    for (bool first = true;; first = false) {
        const qint64 n = file.read(chunk.data(), chunk.size());
        if (n < 0) {
            // Whole lines read so far stay in view; the book is not written back over the file.
            read.failure = accessFailure(path, file.errorString());
            return read;
        }
        if (n == 0) {
            if (!line.isEmpty()) {
                append(line); // the last line need not end in CR LF
            }
            break;
        }
        QByteArrayView piece(chunk.constData(), n);
        if (first && piece.startsWith("\xEF\xBB\xBF")) {
            // An editor's UTF-8 byte-order mark is no part of the first record; the next save drops it.
            piece = piece.sliced(3);
        }
        splitLines(piece, line, pendingCr, append);
        if (lines > kMaxLines) {
            break;
        }
    }
    if (lines > kMaxLines) {
        // Not a book: nothing of it is shown, and it is never written back.
        read.records.clear();
        read.failure = accessFailure(path, QStringLiteral("%1 行を超えています").arg(kMaxLines));
    }
    return read;
}

void ProfitBook::load() {
    if (m_busy) {
        return;
    }
    say(loadQuietly());
}

ProfitBook::LoadOutcome ProfitBook::loadQuietly() {
    m_busy = true;
    m_past.clear();
    LoadOutcome outcome;
    if (m_folder.isEmpty()) {
        outcome.failure = accessFailure(fileName(), QStringLiteral("フォルダが決まっていません"));
    } else {
        QLockFile lock(m_folder + lockName());
        const bool held = LockFiles::take(lock, kLockWaitMs);
        if (held) {
            // The book is loaded at start: a save cut short by a crash or a kill may have left its
            // temporary. Only under the lock: another process's save in progress has one too.
            AtomicFile::removeStrays(m_folder, fileName());
        }
        m_stamp = fileStamp();
        FileRead read = readFile();
        m_past = std::move(read.records);
        outcome.failure = read.failure;
        if (read.missing) {
            // First run: a new book is one line of 34 zeros, which reads as the sentinel. Another process
            // holding the lock is making the file itself.
            m_past.append(sentinel());
            if (held || lock.error() != QLockFile::LockFailedError) {
                outcome.notCreated = !writeFile(filePath(), QByteArray(34, '0') + "\r\n", outcome.failure);
                m_stamp = fileStamp();
            }
        }
    }
    m_busy = false;
    return outcome;
}

void ProfitBook::say(const LoadOutcome& outcome) {
    if (outcome.notCreated) {
        reportUnsaved(QStringLiteral("新しい通帳を作れません"), outcome.failure);
    } else if (!outcome.failure.isEmpty()) {
        reportUnread(outcome.failure);
    }
}

struct ProfitBook::LoadAhead {
    ProfitBook book;
    LoadOutcome outcome;
};

std::shared_ptr<ProfitBook::LoadAhead> ProfitBook::loadAhead(const QString& folder) {
    auto ahead = std::make_shared<LoadAhead>();
    ahead->book.setFolder(folder);
    ahead->outcome = ahead->book.loadQuietly();
    return ahead;
}

bool ProfitBook::adopt(LoadAhead& ahead) {
    if (m_busy || ahead.book.m_folder != m_folder) {
        return false;
    }
    m_past = std::move(ahead.book.m_past);
    m_stamp = ahead.book.m_stamp;
    say(ahead.outcome);
    return true;
}

void ProfitBook::followFile() {
    if (m_busy || m_folder.isEmpty() || m_stamp.isEmpty()) {
        return; // never read: GetRecord makes the first read
    }
    const QString stamp = fileStamp();
    if (stamp == m_stamp) {
        return;
    }
    // Taken before reading: a file replaced while it is read is read again next time.
    m_stamp = stamp;
    FileRead read = readFile();
    if (read.failure.isEmpty()) {
        m_past = read.missing ? QList<PassbookRecord>{sentinel()} : std::move(read.records);
    }
}

template <typename Change>
void ProfitBook::changeFile(Change change) {
    if (m_busy) {
        // A read or write runs (a message box of its failure is up): the change stays in memory.
        change();
        calcRecord();
        return;
    }
    m_busy = true;
    std::function<void()> report;
    QLockFile lock(m_folder + lockName());
    if (m_folder.isEmpty()) {
        report = [] {
            reportUnsaved(QStringLiteral("フォルダが決まっていません"),
                          accessFailure(ProfitBook::fileName(), QStringLiteral("フォルダが決まっていません")));
        };
    } else if (!LockFiles::take(lock, kLockWaitMs)) {
        report = [message = lockFailure(filePath(), lock.error()), path = filePath()] {
            reportFailure(message, accessFailure(path, QStringLiteral("ロックを取れません")));
        };
    } else {
        FileRead read = readFile();
        if (!read.failure.isEmpty()) {
            report = [detail = read.failure] { reportUnsaved(QStringLiteral("通帳を読み直せません"), detail); };
        } else {
            m_past = read.missing ? QList<PassbookRecord>{sentinel()} : std::move(read.records);
        }
    }
    const bool changed = change();
    calcRecord();
    m_busy = false;
    if (report) {
        report();
    } else if (changed) {
        saveRecord();
    }
}

bool ProfitBook::saveRecord() {
    m_busy = true;
    QString failure;
    QString text;
    text.reserve(m_past.size() * 36);
    for (const PassbookRecord& r : std::as_const(m_past)) {
        appendLine(text, r);
        text += QLatin1String("\r\n");
    }
    const bool ok = writeFile(filePath(), CodePage::encode(text), failure);
    if (ok) {
        m_stamp = fileStamp();
    }
    m_busy = false;
    if (!ok) {
        reportUnsaved(QStringLiteral("%1 に書き込めません").arg(QDir::toNativeSeparators(filePath())), failure);
    }
    return ok;
}

ProfitBook::Placement ProfitBook::placeRecord(const PassbookRecord& fresh, qint16 processMode) const {
    for (qsizetype p = 0; p < m_past.size(); ++p) {
        const PassbookRecord& r = m_past[p];
        if (r.date == fresh.date) {
            // The user's own record wins over the automatic update.
            if ((processMode == 0 && r.update != 0) || r == fresh) {
                return {};
            }
            return {Placement::Overwrite, p};
        }
        if (r.date < fresh.date) {
            // Newest first: the day goes before the first older record (the sentinel is older than all).
            return {Placement::Insert, p};
        }
    }
    // Only a book without its sentinel gets here: keep the day at the end rather than drop it.
    return fresh.date.isEmpty() ? Placement{} : Placement{Placement::Append, m_past.size()};
}

qsizetype ProfitBook::findDate(const QString& date) const {
    const auto it =
        std::find_if(m_past.cbegin(), m_past.cend(), [&date](const PassbookRecord& r) { return r.date == date; });
    return it == m_past.cend() ? -1 : it - m_past.cbegin();
}

void ProfitBook::checkRecord(qint32 todayStake, qint32 payout, qint32 yesterdayStake, const QString& saleDate,
                             qint16 updateMode, qint16 processMode) {
    QString day = saleDate;
    if (day.isEmpty() && m_saleDate) {
        day = m_saleDate();
    }
    const qint32 stake = Money::add(todayStake, yesterdayStake);
    const qint32 profit = Money::sub(payout, stake);
    followFile();
    const PassbookRecord fresh{day, stake, payout, profit, updateMode};
    // A day without bets gets no record, and an existing record of that day is kept. Nothing to change
    // needs no lock.
    if (stake == 0 || placeRecord(fresh, processMode).kind == Placement::Unchanged) {
        calcRecord();
        return;
    }
    bool full = false;
    changeFile([&] {
        const Placement place = placeRecord(fresh, processMode);
        switch (place.kind) {
        case Placement::Unchanged:
            return false;
        case Placement::Overwrite:
            m_past[place.pos] = fresh;
            return true;
        case Placement::Insert:
        case Placement::Append:
            // A book past the reader's bound could be neither shown nor edited again: the day is refused.
            if (m_past.size() >= kMaxLines) {
                full = true;
                return false;
            }
            m_past.insert(place.pos, fresh);
            return true;
        }
        return false;
    });
    // The automatic update meets a full book at every refresh: it says so once a run; the user's own entry
    // is always answered.
    if (full && (processMode != 0 || !std::exchange(m_fullSaid, true))) {
        reportFailure(
            QStringLiteral("通帳 %1 は%2日分の記録で一杯のため、%3 の記録を加えられません。通帳はそのままです。"
                           "古い日を削除してから登録してください。")
                .arg(QDir::toNativeSeparators(filePath()))
                .arg(kMaxLines)
                .arg(day),
            QString());
    }
}

void ProfitBook::deleteRecord(const QString& date) {
    followFile();
    if (findDate(date) < 0) {
        calcRecord();
        return;
    }
    changeFile([&] {
        const qsizetype p = findDate(date);
        if (p >= 0) {
            m_past.removeAt(p);
        }
        return p >= 0;
    });
}

template <typename Before>
void ProfitBook::sortRecords(QList<PassbookRecord>& list, Before before) {
    // A stable sort on the keys gives the order of the pairwise exchange the book was always sorted with,
    // wherever the keys tell records apart, in n log n: a book of thousands of days tied on date and
    // profit made the exchange run for half a minute before the window could show anything.
    std::stable_sort(list.begin(), list.end(), before);
}

void ProfitBook::calcRecord() {
    m_best.clear();
    m_worst.clear();
    // The last record is the sentinel in a sound book; it is left out whatever it holds.
    for (qsizetype p = 0; p + 1 < m_past.size(); ++p) {
        const PassbookRecord& r = m_past[p];
        if (r.profit > 0) {
            m_best.append(r);
        } else if (r.profit < 0) {
            m_worst.append(r);
        }
    }
    sortRecords(m_best, [](const PassbookRecord& a, const PassbookRecord& b) {
        return a.profit > b.profit || (a.profit == b.profit && a.date > b.date);
    });
    sortRecords(m_worst, [](const PassbookRecord& a, const PassbookRecord& b) {
        return a.profit < b.profit || (a.profit == b.profit && a.date > b.date);
    });

    m_totalBuy = sum(m_past, &PassbookRecord::buy);
    m_totalPay = sum(m_past, &PassbookRecord::pay);
    m_totalProfit = sum(m_past, &PassbookRecord::profit);
}

const PassbookRecord& ProfitBook::past(qsizetype i) const {
    if (i < 1 || i > m_past.size()) {
        throw AppError::indexOutOfRange();
    }
    return m_past[i - 1];
}

namespace {
const PassbookRecord& listed(const QList<PassbookRecord>& list, qsizetype i) {
    if (i < 1 || i > list.size()) {
        throw AppError::indexOutOfRange();
    }
    return list[i - 1];
}
} // namespace

const QString& ProfitBook::pastDate(qsizetype i) const {
    return past(i).date;
}
qint32 ProfitBook::pastBuy(qsizetype i) const {
    return past(i).buy;
}
qint32 ProfitBook::pastPay(qsizetype i) const {
    return past(i).pay;
}
qint32 ProfitBook::pastProfit(qsizetype i) const {
    return past(i).profit;
}
qint16 ProfitBook::pastUpdate(qsizetype i) const {
    return past(i).update;
}

const QString& ProfitBook::bestDate(qsizetype i) const {
    return listed(m_best, i).date;
}
qint32 ProfitBook::bestBuy(qsizetype i) const {
    return listed(m_best, i).buy;
}
qint32 ProfitBook::bestPay(qsizetype i) const {
    return listed(m_best, i).pay;
}
qint32 ProfitBook::bestProfit(qsizetype i) const {
    return listed(m_best, i).profit;
}

const QString& ProfitBook::worstDate(qsizetype i) const {
    return listed(m_worst, i).date;
}
qint32 ProfitBook::worstBuy(qsizetype i) const {
    return listed(m_worst, i).buy;
}
qint32 ProfitBook::worstPay(qsizetype i) const {
    return listed(m_worst, i).pay;
}
qint32 ProfitBook::worstProfit(qsizetype i) const {
    return listed(m_worst, i).profit;
}

qint64 ProfitBook::totalBuy() const {
    return m_totalBuy;
}
qint64 ProfitBook::totalPay() const {
    return m_totalPay;
}
qint64 ProfitBook::totalProfit() const {
    return m_totalProfit;
}

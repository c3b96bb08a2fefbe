#include "ProfitBook.h"

#include "core/AppError.h"
#include "core/AtomicFile.h"
#include "core/CodePage.h"
#include "core/ErrorReporter.h"
#include "core/Money.h"
#include "core/Numbers.h"
#include "core/Paths.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace {
constexpr qsizetype kDateWidth = 8;
constexpr qsizetype kAmountWidth = 8;
constexpr qsizetype kProfitWidth = 9;
// At one line a betting day, this is centuries of days. Every line is a record and is written back as 36
// bytes, so a file of blank lines would otherwise grow on every save until it could not be read at all.
constexpr qsizetype kMaxLines = 100000;

const QString kGetSource = QStringLiteral("GetRecord");
const QString kSaveSource = QStringLiteral("SaveRecord");

udtRecord Sentinel() {
    return udtRecord{ProfitBook::SentinelDate(), 0, 0, 0, 0};
}

QString AccessFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Path/File access error: %1 (%2)").arg(QDir::toNativeSeparators(path), reason);
}

// The book has always passed over "input past end of file" and "cannot create object" in silence.
void ReportFileError(const AppError& error) {
    if (error.Number() == ErrNo::InputPastEndOfFile || error.Number() == ErrNo::CannotCreateObject) {
        return;
    }
    ReportError(error);
}

// Splits the bytes into lines ended by CR LF, CR or LF. `pendingCr` carries a CR that ended the previous
// chunk, so a CR LF split between two reads is still one line end. The unterminated rest stays in `line`.
template <typename OnLine>
void SplitLines(QByteArrayView chunk, QByteArray& line, bool& pendingCr, OnLine onLine) {
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

// The sum of one field over the book, or none when it does not fit 32 bits.
std::optional<qint32> Sum(const QList<udtRecord>& records, qint32 udtRecord::*field) {
    qint32 sum = 0;
    try {
        for (const udtRecord& r : records) {
            sum = Money::Add(sum, r.*field);
        }
    } catch (const AppError&) {
        return std::nullopt;
    }
    return sum;
}

qint32 Checked(const std::optional<qint32>& total) {
    if (!total) {
        throw AppError::Overflow();
    }
    return *total;
}
} // namespace

QString ProfitBook::FileName() {
    return QStringLiteral("VQPROFIT.TXT");
}

QString ProfitBook::SentinelDate() {
    return QStringLiteral("00000000");
}

ProfitBook::ProfitBook() = default;
ProfitBook::~ProfitBook() = default;

void ProfitBook::setFolder(const QString& folder) {
    m_folder = folder.isEmpty() ? QString() : AddPathSep(folder);
}

void ProfitBook::setCurDateSource(std::function<QString()> source) {
    m_curDate = std::move(source);
}

QString ProfitBook::FilePath() const {
    return ClientFiles::PathForWrite(m_folder, FileName());
}

void ProfitBook::AppendLine(QString& out, const udtRecord& record) {
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
    const qsizetype dateLength = std::min<qsizetype>(record.Date.size(), kDateWidth);
    out.append(QStringView(record.Date).first(dateLength));
    pad(kDateWidth, dateLength);
    number(record.Buy, kAmountWidth);
    number(record.Pay, kAmountWidth);
    number(record.Profit, kProfitWidth);
    number(record.Update, 1);
}

QString ProfitBook::RecordToLine(const udtRecord& record) {
    QString line;
    line.reserve(kDateWidth + 2 * kAmountWidth + kProfitWidth + 1);
    AppendLine(line, record);
    return line;
}

udtRecord ProfitBook::LineToRecord(QStringView line) {
    const auto field = [&line](qsizetype pos, qsizetype len) {
        return pos < line.size() ? line.sliced(pos, std::min(len, line.size() - pos)) : QStringView();
    };
    udtRecord r;
    r.Date = field(0, kDateWidth).toString();
    r.Buy = Num::ToInt32(field(8, kAmountWidth));
    r.Pay = Num::ToInt32(field(16, kAmountWidth));
    r.Profit = Num::ToInt32(field(24, kProfitWidth));
    r.Update = Num::ToInt16(field(33, 1));
    return r;
}

bool ProfitBook::WriteFile(const QString& path, const QByteArray& bytes, QString& failure) {
    // Replaced as a whole: a crash or a full disk leaves either the old book or the new one, never a
    // half-written file.
    QString reason;
    if (!AtomicFile::Replace(path, bytes, &reason)) {
        failure = AccessFailure(path, reason);
        return false;
    }
    return true;
}

void ProfitBook::GetRecord() {
    if (m_busy) {
        return;
    }
    m_busy = true;
    m_past.clear();
    m_complete = false;
    if (!m_folder.isEmpty()) {
        // The book is loaded at start: a save cut short by a crash or a kill may have left its temporary.
        AtomicFile::RemoveStrays(m_folder, FileName());
    }

    QString failure;
    QString path;
    if (m_folder.isEmpty()) {
        failure = AccessFailure(FileName(), QStringLiteral("no folder"));
    } else if (path = ClientFiles::FindFile(m_folder, FileName()); path.isEmpty()) {
        // First run: a new book is one line of 34 zeros, which reads as the sentinel. If the file cannot
        // be created there is nothing to protect, so the book may still be saved later.
        m_past.append(Sentinel());
        m_complete = true;
        WriteFile(FilePath(), QByteArray(34, '0') + "\r\n", failure);
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            failure = AccessFailure(path, file.errorString());
        } else if (file.size() > kMaxFileBytes) {
            failure = AccessFailure(path, QStringLiteral("file too large"));
        } else {
            QByteArray line;
            bool pendingCr = false;
            qsizetype lines = 0;
            // Lines past the limit are only counted, never made into records.
            const auto append = [this, &lines](const QByteArray& bytes) {
                if (++lines <= kMaxLines) {
                    m_past.append(LineToRecord(CodePage::Decode(bytes)));
                }
            };
            // Read in pieces of at most 64 KiB; a book smaller than that (nearly every one) in one piece.
            QByteArray chunk(qBound(qint64{1}, file.size() + 1, qint64{64 * 1024}), Qt::Uninitialized);
            for (;;) {
                const qint64 n = file.read(chunk.data(), chunk.size());
                if (n < 0) {
                    // Whole lines read so far stay; the book is not written back over the file.
                    failure = AccessFailure(path, file.errorString());
                    break;
                }
                if (n == 0) {
                    if (!line.isEmpty()) {
                        append(line); // the last line need not end in CR LF
                    }
                    m_complete = lines <= kMaxLines;
                    break;
                }
                SplitLines(QByteArrayView(chunk.constData(), n), line, pendingCr, append);
                if (lines > kMaxLines) {
                    break;
                }
            }
            if (lines > kMaxLines) {
                // Not a book: nothing of it is shown, and it is never written back.
                m_past.clear();
                failure = AccessFailure(path, QStringLiteral("more than %1 lines").arg(kMaxLines));
            }
        }
    }

    m_busy = false;
    if (!failure.isEmpty()) {
        ReportFileError(AppError(ErrNo::FileAccess, kGetSource, failure));
    }
}

void ProfitBook::SaveRecord() {
    if (m_busy) {
        return;
    }
    if (!m_complete) {
        // Writing a partly read (or never read) book would drop every record that was not read.
        const QString reason = QStringLiteral("the book was not read completely, so it is not saved over the file");
        ReportFileError(AppError(ErrNo::FileAccess, kSaveSource, AccessFailure(m_folder + FileName(), reason)));
        return;
    }
    m_busy = true;
    QString failure;
    QString text;
    text.reserve(m_past.size() * 36);
    for (const udtRecord& r : std::as_const(m_past)) {
        AppendLine(text, r);
        text += QLatin1String("\r\n");
    }
    const bool ok = WriteFile(FilePath(), CodePage::Encode(text), failure);
    m_busy = false;
    if (!ok) {
        ReportFileError(AppError(ErrNo::FileAccess, kSaveSource,
                                 failure + QStringLiteral("; the file keeps its previous contents")));
    }
}

void ProfitBook::CheckRecord(qint32 lngAmtBuy, qint32 lngAmtPay, [[maybe_unused]] qint32 lngAmtBuyTomorrow,
                             qint32 lngAmtBuyYesterday, const QString& strCurDate, qint16 intUpdate,
                             qint16 intProcess) {
    QString day = strCurDate;
    if (day.isEmpty() && m_curDate) {
        day = m_curDate();
    }
    const qint32 stake = Money::Add(lngAmtBuy, lngAmtBuyYesterday);
    const qint32 profit = Money::Sub(lngAmtPay, stake);
    if (stake == 0) {
        // A day without bets gets no record, and an existing record of that day is kept.
        CalcRecord();
        return;
    }

    const udtRecord fresh{day, stake, lngAmtPay, profit, intUpdate};
    bool changed = false;
    bool placed = false;
    for (qsizetype p = 0; p < m_past.size() && !placed; ++p) {
        udtRecord& r = m_past[p];
        if (r.Date == day) {
            placed = true;
            // The user's own record wins over the automatic update.
            if (intProcess == 0 && r.Update != 0) {
                break;
            }
            if (r.Buy != stake || r.Pay != lngAmtPay || r.Profit != profit || r.Update != intUpdate) {
                r = fresh;
                changed = true;
            }
        } else if (r.Date < day) {
            // Newest first: the day goes before the first older record (the sentinel is older than all).
            m_past.insert(p, fresh);
            placed = true;
            changed = true;
        }
    }
    if (!placed && !day.isEmpty()) {
        // Only a book without its sentinel gets here: keep the day at the end rather than drop it.
        m_past.append(fresh);
        changed = true;
    }

    CalcRecord();
    if (changed) {
        SaveRecord();
    }
}

void ProfitBook::DeleteRecord(const QString& strDate) {
    const auto it =
        std::find_if(m_past.cbegin(), m_past.cend(), [&strDate](const udtRecord& r) { return r.Date == strDate; });
    const bool found = it != m_past.cend();
    if (found) {
        m_past.erase(it);
    }
    CalcRecord();
    if (found) {
        SaveRecord();
    }
}

void ProfitBook::SwapRecord(QList<udtRecord>& list, qsizetype j, qsizetype k) {
    list.swapItemsAt(j, k);
}

template <typename Before>
void ProfitBook::SortRecords(QList<udtRecord>& list, Before before) {
    // The order is that of the pairwise exchange below. Records that tie on profit and date (only
    // duplicated lines do) come out of it in an order no standard sort reproduces, so the standard sort
    // is taken only when such tied records are identical and their order cannot show.
    QList<udtRecord> sorted = list;
    std::stable_sort(sorted.begin(), sorted.end(), before);
    bool distinctTies = false;
    for (qsizetype i = 1; i < sorted.size() && !distinctTies; ++i) {
        distinctTies = !before(sorted[i - 1], sorted[i]) && !(sorted[i - 1] == sorted[i]);
    }
    if (!distinctTies) {
        list = std::move(sorted);
        return;
    }
    for (qsizetype j = 0; j + 1 < list.size(); ++j) {
        for (qsizetype k = j + 1; k < list.size(); ++k) {
            if (before(std::as_const(list)[k], std::as_const(list)[j])) {
                SwapRecord(list, j, k);
            }
        }
    }
}

void ProfitBook::CalcRecord() {
    m_best.clear();
    m_worst.clear();
    // The last record is the sentinel in a sound book; it is left out whatever it holds.
    for (qsizetype p = 0; p + 1 < m_past.size(); ++p) {
        const udtRecord& r = m_past[p];
        if (r.Profit > 0) {
            m_best.append(r);
        } else if (r.Profit < 0) {
            m_worst.append(r);
        }
    }
    SortRecords(m_best, [](const udtRecord& a, const udtRecord& b) {
        return a.Profit > b.Profit || (a.Profit == b.Profit && a.Date > b.Date);
    });
    SortRecords(m_worst, [](const udtRecord& a, const udtRecord& b) {
        return a.Profit < b.Profit || (a.Profit == b.Profit && a.Date > b.Date);
    });

    m_totalBuy = Sum(m_past, &udtRecord::Buy);
    m_totalPay = Sum(m_past, &udtRecord::Pay);
    m_totalProfit = Sum(m_past, &udtRecord::Profit);
}

const udtRecord& ProfitBook::Past(qsizetype i) const {
    if (i < 1 || i > m_past.size()) {
        throw AppError::IndexOutOfRange();
    }
    return m_past[i - 1];
}

namespace {
const udtRecord& Listed(const QList<udtRecord>& list, qsizetype i) {
    if (i < 1 || i > list.size()) {
        throw AppError::IndexOutOfRange();
    }
    return list[i - 1];
}
} // namespace

const QString& ProfitBook::PastDate(qsizetype i) const {
    return Past(i).Date;
}
qint32 ProfitBook::PastBuy(qsizetype i) const {
    return Past(i).Buy;
}
qint32 ProfitBook::PastPay(qsizetype i) const {
    return Past(i).Pay;
}
qint32 ProfitBook::PastProfit(qsizetype i) const {
    return Past(i).Profit;
}
qint16 ProfitBook::PastUpdate(qsizetype i) const {
    return Past(i).Update;
}

const QString& ProfitBook::BestDate(qsizetype i) const {
    return Listed(m_best, i).Date;
}
qint32 ProfitBook::BestBuy(qsizetype i) const {
    return Listed(m_best, i).Buy;
}
qint32 ProfitBook::BestPay(qsizetype i) const {
    return Listed(m_best, i).Pay;
}
qint32 ProfitBook::BestProfit(qsizetype i) const {
    return Listed(m_best, i).Profit;
}

const QString& ProfitBook::WorstDate(qsizetype i) const {
    return Listed(m_worst, i).Date;
}
qint32 ProfitBook::WorstBuy(qsizetype i) const {
    return Listed(m_worst, i).Buy;
}
qint32 ProfitBook::WorstPay(qsizetype i) const {
    return Listed(m_worst, i).Pay;
}
qint32 ProfitBook::WorstProfit(qsizetype i) const {
    return Listed(m_worst, i).Profit;
}

qint32 ProfitBook::TotalBuy() const {
    return Checked(m_totalBuy);
}
qint32 ProfitBook::TotalPay() const {
    return Checked(m_totalPay);
}
qint32 ProfitBook::TotalProfit() const {
    return Checked(m_totalProfit);
}

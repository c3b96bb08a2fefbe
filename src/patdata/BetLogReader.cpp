#include "BetLogReader.h"

#include "core/AppError.h"
#include "core/BetRecords.h"
#include "core/Bytes.h"
#include "core/CodePage.h"
#include "core/Dates.h"
#include "core/FileIdentity.h"
#include "core/Numbers.h"
#include "core/Paths.h"

#include <QByteArrayView>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <array>
#include <optional>
#include <type_traits>

namespace {

const QString kIndexFile = QStringLiteral("LG-FILE.JRA");

// Index file: decoded text, cut by characters. Entries of 26 characters follow the header.
constexpr qsizetype kIndexCountPos = 17;
constexpr qsizetype kIndexFirstEntry = 24;
constexpr qsizetype kEntryLength = 26;

// Day log file: cut by bytes. Ticket records of 54 bytes follow the 22-byte header. The client writes
// the records in digits and blanks only, so 54 bytes are the 54 characters of a record; cutting by bytes
// keeps every later record in place even if a stray double-byte character turns up in one of them.
constexpr qsizetype kLogHeaderLength = 22;
constexpr qsizetype kLogFirstRecord = kLogHeaderLength + 1;
constexpr qsizetype kRecordLength = 54;

constexpr qsizetype kBoxMax = 10;

// The heaviest day the client can write is 900 tickets of ten-horse trio boxes, 108,000 bet lines. A log
// that expands far past that is not the client's, and is refused before its lines are stored.
constexpr qsizetype kMaxBetLines = 250000;

using namespace BetCodes;

struct IndexEntry {
    QString name;
    QString date;
};

QList<IndexEntry> readIndex(const QByteArray& data) {
    const QString text = CodePage::decode(data);
    const qsizetype declared = Num::toInt32(QStringView(text).mid(kIndexCountPos - 1, 3));
    QList<IndexEntry> entries;
    // The declared count is believed only as far as the file holds entries.
    for (qsizetype k = 1; k <= declared; ++k) {
        const qsizetype start = kIndexFirstEntry + kEntryLength * (k - 1) - 1;
        if (start >= text.size()) {
            break;
        }
        const QStringView entry = QStringView(text).mid(start, kEntryLength);
        entries.append({entry.mid(0, 5).toString(), entry.mid(8, 8).toString()});
    }
    return entries;
}

qint16 small(QByteArrayView record, qsizetype pos, qsizetype len) {
    return Num::clampToInt16(Bytes::number(record, pos, len));
}

// Partner j of a wheel: horses 1-18 have the bit 2^(18 - j), brackets 1-8 the bit 2^(8 - j).
bool inMask(qint32 mask, int j, int top) {
    return mask > 0 && ((mask >> (top - j)) & 1) != 0;
}

// One ticket record as the client wrote it, fields read leniently (missing or garbage gives 0).
struct Ticket {
    qint16 sale = 0;
    qint16 venue = 0;
    qint16 raceNum = 0;
    qint16 kind = 0;
    qint16 betType = 0;
    std::array<qint16, 3> num{}; // wheel: num[2] is the axis; trio wheel: num[1] and num[2]
    qint16 units = 0;
    qint32 horseMask = 0;
    qint32 bracketMask = 0;
    qint16 axisPosition = 0;
    qint16 status = 0;
    qsizetype boxCount = 0;
    std::array<qint16, kBoxMax> boxed{};

    explicit Ticket(QByteArrayView r) {
        sale = small(r, 4, 1);
        venue = small(r, 5, 2);
        raceNum = small(r, 7, 2);
        kind = small(r, 9, 1);
        betType = small(r, 10, 1);
        num = {small(r, 11, 2), small(r, 13, 2), small(r, 15, 2)};
        units = small(r, 17, 4);
        horseMask = Bytes::number(r, 21, 6);
        bracketMask = Bytes::number(r, 21, 3);
        axisPosition = small(r, 27, 1);
        status = small(r, 41, 2);
        // A box member is a flag whose value is 0 (a 0 digit, a blank or any non-digit).
        for (qsizetype i = 0; i < kBoxMax; ++i) {
            if (small(r, 43 + i, 1) == 0) {
                ++boxCount;
            }
        }
        // The boxed numbers: three at 11-16, then seven more at 21-34.
        for (qsizetype i = 0; i < kBoxMax; ++i) {
            boxed[i] = small(r, i < 3 ? 11 + 2 * i : 21 + 2 * (i - 3), 2);
        }
    }
};

// Every combination a purchased ticket stands for, handed to `add` as the three numbers of its bet line
// (unused numbers 0, filled from the right).
template <class Add>
class Expander {
public:
    Expander(const Ticket& t, Add& add) : m_t(t), m_add(add) {}

    void run() {
        switch (m_t.kind) {
        case Single:
            m_add(m_t.num[0], m_t.num[1], m_t.num[2]);
            break;
        case Wheel:
            runWheel();
            break;
        case Box:
            runBox();
            break;
        default:
            break;
        }
    }

private:
    void addSorted(qint16 a, qint16 b, qint16 c) {
        std::array<qint16, 3> n{a, b, c};
        std::sort(n.begin(), n.end());
        m_add(n[0], n[1], n[2]);
    }

    void runWheel() {
        const qint16 axis = m_t.num[2];
        if (m_t.betType == BracketQuinella) {
            for (qint16 j = 1; j <= 8; ++j) {
                if (inMask(m_t.bracketMask, j, 8)) {
                    addSorted(0, axis, j);
                }
            }
            return;
        }
        for (qint16 j = 1; j <= 18; ++j) {
            if (!inMask(m_t.horseMask, j, 18)) {
                continue;
            }
            switch (m_t.betType) {
            case Quinella:
            case Wide:
                addSorted(0, axis, j);
                break;
            case Exacta:
                if (m_t.axisPosition == 1) {
                    m_add(0, axis, j);
                } else if (m_t.axisPosition == 2) {
                    m_add(0, j, axis);
                } else {
                    m_add(0, 0, 0); // bought, but no order can be told; stays a (losing) bet
                }
                break;
            case Trio:
                addSorted(m_t.num[1], m_t.num[2], j);
                break;
            default:
                return;
            }
        }
    }

    void runBox() {
        const auto& h = m_t.boxed;
        const qsizetype n = m_t.boxCount;
        switch (m_t.betType) {
        case Exacta:
            for (qsizetype i = 0; i < n; ++i) {
                for (qsizetype j = i + 1; j < n; ++j) {
                    m_add(0, h[i], h[j]);
                    m_add(0, h[j], h[i]);
                }
            }
            break;
        case Trio:
            for (qsizetype i = 0; i < n; ++i) {
                for (qsizetype j = i + 1; j < n; ++j) {
                    for (qsizetype l = j + 1; l < n; ++l) {
                        m_add(h[i], h[j], h[l]);
                    }
                }
            }
            break;
        case BracketQuinella:
        case Quinella:
        case Wide:
            for (qsizetype i = 0; i < n; ++i) {
                for (qsizetype j = i + 1; j < n; ++j) {
                    m_add(0, h[i], h[j]);
                }
            }
            break;
        default:
            break;
        }
    }

    const Ticket& m_t;
    Add& m_add;
};

template <class Add>
void expand(const Ticket& t, Add&& add) {
    Expander<std::remove_reference_t<Add>> expander(t, add);
    expander.run();
}

qsizetype lineCount(const Ticket& t) {
    qsizetype n = 0;
    expand(t, [&n](qint16, qint16, qint16) { ++n; });
    return n;
}

bool isCombinationType(qint16 betType) {
    return betType >= BracketQuinella && betType <= Trio;
}

// The ticket as the bet log window shows it; none for a ticket kind the client does not write, or a
// wheel or box of a bet type that cannot be one.
std::optional<TicketLine> ticketLineOf(const Ticket& t, qint16 sale, qint16 buyDay, qint16 logNo) {
    TicketLine o;
    o.sale = sale;
    o.venue = t.venue;
    o.raceNum = t.raceNum;
    o.status = t.status;
    o.betType = t.betType;
    o.kind = t.kind;
    o.units = t.units;
    o.buyDay = buyDay;
    o.logNo = logNo;
    switch (t.kind) {
    case Single:
        o.num1 = t.num[0];
        o.num2 = t.num[1];
        o.num3 = t.num[2];
        return o;
    case Wheel: {
        if (!isCombinationType(t.betType)) {
            return std::nullopt;
        }
        o.num3 = t.num[2];
        if (t.betType == BracketQuinella) {
            for (int j = 1; j <= 8; ++j) {
                o.partnerSlots[j - 1] = inMask(t.bracketMask, j, 8) ? 1 : 0;
            }
            return o;
        }
        for (int j = 1; j <= 18; ++j) {
            o.partnerSlots[j - 1] = inMask(t.horseMask, j, 18) ? 1 : 0;
        }
        if (t.betType == Exacta) {
            o.num1 = t.axisPosition;
        } else if (t.betType == Trio) {
            o.num2 = t.num[1];
        }
        return o;
    }
    case Box:
        if (!isCombinationType(t.betType)) {
            return std::nullopt;
        }
        o.num1 = static_cast<qint16>(t.boxCount);
        for (qsizetype i = 0; i < t.boxCount; ++i) {
            o.partnerSlots[i] = t.boxed[i];
        }
        return o;
    default:
        return std::nullopt;
    }
}

bool isLineRace(qint16 sale, qint16 venue, qint16 raceNum) {
    return sale >= 0 && sale <= 9 && venue >= 0 && venue <= 99 && raceNum >= 0 && raceNum <= 99;
}

// The run of sorted ticket lines of one race. The lines are fitted to their text form, so they are
// ordered by sale, venue and race number first, and no line carries a value those fields cannot hold.
std::span<const TicketLine> omitRunOf(const std::vector<TicketLine>& sorted, qint16 sale, qint16 venue,
                                      qint16 raceNum) {
    if (!isLineRace(sale, venue, raceNum)) {
        return {};
    }
    const auto race = [](const TicketLine& r) { return std::array<qint16, 3>{r.sale, r.venue, r.raceNum}; };
    const std::array<qint16, 3> wanted{sale, venue, raceNum};
    const auto first = std::lower_bound(sorted.cbegin(), sorted.cend(), wanted,
                                        [&](const TicketLine& r, const auto& w) { return race(r) < w; });
    const auto last =
        std::upper_bound(first, sorted.cend(), wanted, [&](const auto& w, const TicketLine& r) { return w < race(r); });
    return {first, last};
}

template <class Record>
const Record& at(const std::vector<Record>& lines, qsizetype index) {
    if (index < 1 || index > static_cast<qsizetype>(lines.size())) {
        throw AppError::indexOutOfRange();
    }
    return lines[static_cast<std::size_t>(index - 1)];
}

// Sorts lines[0, ends.back()) made of sorted runs that end at `ends`, by merging neighbouring runs
// until one is left.
void mergeRuns(quint64* lines, std::vector<std::size_t> ends, std::vector<quint64>& scratch) {
    scratch.resize(ends.empty() ? 0 : ends.back());
    while (ends.size() > 1) {
        std::vector<std::size_t> merged;
        std::size_t begin = 0;
        for (std::size_t k = 0; k < ends.size(); k += 2) {
            const std::size_t middle = ends[k];
            const std::size_t end = k + 1 < ends.size() ? ends[k + 1] : middle;
            std::merge(lines + begin, lines + middle, lines + middle, lines + end, scratch.data() + begin);
            merged.push_back(end);
            begin = end;
        }
        std::copy(scratch.cbegin(), scratch.cbegin() + static_cast<std::ptrdiff_t>(begin), lines);
        ends = std::move(merged);
    }
}

// A purchased ticket, waiting to be expanded into its bet lines.
struct Purchase {
    Ticket ticket;
    qint16 sale = 0;
    qint16 buyDay = 0;
};

// What the reader of one day log fills.
struct DayLogOutput {
    std::vector<Purchase>& purchases;
    std::vector<TicketLine>& tickets;
    qsizetype& lines;
    FileWarnings& warnings;
    ClientFiles::FolderRead& files;
};

// Reads one day log file: its ticket lines into `tickets`, its purchased tickets into `purchases`, their
// bet lines counted into `lines`. With advanceOnly, only its advance-sale tickets, as tickets of the next
// day bought the day before. Raises the overflow error as soon as the count passes kMaxBetLines.
//
// Only records the file holds whole are taken. The client appends to its log during the day: a record
// cut short would read its missing box flags as members (a box of three grows to ten) and its missing
// status as 0, so it would change the day's stake and payouts. Such a file is named in the warnings.
void readDayLog(const QString& path, bool advanceOnly, const DayLogOutput& out) {
    const QString name = QFileInfo(path).fileName();
    const std::optional<QByteArray> file = out.files.readWhole(path);
    if (!file) {
        Warnings::add(out.warnings, {name, FileWarning::Problem::Unreadable});
        return;
    }
    const QByteArrayView data(*file);
    const qint16 logNo = small(data, 13, 4);
    const qsizetype declared = Bytes::number(data, 21, 2);
    const qsizetype held = std::max<qsizetype>(data.size() - kLogHeaderLength, 0) / kRecordLength;
    if (data.size() < kLogHeaderLength || (data.size() - kLogHeaderLength) % kRecordLength != 0) {
        Warnings::add(out.warnings, {name, FileWarning::Problem::CutRecord, data.size()});
    } else if (declared > held) {
        Warnings::add(out.warnings, {name, FileWarning::Problem::FewerRecords, held, declared});
    }
    // Yesterday's advance-sale tickets belong to today's races: sale 1, bought the previous day (9).
    const qint16 buyDay = advanceOnly ? 9 : 1;
    for (qsizetype k = 1; k <= std::min(declared, held); ++k) {
        const Ticket t(Bytes::cut(data, kLogFirstRecord + kRecordLength * (k - 1), kRecordLength));
        if (advanceOnly && t.sale != 2) {
            continue;
        }
        const qint16 sale = advanceOnly ? qint16(1) : t.sale;
        if (t.status == 1) {
            out.lines += lineCount(t);
            if (out.lines > kMaxBetLines) {
                throw AppError(
                    ErrNo::Overflow, QStringLiteral("clsControlLG"),
                    QStringLiteral("Overflow: the bet log expands to more than %1 bet lines").arg(kMaxBetLines));
            }
            out.purchases.push_back({t, sale, buyDay});
        }
        if (const auto line = ticketLineOf(t, sale, buyDay, logNo)) {
            out.tickets.push_back(BetRecords::fitted(*line));
        }
    }
}

} // namespace

BetLogReader::BetLogReader(const QString& folder)
    : m_pathName(addPathSep(folder)), m_bets(std::make_shared<std::vector<quint64>>()) {}
BetLogReader::BetLogReader(BetLogReader&&) noexcept = default;
BetLogReader& BetLogReader::operator=(BetLogReader&&) noexcept = default;
BetLogReader::~BetLogReader() = default;

BetLogReader BetLogReader::read(const QString& folder, const QString& saleDate, ClientFiles::FolderRead* within) {
    BetLogReader log(folder);
    ClientFiles::FolderRead own;
    log.readDays(saleDate, within ? *within : own);
    return log;
}

QString BetLogReader::log(qsizetype index) const {
    return betLineText(BetRecords::unpack(at(*m_bets, index), 0));
}

QString BetLogReader::logOmit(qsizetype index) const {
    return ticketLineText(at(m_omit, index));
}

BetRun BetLogReader::logOf(qint16 sale, qint16 venue, qint16 raceNum) const {
    if (!isLineRace(sale, venue, raceNum)) {
        return {};
    }
    // The bets of one race lie between its lowest and its highest possible bet (every other field at its
    // least, then at its most).
    BetLine lowest;
    lowest.sale = sale;
    lowest.venue = venue;
    lowest.raceNum = raceNum;
    BetLine highest = lowest;
    highest.betType = highest.num1 = highest.num2 = highest.num3 = highest.buyDay = highest.units = 9999;
    const auto first = std::lower_bound(m_bets->cbegin(), m_bets->cend(), BetRecords::packBet(lowest));
    const auto last = std::upper_bound(first, m_bets->cend(), BetRecords::packBet(highest));
    return BetRun(m_bets, first - m_bets->cbegin(), last - first);
}

std::span<const TicketLine> BetLogReader::logOmitOf(qint16 sale, qint16 venue, qint16 raceNum) const {
    return omitRunOf(m_omit, sale, venue, raceNum);
}

void BetLogReader::readDays(const QString& saleDate, ClientFiles::FolderRead& files) {
    const QString indexPath = files.findFile(m_pathName, kIndexFile);
    if (indexPath.isEmpty()) {
        return;
    }
    const std::optional<QByteArray> index = files.readWhole(indexPath);
    if (!index) {
        return;
    }
    const QList<IndexEntry> entries = readIndex(*index);

    std::vector<Purchase> purchases;
    std::vector<TicketLine> tickets;
    qsizetype lines = 0;
    const DayLogOutput out{purchases, tickets, lines, m_warnings, files};
    const auto readDay = [&](const QString& date, bool advanceOnly) {
        if (date.isEmpty()) {
            return;
        }
        // An index that names one file twice for the day would count its stake twice: each file is read
        // once, known by what it is rather than by its name (a name in other case, a hard or symbolic link
        // to a log already read, is the same file).
        QSet<FileIdentity> read;
        QSet<QString> readPaths; // for a file whose identity cannot be had
        for (const IndexEntry& e : entries) {
            if (e.date != date) {
                continue;
            }
            // A listed log that is not there is skipped, but said: without it the day lacks its tickets.
            const QString name = e.name + QStringLiteral(".JRA");
            const QString path = files.find(m_pathName, name);
            if (path.isEmpty()) {
                Warnings::add(m_warnings, {name, FileWarning::Problem::Missing});
                continue;
            }
            if (!QFileInfo(path).isFile()) {
                Warnings::add(m_warnings, {QFileInfo(path).fileName(), FileWarning::Problem::NotAFile});
                continue;
            }
            const std::optional<FileIdentity> id = identityOf(path);
            if (id ? read.contains(*id) : readPaths.contains(path)) {
                continue;
            }
            if (id) {
                read.insert(*id);
            } else {
                readPaths.insert(path);
            }
            readDayLog(path, advanceOnly, out);
        }
    };
    readDay(saleDate, false);
    const qsizetype ownLines = lines;
    // Tickets bought yesterday for today's races (calendar arithmetic: 1 January looks at 31 December).
    readDay(Dates::previousDay(saleDate), true);

    // The lines were counted while reading, so the heavy day's tens of thousands are stored once, without
    // regrowth.
    m_betCount = ownLines;
    m_omit = std::move(tickets);
    m_bets->reserve(static_cast<std::size_t>(lines));
    // Bets order first by sale, venue, race and bet type, which a ticket gives all its bets. The tickets
    // are put in that order and each run of tickets of one race and bet type is expanded on its own. A
    // ticket's bets come in order as it expands (or are sorted, a few hundred at most), and the tickets'
    // runs are merged: no sort of the day's tens of thousands of lines, and the same lines in the same
    // order.
    const auto raceAndType = [](const Purchase& p) {
        BetLine line;
        line.sale = p.sale;
        line.venue = p.ticket.venue;
        line.raceNum = p.ticket.raceNum;
        line.betType = p.ticket.betType;
        return line;
    };
    std::vector<std::pair<quint64, const Purchase*>> order;
    order.reserve(purchases.size());
    for (const Purchase& p : purchases) {
        order.emplace_back(BetRecords::packBet(raceAndType(p)), &p);
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<quint64> scratch;
    for (auto run = order.cbegin(); run != order.cend();) {
        const auto runEnd = std::find_if(run, order.cend(), [&](const auto& o) { return o.first != run->first; });
        const std::size_t first = m_bets->size();
        std::vector<std::size_t> ends;
        for (auto o = run; o != runEnd; ++o) {
            // The fields are packed apart (each into its own bits), so the ticket's are packed once and
            // every combination adds only its numbers.
            const Purchase& p = *o->second;
            BetLine line = raceAndType(p);
            line.buyDay = p.buyDay;
            line.units = p.ticket.units;
            const quint64 ticket = BetRecords::packBet(line);
            expand(p.ticket,
                   [&](qint16 a, qint16 b, qint16 c) { m_bets->push_back(ticket | BetRecords::packNumbers(a, b, c)); });
            const auto added =
                m_bets->begin() + static_cast<std::ptrdiff_t>(ends.empty() ? first : first + ends.back());
            if (!std::is_sorted(added, m_bets->end())) {
                std::sort(added, m_bets->end());
            }
            ends.push_back(m_bets->size() - first);
        }
        mergeRuns(m_bets->data() + first, std::move(ends), scratch);
        run = runEnd;
    }

    // Kept sorted even without a bet line, so a race can always find its ticket lines by search.
    BetRecords::sortByText(m_omit);
}

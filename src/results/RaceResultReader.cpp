#include "RaceResultReader.h"

#include "core/AppError.h"
#include "core/BetRecords.h"
#include "core/Bytes.h"
#include "core/Codes.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/Text.h"
#include "core/Width.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

// Bet type codes of the result lines.
enum : int { kWin = 1, kPlace, kBracket, kQuinella, kWide, kExacta, kTrio };

// The horse numbers of a bet line have two digits; a runner count above that could only produce
// duplicates of clamped lines.
constexpr qint16 kMaxHorse = 99;
// The highest horse number a race can have; only 1..kMaxRunner in a refund slot names a refunded horse.
constexpr qint16 kMaxRunner = 18;

// One payout section: how many entries it holds, how wide one entry is, which byte tells whether the
// entry is filled (the units digit of its first number), where its numbers and its amount stand.
struct NumberField {
    int offset;
    int width;
};
struct SectionLayout {
    int entries;
    int width;
    int presenceOffset;
    int numberCount;
    NumberField numbers[3];
    int amountOffset;
};

const SectionLayout& layout(int betType) {
    static const SectionLayout kLayouts[7] = {
        {3, 10, 1, 1, {{0, 2}, {0, 0}, {0, 0}}, 2},  // win
        {5, 10, 1, 1, {{0, 2}, {0, 0}, {0, 0}}, 2},  // place
        {3, 12, 1, 2, {{1, 1}, {3, 1}, {0, 0}}, 4},  // bracket quinella
        {3, 14, 2, 2, {{1, 2}, {4, 2}, {0, 0}}, 6},  // quinella
        {10, 14, 2, 2, {{1, 2}, {4, 2}, {0, 0}}, 6}, // wide
        {6, 14, 2, 2, {{1, 2}, {4, 2}, {0, 0}}, 6},  // exacta
        {3, 17, 2, 3, {{1, 2}, {4, 2}, {7, 2}}, 9},  // trio
    };
    return kLayouts[betType - 1];
}

// Where each section starts in the result file. Exacta lies behind wide but is read before it, so the
// result lines (and the results window built from them) list exacta first.
struct ResultSection {
    int betType;
    int pos;
};
constexpr ResultSection kResultSections[7] = {
    {kWin, 378}, {kPlace, 408}, {kBracket, 458}, {kQuinella, 494}, {kExacta, 676}, {kWide, 536}, {kTrio, 760},
};

constexpr qsizetype kUmaRefundPos = 812;
constexpr qsizetype kWakuRefundPos = 822;
constexpr qsizetype kRefundFlagPos = 811;
constexpr qsizetype kHashPos = 830;
constexpr int kSlotPos = 91;
constexpr int kSlotWidth = 40;

// The per-bet-type payout files, in reading order. RefundPos is the offset of the refunds read behind the
// section (0: none are read, though win and place carry them); IsWaku tells bracket marks from horses.
struct PayoutFileLayout {
    const char* prefix;
    int betType;
    int recordWidth;
    int refundOffset;
    bool isWaku;
};
constexpr PayoutFileLayout kPayoutFiles[7] = {
    {"TH-", kWin, 44, 0, false},       {"FH-", kPlace, 64, 0, false},   {"WH-", kBracket, 48, 40, true},
    {"UH-", kQuinella, 56, 46, false}, {"SH-", kExacta, 98, 88, false}, {"KH-", kWide, 154, 144, false},
    {"YH-", kTrio, 65, 55, false},
};
constexpr qsizetype kPayoutFirstRecord = 21;
constexpr qsizetype kPayoutSectionOffset = 4;
constexpr qsizetype kPayoutPresenceOffset = 2;

// A field is taken only when the file holds all of it: a half-written file must not turn "    1230"
// into a payout of 12, nor " 5" into horse 0. Past the end the field is empty.
QByteArrayView field(QByteArrayView data, qsizetype pos, qsizetype len) {
    if (pos < 1 || len <= 0 || pos - 1 + len > data.size()) {
        return QByteArrayView();
    }
    return Bytes::cut(data, pos, len);
}

QString fieldText(QByteArrayView data, qsizetype pos, qsizetype len) {
    return Bytes::text(field(data, pos, len), 1, len);
}

qint32 fieldNumber(QByteArrayView data, qsizetype pos, qsizetype len) {
    return Bytes::number(field(data, pos, len), 1, len);
}

qint16 fieldSmall(QByteArrayView data, qsizetype pos, qsizetype len) {
    return Num::clampToInt16(fieldNumber(data, pos, len));
}

// Only half-width blanks are padding in these files; a full-width space belongs to the text.
QString trimmedText(QByteArrayView data, qsizetype pos, qsizetype len) {
    return Text::trimBlanks(fieldText(data, pos, len)).toString();
}

// The hexadecimal digits of a venue code or race number as they appear in a result file id; a negative
// value has none and can never match.
QString hexText(qint32 value) {
    return value < 0 ? QString() : QString::number(value, 16).toUpper();
}

// The lengths the client writes: the result file, and a payout file's header and twelve race records
// (a converted result file has the same 849 bytes, with no line end).
constexpr qsizetype kResultFileLength = 849;
constexpr qsizetype kPayoutHeaderLength = 20;
constexpr qsizetype kPayoutRecords = 12;

// Reads the file of that name when there is one. A file that cannot be opened, or whose length is not
// `length`, is named in the warnings: it is what the client is still writing, or what a crash left.
std::optional<QByteArray> readClientFile(ClientFiles::FolderRead& files, const QString& folder, const QString& name,
                                         qsizetype length, FileWarnings& warnings) {
    const QString path = files.findFile(folder, name);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    std::optional<QByteArray> file = files.readWhole(path);
    const QString found = QFileInfo(path).fileName();
    if (!file) {
        Warnings::add(warnings, {found, FileWarning::Problem::Unreadable});
    } else if (file->size() != length) {
        Warnings::add(warnings, {found, FileWarning::Problem::WrongLength, file->size(), length});
    }
    return file;
}

} // namespace

RaceResultReader::RaceResultReader(const QString& folder, const QString& raceId, qint16 tosu)
    : m_pathName(addPathSep(folder)), m_fileName(raceId), m_tosu(tosu) {}
RaceResultReader::RaceResultReader(RaceResultReader&&) noexcept = default;
RaceResultReader& RaceResultReader::operator=(RaceResultReader&&) noexcept = default;
RaceResultReader::~RaceResultReader() = default;

RaceResultReader RaceResultReader::read(const QString& folder, const QString& raceId, qint16 tosu, const QString& date,
                                        ClientFiles::FolderRead* within) {
    RaceResultReader result(folder, raceId, tosu);
    ClientFiles::FolderRead own;
    ClientFiles::FolderRead& files = within ? *within : own;
    if (!result.readResultFile(files)) {
        result.readPayoutFiles(files, date);
    }
    return result;
}

bool RaceResultReader::readResultFile(ClientFiles::FolderRead& files) {
    std::optional<QByteArray> file =
        readClientFile(files, m_pathName, QStringLiteral("KS-") + m_fileName + ".JRA", kResultFileLength, m_warnings);
    if (!file) {
        file = readClientFile(files, m_pathName, QStringLiteral("PR-") + m_fileName + ".JRA", kResultFileLength,
                              m_warnings);
    }
    if (!file) {
        return false;
    }
    const QByteArrayView data(*file);

    // The file must describe the race it was opened for; a stray or renamed file is not taken.
    LineKey key;
    key.venue = kaisaiCode(fieldText(data, 9, 4));
    const qint32 race = fieldNumber(data, 21, 2);
    const QString id =
        hexText(key.venue) + fieldText(data, 16, 1) + fieldText(data, 18, 1) + fieldText(data, 20, 1) + hexText(race);
    if (race < 0 || id != m_fileName) {
        return false;
    }
    key.race = static_cast<qint16>(race); // two digits at most

    m_weather = trimmedText(data, 23, 4);
    m_turf = trimmedText(data, 27, 4);
    m_dirt = trimmedText(data, 31, 4);
    m_raceName1 = trimmedText(data, 35, 28);
    m_raceName2 = trimmedText(data, 63, 28);

    for (int s = 0; s < 5; ++s) {
        const qsizetype p = kSlotPos + qsizetype(s) * kSlotWidth;
        const char first = Bytes::at(data, p);
        // A blank slot (or one the file does not reach) stays empty.
        if (first == ' ' || p > data.size()) {
            continue;
        }
        Finisher& f = m_finishers[s];
        f.chaku = fieldSmall(data, p, 1);
        f.num = fieldSmall(data, p + 2, 2);
        f.umaName = Width::toHalf(fieldText(data, p + 4, 18)).replace(QStringLiteral("ｰ"), QStringLiteral("-"));
        f.diff = fieldText(data, p + 22, 6);
    }

    for (const ResultSection& section : kResultSections) {
        readSection(data, section.pos, section.betType, key);
    }

    if (Bytes::at(data, kRefundFlagPos) == '1') {
        readUmaRefunds(data, kUmaRefundPos, key);
        readWakuRefunds(data, kWakuRefundPos, key);
    }

    if (Bytes::at(data, kHashPos) == '#') {
        for (int s = 1; s <= 5; ++s) {
            const char b = Bytes::at(data, kHashPos + s);
            if (b != ' ' && b != '\0') {
                m_finishers[s - 1].wakuNum = fieldSmall(data, kHashPos + s, 1);
            }
        }
    }
    return true;
}

bool RaceResultReader::readPayoutFiles(ClientFiles::FolderRead& files, const QString& date) {
    // Race 0 (an id letter outside "1"-"C") locates no record.
    const qint16 race = m_fileName.isEmpty() ? qint16(0) : codeToNum(QStringView(m_fileName).right(1));
    bool anyRead = false;
    for (const PayoutFileLayout& layout : kPayoutFiles) {
        const QString name = QString::fromLatin1(layout.prefix) + m_fileName.left(4) + ".JRA";
        const std::optional<QByteArray> file = readClientFile(
            files, m_pathName, name, kPayoutHeaderLength + kPayoutRecords * layout.recordWidth, m_warnings);
        if (!file) {
            continue;
        }
        const QByteArrayView data(*file);
        if (fieldText(data, 1, 8) != date) {
            continue;
        }
        anyRead = true;
        if (race < 1 || race > 12) {
            continue;
        }
        LineKey key;
        key.venue = kaisaiCode(fieldText(data, 9, 4));
        key.race = race;
        const qsizetype record = kPayoutFirstRecord + qsizetype(race - 1) * layout.recordWidth;
        if (Bytes::at(data, record + kPayoutPresenceOffset) != '1') {
            continue;
        }
        readSection(data, record + kPayoutSectionOffset, layout.betType, key);
        if (layout.refundOffset == 0) {
            continue;
        }
        if (layout.isWaku) {
            readWakuRefunds(data, record + layout.refundOffset, key);
        } else {
            readUmaRefunds(data, record + layout.refundOffset, key);
        }
    }
    return anyRead;
}

void RaceResultReader::readSection(QByteArrayView data, qsizetype pos, int betType, LineKey key) {
    const SectionLayout& l = layout(betType);
    for (int k = 0; k < l.entries; ++k) {
        const qsizetype e = pos + qsizetype(k) * l.width;
        if (field(data, e, l.width).isEmpty() || Bytes::at(data, e + l.presenceOffset) == ' ') {
            continue;
        }
        // Numbers fill the line from the right: a one-number bet uses only the third.
        qint16 nums[3] = {0, 0, 0};
        for (int i = 0; i < l.numberCount; ++i) {
            nums[3 - l.numberCount + i] = fieldSmall(data, e + l.numbers[i].offset, l.numbers[i].width);
        }
        const qint32 amount = fieldNumber(data, e + l.amountOffset, 8);
        addLine(key, betType, nums[0], nums[1], nums[2], amount);
    }
}

void RaceResultReader::readUmaRefunds(QByteArrayView data, qsizetype pos, LineKey key) {
    if (m_umaRefundSeen) {
        return;
    }
    m_henkanUmaNum = QStringLiteral(" ");
    const qint16 tosu = std::min(m_tosu, kMaxHorse);
    bool first = true;
    for (int slot = 0; slot < 5; ++slot) {
        const QByteArrayView bytes = field(data, pos + 2 * slot, 2);
        if (bytes.isEmpty() || bytes == "  ") {
            continue;
        }
        const qint16 e = Num::toInt16(bytes);
        // A slot naming no runner ("-9", " 0", "ab", "99") is passed over like a blank one: expanded, it
        // would name horse 0 or a horse no race has, and refund bets that were never refunded.
        if (e < 1 || e > kMaxRunner) {
            continue;
        }
        m_umaRefundSeen = true;
        if (!first) {
            m_henkanUmaNum += u',';
        }
        m_henkanUmaNum += QString::number(e);
        first = false;

        addLine(key, kWin, 0, 0, e, 0);
        addLine(key, kPlace, 0, 0, e, 0);
        // Partners below the refunded horse are all runners that can exist; only those above need the count.
        for (const int type : {kQuinella, kWide}) {
            for (qint16 h = 1; h < e; ++h) {
                addLine(key, type, 0, h, e, 0);
            }
            for (qint16 h = e + 1; h <= tosu; ++h) {
                addLine(key, type, 0, e, h, 0);
            }
        }
        for (qint16 k = 1; k <= tosu; ++k) {
            if (k != e) {
                addLine(key, kExacta, 0, e, k, 0);
            }
        }
        for (qint16 k = 1; k <= tosu; ++k) {
            if (k != e) {
                addLine(key, kExacta, 0, k, e, 0);
            }
        }
        for (qint16 g = 1; g <= tosu; ++g) {
            for (qint16 h = g + 1; h <= tosu; ++h) {
                if (g == e || h == e) {
                    continue;
                }
                qint16 n[3] = {e, g, h};
                std::sort(std::begin(n), std::end(n));
                addLine(key, kTrio, n[0], n[1], n[2], 0);
            }
        }
    }
}

void RaceResultReader::readWakuRefunds(QByteArrayView data, qsizetype pos, LineKey key) {
    if (m_wakuRefundSeen) {
        return;
    }
    m_henkanWakuNum = QStringLiteral(" ");
    bool first = true;
    for (qint16 i = 1; i <= 8; ++i) {
        const char mark = Bytes::at(data, pos + i - 1);
        if (mark == ' ' || mark == '\0') {
            continue;
        }
        m_wakuRefundSeen = true;
        if (mark != '1' && mark != '2') {
            continue;
        }
        if (!first) {
            m_henkanWakuNum += u',';
        }
        first = false;
        if (mark == '1') {
            // Every combination containing bracket i, the same-bracket one included.
            m_henkanWakuNum += QString::number(i) + QStringLiteral("-*");
            for (qint16 n = 1; n <= i; ++n) {
                addLine(key, kBracket, 0, n, i, 0);
            }
            for (qint16 j = i + 1; j <= 8; ++j) {
                addLine(key, kBracket, 0, i, j, 0);
            }
        } else {
            m_henkanWakuNum += QString::number(i) + u'-' + QString::number(i);
            addLine(key, kBracket, 0, i, i, 0);
        }
    }
}

void RaceResultReader::addLine(LineKey key, int betType, qint16 num1, qint16 num2, qint16 num3, qint32 amount) {
    BetLine line;
    line.venue = key.venue;
    line.raceNum = key.race;
    line.betType = static_cast<qint16>(betType);
    line.num1 = num1;
    line.num2 = num2;
    line.num3 = num3;
    line.payout = amount;
    m_kekka.push_back(BetRecords::packBet(line));
    m_kekkaPayout.push_back(BetRecords::packEvaluation(line));
}

BetLine RaceResultReader::kekkaRecord(qsizetype index) const {
    if (index < 1 || index > kekkaCount()) {
        throw AppError::indexOutOfRange();
    }
    const auto i = static_cast<std::size_t>(index - 1);
    return BetRecords::unpack(m_kekka[i], m_kekkaPayout[i]);
}

QString RaceResultReader::kekka(qsizetype index) const {
    return betLineText(kekkaRecord(index));
}

QStringList RaceResultReader::kekkaLines() const {
    QStringList lines;
    lines.reserve(kekkaCount());
    for (qsizetype i = 1; i <= kekkaCount(); ++i) {
        lines << kekka(i);
    }
    return lines;
}

const RaceResultReader::Finisher& RaceResultReader::slot(int index) const {
    if (index < 1 || index > 5) {
        throw AppError::indexOutOfRange();
    }
    return m_finishers[index - 1];
}

qint16 RaceResultReader::chaku(int index) const {
    return slot(index).chaku;
}
qint16 RaceResultReader::num(int index) const {
    return slot(index).num;
}
qint16 RaceResultReader::wakuNum(int index) const {
    return slot(index).wakuNum;
}
const QString& RaceResultReader::umaName(int index) const {
    return slot(index).umaName;
}
const QString& RaceResultReader::diff(int index) const {
    return slot(index).diff;
}

#include "ResultsPageConverter.h"

#include "core/AtomicFile.h"
#include "core/CodePage.h"
#include "core/Codes.h"
#include "core/Formats.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/Width.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <array>

namespace {

// Bet type codes as in the result lines; 9 stands for the refund lines of the page.
enum : int { kWin = 1, kPlace, kBracket, kQuinella, kWide, kExacta, kTrio, kRefund = 9 };

// The payout section of every bet type the result file holds: how many entries fit, how wide one is and
// where the section starts.
struct SectionLayout {
    int entries;
    int width;
    int pos;
};
constexpr SectionLayout kSections[7] = {
    {3, 10, 378}, {5, 10, 408}, {3, 12, 458}, {3, 14, 494}, {10, 14, 536}, {6, 14, 676}, {3, 17, 760},
};

constexpr int kRecordLength = 849;
constexpr int kMaxRefundHorses = 5;
constexpr int kMaxMargin = 6;

// Payout states: 80 + the bet type of the line being read. Bet types the result file has no room for
// ("３連単", "枠単") get a state of their own, so their continuation lines are not taken for the previous
// bet type's.
constexpr int kPayoutState = 80;
constexpr int kNotHeldState = 88;

struct Entry {
    std::array<qint16, 3> nums{};
    qint32 amount = 0;
};

struct Finisher {
    qint16 chaku = 0;
    qint16 waku = 0;
    qint16 num = 0;
    QString umaName;
    QString margin;
};

// Everything one results page yields.
struct Page {
    QString year;
    QString kaiJi;
    QString hiJi;
    QString venue;
    qint16 venueCode = 0;
    qint32 month = 0;
    qint32 day = 0;
    qint16 raceNum = 0;
    QString raceName;
    QString raceKind;
    QString raceClass;
    QString weather;
    QString going;
    bool turf = false;
    std::array<Finisher, 5> finishers{};
    std::array<QList<Entry>, 7> payouts{};
    QList<qint16> refundHorses;
    std::array<qint16, 8> wakuMarks{};
    int wakuMarkCount = 0;
};

qint16 small(QStringView text) {
    return Num::toInt16(text);
}

// The text between the last "#" before `end` and `end` (from the line start when there is none).
QStringView fieldBefore(QStringView line, qsizetype end) {
    const qsizetype hash = end > 0 ? line.first(end).lastIndexOf(u'#') : -1;
    return line.sliced(hash + 1, end - hash - 1);
}

// "2026年2回東京8日 4月 5日（日） 11Ｒ": year, meeting and day number, venue, month, day, race number.
bool readDateLine(QStringView line, Page& p) {
    if (line.size() < 7 || line[4] != u'年' || line[6] != u'回') {
        return false;
    }
    p.year = line.first(4).toString();
    p.kaiJi = line.sliced(5, 1).toString();
    p.venue = line.mid(7, 2).toString();
    p.venueCode = kaisaiCode(p.venue);
    // The day number runs from after the venue up to "日": day 10 of a meeting is "10日", and taking one
    // character would file it as day 1, under a name the reader never looks for.
    const qsizetype dayMark = line.indexOf(u'日', 9);
    p.hiJi = dayMark < 0 ? QString() : line.sliced(9, dayMark - 9).toString();
    const qsizetype month = line.indexOf(u'月', 11);
    if (month < 0) {
        return false;
    }
    p.month = Num::toInt32(fieldBefore(line, month));
    const qsizetype day = line.indexOf(u'日', month + 1);
    if (day < 0) {
        return false;
    }
    p.day = Num::toInt32(fieldBefore(line, day));
    const qsizetype race = line.indexOf(u'Ｒ', day + 1);
    if (race < 0) {
        return false;
    }
    p.raceNum = small(fieldBefore(line, race));
    return true;
}

// The name is the second field; a line whose only "#" ends it carries the name in front of it.
void readRaceName(QStringView line, Page& p) {
    const qsizetype first = line.indexOf(u'#');
    QStringView name;
    if (first >= 0 && first == line.size() - 1) {
        name = line.first(first);
    } else if (first >= 0) {
        const qsizetype second = line.indexOf(u'#', first + 1);
        name = line.sliced(first + 1, (second < 0 ? line.size() : second) - first - 1);
    }
    QString full = Width::toFull(name);
    const qsizetype paren = full.indexOf(u'（');
    if (paren >= 0) {
        full.truncate(paren);
    }
    p.raceName = full.left(14);
}

void readRaceKind(QStringView line, Page& p) {
    const qsizetype first = line.indexOf(u'#');
    p.raceKind = first > 0 ? Width::toFull(line.first(first)) : QString();
}

// "1600万円以下" becomes "１６００万下"; any other class is the field between the line's last two "#".
void readRaceClass(QStringView line, Page& p) {
    const qsizetype limit = line.indexOf(u"万円以下");
    if (limit >= 0) {
        const qint32 amount = Num::toInt32(Width::toHalf(fieldBefore(line, limit)));
        p.raceClass = Width::toFull(QString::number(amount)) + QStringLiteral("万下");
        return;
    }
    if (line.endsWith(u'#')) {
        line.chop(1);
    }
    const qsizetype last = line.lastIndexOf(u'#');
    // A line of a single field has no class field at all.
    p.raceClass = last < 0 ? QString() : fieldBefore(line, last).toString();
}

// "#天候：晴#芝：良": two characters after each "："; the page's spaces ("#") are padding.
void readWeather(QStringView line, Page& p) {
    const auto twoAfter = [&](qsizetype colon) {
        return colon < 0 ? QString() : line.mid(colon + 1, 2).toString().replace(u'#', u' ');
    };
    const qsizetype first = line.indexOf(u'：');
    p.weather = twoAfter(first);
    p.going = first < 0 ? QString() : twoAfter(line.indexOf(u'：', first + 2));
    p.turf = line.contains(u'芝');
}

// The margin behind the horse in front: the winner's is its race time; the others' stand between the
// time and the horse weight ("Kg"), closed by two spaces.
QString readMargin(QStringView line, int slot) {
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0) {
        return QString();
    }
    if (slot == 1) {
        return line.mid(qMax<qsizetype>(colon - 1, 0), 6).toString();
    }
    const qsizetype start = colon + 6;
    if (start >= line.size()) {
        return QString();
    }
    const qsizetype kg = line.indexOf(u"Kg", start);
    const qsizetype end = kg >= 0 ? line.first(kg).lastIndexOf(u"##") : line.lastIndexOf(u'#');
    if (end <= start) {
        return QString();
    }
    const QStringView text = line.sliced(start, end - start);
    if (text.contains(u"位降着")) {
        return Width::toHalf(text.sliced(1, 1)) + QStringLiteral("降着");
    }
    return Width::toHalf(text.toString().remove(QStringLiteral("馬身")).replace(u'#', u'.'));
}

// One row of the finishing order: position, bracket, horse number, (unused), horse name, … time, margin.
// Returns the next state.
int readFinisher(QStringView line, int state, Page& p) {
    if (line.startsWith(u"----------")) {
        return 70;
    }
    const qsizetype h1 = line.indexOf(u'#');
    if (h1 < 0) {
        return state;
    }
    const qint16 chaku = small(line.first(h1));
    if (chaku < 1 || chaku > 5) {
        return state;
    }
    const int slot = state - 60;
    Finisher& f = p.finishers[slot - 1];
    f.chaku = chaku;
    qsizetype h[5] = {h1, -1, -1, -1, -1};
    for (int i = 1; i < 5; ++i) {
        h[i] = line.indexOf(u'#', h[i - 1] + 1);
        if (h[i] < 0) {
            return state; // a row cut short fills the slot no further and leaves it for the next row
        }
        const QStringView field = line.sliced(h[i - 1] + 1, h[i] - h[i - 1] - 1);
        if (i == 1) {
            f.waku = small(field);
        } else if (i == 2) {
            f.num = small(field);
        } else if (i == 4) {
            f.umaName = Width::toHalf(field);
        }
    }
    f.margin = readMargin(line, slot);
    return slot == 5 ? 70 : state + 1;
}

// The combination and amount of one payout line: "…#03-07#2,450円#…".
void readEntry(QStringView rest, int betType, Page& p) {
    const qsizetype yen = rest.indexOf(u'円');
    if (yen < 1) {
        return;
    }
    const qsizetype a = rest.first(yen).lastIndexOf(u'#');
    Entry e;
    e.amount = Num::toInt32(rest.sliced(a + 1, yen - a - 1).toString().remove(u','));
    const QStringView combination = a > 0 ? fieldBefore(rest, a) : QStringView();
    switch (betType) {
    case kWin:
    case kPlace:
        e.nums[0] = small(combination);
        break;
    case kBracket:
        e.nums[0] = small(combination.mid(0, 1));
        e.nums[1] = small(combination.mid(2, 1));
        break;
    default:
        for (int i = 0; i < (betType == kTrio ? 3 : 2); ++i) {
            e.nums[i] = small(combination.mid(3 * i, 2));
        }
        break;
    }
    QList<Entry>& list = p.payouts[betType - 1];
    if (list.size() < kSections[betType - 1].entries) {
        list.append(e); // the file has no room for more; a page listing more loses them
    }
}

// "返還馬番 3番 7番", "返還枠番 6枠" (every combination with the bracket), "返還同枠 6枠" (6-6 only).
void readRefunds(QStringView line, Page& p) {
    const QStringView kind = line.first(qMin<qsizetype>(4, line.size()));
    const bool horses = kind == u"返還馬番";
    const int mark = kind == u"返還枠番" ? 1 : (kind == u"返還同枠" ? 2 : 0);
    if (!horses && mark == 0) {
        return;
    }
    const QChar marker = horses ? u'番' : u'枠';
    for (qsizetype k = line.indexOf(marker, 5); k >= 0; k = line.indexOf(marker, k + 1)) {
        const qint16 value = small(fieldBefore(line, k));
        if (horses && p.refundHorses.size() < kMaxRefundHorses) {
            p.refundHorses.append(value);
        } else if (!horses && value >= 1 && value <= 8) {
            p.wakuMarks[value - 1] = static_cast<qint16>(mark);
            ++p.wakuMarkCount;
        }
    }
}

int payoutType(QStringView line) {
    if (line.startsWith(u"３連単") || line.startsWith(u"枠単")) {
        return kNotHeldState - kPayoutState;
    }
    static const char16_t* const kHeads[] = {u"単勝", u"複勝", u"枠連", u"馬連", u"ワイ", u"馬単", u"３連"};
    for (int t = kWin; t <= kTrio; ++t) {
        if (line.startsWith(QStringView(kHeads[t - 1]))) {
            return t;
        }
    }
    return line.startsWith(u"返還") ? kRefund : 0;
}

int readPayout(QStringView line, int state, Page& p) {
    const qsizetype hash = line.indexOf(u'#');
    if (hash < 0) {
        return state;
    }
    const int type = payoutType(line);
    const int current = type != 0 ? type : state - kPayoutState;
    if (current >= kWin && current <= kTrio) {
        readEntry(line.sliced(hash), current, p);
    } else if (type == kRefund) {
        readRefunds(line, p);
    }
    return type != 0 ? kPayoutState + type : state;
}

int step(QStringView line, int state, Page& p) {
    switch (state) {
    case 0:
        return line.startsWith(u"競走成績") ? 10 : 0;
    case 10:
        return readDateLine(line, p) ? 20 : 10;
    case 20:
        readRaceName(line, p);
        return 30;
    case 30:
        readRaceKind(line, p);
        return 40;
    case 40:
        readRaceClass(line, p);
        return 50;
    case 50:
        if (line.mid(1, 2) != u"天候") {
            return 50;
        }
        readWeather(line, p);
        return 60;
    case 60:
        return line.startsWith(u"人気") ? 61 : 60;
    case 70:
        if (!line.startsWith(u"＜払戻金・給付金＞")) {
            return 70;
        }
        p.payouts = {};
        p.refundHorses.clear();
        p.wakuMarks = {};
        p.wakuMarkCount = 0;
        return kPayoutState;
    default:
        if (state >= 61 && state <= 65) {
            return readFinisher(line, state, p);
        }
        if (state >= kPayoutState && state <= 89) {
            return readPayout(line, state, p);
        }
        return state;
    }
}

bool asciiDigits(QStringView text, qsizetype count) {
    if (text.size() != count) {
        return false;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

// Every character of the file name comes from the date line; only what a race id can hold is accepted,
// so no page can name a file anywhere but in the save folder.
bool dateLineIsSound(const Page& p) {
    return asciiDigits(p.year, 4) && asciiDigits(p.kaiJi, 1) && (asciiDigits(p.hiJi, 1) || asciiDigits(p.hiJi, 2)) &&
           p.venueCode >= 1 && p.venueCode <= 10 && p.raceNum >= 1 && p.raceNum <= 12 && p.month >= 1 &&
           p.month <= 12 && p.day >= 1 && p.day <= 31;
}

// The 849 bytes, every field written at its place: a value too long for its field fails the whole record
// instead of pushing the fields behind it out of place.
class Record {
public:
    Record() : m_bytes(kRecordLength, ' ') {}

    // The text in the code page, cut to the width without leaving half a double-byte character (the
    // cut-off half becomes a space).
    void text(qsizetype pos, QStringView text, qsizetype width) {
        const QByteArray bytes = CodePage::encode(text);
        qsizetype keep = 0;
        while (keep < bytes.size()) {
            const qsizetype len = isLeadByte(bytes[keep]) ? 2 : 1;
            if (keep + len > width) {
                break;
            }
            keep += len;
        }
        put(pos, bytes.first(keep));
    }
    // The number right-aligned in the width, blank-filled.
    void right(qsizetype pos, qint64 value, qsizetype width) {
        const QByteArray digits = QByteArray::number(value);
        if (value < 0 || digits.size() > width) {
            m_ok = false;
            return;
        }
        put(pos + width - digits.size(), digits);
    }
    void raw(qsizetype pos, QByteArrayView bytes) { put(pos, bytes); }
    void fail() { m_ok = false; }
    bool ok() const { return m_ok; }
    const QByteArray& bytes() const { return m_bytes; }

private:
    static bool isLeadByte(char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    }
    void put(qsizetype pos, QByteArrayView bytes) { m_bytes.replace(pos - 1, bytes.size(), bytes.toByteArray()); }

    QByteArray m_bytes;
    bool m_ok = true;
};

void writeEntry(Record& r, qsizetype pos, int betType, const Entry& e) {
    const qsizetype amountPos = pos + kSections[betType - 1].width - 8;
    switch (betType) {
    case kWin:
    case kPlace:
        r.right(pos, e.nums[0], 2);
        break;
    case kBracket:
        r.right(pos + 1, e.nums[0], 1);
        r.raw(pos + 2, "-");
        r.right(pos + 3, e.nums[1], 1);
        break;
    default:
        for (int i = 0; i < (betType == kTrio ? 3 : 2); ++i) {
            if (i > 0) {
                r.raw(pos + 3 * i, betType == kExacta ? ">" : "-");
            }
            r.right(pos + 1 + 3 * i, e.nums[i], 2);
        }
        break;
    }
    r.right(amountPos, e.amount, 8);
}

QByteArray buildRecord(const Page& p, bool& ok) {
    Record r;
    r.text(1, p.year + Fmt::zeros(p.month, 2) + Fmt::zeros(p.day, 2), 8);
    r.text(9, p.venue, 4);
    r.text(13, p.year + u'0' + p.kaiJi + Fmt::zeros(p.hiJi.toInt(), 2) + Fmt::zeros(p.raceNum, 2), 10);
    r.text(23, p.weather, 4);
    r.text(p.turf ? 27 : 31, p.going, 4);
    r.text(35, p.raceName, 28);
    r.text(63, p.raceKind + p.raceClass, 28);

    for (int s = 1; s <= 5; ++s) {
        const Finisher& f = p.finishers[s - 1];
        if (f.chaku == 0) {
            continue;
        }
        const qsizetype pos = 91 + (s - 1) * 40;
        r.right(pos, f.chaku, 1);
        r.right(pos + 2, f.num, 2);
        r.text(pos + 4, f.umaName, 18);
        if (CodePage::byteLength(f.margin) > kMaxMargin) {
            r.fail();
        }
        r.text(pos + 22, f.margin, kMaxMargin);
        r.right(830 + s, f.waku, 1);
    }

    for (int t = kWin; t <= kTrio; ++t) {
        const SectionLayout& layout = kSections[t - 1];
        bool any = false;
        for (qsizetype k = 0; k < p.payouts[t - 1].size(); ++k) {
            const Entry& e = p.payouts[t - 1][k];
            if (e.nums[0] != 0) {
                writeEntry(r, layout.pos + k * layout.width, t, e);
                any = true;
            }
        }
        if (any) {
            r.raw(370 + t, "1");
        }
    }

    if (!p.refundHorses.isEmpty() || p.wakuMarkCount > 0) {
        r.raw(811, "1");
    }
    for (qsizetype i = 0; i < p.refundHorses.size(); ++i) {
        if (p.refundHorses[i] != 0) {
            r.right(812 + 2 * i, p.refundHorses[i], 2);
        }
    }
    for (int b = 0; b < 8; ++b) {
        if (p.wakuMarks[b] != 0) {
            r.right(822 + b, p.wakuMarks[b], 1);
        }
    }
    r.raw(830, "#");
    r.text(836, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")), 14);
    ok = r.ok();
    return r.bytes();
}

// The page as the client's code page holds it: a character outside the code page comes back as "?".
QList<QStringView> codePageLines(const QString& text, QString& storage) {
    storage = CodePage::decode(CodePage::encode(text));
    QList<QStringView> lines;
    const QStringView all(storage);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        if (i == all.size() || all[i] == u'\r' || all[i] == u'\n') {
            if (i < all.size() || start < i) {
                lines.append(all.sliced(start, i - start));
            }
            if (i + 1 < all.size() && all[i] == u'\r' && all[i + 1] == u'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    return lines;
}

} // namespace

void ResultsPageConverter::setSavePathName(const QString& folder) {
    m_savePathName = folder.isEmpty() ? QString() : addPathSep(folder); // never the file system's root
    if (!m_savePathName.isEmpty() && QFileInfo(m_savePathName).isDir()) {
        // A download run starts here: a result file whose writing was cut short may have left its temporary.
        AtomicFile::removeStrays(m_savePathName, QStringLiteral("*.JRA"));
    }
}

void ResultsPageConverter::addListedRaces(const QString& text) {
    QString storage;
    for (const QStringView line : codePageLines(text, storage)) {
        if (line.size() < 3) {
            continue;
        }
        const QChar c0 = line[0];
        const QChar c1 = line[1];
        if (c0 >= u'1' && c0 <= u'9' && c1 == u'Ｒ' && line[2] == u' ') {
            m_foundRaces.append(QStringLiteral("0") + c0);
        } else if (c0 == u'1' && c1 >= u'0' && c1 <= u'2' && line[2] == u'Ｒ') {
            m_foundRaces.append(line.first(2).toString());
        }
    }
}

std::optional<ResultsPageConverter::KekkaFile> ResultsPageConverter::makeKekka(const QString& text) {
    QString storage;
    Page page;
    int state = 0;
    for (const QStringView line : codePageLines(text, storage)) {
        state = step(line, state, page);
    }
    if (state < kPayoutState || !dateLineIsSound(page)) {
        return std::nullopt;
    }
    bool ok = false;
    KekkaFile file;
    file.bytes = buildRecord(page, ok);
    if (!ok) {
        return std::nullopt;
    }
    // The reader names a race by the last digit of the day number, as the client does.
    file.name = QStringLiteral("KS-") + hexDigit(page.venueCode) + page.year.back() + page.kaiJi + page.hiJi.back() +
                hexDigit(page.raceNum) + QStringLiteral(".JRA");
    return file;
}

bool ResultsPageConverter::convertResultsPage(const QString& text) {
    m_kekkaFileName.clear();
    m_writeError.clear();
    const std::optional<KekkaFile> file = makeKekka(text);
    if (!file || m_savePathName.isEmpty()) {
        return false;
    }
    // A page that made a file but could not be written is told apart from a page that makes none: the
    // user has a disk or a folder to see to, not a page.
    const QString path = ClientFiles::pathForWrite(m_savePathName, file->name);
    QString reason;
    if (!QDir().mkpath(m_savePathName)) {
        reason = QStringLiteral("フォルダを作れません");
    } else if (AtomicFile::replace(path, file->bytes, &reason)) {
        m_kekkaFileName = file->name;
        return true;
    }
    m_writeError = QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(path), reason);
    return false;
}

#include "LogViews.h"

#include "BetText.h"
#include "core/Dates.h"
#include "core/Formats.h"
#include "core/Width.h"
#include "patdata/BetLogReader.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"

#include <algorithm>
#include <array>

namespace LogViews {
namespace {
const QString kCrLf = QStringLiteral("\r\n");
constexpr qint64 kBetsPerDay = 900;
// The all-tickets view is wider (the log number stands after the stake), and so are its separators.
constexpr int kTicketSeparator = 29;
constexpr int kBetSeparator = 24;
// A line's length, to reserve the text of a view at once: the widest bet line with its line break.
constexpr qsizetype kBetLineChars = 38;
constexpr qsizetype kTicketChars = 96;

using namespace BetCodes;

struct Button {
    const char16_t* caption;
    const char16_t* tip;
};
constexpr Button kButtons[kViewCount] = {
    {u"全履歴", u"ログに載っている全ベット"},
    {u"受付済", u"正常に受け付けられたベット"},
    {u"未確定", u"未確定のベット"},
    {u"的中　", u"的中しているベット"},
    {u"要項", u""},
};

QString StateText(qint16 status) {
    switch (status) {
    case 1:
        return QStringLiteral("購入");
    case 11:
        return QStringLiteral("無効");
    case 21:
        return QStringLiteral("同枠");
    case 31:
        return QStringLiteral("締切");
    default:
        return QStringLiteral("E-") + Fmt::At(status, 2);
    }
}

QString Mark(qint16 hit) {
    switch (hit) {
    case 0:
        return QStringLiteral("　");
    case 9:
        return QStringLiteral("－");
    default:
        return BetText::SettledMark(hit);
    }
}

// Writes one view's text. The numbers of a line are few and repeat from line to line, so each is
// formatted once and then copied (a shared copy, no allocation): a heavy day's accepted view runs to
// some 65,000 lines.
class Writer {
public:
    explicit Writer(qsizetype reserve) { m_out.reserve(reserve); }

    QString& Out() { return m_out; }

    void Header(const Meeting& meeting, const Race& race, int separator) {
        m_out += QString(separator, QLatin1Char('-'));
        m_out += kCrLf;
        m_out += u'【';
        if (race.Sale() == 2) {
            m_out += u"前日 ";
        }
        m_out += meeting.Kaisai();
        m_out += Width::ToFull(Fmt::At(race.RaceNum(), 2));
        m_out += u"Ｒ】";
        m_out += kCrLf;
        m_out += kCrLf;
    }

    // The closing separator, without a line break; an empty text stays empty.
    void Close(int separator) {
        if (!m_out.isEmpty()) {
            m_out += QString(separator, QLatin1Char('-'));
        }
    }

    // Bet type name, a blank, the selection (8 cells) and the stake in yen (8 cells).
    void BetColumn(qint16 type, qint16 kind, qint16 n1, qint16 n2, qint16 n3, qint16 units) {
        m_out += BetText::TypeLabel(type);
        m_out += u' ';
        Selection(type, kind, n1, n2, n3);
        if (units >= 0 && units < kCachedUnits) {
            if (m_stakes.empty()) {
                m_stakes.resize(size_t(kCachedUnits));
            }
            QString& stake = m_stakes[size_t(units)];
            if (stake.isNull()) {
                stake = Fmt::At(qint64(units) * 100, 8);
            }
            m_out += stake;
        } else {
            m_out += Fmt::At(qint64(units) * 100, 8);
        }
    }

    void Ticket(const TicketLine& t) {
        m_out += t.BuyDay == 9 ? u'@' : u' ';
        m_out += StateText(t.Status);
        m_out += u' ';
        BetColumn(t.BetType, t.Kind, t.Num1, t.Num2, t.Num3, t.Units);
        if (t.LogNo > 0) {
            m_out += u"  [";
            m_out += Fmt::Zeros(t.LogNo, 4);
            m_out += u']';
        }
        if (t.Kind == Wheel || t.Kind == Box) {
            m_out += kCrLf;
            m_out += u" (";
            if (t.Kind == Wheel) {
                const int last = t.BetType == BracketQuinella ? 8 : 18;
                for (int i = 1; i <= last; ++i) {
                    if (t.Slots[size_t(i - 1)] == 1) {
                        m_out += Fmt::Hash0(i);
                        m_out += u',';
                    }
                }
            } else {
                // The box size comes from the text's own field: never read past the eighteen slots.
                const int count = std::clamp<int>(t.Num1, 0, int(t.Slots.size()));
                for (int i = 0; i < count; ++i) {
                    m_out += Fmt::Hash0(t.Slots[size_t(i)]);
                    m_out += u',';
                }
            }
            // The last separator closes the list; with no number it is the opening bracket that does.
            m_out[m_out.size() - 1] = u')';
        }
        m_out += kCrLf;
    }

    void Bet(const BetLine& b, bool outcome) {
        m_out += b.BuyDay == 9 ? u'@' : u' ';
        BetColumn(b.BetType, Single, b.Num1, b.Num2, b.Num3, b.Units);
        if (outcome) {
            m_out += u' ';
            m_out += Mark(b.Hit);
            m_out += u' ';
            if (b.Hit == Hit) {
                m_out += Fmt::At(b.Payout, 7);
            }
        }
        m_out += kCrLf;
    }

private:
    static constexpr qint16 kCachedUnits = 10000; // the four digits of the field
    static constexpr int kCachedNumbers = 100;    // horse and bracket numbers: the two digits of the field

    // Fmt::At of a number that fits two digits, made once per width.
    const QString& At(qint16 n, int width) {
        if (n < 0 || n >= kCachedNumbers) {
            m_spare = Fmt::At(n, width);
            return m_spare;
        }
        std::vector<QString>& row = m_numbers[size_t(width)];
        if (row.empty()) {
            row.resize(kCachedNumbers);
        }
        QString& s = row[size_t(n)];
        if (s.isNull()) {
            s = Fmt::At(n, width);
        }
        return s;
    }

    void Pair(qint16 first, QChar joint, qint16 second) {
        m_out += At(first, 5);
        m_out += joint;
        m_out += At(second, 2);
    }

    void Triple(qint16 a, qint16 b, qint16 c) {
        m_out += At(a, 2);
        m_out += u'-';
        m_out += At(b, 2);
        m_out += u'-';
        m_out += At(c, 2);
    }

    // Wheels and boxes show their axis and stars here (their partners follow on a line of their own);
    // a kind the log does not define shows its numbers as one combination.
    void Selection(qint16 type, qint16 kind, qint16 n1, qint16 n2, qint16 n3) {
        switch (type) {
        case Win:
        case Place:
            m_out += At(n3, 8);
            return;
        case BracketQuinella:
        case Quinella:
        case Wide:
            if (kind == Wheel) {
                m_out += At(n3, 5);
                m_out += u"-**";
            } else if (kind == Box) {
                m_out += u"   **-**";
            } else {
                Pair(n2, u'-', n3);
            }
            return;
        case Exacta:
            if (kind == Wheel && n1 == 1) {
                m_out += At(n3, 5);
                m_out += u">**";
            } else if (kind == Wheel) {
                m_out += u"   **>";
                m_out += At(n3, 2);
            } else if (kind == Box) {
                m_out += u"   **>**";
            } else {
                Pair(n2, u'>', n3);
            }
            return;
        case Trio:
            if (kind == Wheel) {
                m_out += At(n2, 2);
                m_out += u'-';
                m_out += At(n3, 2);
                m_out += u"-**";
            } else if (kind == Box) {
                m_out += u"**-**-**";
            } else {
                Triple(n1, n2, n3);
            }
            return;
        default:
            Triple(n1, n2, n3);
            return;
        }
    }

    QString m_out;
    std::array<std::vector<QString>, 9> m_numbers; // by width
    std::vector<QString> m_stakes;                 // by units
    QString m_spare;
};

using Meetings = std::vector<std::unique_ptr<Meeting>>;

QString AllTicketsText(const Meetings& meetings) {
    qsizetype tickets = 0;
    for (const auto& meeting : meetings) {
        for (const auto& race : meeting->colRace()) {
            tickets += race->OmitCount();
        }
    }
    Writer w(tickets * kTicketChars);
    for (const auto& meeting : meetings) {
        for (const auto& race : meeting->colRace()) {
            if (race->OmitCount() <= 0) {
                continue;
            }
            w.Header(*meeting, *race, kTicketSeparator);
            for (const TicketLine& t : race->OmitRecords()) {
                w.Ticket(t);
            }
        }
    }
    w.Close(kTicketSeparator);
    return w.Out();
}

// The accepted, unsettled and hit views: the bets the view keeps, each race's header before its first
// one. The hit view ends with the number of hits and what they paid in all.
QString BetsText(const Meetings& meetings, qint16 view) {
    // The accepted view lists every bet; the others usually a few, and grow as they need.
    qsizetype bets = 0;
    if (view == Accepted) {
        for (const auto& meeting : meetings) {
            for (const auto& race : meeting->colRace()) {
                bets += race->LogCount();
            }
        }
    }
    Writer w(bets * kBetLineChars + 256);
    qsizetype hits = 0;
    qint64 paid = 0; // units × rate of tens of thousands of bets: 64 bits never overflow
    for (const auto& meeting : meetings) {
        for (const auto& race : meeting->colRace()) {
            bool headed = false;
            for (qsizetype i = 1; i <= race->LogCount(); ++i) {
                const BetLine bet = race->LogRecord(i);
                if ((view == Unsettled && bet.Hit != Open) || (view == Hits && bet.Hit != Hit)) {
                    continue;
                }
                if (!headed) {
                    w.Header(*meeting, *race, kBetSeparator);
                    headed = true;
                }
                w.Bet(bet, view != Unsettled);
                if (bet.Hit == Hit) {
                    ++hits;
                    paid += qint64(bet.Units) * bet.Payout;
                }
            }
        }
    }
    w.Close(kBetSeparator);
    QString& out = w.Out();
    if (view == Hits) {
        if (!out.isEmpty()) {
            out += kCrLf;
        }
        out += QStringLiteral(" 的中 %1件  払戻 %2円").arg(hits).arg(Fmt::Thousands(paid));
    }
    return out;
}

// One row of the schedule: a label of two full-width characters (or blanks) and up to six race numbers.
constexpr int kRacesPerRow = 6;

void ScheduleRows(QString& out, const QString& label, const QList<qint16>& races) {
    for (qsizetype i = 0; i < races.size(); i += kRacesPerRow) {
        out += i == 0 ? label : QStringLiteral("     ");
        for (qsizetype j = i; j < std::min(races.size(), i + kRacesPerRow); ++j) {
            out += Fmt::At(races[j], 3);
            out += u'R';
        }
        out += kCrLf;
    }
}

// Each meeting as the account files describe it, and its races on sale: the day's, then those of the
// next day sold in advance.
QString ScheduleText(const Meetings& meetings) {
    QString out;
    for (const auto& meeting : meetings) {
        out += QString(kBetSeparator, QLatin1Char('-'));
        out += kCrLf;
        out += u'【';
        out += meeting->Kaisai();
        out += u' ';
        out += Fmt::Hash0(meeting->KaiJi());
        out += QStringLiteral("回 ");
        out += Fmt::Hash0(meeting->HiJi());
        out += QStringLiteral("日】");
        out += kCrLf;
        out += kCrLf;
        QList<qint16> today;
        QList<qint16> advance;
        for (const auto& race : meeting->colRace()) {
            if (race->Kenshu() != 0) {
                (race->Sale() == 2 ? advance : today) << race->RaceNum();
            }
        }
        ScheduleRows(out, QStringLiteral(" 発売"), today);
        ScheduleRows(out, QStringLiteral(" 前日"), advance);
        if (today.isEmpty() && advance.isEmpty()) {
            out += QStringLiteral(" 発売なし") + kCrLf;
        }
    }
    if (!out.isEmpty()) {
        out += QString(kBetSeparator, QLatin1Char('-'));
    }
    return out;
}
} // namespace

QString Caption(qint16 view) {
    return view >= 1 && view <= kViewCount ? QString::fromUtf16(kButtons[view - 1].caption) : QString();
}

QString ToolTip(qint16 view) {
    return view >= 1 && view <= kViewCount ? QString::fromUtf16(kButtons[view - 1].tip) : QString();
}

QString Title(const QString& curDate, const BetLogReader* log) {
    const qint64 bets = log ? log->BetCount() : 0;
    // A day of large boxes holds far more bet lines than the client's 900 a day: none remain, never a
    // negative count.
    return Dates::MonthDayLine(curDate) + QStringLiteral("  残ﾍﾞｯﾄ数 ") +
           QString::number(std::max<qint64>(kBetsPerDay - bets, 0));
}

std::optional<QString> Text(qint16 view, const Meetings& meetings) {
    switch (view) {
    case AllTickets:
        return AllTicketsText(meetings);
    case Accepted:
    case Unsettled:
    case Hits:
        return BetsText(meetings, view);
    case Schedule:
        return ScheduleText(meetings);
    default:
        return std::nullopt;
    }
}

QString TicketEntry(const TicketLine& ticket) {
    Writer w(kTicketChars);
    w.Ticket(ticket);
    return w.Out();
}

QString BetEntry(const BetLine& bet, bool outcome) {
    Writer w(kBetLineChars);
    w.Bet(bet, outcome);
    return w.Out();
}

} // namespace LogViews

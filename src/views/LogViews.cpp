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

QString stateText(qint16 status) {
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
        return QStringLiteral("E-") + Fmt::at(status, 2);
    }
}

QString mark(qint16 hit) {
    switch (hit) {
    case 0:
        return QStringLiteral("　");
    case 9:
        return QStringLiteral("－");
    default:
        return BetText::settledMark(hit);
    }
}

// Writes one view's text. The numbers of a line are few and repeat from line to line, so each is
// formatted once and then copied (a shared copy, no allocation): a heavy day's accepted view runs to
// some 65,000 lines.
class Writer {
public:
    explicit Writer(qsizetype reserve) { m_out.reserve(reserve); }

    QString& out() { return m_out; }

    void header(const Meeting& meeting, const Race& race, int separator) {
        m_out += QString(separator, QLatin1Char('-'));
        m_out += kCrLf;
        m_out += u'【';
        if (race.sale() == 2) {
            m_out += u"前日 ";
        }
        m_out += meeting.kaisai();
        m_out += Width::toFull(Fmt::at(race.raceNum(), 2));
        m_out += u"Ｒ】";
        m_out += kCrLf;
        m_out += kCrLf;
    }

    // The closing separator, without a line break; an empty text stays empty.
    void close(int separator) {
        if (!m_out.isEmpty()) {
            m_out += QString(separator, QLatin1Char('-'));
        }
    }

    // Bet type name, a blank, the selection (8 cells) and the stake in yen (8 cells).
    void betColumn(qint16 type, qint16 kind, qint16 n1, qint16 n2, qint16 n3, qint16 units) {
        m_out += BetText::typeLabel(type);
        m_out += u' ';
        selection(type, kind, n1, n2, n3);
        if (units >= 0 && units < kCachedUnits) {
            if (m_stakes.empty()) {
                m_stakes.resize(size_t(kCachedUnits));
            }
            QString& stake = m_stakes[size_t(units)];
            if (stake.isNull()) {
                stake = Fmt::at(qint64(units) * 100, 8);
            }
            m_out += stake;
        } else {
            m_out += Fmt::at(qint64(units) * 100, 8);
        }
    }

    void ticket(const TicketLine& t) {
        m_out += t.buyDay == 9 ? u'@' : u' ';
        m_out += stateText(t.status);
        m_out += u' ';
        betColumn(t.betType, t.kind, t.num1, t.num2, t.num3, t.units);
        if (t.logNo > 0) {
            m_out += u"  [";
            m_out += Fmt::zeros(t.logNo, 4);
            m_out += u']';
        }
        if (t.kind == Wheel || t.kind == Box) {
            m_out += kCrLf;
            m_out += u" (";
            if (t.kind == Wheel) {
                const int last = t.betType == BracketQuinella ? 8 : 18;
                for (int i = 1; i <= last; ++i) {
                    if (t.partnerSlots[size_t(i - 1)] == 1) {
                        m_out += Fmt::hash0(i);
                        m_out += u',';
                    }
                }
            } else {
                // The box size comes from the text's own field: never read past the eighteen slots.
                const int count = std::clamp<int>(t.num1, 0, int(t.partnerSlots.size()));
                for (int i = 0; i < count; ++i) {
                    m_out += Fmt::hash0(t.partnerSlots[size_t(i)]);
                    m_out += u',';
                }
            }
            // The last separator closes the list; with no number it is the opening bracket that does.
            m_out[m_out.size() - 1] = u')';
        }
        m_out += kCrLf;
    }

    void bet(const BetLine& b, bool outcome) {
        m_out += b.buyDay == 9 ? u'@' : u' ';
        betColumn(b.betType, Single, b.num1, b.num2, b.num3, b.units);
        if (outcome) {
            m_out += u' ';
            m_out += mark(b.hit);
            m_out += u' ';
            if (b.hit == Hit) {
                m_out += Fmt::at(b.payout, 7);
            }
        }
        m_out += kCrLf;
    }

private:
    static constexpr qint16 kCachedUnits = 10000; // the four digits of the field
    static constexpr int kCachedNumbers = 100;    // horse and bracket numbers: the two digits of the field

    // Fmt::At of a number that fits two digits, made once per width.
    const QString& at(qint16 n, int width) {
        if (n < 0 || n >= kCachedNumbers) {
            m_spare = Fmt::at(n, width);
            return m_spare;
        }
        std::vector<QString>& row = m_numbers[size_t(width)];
        if (row.empty()) {
            row.resize(kCachedNumbers);
        }
        QString& s = row[size_t(n)];
        if (s.isNull()) {
            s = Fmt::at(n, width);
        }
        return s;
    }

    void pair(qint16 first, QChar joint, qint16 second) {
        m_out += at(first, 5);
        m_out += joint;
        m_out += at(second, 2);
    }

    void triple(qint16 a, qint16 b, qint16 c) {
        m_out += at(a, 2);
        m_out += u'-';
        m_out += at(b, 2);
        m_out += u'-';
        m_out += at(c, 2);
    }

    // Wheels and boxes show their axis and stars here (their partners follow on a line of their own);
    // a kind the log does not define shows its numbers as one combination.
    void selection(qint16 type, qint16 kind, qint16 n1, qint16 n2, qint16 n3) {
        switch (type) {
        case Win:
        case Place:
            m_out += at(n3, 8);
            return;
        case BracketQuinella:
        case Quinella:
        case Wide:
            if (kind == Wheel) {
                m_out += at(n3, 5);
                m_out += u"-**";
            } else if (kind == Box) {
                m_out += u"   **-**";
            } else {
                pair(n2, u'-', n3);
            }
            return;
        case Exacta:
            if (kind == Wheel && n1 == 1) {
                m_out += at(n3, 5);
                m_out += u">**";
            } else if (kind == Wheel) {
                m_out += u"   **>";
                m_out += at(n3, 2);
            } else if (kind == Box) {
                m_out += u"   **>**";
            } else {
                pair(n2, u'>', n3);
            }
            return;
        case Trio:
            if (kind == Wheel) {
                m_out += at(n2, 2);
                m_out += u'-';
                m_out += at(n3, 2);
                m_out += u"-**";
            } else if (kind == Box) {
                m_out += u"**-**-**";
            } else {
                triple(n1, n2, n3);
            }
            return;
        default:
            triple(n1, n2, n3);
            return;
        }
    }

    QString m_out;
    std::array<std::vector<QString>, 9> m_numbers; // by width
    std::vector<QString> m_stakes;                 // by units
    QString m_spare;
};

using Meetings = std::vector<std::unique_ptr<Meeting>>;

QString allTicketsText(const Meetings& meetings) {
    qsizetype tickets = 0;
    for (const auto& meeting : meetings) {
        for (const auto& race : meeting->races()) {
            tickets += race->omitCount();
        }
    }
    Writer w(tickets * kTicketChars);
    for (const auto& meeting : meetings) {
        for (const auto& race : meeting->races()) {
            if (race->omitCount() <= 0) {
                continue;
            }
            w.header(*meeting, *race, kTicketSeparator);
            for (const TicketLine& t : race->omitRecords()) {
                w.ticket(t);
            }
        }
    }
    w.close(kTicketSeparator);
    return w.out();
}

// The accepted, unsettled and hit views: the bets the view keeps, each race's header before its first
// one. The hit view ends with the number of hits and what they paid in all.
QString betsText(const Meetings& meetings, qint16 view) {
    // The accepted view lists every bet; the others usually a few, and grow as they need.
    qsizetype bets = 0;
    if (view == Accepted) {
        for (const auto& meeting : meetings) {
            for (const auto& race : meeting->races()) {
                bets += race->logCount();
            }
        }
    }
    Writer w(bets * kBetLineChars + 256);
    qsizetype hits = 0;
    qint64 paid = 0; // units × rate of tens of thousands of bets: 64 bits never overflow
    for (const auto& meeting : meetings) {
        for (const auto& race : meeting->races()) {
            bool headed = false;
            for (qsizetype i = 1; i <= race->logCount(); ++i) {
                const BetLine bet = race->logRecord(i);
                if ((view == Unsettled && bet.hit != Open) || (view == Hits && bet.hit != Hit)) {
                    continue;
                }
                if (!headed) {
                    w.header(*meeting, *race, kBetSeparator);
                    headed = true;
                }
                w.bet(bet, view != Unsettled);
                if (bet.hit == Hit) {
                    ++hits;
                    paid += qint64(bet.units) * bet.payout;
                }
            }
        }
    }
    w.close(kBetSeparator);
    QString& out = w.out();
    if (view == Hits) {
        if (!out.isEmpty()) {
            out += kCrLf;
        }
        out += QStringLiteral(" 的中 %1件  払戻 %2円").arg(hits).arg(Fmt::thousands(paid));
    }
    return out;
}

// One row of the schedule: a label of two full-width characters (or blanks) and up to six race numbers.
constexpr int kRacesPerRow = 6;

void scheduleRows(QString& out, const QString& label, const QList<qint16>& races) {
    for (qsizetype i = 0; i < races.size(); i += kRacesPerRow) {
        out += i == 0 ? label : QStringLiteral("     ");
        for (qsizetype j = i; j < std::min(races.size(), i + kRacesPerRow); ++j) {
            out += Fmt::at(races[j], 3);
            out += u'R';
        }
        out += kCrLf;
    }
}

// Each meeting as the account files describe it, and its races on sale: the day's, then those of the
// next day sold in advance.
QString scheduleText(const Meetings& meetings) {
    QString out;
    for (const auto& meeting : meetings) {
        out += QString(kBetSeparator, QLatin1Char('-'));
        out += kCrLf;
        out += u'【';
        out += meeting->kaisai();
        out += u' ';
        out += Fmt::hash0(meeting->kaiJi());
        out += QStringLiteral("回 ");
        out += Fmt::hash0(meeting->hiJi());
        out += QStringLiteral("日】");
        out += kCrLf;
        out += kCrLf;
        QList<qint16> today;
        QList<qint16> advance;
        for (const auto& race : meeting->races()) {
            if (race->kenshu() != 0) {
                (race->sale() == 2 ? advance : today) << race->raceNum();
            }
        }
        scheduleRows(out, QStringLiteral(" 発売"), today);
        scheduleRows(out, QStringLiteral(" 前日"), advance);
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

QString caption(qint16 view) {
    return view >= 1 && view <= kViewCount ? QString::fromUtf16(kButtons[view - 1].caption) : QString();
}

QString toolTip(qint16 view) {
    return view >= 1 && view <= kViewCount ? QString::fromUtf16(kButtons[view - 1].tip) : QString();
}

QString title(const QString& saleDate, const BetLogReader* log) {
    const qint64 bets = log ? log->betCount() : 0;
    // A day of large boxes holds far more bet lines than the client's 900 a day: none remain, never a
    // negative count.
    return Dates::monthDayLine(saleDate) + QStringLiteral("  残ﾍﾞｯﾄ数 ") +
           QString::number(std::max<qint64>(kBetsPerDay - bets, 0));
}

std::optional<QString> text(qint16 view, const Meetings& meetings) {
    switch (view) {
    case AllTickets:
        return allTicketsText(meetings);
    case Accepted:
    case Unsettled:
    case Hits:
        return betsText(meetings, view);
    case Schedule:
        return scheduleText(meetings);
    default:
        return std::nullopt;
    }
}

QString ticketEntry(const TicketLine& ticket) {
    Writer w(kTicketChars);
    w.ticket(ticket);
    return w.out();
}

QString betEntry(const BetLine& bet, bool outcome) {
    Writer w(kBetLineChars);
    w.bet(bet, outcome);
    return w.out();
}

} // namespace LogViews

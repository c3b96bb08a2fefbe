#include "DownloadRun.h"

#include "NavigationError.h"

#include "core/Formats.h"
#include "core/Numbers.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"

#include <algorithm>

namespace {
constexpr Rgb::Value kBlue = 0x0000FF;
constexpr Rgb::Value kMagenta = 0xFF00FF;
} // namespace

void DownloadRun::load(const std::vector<std::unique_ptr<Meeting>>& meetings) {
    m_selectAll = false;
    for (int m = 0; m < kPanels && m < int(meetings.size()); ++m) {
        const Meeting& meeting = *meetings[size_t(m)];
        m_titles << meeting.kaisai() + QLatin1Char(' ') + Fmt::hash0(meeting.kaiJi()) + QStringLiteral("回 ") +
                        Fmt::hash0(meeting.hiJi()) + QStringLiteral("日");
        const QString code = Fmt::zeros(meeting.kaisaiNum(), 2) + Fmt::zeros(Num::toInt32(meeting.nendo()), 4) +
                             Fmt::zeros(Num::toInt32(meeting.kaiJi()), 2) + Fmt::zeros(Num::toInt32(meeting.hiJi()), 2);
        for (const auto& race : meeting.races()) {
            if (race->kenshu() == 0 || race->sale() != 1 || race->raceNum() < 1 || race->raceNum() > kRaces) {
                continue; // not on sale, the next day's, or a race the panel has no row for
            }
            const int i = m * kRaces + race->raceNum() - 1;
            m_slots[size_t(i)].meetingCode = code;
            m_slots[size_t(i)].raceNum = Fmt::zeros(race->raceNum(), 2);
            Box& box = m_boxes[size_t(i)];
            box.visible = true;
            box.checked = race->amtYet() >= 1;
            box.caption = box.checked ? QString::number(race->amtYet()) + QStringLiteral("円") : QString();
        }
    }
}

void DownloadRun::selectAll() {
    m_selectAll = !m_selectAll;
    for (Box& box : m_boxes) {
        if (box.visible) {
            box.checked = m_selectAll;
        }
    }
}

void DownloadRun::start() {
    for (int i = 0; i < kSlots; ++i) {
        Box& box = m_boxes[size_t(i)];
        box.back = Rgb::White;
        box.fore = Rgb::Black;
        box.caption.clear();
        box.tip.clear();
        Slot& slot = m_slots[size_t(i)];
        slot.selected = box.visible && box.checked;
        slot.listRead = false;
        slot.published = false;
    }
    m_caption.clear();
    m_writeError.clear();
    m_progress.clear();
    m_listFailure.clear();
    m_ticked = int(std::count_if(m_slots.begin(), m_slots.end(), [](const Slot& s) { return s.selected; }));
    m_lastMeeting.clear();
    m_cancelled = false;
    m_listRequested = false;
    m_running = true;
    m_finishedShown = false;
    m_position = 0;
}

void DownloadRun::cancel() {
    m_running = false;
    m_cancelled = true;
}

DownloadRun::Step DownloadRun::next() {
    while (m_running) {
        if (m_position >= kSlots) {
            m_running = false;
            break;
        }
        const Slot& slot = m_slots[size_t(m_position)];
        if (!slot.selected) {
            ++m_position;
            continue;
        }
        if (slot.meetingCode != m_lastMeeting) {
            // One payout list per meeting: the races after the first reuse what it said.
            m_lastMeeting = slot.meetingCode;
            m_listRequested = true;
            m_listFailure.clear();
            m_listFailureTip.clear();
            m_caption = QStringLiteral("レース情報　取得中");
            setProgress(QStringLiteral("払戻金一覧"));
            return {Step::RequestList, "CNAME=W01PH_D/xW01&xW01=" + slot.meetingCode.toLatin1()};
        }
        m_listRequested = false;
        if (!slot.listRead) {
            const QString unread = QStringLiteral("取得不可");
            mark(m_position, m_listFailure.isEmpty() ? unread : unread + QLatin1Char(' ') + m_listFailure, kMagenta);
            m_boxes[size_t(m_position)].tip = m_listFailureTip;
            ++m_position;
            continue;
        }
        if (!slot.published) {
            ++m_position;
            continue;
        }
        m_caption = QStringLiteral("競走成績　") + slot.raceNum + QStringLiteral("レース　取得中");
        setProgress(QString::number(slot.raceNum.toInt()) + QLatin1Char('R'));
        return {Step::RequestRace, "CNAME=W01PS_D3/xW01&xW01=" + (slot.meetingCode + slot.raceNum).toLatin1()};
    }
    m_progress.clear();
    if (!m_finishedShown) {
        m_finishedShown = true;
        m_caption = m_cancelled ? QStringLiteral("キャンセルしました。") : QStringLiteral("終了しました。");
        return {Step::Finished, {}};
    }
    return {};
}

void DownloadRun::listLoaded(const QList<int>& published) {
    const int first = (qBound(0, m_position, kSlots - 1) / kRaces) * kRaces;
    for (int k = 0; k < kRaces; ++k) {
        Slot& slot = m_slots[size_t(first + k)];
        slot.listRead = true;
        slot.published = published.contains(k + 1);
        if (slot.selected && !slot.published) {
            mark(first + k, QStringLiteral("未確定"), Rgb::Black);
        }
    }
    m_caption.clear();
}

void DownloadRun::raceLoaded(bool converted) {
    if (m_position < kSlots) {
        if (converted) {
            mark(m_position, QStringLiteral("正常"), kBlue);
            m_boxes[size_t(m_position)].checked = false;
        } else {
            mark(m_position, errorText(), Rgb::Red);
        }
    }
    m_caption.clear();
    ++m_position;
}

void DownloadRun::raceNotSaved(const QString& writeError) {
    if (m_writeError.isEmpty()) {
        m_writeError = writeError;
    }
    pageFailed(notSavedText());
}

void DownloadRun::pageFailed(const QString& why) {
    fail(why, why, QString());
}

void DownloadRun::navigationFailed(int status) {
    fail(QString::number(status), NavigationError::shortText(status), NavigationError::reason(status));
}

void DownloadRun::fail(const QString& caption, const QString& listReason, const QString& tip) {
    if (m_position < kSlots) {
        mark(m_position, caption, Rgb::Red);
        m_boxes[size_t(m_position)].tip = tip;
    }
    m_caption.clear();
    if (m_listRequested) {
        // The position stays: the next step finds the meeting's list unread and marks its races.
        m_listFailure = listReason;
        m_listFailureTip =
            QStringLiteral("この開催の払戻金一覧を取得できませんでした（%1）").arg(tip.isEmpty() ? listReason : tip);
    } else {
        ++m_position;
    }
}

QString DownloadRun::venue(int m) const {
    return m_titles.value(m).section(QLatin1Char(' '), 0, 0);
}

void DownloadRun::setProgress(const QString& what) {
    int done = 0;
    for (int i = 0; i < m_position; ++i) {
        done += m_slots[size_t(i)].selected ? 1 : 0;
    }
    m_progress =
        QStringLiteral("%1 %2 取得中… %3/%4").arg(venue(m_position / kRaces), what).arg(done + 1).arg(m_ticked);
}

void DownloadRun::mark(int i, const QString& caption, Rgb::Value back) {
    Box& box = m_boxes[size_t(i)];
    box.caption = caption;
    box.tip.clear();
    box.back = back;
    box.fore = back == Rgb::Black || back == kBlue ? Rgb::White : Rgb::Black;
}

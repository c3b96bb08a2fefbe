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

void DownloadRun::Load(const std::vector<std::unique_ptr<Meeting>>& meetings) {
    m_selectAll = false;
    for (int m = 0; m < kPanels && m < int(meetings.size()); ++m) {
        const Meeting& meeting = *meetings[size_t(m)];
        m_titles << meeting.Kaisai() + QLatin1Char(' ') + Fmt::Hash0(meeting.KaiJi()) + QStringLiteral("回 ") +
                        Fmt::Hash0(meeting.HiJi()) + QStringLiteral("日");
        const QString code = Fmt::Zeros(meeting.KaisaiNum(), 2) + Fmt::Zeros(Num::ToInt32(meeting.Nendo()), 4) +
                             Fmt::Zeros(Num::ToInt32(meeting.KaiJi()), 2) + Fmt::Zeros(Num::ToInt32(meeting.HiJi()), 2);
        for (const auto& race : meeting.colRace()) {
            if (race->Kenshu() == 0 || race->Sale() != 1 || race->RaceNum() < 1 || race->RaceNum() > kRaces) {
                continue; // not on sale, the next day's, or a race the panel has no row for
            }
            const int i = m * kRaces + race->RaceNum() - 1;
            m_slots[size_t(i)].MeetingCode = code;
            m_slots[size_t(i)].RaceNum = Fmt::Zeros(race->RaceNum(), 2);
            Box& box = m_boxes[size_t(i)];
            box.Visible = true;
            box.Checked = race->AmtYet() >= 1;
            box.Caption = box.Checked ? QString::number(race->AmtYet()) + QStringLiteral("円") : QString();
        }
    }
}

void DownloadRun::SelectAll() {
    m_selectAll = !m_selectAll;
    for (Box& box : m_boxes) {
        if (box.Visible) {
            box.Checked = m_selectAll;
        }
    }
}

void DownloadRun::Start() {
    for (int i = 0; i < kSlots; ++i) {
        Box& box = m_boxes[size_t(i)];
        box.Back = Rgb::White;
        box.Fore = Rgb::Black;
        box.Caption.clear();
        box.Tip.clear();
        Slot& slot = m_slots[size_t(i)];
        slot.Selected = box.Visible && box.Checked;
        slot.ListRead = false;
        slot.Published = false;
    }
    m_caption.clear();
    m_writeError.clear();
    m_progress.clear();
    m_listFailure.clear();
    m_ticked = int(std::count_if(m_slots.begin(), m_slots.end(), [](const Slot& s) { return s.Selected; }));
    m_lastMeeting.clear();
    m_cancelled = false;
    m_listRequested = false;
    m_running = true;
    m_finishedShown = false;
    m_position = 0;
}

void DownloadRun::Cancel() {
    m_running = false;
    m_cancelled = true;
}

DownloadRun::Step DownloadRun::Next() {
    while (m_running) {
        if (m_position >= kSlots) {
            m_running = false;
            break;
        }
        const Slot& slot = m_slots[size_t(m_position)];
        if (!slot.Selected) {
            ++m_position;
            continue;
        }
        if (slot.MeetingCode != m_lastMeeting) {
            // One payout list per meeting: the races after the first reuse what it said.
            m_lastMeeting = slot.MeetingCode;
            m_listRequested = true;
            m_listFailure.clear();
            m_listFailureTip.clear();
            m_caption = QStringLiteral("レース情報　取得中");
            SetProgress(QStringLiteral("払戻金一覧"));
            return {Step::RequestList, "CNAME=W01PH_D/xW01&xW01=" + slot.MeetingCode.toLatin1()};
        }
        m_listRequested = false;
        if (!slot.ListRead) {
            const QString unread = QStringLiteral("取得不可");
            Mark(m_position, m_listFailure.isEmpty() ? unread : unread + QLatin1Char(' ') + m_listFailure, kMagenta);
            m_boxes[size_t(m_position)].Tip = m_listFailureTip;
            ++m_position;
            continue;
        }
        if (!slot.Published) {
            ++m_position;
            continue;
        }
        m_caption = QStringLiteral("競走成績　") + slot.RaceNum + QStringLiteral("レース　取得中");
        SetProgress(QString::number(slot.RaceNum.toInt()) + QLatin1Char('R'));
        return {Step::RequestRace, "CNAME=W01PS_D3/xW01&xW01=" + (slot.MeetingCode + slot.RaceNum).toLatin1()};
    }
    m_progress.clear();
    if (!m_finishedShown) {
        m_finishedShown = true;
        m_caption = m_cancelled ? QStringLiteral("キャンセルしました。") : QStringLiteral("終了しました。");
        return {Step::Finished, {}};
    }
    return {};
}

void DownloadRun::ListLoaded(const QList<int>& published) {
    const int first = (qBound(0, m_position, kSlots - 1) / kRaces) * kRaces;
    for (int k = 0; k < kRaces; ++k) {
        Slot& slot = m_slots[size_t(first + k)];
        slot.ListRead = true;
        slot.Published = published.contains(k + 1);
        if (slot.Selected && !slot.Published) {
            Mark(first + k, QStringLiteral("未確定"), Rgb::Black);
        }
    }
    m_caption.clear();
}

void DownloadRun::RaceLoaded(bool converted) {
    if (m_position < kSlots) {
        if (converted) {
            Mark(m_position, QStringLiteral("正常"), kBlue);
            m_boxes[size_t(m_position)].Checked = false;
        } else {
            Mark(m_position, ErrorText(), Rgb::Red);
        }
    }
    m_caption.clear();
    ++m_position;
}

void DownloadRun::RaceNotSaved(const QString& writeError) {
    if (m_writeError.isEmpty()) {
        m_writeError = writeError;
    }
    PageFailed(NotSavedText());
}

void DownloadRun::PageFailed(const QString& why) {
    Fail(why, why, QString());
}

void DownloadRun::NavigationFailed(int status) {
    Fail(QString::number(status), NavigationError::Short(status), NavigationError::Reason(status));
}

void DownloadRun::Fail(const QString& caption, const QString& listReason, const QString& tip) {
    if (m_position < kSlots) {
        Mark(m_position, caption, Rgb::Red);
        m_boxes[size_t(m_position)].Tip = tip;
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

QString DownloadRun::Venue(int m) const {
    return m_titles.value(m).section(QLatin1Char(' '), 0, 0);
}

void DownloadRun::SetProgress(const QString& what) {
    int done = 0;
    for (int i = 0; i < m_position; ++i) {
        done += m_slots[size_t(i)].Selected ? 1 : 0;
    }
    m_progress =
        QStringLiteral("%1 %2 取得中… %3/%4").arg(Venue(m_position / kRaces), what).arg(done + 1).arg(m_ticked);
}

void DownloadRun::Mark(int i, const QString& caption, Rgb::Value back) {
    Box& box = m_boxes[size_t(i)];
    box.Caption = caption;
    box.Tip.clear();
    box.Back = back;
    box.Fore = back == Rgb::Black || back == kBlue ? Rgb::White : Rgb::Black;
}

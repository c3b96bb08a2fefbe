#pragma once

#include "Rgb.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <utility>
#include <vector>

class Meeting;

// The download window's run, without the window: which races are listed and ticked, which request comes
// next, and what each race's box shows as the pages come back. The window owns the browser and the timers;
// it asks Next() for a step whenever the browser is idle and reports each page's outcome back.
class DownloadRun {
public:
    static constexpr int kPanels = 3;
    static constexpr int kRaces = 12;
    static constexpr int kSlots = kPanels * kRaces;

    // One race's check box.
    struct Box {
        bool visible = false;
        bool checked = false;
        QString caption;
        Rgb::Value back = Rgb::White;
        Rgb::Value fore = Rgb::Black; // white on the dark colours, so the caption stays readable
        QString tip;                  // why a page could not be had, in the user's words
    };

    // What the window does next.
    struct Step {
        enum Kind {
            Wait,        // nothing now: a page is on its way, or the run is not running
            RequestList, // post Body for the meeting's payout list
            RequestRace, // post Body for one race's results page
            Finished,    // the run has ended (see Caption: finished or cancelled)
        };
        Kind what = Wait;
        QByteArray body;
    };

    // The day's meetings (at most three are listed) and their races of the day on sale; a race with
    // unconfirmed stakes is ticked and shows the amount.
    void load(const std::vector<std::unique_ptr<Meeting>>& meetings);

    const QStringList& panelTitles() const { return m_titles; }
    const Box& boxAt(int i) const { return m_boxes.at(size_t(i)); }
    void setChecked(int i, bool checked) { m_boxes.at(size_t(i)).checked = checked; }
    // The race number ("01".."12") of a listed box, for the window's row titles.
    QString raceNumber(int i) const { return m_slots.at(size_t(i)).raceNum; }
    // The window caption while a run goes on, and its last word when it ends.
    const QString& caption() const { return m_caption; }
    // Where the run is while a page is awaited ("中山 8R 取得中… 3/12": the third of twelve ticked races);
    // empty once it has ended.
    const QString& progress() const { return m_progress; }
    bool running() const { return m_running; }
    int position() const { return m_position; }
    bool listRequested() const { return m_listRequested; }

    // "全て選択": ticks every listed box, the next press clears them all.
    void selectAll();
    // "ﾀﾞｳﾝﾛｰﾄﾞ": takes the ticks as the selection and starts at the first box.
    void start();
    // "ｷｬﾝｾﾙ".
    void cancel();
    // The next step; call it whenever the browser is idle and no page is awaited.
    Step next();

    // A payout list came back naming these race numbers (1..12) as published.
    void listLoaded(const QList<int>& published);
    // A results page came back and was converted (ok) or not.
    void raceLoaded(bool converted);
    // A results page made a result file, but the file could not be written (a full disk): the box says
    // so, and the run's end names the file and the reason.
    void raceNotSaved(const QString& writeError);
    // The first write error of the run, for the message at its end (given once); empty when every file
    // was written.
    QString takeWriteError() { return std::exchange(m_writeError, QString()); }
    // The page could not be had: a page of neither kind, or no answer in time. The box shows why and the
    // run goes on. A payout list that failed leaves its races to be marked "取得不可", with the same why.
    void pageFailed(const QString& why);
    // The browser could not load the page (NavigationError: an HTTP status or the engine's error number):
    // a race's box shows the number, a failed payout list's races "取得不可" and the reason in short.
    void navigationFailed(int status);

    // Captions a box shows when the page did not come back.
    static QString timedOutText() { return QStringLiteral("タイムアウト"); }
    static QString errorText() { return QStringLiteral("エラー"); }
    static QString notSavedText() { return QStringLiteral("書込不可"); }
    // The message after a run in which a result file could not be written (the file and the reason follow
    // it as the detail).
    static QString notSavedMessage() {
        return QStringLiteral("結果ファイルを書き込めませんでした。「書込不可」のレースの結果は保存されていません。"
                              "ディスクの空きとフォルダを確かめてから、もう一度ダウンロードしてください。");
    }
    // Why a run did not start: the day's folder (as the user's system writes it) cannot take files.
    static QString folderNotWritableText(const QString& folder, const QString& reason) {
        return QStringLiteral(
                   "結果ファイルを保存できません: %1（%2）。ダウンロードは始めていません。保存済みの結果ファイルは"
                   "そのままです。フォルダを確かめてから、もう一度「ﾀﾞｳﾝﾛｰﾄﾞ」を押してください。")
            .arg(folder, reason);
    }
    // Why a run cannot start: the client's sale date is no date, so no download folder can be named by it.
    static QString noSaveFolderText() {
        return QStringLiteral("口座ファイル (UY-A.JRA) の売り日が正しい日付ではないため、ダウンロードできません。"
                              "結果ファイルは何も書き込んでいません。クライアントでデータを受け取り直してから"
                              "「更新」してください。");
    }

private:
    struct Slot {
        QString meetingCode; // venue "00", year "0000", meeting "00", day "00"
        QString raceNum;     // "00"
        bool selected = false;
        bool listRead = false;
        bool published = false;
    };
    void mark(int i, const QString& caption, Rgb::Value back);
    void fail(const QString& caption, const QString& listReason, const QString& tip);
    // The venue of panel m as its title names it ("中山").
    QString venue(int m) const;
    void setProgress(const QString& what);

    QStringList m_titles;
    std::array<Box, kSlots> m_boxes{};
    std::array<Slot, kSlots> m_slots{};
    bool m_selectAll = false;
    QString m_lastMeeting;
    QString m_caption;
    QString m_writeError;
    QString m_progress;
    // Why the last payout list asked for could not be had: the races of its meeting show it, rather than
    // lose it to "取得不可" the moment the run goes on.
    QString m_listFailure;
    QString m_listFailureTip;
    int m_ticked = 0; // races selected at the start of the run
    int m_position = 0;
    bool m_running = false;
    bool m_listRequested = false;
    bool m_cancelled = false;
    bool m_finishedShown = true;
};

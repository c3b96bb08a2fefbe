#pragma once

#include "ChildWindow.h"

struct ShownRace;

#include <QList>

#include <array>

class QLabel;
class QScrollArea;
class QWidget;

// The results window: the race's conditions, its first five finishers with their bracket colours, every
// payout by bet type, the refunds, and how the user's bets fared. Built once, when it opens.
class ResultsWindow : public ChildWindow {
    Q_OBJECT
public:
    ResultsWindow(DayController& control, QWidget* owner, const ShownRace& race);

protected:
    void refill(const ShownRace* race) override;

private:
    void buildControls();
    void fill(const ShownRace& race);
    void showResult(const ShownRace& race);

    QLabel* m_hit = nullptr;
    QLabel* m_info = nullptr;
    // The first five finishers' rows.
    std::array<QLabel*, 5> m_chaku{};
    std::array<QLabel*, 5> m_waku{};
    std::array<QLabel*, 5> m_uma{};
    std::array<QLabel*, 5> m_umaName{};
    std::array<QLabel*, 5> m_diff{};
    QScrollArea* m_haraiView = nullptr;
    QWidget* m_payoutPanel = nullptr;
    // A row per payout, as many as the race has: the panel scrolls past the 22 it shows.
    QList<QLabel*> m_kenshu;
    QList<QLabel*> m_harai;
    QLabel* m_henkanUma = nullptr;
    QLabel* m_henkanWaku = nullptr;
};

#pragma once

#include "ChildWindow.h"
#include "views/ProfitTable.h"

#include <array>

class QFrame;
class QLabel;
class ClickLabel;

// The day profit table: one panel per meeting with every race's stake and profit, the advance-sale stake
// and the totals. Clicking a race (or Return on it) opens its detail and results windows. Built once, when
// it opens.
class ProfitTableWindow : public ChildWindow {
    Q_OBJECT
public:
    ProfitTableWindow(DayController& control, QWidget* owner);

private:
    static constexpr size_t kCells = size_t(kProfitPanels) * kProfitRaces;

    void buildControls();
    QFrame* buildPanel(int m);
    void fill();
    void refill(const ShownRace* race) override;
    // The day's figures into the cells, each shown or hidden as the day has it.
    void showTable();
    void closing() override;
    void pick(RacePick pick);

    // By meeting m = 0..2, and the race cells by m × 12 + race − 1.
    std::array<QFrame*, kProfitPanels> m_panel{};
    std::array<QLabel*, kProfitPanels> m_meetingTitle{};
    std::array<ClickLabel*, kCells> m_raceTitle{};
    std::array<ClickLabel*, kCells> m_stakeCell{};
    std::array<ClickLabel*, kCells> m_profitCell{};
    std::array<QLabel*, kProfitPanels> m_tomorrowTitle{};
    std::array<ClickLabel*, kProfitPanels> m_tomorrowCell{};
    std::array<RacePick, kProfitPanels> m_tomorrowPick{};
    std::array<QLabel*, kProfitPanels> m_stakeTotal{};
    std::array<QLabel*, kProfitPanels> m_profitTotal{};
};

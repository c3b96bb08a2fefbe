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

    // The controls by their indexes: panels m = 0..2, race cells m × 12 + race − 1.
    QFrame* meetingPanel(int m) const { return m_panel.at(static_cast<size_t>(m)); }
    QLabel* meetingTitle(int m) const { return m_kaisai.at(static_cast<size_t>(m)); }
    ClickLabel* raceTitle(int i) const { return m_titleRace.at(static_cast<size_t>(i)); }
    ClickLabel* stakeCell(int i) const { return m_amtBet.at(static_cast<size_t>(i)); }
    ClickLabel* profitCell(int i) const { return m_profit.at(static_cast<size_t>(i)); }
    QLabel* tomorrowTitle(int m) const { return m_titleTomorrow.at(static_cast<size_t>(m)); }
    ClickLabel* tomorrowCell(int m) const { return m_amtTomorrow.at(static_cast<size_t>(m)); }
    QLabel* stakeTotal(int m) const { return m_amtBetKei.at(static_cast<size_t>(m)); }
    QLabel* profitTotal(int m) const { return m_profitKei.at(static_cast<size_t>(m)); }

private:
    static constexpr size_t kCells = size_t(kProfitPanels) * kProfitRaces;

    void buildControls();
    QFrame* buildPanel(int m);
    void fill();
    void closing() override;
    void pick(RacePick pick);

    std::array<QFrame*, kProfitPanels> m_panel{};
    std::array<QLabel*, kProfitPanels> m_kaisai{};
    std::array<ClickLabel*, kCells> m_titleRace{};
    std::array<ClickLabel*, kCells> m_amtBet{};
    std::array<ClickLabel*, kCells> m_profit{};
    std::array<QLabel*, kProfitPanels> m_titleTomorrow{};
    std::array<ClickLabel*, kProfitPanels> m_amtTomorrow{};
    std::array<RacePick, kProfitPanels> m_tomorrowPick{};
    std::array<QLabel*, kProfitPanels> m_amtBetKei{};
    std::array<QLabel*, kProfitPanels> m_profitKei{};
};

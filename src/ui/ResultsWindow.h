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

    QLabel* hitLine() const { return m_hit; }
    QLabel* infoLine() const { return m_info; }
    // Finisher rows 1..5.
    QLabel* chakuCell(int i) const { return m_chaku.at(size_t(i - 1)); }
    QLabel* wakuCell(int i) const { return m_waku.at(size_t(i - 1)); }
    QLabel* umaCell(int i) const { return m_uma.at(size_t(i - 1)); }
    QLabel* umaNameCell(int i) const { return m_umaName.at(size_t(i - 1)); }
    QLabel* diffCell(int i) const { return m_diff.at(size_t(i - 1)); }
    // Payout rows 0..PayoutRows() − 1: as many as the race has, the panel scrolls past the 22 it shows.
    qsizetype payoutRows() const { return m_harai.size(); }
    QLabel* kenshuCell(int row) const { return m_kenshu.at(row); }
    QLabel* haraiLine(int row) const { return m_harai.at(row); }
    QWidget* haraiPanel() const { return m_payoutPanel; }
    QScrollArea* haraiView() const { return m_haraiView; }
    QLabel* henkanUmaLine() const { return m_henkanUma; }
    QLabel* henkanWakuLine() const { return m_henkanWaku; }

private:
    void buildControls();
    void fill(const ShownRace& race);

    QLabel* m_hit = nullptr;
    QLabel* m_info = nullptr;
    std::array<QLabel*, 5> m_chaku{};
    std::array<QLabel*, 5> m_waku{};
    std::array<QLabel*, 5> m_uma{};
    std::array<QLabel*, 5> m_umaName{};
    std::array<QLabel*, 5> m_diff{};
    QScrollArea* m_haraiView = nullptr;
    QWidget* m_payoutPanel = nullptr;
    QList<QLabel*> m_kenshu;
    QList<QLabel*> m_harai;
    QLabel* m_henkanUma = nullptr;
    QLabel* m_henkanWaku = nullptr;
};

#pragma once

#include "ChildWindow.h"
#include "views/LogViews.h"

#include <array>

class QListView;
class QToolButton;
class TextLines;

// The bet log window: the day's bets race by race as fixed-width lines, in the view its toolbar shows
// pressed (every ticket, the accepted bets, the unsettled ones, the hits, the day's schedule). The view
// chosen is remembered for the next opening. The lines are a list that lays out only what is on screen, so
// a day of 60,000 bets opens and switches views at once; lines can be selected and copied.
class BetLogWindow : public ChildWindow {
    Q_OBJECT
public:
    BetLogWindow(DayController& control, QWidget* owner);

    // The toolbar buttons by index, 1 to 5: the views they show.
    QToolButton* button(int index) const { return m_buttons.at(static_cast<size_t>(index - 1)); }
    QListView* textView() const { return m_text; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void fill();
    void refill(const ShownRace* race) override;
    void toolbarClicked(int index);
    void showView(qint16 index);

    QWidget* m_toolbar = nullptr;
    std::array<QToolButton*, LogViews::kViewCount> m_buttons{};
    TextLines* m_lines = nullptr;
    QListView* m_text = nullptr;
};

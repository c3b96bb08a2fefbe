#pragma once

#include "ChildWindow.h"
#include "views/LogViews.h"

#include <array>

class QPlainTextEdit;
class QToolButton;

// The bet log window: the day's bets race by race as fixed-width text, in the view its toolbar shows
// pressed (every ticket, the accepted bets, the unsettled ones, the hits, the day's schedule). The view
// chosen is remembered for the next opening. Built when it opens; it does not follow later changes.
class BetLogWindow : public ChildWindow {
    Q_OBJECT
public:
    BetLogWindow(DayController& control, QWidget* owner);

    // The toolbar buttons by index, 1 to 5: the views they show.
    QToolButton* button(int index) const { return m_buttons.at(static_cast<size_t>(index - 1)); }
    QPlainTextEdit* textView() const { return m_text; }

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
    QPlainTextEdit* m_text = nullptr;
};

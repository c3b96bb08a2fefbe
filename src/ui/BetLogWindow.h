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

    QWidget* Toolbar1() const { return m_toolbar; }
    // The toolbar buttons by index, 1 to 5: the views they show.
    QToolButton* Button(int index) const { return m_buttons.at(static_cast<size_t>(index - 1)); }
    QPlainTextEdit* txtLog() const { return m_txtLog; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void Toolbar1_ButtonClick(int index);
    void ShowView(qint16 index);

    QWidget* m_toolbar = nullptr;
    std::array<QToolButton*, LogViews::kViewCount> m_buttons{};
    QPlainTextEdit* m_txtLog = nullptr;
};

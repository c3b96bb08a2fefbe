#pragma once

#include "ChildWindow.h"

struct ShownRace;

class QPlainTextEdit;

// The race detail window: the race's bets in fixed columns with their current odds or outcome, and the
// race's totals. Built once, when it opens; it does not follow later changes.
class RaceDetailWindow : public ChildWindow {
    Q_OBJECT
public:
    RaceDetailWindow(DayController& control, QWidget* owner, const ShownRace& race);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void refill(const ShownRace* race) override;

private:
    void fill(const ShownRace& race);
    void showRace(const ShownRace& race);

    QPlainTextEdit* m_text = nullptr;
};

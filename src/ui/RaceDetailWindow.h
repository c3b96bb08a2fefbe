#pragma once

#include "ChildWindow.h"

class QPlainTextEdit;

// The race detail window: the race's bets in fixed columns with their current odds or outcome, and the
// race's totals. Built once, when it opens; it does not follow later changes.
class RaceDetailWindow : public ChildWindow {
    Q_OBJECT
public:
    RaceDetailWindow(DayController& control, QWidget* owner);

    QPlainTextEdit* txtLog() const { return m_txtLog; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();

    QPlainTextEdit* m_txtLog = nullptr;
};

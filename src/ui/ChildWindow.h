#pragma once

#include "core/Settings.h"

#include <QWidget>

class DayController;
struct ShownRace;

// What every window the controller opens shares: it belongs to the main window, reads the controller it was
// opened with, takes its stored place once it is built, remembers it when it closes, and closes on Escape.
class ChildWindow : public QWidget {
    Q_OBJECT
public:
    ChildWindow(DayController& control, Settings::Slot slot, QWidget* owner);

    DayController& control() const { return m_control; }

    // Shows the controller's day as it is now (a race window: the race given) in this very window, which
    // keeps its place, size, view and the scroll positions of its texts and lists.
    void rebuild(const ShownRace* race);
    // The user is in the middle of something a rebuild would lose (typing a record): the window stays as
    // it is.
    virtual bool busy() const { return false; }

protected:
    // Moves and sizes the window from its slot (each part only when its flag is set); the window calls it
    // at the end of its load, once its design size is known. A window whose slot holds no place yet opens
    // beside `beside` (the main window when null), clear of the main window.
    void restorePlace(bool top, bool left, bool height, bool width, const QWidget* beside = nullptr);
    // Runs as the window closes, after its place has been remembered.
    virtual void closing() {}
    // Fills the window's content again from the day as it is now; place and size are left alone. The
    // download window is never rebuilt.
    virtual void refill(const ShownRace* race) { (void)race; }

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    DayController& m_control;
    Settings::Slot m_slot;
};

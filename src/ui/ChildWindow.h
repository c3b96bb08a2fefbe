#pragma once

#include "core/Settings.h"

#include <QVariantMap>
#include <QWidget>

class DayController;

// What every window the controller opens shares: it belongs to the main window, reads the controller it was
// opened with, takes its stored place once it is built, remembers it when it closes, and closes on Escape.
class ChildWindow : public QWidget {
    Q_OBJECT
public:
    ChildWindow(DayController& control, Settings::Slot slot, QWidget* owner);

    DayController& control() const { return m_control; }

    // What the user made of the window's view, for the same window built again from a new read: the
    // scroll positions of its texts and lists, and what a window adds of its own (the passbook's view and
    // page). Restoring takes effect once the window is shown.
    virtual QVariantMap viewState() const;
    virtual void restoreViewState(const QVariantMap& state);
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

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    DayController& m_control;
    Settings::Slot m_slot;
};

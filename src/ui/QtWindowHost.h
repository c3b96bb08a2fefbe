#pragma once

#include "control/WindowHost.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>

// Opens and closes the program's windows for the controller. Each kind of window is registered with a
// factory; a kind without one is never opened. Windows are top-level windows owned by the main window,
// deleted when they close.
class QtWindowHost : public IWindowHost {
public:
    using Factory = std::function<QWidget*(DayController& control, QWidget* owner, const ShownRace* race)>;

    explicit QtWindowHost(QWidget* owner);
    ~QtWindowHost() override;

    void registerWindow(Window window, Factory factory);
    bool hasFactory(Window window) const;

    void unload(Window window) override;
    void show(Window window, DayController& control, const ShownRace* race) override;
    bool isLoaded(Window window) const override;
    void unloadAll() override;
    bool refill(Window window, const ShownRace* race) override;
    bool canRebuild() const override;

    // The open window of that kind, or nullptr.
    QWidget* loaded(Window window) const;

private:
    QWidget* m_owner;
    std::map<Window, Factory> m_factories;
    std::map<Window, QPointer<QWidget>> m_open;
};

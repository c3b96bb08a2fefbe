#pragma once

class DayController;

// How the controller opens and closes the other windows. The windowed program implements it with real
// windows; tests use a fake that records what was asked.
class IWindowHost {
public:
    enum class Window { Profit, Log, Record, Detail, Kekka, Browser };

    virtual ~IWindowHost() = default;
    // Closes the window when it is open (saving its place as it closes).
    virtual void unload(Window window) = 0;
    // Creates the window for the controller and shows it modeless. A window this build does not have
    // yet is simply not opened.
    virtual void show(Window window, DayController& control) = 0;
    virtual bool isLoaded(Window window) const = 0;
    // Closes every open window but the main window.
    virtual void unloadAll() = 0;
};

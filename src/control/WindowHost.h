#pragma once

class DayController;
class Race;
class RaceOdds;

// The race a detail or results window shows, and its odds (none when they could not be read).
struct ShownRace {
    const Race& race;
    const RaceOdds* odds;
};

// How the controller opens and closes the other windows. The windowed program implements it with real
// windows; tests use a fake that records what was asked.
class IWindowHost {
public:
    enum class Window { Profit, Log, Record, Detail, Kekka, Browser };

    virtual ~IWindowHost() = default;
    // Closes the window when it is open (saving its place as it closes).
    virtual void unload(Window window) = 0;
    // Creates the window for the controller and shows it modeless; the race windows are given their race.
    // A window this build does not have is simply not opened.
    virtual void show(Window window, DayController& control, const ShownRace* race) = 0;
    virtual bool isLoaded(Window window) const = 0;
    // Closes every open window but the main window.
    virtual void unloadAll() = 0;
    // Builds the open window of that kind again in place from the controller's day as it is now (the race
    // windows from the race given): it keeps its place, size, stacking, scroll position and view, and the
    // focus stays where it is. A window the user is busy in (typing a record) is left as it is. False when
    // the window is not open or cannot be built again in place.
    virtual bool refill(Window window, const ShownRace* race) = 0;
    // False while a dialog or message waits for the user: the window behind it may be in the middle of
    // what asked for it, and must not be changed under it.
    virtual bool canRebuild() const = 0;
};

#pragma once

#include "Folders.h"

#include <QString>

#include <functional>

// What start-up needs from the windowed program: a critical message box and the main window.
class IStartupHost {
public:
    virtual ~IStartupHost() = default;
    virtual void showCritical(const QString& title, const QString& text) = 0;
    // Called once the client folder is settled, before anything is written in it: false when another
    // copy of the program already runs on that folder (brought to the front, or the user told so) and
    // this start ends.
    virtual bool claimClientFolder(const QString& clientFolder) = 0;
    virtual void showMainWindow(const Folders& folders) = 0;
};

enum class StartupOutcome {
    Running,              // the main window is shown; the program runs on window events
    ClientMissing,        // no PAT.EXE in the client folder: refused, nothing written
    DownloadFolderFailed, // the download folder could not be created
    AlreadyRunning,       // another copy runs on the client folder: it carries on, this start ends
};

// Creates one folder level; on failure false and the reason as the system words it.
using FolderMaker = std::function<bool(const QString& path, QString& reason)>;
bool createOneFolder(const QString& path, QString& reason);

// The start-up routine: settles the client folder (the program folder, or the one named by
// "VQV50DEBUG.INI" beside the program), checks for the client, claims the folder for this copy, makes sure
// the download folder exists and shows the main window. `folders` comes with the program folder set; the
// client and download folders are filled in as far as start-up got.
StartupOutcome startUp(IStartupHost& host, Folders& folders, const FolderMaker& makeFolder = createOneFolder);

// Exit status of the process for an outcome that ends it.
int exitStatusOf(StartupOutcome outcome);

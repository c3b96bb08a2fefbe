#pragma once

#include <QString>

#include <functional>

// What start-up needs from the windowed program: a critical message box and the main window.
class IStartupHost {
public:
    virtual ~IStartupHost() = default;
    virtual void ShowCritical(const QString& title, const QString& text) = 0;
    virtual void ShowMainWindow() = 0;
};

enum class StartupOutcome {
    Running,              // the main window is shown; the program runs on window events
    ClientMissing,        // no PAT.EXE in the client folder: refused, nothing written
    DownloadFolderFailed, // the download folder could not be created
};

// Creates one folder level; on failure false and the reason as the system words it.
using FolderMaker = std::function<bool(const QString& path, QString& reason)>;
bool CreateOneFolder(const QString& path, QString& reason);

// The start-up routine: settles the client folder (the program folder, or the one named by
// "VQV50DEBUG.INI" beside the program), checks for the client, makes sure the download folder exists
// and shows the main window. Sets gstrPatPath and gstrDownPath.
StartupOutcome Main(IStartupHost& host, const FolderMaker& makeFolder = CreateOneFolder);

// Exit status of the process for an outcome that ends it.
int ExitStatusOf(StartupOutcome outcome);

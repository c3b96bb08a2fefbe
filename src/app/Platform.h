#pragma once

// The few things the program asks of the operating system directly.
namespace Platform {
// True when the program runs with the super-user's rights (never on Windows).
bool runningAsRoot();
// True where the file system takes C:\PAT and c:\pat for one folder (Windows).
bool fileNamesIgnoreCase();
} // namespace Platform

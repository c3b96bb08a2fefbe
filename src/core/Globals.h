#pragma once

#include <QString>

// Settled once at start-up and read by the rest of the program.
extern QString gstrPatPath;  // the betting client's folder, always ending in a separator
extern QString gstrDownPath; // the download folder inside it, without a trailing separator

// The folder of the program itself (where the settings file lives). Taken from the running
// application; tests point it elsewhere.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

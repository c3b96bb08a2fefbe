#pragma once

#include <QString>

// Where the program works. Settled once at start-up and handed to whatever needs them.
struct Folders {
    QString program;  // the program's own folder (its settings), ending in a separator
    QString client;   // the betting client's folder, ending in a separator
    QString download; // the download folder inside it, without a trailing separator
};

// The folder of the running program, ending in a separator.
QString applicationFolder();

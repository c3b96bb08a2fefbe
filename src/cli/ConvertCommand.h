#pragma once

#include <QStringList>

// velqora convert PAGEFILE SAVEDIR     a results page's text into a result file in SAVEDIR
// velqora convert --race-list PAGEFILE the race numbers a payout-list page names
// Returns the exit status.
int convertCommand(const QStringList& args);

#pragma once

#include <QIcon>

// The program's own toolbar icons, drawn in one style (dark outline, one accent colour) at any size, so
// they stay sharp at every screen scale.
namespace Icons {
QIcon refresh();
QIcon profitTable();
QIcon betLog();
QIcon passbook();
// The passbook's own toolbar: the list of days, the best and worst days, and the input panel.
QIcon passbookList();
QIcon passbookBest();
QIcon passbookWorst();
QIcon passbookEntry();
// The passbook's chart of the days (bars above and below a base line, the running total over them) and its
// export to a spreadsheet file.
QIcon passbookChart();
QIcon passbookCsv();
QIcon download();
// The program's own: a coin with the yen sign, for the tray and the window frames.
QIcon program();
// The bet log window's views: every ticket, accepted, unsettled, hits, the day's schedule.
QIcon logAll();
QIcon logAccepted();
QIcon logUnsettled();
QIcon logHits();
QIcon logSchedule();
} // namespace Icons

#pragma once

#include <QIcon>

// The program's own toolbar icons, drawn in one style (dark outline, one accent colour) at any size, so
// they stay sharp at every screen scale.
namespace Icons {
QIcon Refresh();
QIcon ProfitTable();
QIcon BetLog();
QIcon Passbook();
// The passbook's own toolbar: the list of days, the best and worst days, and the input panel.
QIcon PassbookList();
QIcon PassbookBest();
QIcon PassbookWorst();
QIcon PassbookEntry();
// The passbook's chart of the days (bars above and below a base line, the running total over them) and its
// export to a spreadsheet file.
QIcon PassbookChart();
QIcon PassbookCsv();
QIcon Download();
// The bet log window's views: every ticket, accepted, unsettled, hits, the day's schedule.
QIcon LogAll();
QIcon LogAccepted();
QIcon LogUnsettled();
QIcon LogHits();
QIcon LogSchedule();
} // namespace Icons

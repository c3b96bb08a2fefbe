#pragma once

#include <QStringList>

// velqora book: the profit book of a client folder ("VQPROFIT.TXT", created with its sentinel when
// missing, as the program does), and the edits the passbook and the main window make to it.
//
//     velqora book [--json | --csv] PATFOLDER
//     velqora book [--json] PATFOLDER --set YYYYMMDD BUY PAY [--protect]
//     velqora book [--json] PATFOLDER --auto YYYYMMDD BUY PAY
//     velqora book [--json] PATFOLDER --delete YYYYMMDD
//
// Each form prints the book after the change; --csv prints it as the passbook's CSV保存 writes it. A refused edit
// leaves the file as it was. The arguments are those after "book"; returns the exit status.
int bookCommand(const QStringList& args);

extern const char kBookUsage[];

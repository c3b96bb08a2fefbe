#pragma once

#include <QStringList>

// velqora analyse: the analysis window's two tables for a period of the client folder's bet archive.
//
//     velqora analyse [--json | --csv] PATFOLDER [--from YYYYMMDD] [--to YYYYMMDD]
//
// Without dates, every stored day. The arguments are those after "analyse"; returns the exit status.
int analyseCommand(const QStringList& args);

extern const char kAnalyseUsage[];

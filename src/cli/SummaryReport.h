#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

class clsControlPAT;

// The figures of the main window and every race of the day, as the summary command prints them.
// The JSON form is written to the stream as it is made (a heavy day's runs to megabytes).
void WriteSummaryJson(FILE* stream, const clsControlPAT& pat, bool ok);
QString SummaryText(const clsControlPAT& pat, bool ok);

#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

class SaleDayReader;

// The figures of the main window and every race of the day, as the summary command prints them.
// The JSON form is written to the stream as it is made (a heavy day's runs to megabytes).
void writeSummaryJson(FILE* stream, const SaleDayReader& pat, bool ok);
QString summaryText(const SaleDayReader& pat, bool ok);

#pragma once

#include <QByteArray>
#include <QString>

class clsControlPAT;

// The figures of the main window and every race of the day, as the summary command prints them.
QByteArray SummaryJson(const clsControlPAT& pat, bool ok);
QString SummaryText(const clsControlPAT& pat, bool ok);

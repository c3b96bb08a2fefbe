#pragma once

#include <QByteArray>
#include <QString>

class SaleDayReader;

// The day profit table of a read folder, as the profit command prints it.
QByteArray profitJson(const SaleDayReader& pat);
QString profitText(const SaleDayReader& pat);

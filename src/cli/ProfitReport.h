#pragma once

#include <QByteArray>
#include <QString>

class clsControlPAT;

// The day profit table of a read folder, as the profit command prints it.
QByteArray ProfitJson(const clsControlPAT& pat);
QString ProfitText(const clsControlPAT& pat);

#pragma once

#include <QByteArray>
#include <QString>

class clsFactory;
class clsRace;

// One opened race as the race command prints it: its odds and brackets, then the detail and results
// windows' contents. `factory` is the race's aggregate and may be null (nothing opened).
QByteArray RaceJson(const clsRace& race, const clsFactory* factory, bool ok);
QString RaceText(const clsRace& race, const clsFactory* factory, bool ok);

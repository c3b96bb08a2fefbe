#pragma once

#include <QByteArray>
#include <QString>

class RaceOdds;
class Race;

// One opened race as the race command prints it: its odds and brackets, then the detail and results
// windows' contents. `factory` is the race's aggregate and may be null (nothing opened).
QByteArray raceJson(const Race& race, const RaceOdds* factory, bool ok);
QString raceText(const Race& race, const RaceOdds* factory, bool ok);

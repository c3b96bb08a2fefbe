#pragma once

#include <QString>

// Widgets carry object names by their role ("refreshButton"), so the window tests reach each of them without
// a getter of its own. A widget of a set adds its place in the set, counted from 1 as the user counts: the
// box of meeting 1's race 11 is "raceBox_1_11", the third finisher's cell "chakuCell_3".
inline QString indexedName(const char* role, int first, int second = 0) {
    const QString name = QLatin1String(role) + QLatin1Char('_') + QString::number(first);
    return second > 0 ? name + QLatin1Char('_') + QString::number(second) : name;
}

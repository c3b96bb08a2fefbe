#pragma once

#include <QByteArray>
#include <QString>

class clsFactory;

// The odds of one opened race as the race command prints them. `factory` may be null (nothing opened).
QByteArray RaceJson(const clsFactory* factory, bool ok);
QString RaceText(const clsFactory* factory, bool ok);

#pragma once

#include <QString>

class QWidget;

// Asks where to save a CSV file, offering `name` in the user's documents folder (the file's name alone
// when the platform knows no such folder). Empty when the user cancels.
QString askCsvPath(QWidget* parent, const QString& name);

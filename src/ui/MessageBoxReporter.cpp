#include "MessageBoxReporter.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxReporter::showError(const QString& title, const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox::critical(QApplication::activeWindow(), title, shown);
}

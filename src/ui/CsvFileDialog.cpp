#include "CsvFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

QString askCsvPath(QWidget* parent, const QString& name) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("CSV保存"),
                                        documents.isEmpty() ? name : QDir(documents).filePath(name),
                                        QStringLiteral("CSV (*.csv)"));
}

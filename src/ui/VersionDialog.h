#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The version window: product name, version and the (empty) user line, closed with "OK".
class VersionDialog : public QDialog {
    Q_OBJECT
public:
    explicit VersionDialog(QWidget* parent = nullptr);

    QLabel* processLine = nullptr;
    QLabel* versionLine = nullptr;
    QLabel* userLine = nullptr;
    QPushButton* comOk = nullptr;
};

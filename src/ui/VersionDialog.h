#pragma once

#include <QDialog>

// The version window: product name, version and the (empty) user line, closed with "OK".
class VersionDialog : public QDialog {
    Q_OBJECT
public:
    explicit VersionDialog(QWidget* parent = nullptr);
};

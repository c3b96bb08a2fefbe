#pragma once

#include "core/Settings.h"

#include <QWidget>

// The main window: the small window the user keeps beside the betting client.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    Settings& settings() { return m_settings; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();

    Settings m_settings;
};

#pragma once

#include "core/ErrorReporter.h"

// Shows reported errors in a critical message box.
class MessageBoxReporter : public IErrorReporter {
public:
    void showError(const QString& title, const QString& text) override;
};

#include "ErrorReporter.h"

#include "AppInfo.h"

#include <cstdio>

namespace {
class StderrReporter : public IErrorReporter {
public:
    void showError(const QString& title, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
};

StderrReporter g_stderrReporter;
IErrorReporter* g_reporter = nullptr;
} // namespace

void setErrorReporter(IErrorReporter* reporter) {
    g_reporter = reporter;
}

IErrorReporter* currentErrorReporter() {
    return g_reporter ? g_reporter : &g_stderrReporter;
}

QString errorMessageText(const AppError& error) {
    return error.source() + QStringLiteral("\r\n(") + QString::number(error.number()) + QLatin1Char(')') +
           error.description();
}

void reportError(const AppError& error) {
    try {
        currentErrorReporter()->showError(AppInfo::title(), errorMessageText(error));
    } catch (...) {
        // Reporting must never take the program down.
    }
}

void reportFailure(const QString& message, const QString& detail) {
    try {
        currentErrorReporter()->showError(AppInfo::title(),
                                          detail.isEmpty() ? message : message + QStringLiteral("\r\n") + detail);
    } catch (...) {
    }
}

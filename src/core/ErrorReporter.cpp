#include "ErrorReporter.h"

#include "AppInfo.h"

#include <cstdio>

namespace {
class StderrReporter : public IErrorReporter {
public:
    void ShowError(const QString& title, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
};

StderrReporter g_stderrReporter;
IErrorReporter* g_reporter = nullptr;
} // namespace

void SetErrorReporter(IErrorReporter* reporter) {
    g_reporter = reporter;
}

IErrorReporter* CurrentErrorReporter() {
    return g_reporter ? g_reporter : &g_stderrReporter;
}

QString ErrorMessageText(const AppError& error) {
    return error.Source() + QStringLiteral("\r\n(") + QString::number(error.Number()) + QLatin1Char(')') +
           error.Description();
}

void ReportError(const AppError& error) {
    try {
        CurrentErrorReporter()->ShowError(AppInfo::Title(), ErrorMessageText(error));
    } catch (...) {
        // Reporting must never take the program down.
    }
}

void ReportFailure(const QString& message, const QString& detail) {
    try {
        CurrentErrorReporter()->ShowError(AppInfo::Title(),
                                          detail.isEmpty() ? message : message + QStringLiteral("\r\n") + detail);
    } catch (...) {
    }
}

#pragma once

#include "AppError.h"

// Where an unexpected failure inside an event handler is shown to the user. The windowed program
// installs a message-box reporter; tests install one that records what would have been shown.
class IErrorReporter {
public:
    virtual ~IErrorReporter() = default;
    // A critical-error message with this title and text.
    virtual void showError(const QString& title, const QString& text) = 0;
};

// Installs the reporter (not owned); nullptr restores the default, which writes to stderr.
void setErrorReporter(IErrorReporter* reporter);
IErrorReporter* currentErrorReporter();

// The message text: source, CR LF, "(" number ")", description.
QString errorMessageText(const AppError& error);

// Shows the error once through the installed reporter. Never throws.
void reportError(const AppError& error);

// A failure of our own that the user must hear about: the first line says, in the user's words, what
// happened, what is kept and what to do; the technical detail (file, system reason) follows on its own
// line so a support call can still quote it. Never throws.
void reportFailure(const QString& message, const QString& detail);

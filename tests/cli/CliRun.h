#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QStringList>

// Runs the command-line tool and collects what it printed.
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonDocument Json() const { return QJsonDocument::fromJson(out); }
};

CliRun RunVelqora(const QStringList& args);

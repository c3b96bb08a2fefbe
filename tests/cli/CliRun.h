#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QStringList>

// Runs the command-line tool and collects what it printed.
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonDocument json() const { return QJsonDocument::fromJson(out); }
};

CliRun runVelqora(const QStringList& args);

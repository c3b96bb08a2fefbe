#include "CliRun.h"

#include <QProcess>

CliRun runVelqora(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VQ_VELQORA), args);
    p.waitForFinished(60000);
    CliRun r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

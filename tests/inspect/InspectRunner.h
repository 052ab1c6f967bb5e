#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace xr::test {

// What one run of the built vaxlo-inspect printed and returned; exit code -1
// when it crashed or did not end.
struct InspectOutcome
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline InspectOutcome runInspector(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(XR_INSPECT_PATH), arguments);
    InspectOutcome outcome;
    if (!process.waitForFinished(30000))
        return outcome;
    outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

} // namespace xr::test

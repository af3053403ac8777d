#pragma once

#include <QProcess>
#include <QString>

#include "command_line.h"
#include "test_paths.h"

namespace mediatest {

inline QString Tool()
{
    return QString::fromUtf8(testpaths::kToolExe);
}

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

// Runs one command line as the window does: split into program and
// arguments, no shell.
inline Run RunLine(const QString& line)
{
    const ResolvedCommand command = ResolveCommandLine(line);
    QProcess p;
    p.start(command.program, command.arguments);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace mediatest

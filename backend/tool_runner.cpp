#include "tool_runner.h"

#include "backend_checks.h"
#include "process_runner.h"

void ToolRunner::run(const QString& commandLine) const
{
    RunRedirected(commandLine, QString(), outFile, errFile, QString(), true);
}

QString ToolRunner::runForErrors(const QString& commandLine) const
{
    run(commandLine);
    return BackendErrorText(errFile);
}

#include "tool_runner.h"

#include "backend_checks.h"
#include "command_line.h"
#include "medium_descriptor.h"
#include "process_runner.h"

#include <QSet>

bool ToolVerbWrites(const QString& verb)
{
    static const QSet<QString> writing{
        QStringLiteral("create"), QStringLiteral("newpart"), QStringLiteral("put"),
        QStringLiteral("putbin"), QStringLiteral("del"),     QStringLiteral("puttap"),
        QStringLiteral("putdsk"), QStringLiteral("delpart"), QStringLiteral("renpart"),
        QStringLiteral("drive"),  QStringLiteral("empty"),   QStringLiteral("putbas"),
    };
    return writing.contains(verb);
}

void ToolRunner::run(const QString& commandLine) const
{
    int mediumFd = -1;
    if (passed) {
        // Only a run on the passed medium gets its descriptor (not, say, the
        // creation of a new image while a device is open).
        const QStringList args = ResolveCommandLine(commandLine).arguments;
        if (args.size() >= 2 && args[0] == PassedMediumName())
            mediumFd = passed->descriptorForRun(ToolVerbWrites(args[1]));
    }
    RunRedirected(commandLine, QString(), outFile, errFile, QString(), true, mediumFd);
}

QString ToolRunner::runForErrors(const QString& commandLine) const
{
    run(commandLine);
    const QString errors = BackendErrorText(errFile);
    // The tool names a passed device /dev/fd/3; the user knows it by its path.
    return passed ? QString(errors).replace(PassedMediumName(), mediumName) : errors;
}

#include "file_moves.h"

#include "command_builders.h"
#include "file_clipboard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The runs of one move; an empty delete command keeps the source.
struct MoveRuns
{
    QString get;
    QString localCopy;
    QString put;
    QString targetPartition;
    QString targetName;
    QString del;
};

QString Step(const char* what, const QString& toolText)
{
    return QLatin1String(what) + QStringLiteral(": ") + FirstLine(toolText);
}

QString RunMove(const ToolContext& tool, const MoveRuns& runs)
{
    // A copy left from an earlier command must not pass for this get's.
    QFile::remove(runs.localCopy);
    QString problem = RunToolStep(tool, runs.get);
    if (!problem.isEmpty())
        return Step("Get failed", problem);
    if (!QFileInfo(runs.localCopy).isFile())
        return QStringLiteral("Get failed: the disk tool wrote no local copy");

    QString result;
    problem = RunToolStep(tool, runs.put);
    if (!problem.isEmpty()) {
        result = Step("Put failed", problem);
    } else if (!runs.del.isEmpty()) {
        QString listProblem;
        const QStringList names = ListPartitionFiles(tool, runs.targetPartition, &listProblem);
        if (!listProblem.isEmpty())
            result = Step("Put not confirmed, source kept", listProblem);
        else if (!NameListed(names, runs.targetName))
            result = QStringLiteral("Put not confirmed, source kept: %1 is not listed in %2")
                         .arg(runs.targetName, runs.targetPartition);
        else if (const QString delProblem = RunToolStep(tool, runs.del); !delProblem.isEmpty())
            result = Step("Copied, but the source was not deleted", delProblem);
    }
    QFile::remove(runs.localCopy);
    return result;
}

} // namespace

QString RenameThroughLocalCopy(const ToolContext& tool, const QString& folder,
                               const QString& partition, const QString& oldName,
                               const QString& newName)
{
    MoveRuns runs;
    runs.get = GetFileCommand(tool.toolPath, tool.medium, partition, oldName, folder);
    runs.localCopy = QDir(folder).filePath(oldName);
    runs.put = PutRenamedCommand(tool.toolPath, tool.medium, folder, oldName, partition, newName);
    runs.targetPartition = partition;
    runs.targetName = newName;
    runs.del = DelCommand(tool.toolPath, tool.medium, partition, oldName);
    return RunMove(tool, runs);
}

QString PasteThroughLocalCopy(const ToolContext& tool, const QString& folder, const PasteStep& step,
                              const QString& targetPartition)
{
    MoveRuns runs;
    runs.get = GetEntryCommand(tool.toolPath, tool.medium, step.entry, folder);
    runs.localCopy = QDir(folder).filePath(step.sourceFile);
    runs.put = PutRenamedCommand(tool.toolPath, tool.medium, folder, step.sourceFile,
                                 targetPartition, step.targetName);
    runs.targetPartition = targetPartition;
    runs.targetName = step.targetName;
    if (step.deleteSource)
        runs.del = DelEntryCommand(tool.toolPath, tool.medium, step.entry);
    return RunMove(tool, runs);
}

#include "file_moves.h"

#include "command_builders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString Step(const char* what, const QString& toolText)
{
    return QLatin1String(what) + QStringLiteral(": ") + FirstLine(toolText);
}

// Gets a file into its local copy and puts the copy; an empty text when both
// worked. The local copy is removed afterwards, on every way out.
QString CopyThroughLocalCopy(const ToolRunner& tool, const QString& get, const QString& localCopy,
                             const QString& put)
{
    // A copy left from an earlier command must not pass for this get's.
    QFile::remove(localCopy);
    // Removed however this ends, a stopped tool run included.
    struct RemoveLocalCopy
    {
        const QString& path;
        ~RemoveLocalCopy() { QFile::remove(path); }
    } removeLocalCopy{localCopy};
    QString problem = tool.runForErrors(get);
    if (!problem.isEmpty())
        return Step("Get failed", problem);
    if (!QFileInfo(localCopy).isFile())
        return QStringLiteral("Get failed: the disk tool wrote no local copy");
    problem = tool.runForErrors(put);
    return problem.isEmpty() ? QString() : Step("Put failed", problem);
}

// Why a source must be kept although its put reported no error: the listing
// of the target failed, or does not show the copy. Empty when it shows it.
QString UnconfirmedCopy(const QStringList& listed, const QString& listProblem,
                        const QString& partition, const QString& name)
{
    if (!listProblem.isEmpty())
        return Step("Copy not confirmed, source kept", listProblem);
    if (!NameListed(listed, name))
        return QStringLiteral("Copy not confirmed, source kept: %1 is not listed in %2")
            .arg(name, partition);
    return {};
}

} // namespace

QString RenameThroughLocalCopy(const ToolRunner& tool, const QString& folder,
                               const QString& partition, const QString& oldName,
                               const QString& newName)
{
    const QString copied = CopyThroughLocalCopy(
        tool, GetFileCommand(tool.toolPath, tool.medium, partition, oldName, folder),
        QDir(folder).filePath(oldName),
        PutRenamedCommand(tool.toolPath, tool.medium, folder, oldName, partition, newName));
    if (!copied.isEmpty())
        return copied;
    QString listProblem;
    const QStringList listed = ListPartitionFiles(tool, partition, &listProblem);
    if (QString kept = UnconfirmedCopy(listed, listProblem, partition, newName); !kept.isEmpty())
        return kept;
    const QString problem =
        tool.runForErrors(DelCommand(tool.toolPath, tool.medium, partition, oldName));
    return problem.isEmpty() ? QString()
                             : Step("Copied, but the old name was not deleted", problem);
}

FailureList PasteThroughLocalCopies(const ToolRunner& tool, const QString& folder,
                                    const QList<PasteStep>& planned, const QString& targetPartition,
                                    const std::function<void(int done)>& afterEntry)
{
    QList<PasteStep> steps = planned;
    if (HasSamePartitionCopy(steps)) {
        // Copies into their own partition must neither replace a file there
        // nor each other. Should the listing fail, they are still unique
        // among themselves (and the puts will tell what is wrong).
        QString listProblem;
        const QStringList present = ListPartitionFiles(tool, targetPartition, &listProblem);
        MakeCopyNamesUnique(steps, present);
    }
    FailureList failures;
    QList<qsizetype> toDelete; // copied entries whose source goes
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const PasteStep& step = steps[i];
        const QString problem = CopyThroughLocalCopy(
            tool, GetEntryCommand(tool.toolPath, tool.medium, step.entry, folder),
            QDir(folder).filePath(step.sourceFile),
            PutRenamedCommand(tool.toolPath, tool.medium, folder, step.sourceFile, targetPartition,
                              step.targetName));
        if (!problem.isEmpty()) {
            failures.add(step.entry, problem);
        } else {
            // An earlier copy of the same name has just been replaced: its
            // source is all that is left of it.
            for (qsizetype k = 0; k < toDelete.size(); ++k) {
                const PasteStep& earlier = steps[toDelete[k]];
                if (!SameFileName(earlier.targetName, step.targetName))
                    continue;
                if (earlier.entry != step.entry) // the same file twice is deleted once
                    failures.add(earlier.entry, QStringLiteral("Source kept: a later file of the "
                                                               "same name replaced its copy"));
                toDelete.removeAt(k--);
            }
            if (step.deleteSource)
                toDelete << i;
        }
        afterEntry(static_cast<int>(i + 1));
    }
    if (toDelete.isEmpty())
        return failures;

    QString listProblem;
    const QStringList listed = ListPartitionFiles(tool, targetPartition, &listProblem);
    for (qsizetype i : toDelete) {
        const PasteStep& step = steps[i];
        QString problem = UnconfirmedCopy(listed, listProblem, targetPartition, step.targetName);
        if (problem.isEmpty()) {
            const QString delProblem =
                tool.runForErrors(DelEntryCommand(tool.toolPath, tool.medium, step.entry));
            if (!delProblem.isEmpty())
                problem = Step("Copied, but the source was not deleted", delProblem);
        }
        if (!problem.isEmpty())
            failures.add(step.entry, problem);
    }
    return failures;
}

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

PasteResult PasteThroughLocalCopies(const ToolRunner& tool, const QString& folder,
                                    const QList<PasteStep>& planned, const QString& targetPartition,
                                    const ConflictAsker& ask,
                                    const std::function<void(int done)>& afterEntry)
{
    PasteResult result;
    QString presentProblem;
    QStringList readOnly;
    const QStringList present =
        ListPartitionFiles(tool, targetPartition, &presentProblem, &readOnly);
    if (!presentProblem.isEmpty()) {
        // No name could be checked: nothing is pasted.
        for (const PasteStep& step : planned)
            result.failures.add(step.entry,
                                Step("Not pasted, the target could not be listed", presentProblem));
        return result;
    }
    QList<PasteStep> steps = planned;
    // Copies into their own partition must neither replace a file there nor
    // each other.
    if (HasSamePartitionCopy(steps))
        MakeCopyNamesUnique(steps, present);
    NameConflicts conflicts(targetPartition, present, readOnly, ask);
    FailureList& failures = result.failures;
    QList<qsizetype> toDelete; // copied entries whose source goes
    for (qsizetype i = 0; i < steps.size(); ++i) {
        PasteStep& step = steps[i];
        const bool ownName = step.sourcePartition == targetPartition && !step.samePartitionCopy;
        if (!ownName) {
            const PutDecision decision = conflicts.Decide(PutRequest{step.entry, step.targetName},
                                                          static_cast<int>(steps.size() - i - 1));
            if (decision.kind == PutDecision::Cancel) {
                result.cancelled = true;
                break;
            }
            if (decision.kind == PutDecision::Skip) {
                ++result.skipped;
                afterEntry(static_cast<int>(i + 1));
                continue;
            }
            step.targetName = decision.targetName;
        }
        ++result.done;
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
        return result;

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
    return result;
}

#include "file_clipboard.h"

#include "short_name.h"

#include <algorithm>

QString ClipboardEntry(const QString& partition, const QString& file)
{
    return partition + QLatin1Char(':') + file;
}

PasteStep PlanPasteStep(const QString& entry, const QString& targetPartition, bool cut)
{
    PasteStep step;
    step.entry = entry;
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    step.sourcePartition = colon < 0 ? entry : entry.left(colon);
    step.sourceFile = colon < 0 ? QString() : entry.mid(colon + 1);
    const bool samePartition = step.sourcePartition == targetPartition;
    step.targetName =
        samePartition && !cut ? SamePartitionCopyName(step.sourceFile) : step.sourceFile;
    step.deleteSource = cut && !samePartition;
    step.samePartitionCopy = samePartition && !cut;
    return step;
}

QString SamePartitionCopyName(const QString& file)
{
    const qsizetype dot = file.indexOf(QLatin1Char('.'));
    return (dot < 0 ? file : file.left(dot)) + QStringLiteral(".$$$");
}

void MakeCopyNamesUnique(QList<PasteStep>& steps, const QStringList& partitionNames)
{
    QStringList taken = partitionNames;
    for (const PasteStep& step : std::as_const(steps)) {
        if (!step.samePartitionCopy)
            taken << step.targetName;
    }
    for (PasteStep& step : steps) {
        if (!step.samePartitionCopy)
            continue;
        step.targetName = NextFreeName(SamePartitionCopyName(step.sourceFile), taken);
        taken << step.targetName;
    }
}

bool HasSamePartitionCopy(const QList<PasteStep>& steps)
{
    return std::any_of(steps.begin(), steps.end(),
                       [](const PasteStep& step) { return step.samePartitionCopy; });
}

#include "tool_steps.h"

#include "backend_checks.h"
#include "command_builders.h"
#include "process_runner.h"
#include "records.h"
#include "text_reader.h"

#include <QFile>

#include <algorithm>

QString RunToolStep(const ToolContext& tool, const QString& commandLine)
{
    RunRedirected(commandLine, QString(), tool.outFile, tool.errFile, QString(), true);
    return BackendErrorText(tool.errFile);
}

QStringList ListPartitionFiles(const ToolContext& tool, const QString& partition, QString* error,
                               QStringList* readOnly)
{
    if (readOnly)
        readOnly->clear();
    const QString problem = RunToolStep(tool, DirCommand(tool.toolPath, tool.medium, partition));
    if (error)
        *error = problem;
    if (!problem.isEmpty())
        return {};
    QFile out(tool.outFile);
    OpenTextFile(out, tool.outFile);
    RecordReader records(out, kWideSlots);
    QStringList names;
    if (!records.Next()) // the header line
        return names;
    while (records.Next()) {
        const FileEntry entry = FileEntry::FromFields(records.Fields());
        names << entry.TrimmedName();
        if (readOnly && entry.attr.startsWith(QLatin1Char('R')))
            *readOnly << entry.TrimmedName();
    }
    return names;
}

bool SameFileName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool NameListed(const QStringList& names, const QString& name)
{
    return std::any_of(names.begin(), names.end(),
                       [&](const QString& n) { return SameFileName(n, name); });
}

QString FirstLine(const QString& errorText)
{
    const QString trimmed = errorText.trimmed();
    const auto end = std::find_if(trimmed.begin(), trimmed.end(), [](QChar c) {
        return c == QLatin1Char('\r') || c == QLatin1Char('\n');
    });
    return trimmed.left(end - trimmed.begin());
}

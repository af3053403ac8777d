#include "command_builders.h"

#include "command_line.h"

namespace {

const QChar kSpace = QLatin1Char(' ');

QString Q(const QString& text)
{
    return QuoteArgument(text);
}

QString PartitionFile(const QString& partition, const QString& file)
{
    return QuoteArgument(partition + QLatin1Char(':') + file);
}

// tool "medium" verb
QString OnMedium(const QString& tool, const QString& medium, const char* verb)
{
    return tool + kSpace + Q(medium) + kSpace + QLatin1String(verb);
}

} // namespace

QString ShowPTableCommand(const QString& tool, const QString& medium)
{
    return OnMedium(tool, medium, "showptable -backend");
}

QString DirCommand(const QString& tool, const QString& medium, const QString& partition)
{
    return OnMedium(tool, medium, "dir") + kSpace + Q(partition) + QLatin1String(" -backend");
}

QString ScanBackendCommand(const QString& tool)
{
    return tool + QLatin1String(" scan -backend");
}

QString ScanCommand(const QString& tool)
{
    return tool + QLatin1String(" scan");
}

QString ShowPEntryCommand(const QString& tool, const QString& medium, const QString& partition)
{
    return OnMedium(tool, medium, "showpentry") + kSpace + Q(partition);
}

QString GetFileCommand(const QString& tool, const QString& medium, const QString& partition,
                       const QString& file, const QString& folder)
{
    return OnMedium(tool, medium, "get") + kSpace + PartitionFile(partition, file) + kSpace +
           Q(folder) + QLatin1Char('/');
}

QString GetEntryCommand(const QString& tool, const QString& medium, const QString& entry,
                        const QString& folder)
{
    return OnMedium(tool, medium, "get") + kSpace + Q(entry) + kSpace + Q(folder) +
           QLatin1Char('/');
}

QString PutCommand(const QString& tool, const QString& medium, const QString& hostFile,
                   const QString& partition, const QString& shortName)
{
    return OnMedium(tool, medium, "put") + kSpace + Q(hostFile) + kSpace +
           PartitionFile(partition, shortName);
}

QString PutBinCommand(const QString& tool, const QString& medium, const QString& hostFile,
                      const QString& partition, const QString& shortName)
{
    return OnMedium(tool, medium, "putbin") + kSpace + Q(hostFile) + kSpace +
           PartitionFile(partition, shortName);
}

QString PutBinAtCommand(const QString& tool, const QString& medium, const QString& hostFile,
                        const QString& partition, const QString& shortName, const QString& address)
{
    return PutBinCommand(tool, medium, hostFile, partition, shortName) + kSpace + address;
}

QString PutModeCommand(const QString& tool, const QString& medium, const QString& mode,
                       const QString& hostFile, const QString& partition, const QString& shortName,
                       const QString& address)
{
    return tool + kSpace + Q(medium) + kSpace + mode + kSpace + Q(hostFile) + kSpace +
           PartitionFile(partition, shortName) + kSpace + address;
}

QString PutRenamedCommand(const QString& tool, const QString& medium, const QString& folder,
                          const QString& file, const QString& partition, const QString& newName)
{
    return OnMedium(tool, medium, "put") + kSpace + Q(folder) + QLatin1Char('/') +
           BareArgument(file) + kSpace + PartitionFile(partition, newName);
}

QString PutTapCommand(const QString& tool, const QString& medium, const QString& hostFile,
                      const QString& partition)
{
    return OnMedium(tool, medium, "puttap") + kSpace + Q(hostFile) + kSpace + Q(partition);
}

QString PutDskCommand(const QString& tool, const QString& medium, const QString& hostFile,
                      const QString& partition)
{
    return OnMedium(tool, medium, "putdsk") + kSpace + Q(hostFile) + kSpace + Q(partition);
}

QString ImportListCommand(const QString& importLine)
{
    return importLine + QLatin1String(" --list");
}

QString ImportNamesCommand(const QString& importLine, const QStringList& names)
{
    return importLine + QLatin1String(" --names ") + Q(names.join(QLatin1Char(',')));
}

QString DelCommand(const QString& tool, const QString& medium, const QString& partition,
                   const QString& file)
{
    return OnMedium(tool, medium, "del") + kSpace + PartitionFile(partition, file);
}

QString DelEntryCommand(const QString& tool, const QString& medium, const QString& entry)
{
    return OnMedium(tool, medium, "del") + kSpace + Q(entry);
}

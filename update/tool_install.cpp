#include "tool_install.h"

#include "tool_archive.h"
#include "tool_timestamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace update {

QString toolFolder(const QString& toolPath)
{
    if (toolPath.isEmpty())
        return QDir::currentPath();
    return QFileInfo(toolPath).absolutePath();
}

InstallResult installToolUpdate(const QString& archivePath, const QString& toolPath)
{
    // A missing tool counts as 1 January 1980, 00:00.
    const ToolTimestamp before = readToolTimestamp(toolPath).value_or(ToolTimestamp{});

    ToolArchive archive;
    if (!archive.open(archivePath))
        return {false, {}, archive.errorText()};
    if (archive.extractTool(toolFolder(toolPath)) == ToolArchive::Extraction::Failed)
        return {false, {}, archive.errorText()};

    const QString report = toolUpdateReport(before, readToolTimestamp(toolPath));
    archive.close();
    QFile::remove(archivePath);
    return {true, report, {}};
}

} // namespace update

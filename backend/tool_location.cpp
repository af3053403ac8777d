#include "tool_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef HARNWICK_INSTALLED_TOOL_FROM_BIN
#define HARNWICK_INSTALLED_TOOL_FROM_BIN "../libexec/3e-harnwick/3E.EXE"
#endif

namespace {

const char* const kToolName = "3E.EXE";

bool IsFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

} // namespace

QString InstalledToolPath(const QString& programFolder)
{
    return QDir::cleanPath(QDir(programFolder).filePath(
        QString::fromUtf8(HARNWICK_INSTALLED_TOOL_FROM_BIN)));
}

QString DefaultToolPath(const QString& startFolder, const QString& programFolder)
{
    for (const QString& folder : {startFolder, programFolder}) {
        if (folder.isEmpty())
            continue;
        const QString candidate = QDir(folder).filePath(QLatin1String(kToolName));
        if (IsFile(candidate))
            return candidate;
    }
    return InstalledToolPath(programFolder);
}

ToolPathChoice ChooseToolPath(const QString& storedPath, const QString& defaultPath)
{
    if (storedPath.isEmpty())
        return {defaultPath, {}};
    if (QFileInfo::exists(storedPath))
        return {storedPath, {}};
    return {defaultPath,
            QCoreApplication::translate(
                "ToolLocation", "The disk tool chosen in Preferences, %1, no longer exists.\n"
                                "%2 is used instead.")
                .arg(storedPath, defaultPath)};
}

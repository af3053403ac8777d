#pragma once

#include <QString>

// Installs the disk tool from a downloaded archive and reports whether it got newer.
namespace update {

struct InstallResult
{
    // false: the archive could not be read or the tool not written; errorText
    // is the message for an error box, the download file is left where it is
    // and the installed tool is unchanged.
    bool ok = false;
    // When ok: "3E.EXE updated (MM/DD/YYYY, HH.MM)" or "No 3E.EXE update available".
    QString statusText;
    QString errorText;
};

// The folder the tool is installed into: the folder part of toolPath; a
// path without one (also an empty path) means the current directory.
QString toolFolder(const QString& toolPath);

// Takes the time of the file at toolPath, extracts the archive's "3E.EXE"
// into the tool's folder, takes the time again and reports: "updated" with
// the new time when the file at toolPath got a later minute, else
// "No 3E.EXE update available" (also when the archive holds no tool, when
// an older tool replaced a newer one, and when no file is at toolPath
// afterwards). On success the archive is closed and deleted.
InstallResult installToolUpdate(const QString& archivePath, const QString& toolPath);

} // namespace update

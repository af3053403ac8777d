#pragma once

#include <QString>

// Where the browser finds the disk tool when the user has not chosen one.
//
// A desktop menu starts programs in the user's home folder, so the start
// folder alone is no good default. The tool is looked for, in this order:
//   1. startFolder/3E.EXE        a tool the user keeps beside their media;
//   2. programFolder/3E.EXE      a build tree, or a tool unpacked beside the
//                                browser;
//   3. the installed tool        libexec/3e-harnwick/3E.EXE of the install
//                                prefix, found relative to programFolder so
//                                that a staged or moved installation works.
// The first two count only when the file exists; the third is the answer
// otherwise, present or not (the commands then say the tool is missing).

// The installed tool for a browser whose executable lies in programFolder
// (the relative place is fixed at build time from the install folders).
QString InstalledToolPath(const QString& programFolder);

QString DefaultToolPath(const QString& startFolder, const QString& programFolder);

// The tool path to use at start-up: the stored "3ePos" when it is not empty
// and names an existing file, else defaultPath. When a stored path is given
// up, `report` says so (shown once to the user); otherwise it is empty.
struct ToolPathChoice
{
    QString path;
    QString report;
};

ToolPathChoice ChooseToolPath(const QString& storedPath, const QString& defaultPath);

#pragma once

#include <QString>
#include <QStringList>

// The command lines given to the disk tool, one function per command. Each
// returns the whole text that RunRedirected splits into the program and its
// arguments (see command_line.h for the quoting rule).
//
// Placeholders:
//   tool      the tool's path (ToolPath), unquoted at the head of the line;
//             a path with blanks is found by RunRedirected.
//   medium    CurrentMedium: an image path or a device name.
//   partition a partition name: a tree node's text, used as it is (trailing
//             blanks included).
//   file      a +3DOS file name as the file list shows it (trimmed).
//   folder    a host folder without a trailing "/". The tool receives it with
//             a trailing "/": the quoted folder is followed by "/".
//   hostFile  the full path of a host file; shortName the 8.3 name formed
//             from it.
//   entry     a file clipboard entry "partition:file"; newName a +3DOS name.
//   address   a load address as text.
//
// A quoted placeholder is written as `"` + text + `"` (QuoteArgument); only
// texts holding a double quote or ending in a backslash are written
// differently, so that the tool still receives them unchanged.

// showptable -backend: the partition table as records.
QString ShowPTableCommand(const QString& tool, const QString& medium);
// dir -backend: the directory of a partition as records.
QString DirCommand(const QString& tool, const QString& medium, const QString& partition);
// scan -backend: the devices as records.
QString ScanBackendCommand(const QString& tool);
// scan: the devices as free text.
QString ScanCommand(const QString& tool);
// showpentry: one partition's details as free text.
QString ShowPEntryCommand(const QString& tool, const QString& medium, const QString& partition);
// get: copies partition:file into the folder (the host file folder/file).
QString GetFileCommand(const QString& tool, const QString& medium, const QString& partition,
                       const QString& file, const QString& folder);
// get: copies a clipboard entry "partition:file" into the folder.
QString GetEntryCommand(const QString& tool, const QString& medium, const QString& entry,
                        const QString& folder);
// put: a host file into partition:shortName, without a +3DOS header.
QString PutCommand(const QString& tool, const QString& medium, const QString& hostFile,
                   const QString& partition, const QString& shortName);
// putbin: a host file into partition:shortName, with a +3DOS header.
QString PutBinCommand(const QString& tool, const QString& medium, const QString& hostFile,
                      const QString& partition, const QString& shortName);
// putbin with a load address. The address is the text the user typed, passed
// on as it is (unquoted).
QString PutBinAtCommand(const QString& tool, const QString& medium, const QString& hostFile,
                        const QString& partition, const QString& shortName, const QString& address);
// "put" or "putbin" (mode) with an address that may be empty; an empty
// address leaves one blank at the end of the line.
QString PutModeCommand(const QString& tool, const QString& medium, const QString& mode,
                       const QString& hostFile, const QString& partition, const QString& shortName,
                       const QString& address);
// put: the host file folder/file into partition:newName. The file name
// follows the quoted folder unquoted; a name holding blanks or quotes is
// quoted so that folder and name still form one argument.
QString PutRenamedCommand(const QString& tool, const QString& medium, const QString& folder,
                          const QString& file, const QString& partition, const QString& newName);
// puttap: the contents of a tape image into a partition.
QString PutTapCommand(const QString& tool, const QString& medium, const QString& hostFile,
                      const QString& partition);
// putdsk: the contents of a floppy disk image into a partition.
QString PutDskCommand(const QString& tool, const QString& medium, const QString& hostFile,
                      const QString& partition);
// A puttap or putdsk line with --list: the tool writes the name each file
// of the image asks for, one a line, and stores nothing.
QString ImportListCommand(const QString& importLine);
// A puttap or putdsk line with --names: the image's files are stored in
// order under `names` (replacing a file of that name); an empty name, or a
// missing one at the end, leaves that file out.
QString ImportNamesCommand(const QString& importLine, const QStringList& names);
// del: deletes partition:file.
QString DelCommand(const QString& tool, const QString& medium, const QString& partition,
                   const QString& file);
// del: deletes the file named by a clipboard entry "partition:file".
QString DelEntryCommand(const QString& tool, const QString& medium, const QString& entry);

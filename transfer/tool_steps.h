#pragma once

#include <QString>
#include <QStringList>

// Single runs of the disk tool for the commands that change a partition,
// each judged by what the tool wrote to its error file: an empty error text
// means the run worked.

// What every run needs: the tool, the open medium, and the files that
// receive the tool's standard output and error.
struct ToolContext
{
    QString toolPath;
    QString medium;
    QString outFile;
    QString errFile;
};

// Runs one command line (built by command_builders.h) and returns the tool's
// error text: every line it wrote to standard error followed by CR LF, empty
// when it wrote nothing. A tool that cannot be started raises AppError.
QString RunToolStep(const ToolContext& tool, const QString& commandLine);

// The trimmed names of the files the tool lists in `partition` (its `dir`
// records); `readOnly`, when given, receives those of them whose attributes
// begin with "R" (the read-only files, which the tool never replaces). When
// the listing fails, `error` receives the tool's error text and the lists are
// empty.
QStringList ListPartitionFiles(const ToolContext& tool, const QString& partition, QString* error,
                               QStringList* readOnly = nullptr);

// Whether `name` is among `names`. +3DOS names are upper case and the tool
// takes them without regard to case, so "game" and "GAME" are one name.
bool SameFileName(const QString& a, const QString& b);
bool NameListed(const QStringList& names, const QString& name);

// The first line of a tool's error text, for messages of one line.
QString FirstLine(const QString& errorText);

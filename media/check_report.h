#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The tool's check prints one line per finding, "<where>: <fault>", or
// "<where>: no faults" for a sound part, where <where> is "partition table"
// (always first) or a +3DOS partition's name (a name holds no colon). It
// exits 0 when nothing was found, 3 when faults were found, and 1 or 2 with
// one line on standard error when it could not check at all.

struct CheckSection
{
    QString title;      // "Partition table" or the partition's name
    QStringList faults; // in words; empty when sound
};

struct CheckReport
{
    bool checked = false; // false: the check could not run (see failure)
    QString failure;
    std::vector<CheckSection> sections;
    int faultCount() const;
};

// The report made from the tool's standard output and error and its exit
// code.
CheckReport ParseCheckOutput(const QString& output, int exitCode, const QString& errorText);

// One fault line of the tool put into words: a directory entry
// "entry 5 (0:GAME.BAS)" becomes "file GAME.BAS of user 0 (directory entry
// 5)", a leading "0:GAME.BAS: " becomes "File GAME.BAS of user 0: ", and the
// sentence starts in upper case and ends with a full stop.
QString FaultInWords(const QString& fault);

// The report as text lines: a summary ("No faults found." when clean), then
// per section its title and each fault indented (or "No faults found.").
QStringList CheckReportLines(const CheckReport& report);

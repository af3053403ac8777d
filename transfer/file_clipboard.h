#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The file clipboard's entries and what pasting one of them does.
//
// An entry names one file of the open medium as partition + ":" + file name.
// Cut and Copy append entries; Paste works through them in order: each file
// is got into a local copy and put into the target partition, under a
// ".$$$" name when a Copy is pasted into the partition it came from, and the
// source is deleted afterwards when a Cut is pasted into another partition.

// The entry for a file of a partition.
QString ClipboardEntry(const QString& partition, const QString& file);

// What pasting one entry into a target partition does.
struct PasteStep
{
    QString entry;           // as recorded: "partition:file"
    QString sourcePartition; // the text before the entry's first ":"
    QString sourceFile;      // the text after it; also the local copy's name
    QString targetName;      // the name the file gets in the target partition
    bool deleteSource = false;
    bool samePartitionCopy = false; // a Copy pasted into its own partition
};

// Splits `entry` at its first ":" and decides the target name and whether the
// source goes: a Copy pasted into its own partition (exact comparison of the
// partition names) gets SamePartitionCopyName; a Cut pasted into another
// partition deletes its source; a Cut pasted into its own partition deletes
// nothing.
PasteStep PlanPasteStep(const QString& entry, const QString& targetPartition, bool cut);

// The name of a copy made in the same partition: the part of `file` before
// its first "." followed by ".$$$", or `file` + ".$$$" when it holds no ".".
// "PROG.BAS" gives "PROG.$$$", "DATA.1.X" gives "DATA.$$$", "SCREEN" gives
// "SCREEN.$$$" and ".X" gives ".$$$".
QString SamePartitionCopyName(const QString& file);

// Gives the copies that steps make in their own partition names that are
// unique against `partitionNames` (the target partition's files) and each
// other: each keeps its SamePartitionCopyName when that is free, otherwise
// gets NextFreeName of it ("PROG.BAS" and "PROG.SCR" give "PROG.$$$" and
// "PROG1.$$$"). The names of the batch's other steps count as taken too.
// Steps that are no such copy are left as they are.
void MakeCopyNamesUnique(QList<PasteStep>& steps, const QStringList& partitionNames);

// True when some step is a copy into its own partition.
bool HasSamePartitionCopy(const QList<PasteStep>& steps);

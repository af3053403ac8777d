#pragma once

#include "records.h"

#include <QString>

// Texts for the partition tree's entries that hold no +3DOS files: the free
// space of a medium and partitions of other types. Selecting one of them is
// a normal situation, told in the status bar, not an error.

// The caption of a free-space entry in the tree.
inline constexpr const char* kFreeSpaceCaption = "(free space)";

// The type code of free space in the partition table.
inline constexpr qint64 kFreeSpaceTypeCode = 255;
// The type code of a +3DOS partition, the one type whose files are listed.
inline constexpr qint64 kPlus3DosTypeCode = 3;

// True for the partition table's free-space entries (type 255).
bool IsFreeSpace(const PartitionRecord& record);

// The tree caption of a partition record: kFreeSpaceCaption for free space
// (whose name is blank), otherwise the record's name as it is.
QString PartitionTreeCaption(const PartitionRecord& record);

// The status text when a free-space entry is selected:
// "Free space: 1,048,576 bytes" (grouped as the lists show sizes).
QString FreeSpaceStatusText(qint64 sizeBytes);

// The status text when a partition that is not +3DOS is selected, by its
// type code (the names are those of PartitionTypeName):
//  - types that hold no files (unused, system, swap, boot, bad, free):
//    "SWAPSPACE is a swap partition; it holds no files.",
//    "PLUSIDEDOS is a system partition; it holds no files.";
//  - types with files of another system (CP/M, MS-DOS, UZI(X), TR-DOS,
//    SAMDOS, MB-02): "DOS is an MS-DOS partition; only +3DOS files are
//    listed.";
//  - any other code: "X is a partition of unknown type 7; it holds no
//    +3DOS files."
// Empty for a +3DOS partition.
QString NonPlus3PartitionText(const QString& name, qint64 typeCode);

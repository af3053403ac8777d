#pragma once

#include "file_list_model.h"

struct FileEntry;
struct PartitionRecord;

// The list row of one file of a directory listing (the file layout): trimmed
// name, grouped numbers, "major.minor" version, the type's name and picture.
// Raises AppError when a number field is no number.
FileListRow FileRowFromEntry(const FileEntry& entry);

// The list row of one partition of the partition table (the partition
// layout): name as it is, grouped size, whole MiB with " MB", the type's name
// and picture, cylinder/head of begin and end, the LBA range. Raises AppError
// when the size is no number.
FileListRow PartitionRowFromRecord(const PartitionRecord& record);

// The picture of a partition type name (the PartitionTypeName texts).
int PartitionIcon(const QString& typeName);

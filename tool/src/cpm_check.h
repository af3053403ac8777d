#pragma once

#include <string>
#include <vector>

#include "cpm_filesystem.h"
#include "idedos_table.h"

namespace p3tool {

// The faults that make writing into a CP/M file system unsafe, one readable
// line each (empty when sound): entries out of range, blocks past the end,
// in the directory or owned twice, a logical extent held twice. Every write
// command refuses a file system that has any.
std::vector<std::string> structuralFaults(const CpmFileSystem& fs);

// Every fault of a CP/M file system: the structural ones, then per file a
// non-final extent that is not full, a +3DOS header inconsistent with the
// file's length, and whatever makes get refuse the file (unreadableReason).
std::vector<std::string> checkFileSystem(CpmFileSystem& fs);

// The faults of a partition table: extents that cannot exist on the disk,
// a table outside the system partition, and used entries (free space, the
// system partition and bad space included) that overlap. Every write
// command refuses a table that has any.
std::vector<std::string> checkPartitionTable(const PartitionTable& table);

}  // namespace p3tool

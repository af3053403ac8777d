#pragma once

#include <string>
#include <vector>

#include "cpm_filesystem.h"
#include "idedos_table.h"

namespace p3tool {

// The faults of a CP/M file system, one readable line each (empty when
// sound): entries out of range, blocks past the end, in the directory or
// owned twice, a logical extent held twice, a non-final extent that is not
// full, +3DOS headers inconsistent with the file's length.
std::vector<std::string> checkFileSystem(CpmFileSystem& fs);

// The faults of a partition table: extents that cannot exist on the disk
// and partitions that overlap.
std::vector<std::string> checkPartitionTable(const PartitionTable& table);

}  // namespace p3tool

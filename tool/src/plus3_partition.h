#pragma once

#include <memory>
#include <string>

#include "cpm_filesystem.h"
#include "idedos_table.h"
#include "medium.h"
#include "partition_source.h"

namespace p3tool {

// A medium opened with its partition table.
struct OpenMedium {
    std::unique_ptr<Medium> medium;
    PartitionTable table;
};

// Opens an image or device and reads its partition table; throws ToolError
// with a message naming the path when that fails.
OpenMedium openMedium(const std::string& path, bool forWriting);

// The used partition of this name, or a ToolError "no partition named ...".
const PartitionEntry& requirePartition(const OpenMedium& m, const std::string& name);

// A +3DOS partition with its file system ready to read (and write).
class Plus3Partition {
public:
    // Throws ToolError when the entry is not a usable +3DOS partition.
    Plus3Partition(OpenMedium& m, const PartitionEntry& entry);

    const PartitionEntry& entry() const { return entry_; }
    std::string name() const { return entry_.displayName(); }
    CpmFileSystem& fs() { return *fs_; }
    PartitionSource& source() { return source_; }

private:
    const PartitionEntry& entry_;
    PartitionSource source_;
    std::unique_ptr<CpmFileSystem> fs_;
};

// The file system parameters stored in a +3DOS entry (XDPB at 0x20).
DiskParams plus3Params(const PartitionEntry& entry);

}  // namespace p3tool

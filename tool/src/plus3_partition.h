#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cpm_filesystem.h"
#include "cpm_staging.h"
#include "idedos_table.h"
#include "medium.h"
#include "partition_source.h"

namespace p3tool {

// A medium opened with its partition table.
struct OpenMedium {
    std::unique_ptr<Medium> medium;
    PartitionTable table;
};

// Opens an image or device, takes the lock and reads its partition table;
// throws ToolError with a message naming the path when that fails. The
// medium is writable when the lock is exclusive. Commands use
// openForReading or WritableMedium (medium_access.h) instead.
OpenMedium openMedium(const std::string& path, MediumLock lock);

// The used partition of this name, or a ToolError "no partition named ...".
const PartitionEntry& requirePartition(const OpenMedium& m, const std::string& name);

// A +3DOS partition with its file system ready to read (and write). A
// change left staged in it by an interrupted run (cpm_staging.h) is
// resolved in the in-memory directory at once, so every reader sees the
// old file or the new one; WritableMedium writes that resolution out.
class Plus3Partition {
public:
    // Throws ToolError when the entry is not a usable +3DOS partition.
    Plus3Partition(OpenMedium& m, const PartitionEntry& entry);

    // The staged change found, if any (resolved in memory unless damaged).
    const std::optional<PendingChange>& pending() const { return pending_; }
    // Writes the resolution of the pending change to the medium.
    void finishPending();

    const PartitionEntry& entry() const { return entry_; }
    std::string name() const { return entry_.displayName(); }
    CpmFileSystem& fs() { return *fs_; }
    PartitionSource& source() { return source_; }

private:
    const PartitionEntry& entry_;
    PartitionSource source_;
    std::unique_ptr<CpmFileSystem> fs_;
    std::optional<PendingChange> pending_;
    Resolution resolution_;
};

// The file system parameters stored in a +3DOS entry (XDPB at 0x20).
DiskParams plus3Params(const PartitionEntry& entry);

}  // namespace p3tool

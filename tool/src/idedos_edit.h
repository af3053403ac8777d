#pragma once

#include <cstdint>
#include <string>

#include "cpm_filesystem.h"
#include "idedos_table.h"

namespace p3tool {

// Changes to an IDEDOS partition table, made the way the +3e makes them and
// ordered so that a medium cut off at any write shows the table as it was
// before the change or as it is after it (see the notes in idedos_edit.cpp).
// Each function checks everything first and throws ToolError, having
// written nothing, when the change cannot be made.

// The table they change comes from a WritableMedium, which has already
// refused a damaged table (medium_access.h).

struct NewPartition {
    std::string name;
    unsigned megabytes = 0;  // 1..16
    uint8_t type = PartitionType::Plus3Dos;  // or PartitionType::Swap
    char driveLetter = 0;                    // A..P, or 0 for none (+3DOS only)
};

// Adds the partition on whole tracks at the start of the lowest free-space
// region after the system partition that holds it; the rest of the region
// stays free space. A +3DOS partition gets the XDPB the +3e gives one of
// that size and an empty directory. Returns the new entry's slot.
unsigned addPartition(PartitionTable& table, const NewPartition& request);

// The partition's space becomes free space, merged with free space right
// before and after it.
void deletePartition(PartitionTable& table, const PartitionEntry& entry);
void renamePartition(PartitionTable& table, const PartitionEntry& entry, const std::string& newName);
// letter A..P, or 0 to clear the mapping.
void setDriveLetter(PartitionTable& table, const PartitionEntry& entry, char letter);

// ToolError unless the entry is a partition these changes may touch: not
// the system partition, free space or bad space.
void requireEditablePartition(const PartitionEntry& entry);
// ToolError unless letter is A..P and no other partition is mapped to it.
void requireFreeDriveLetter(const PartitionTable& table, char letter, const PartitionEntry* except);

// Deletes every file of every user number, read-only ones too, in the file
// system of a +3DOS partition; returns how many there were.
size_t emptyFileSystem(CpmFileSystem& fs);

}  // namespace p3tool

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"
#include "medium.h"

namespace p3tool {

namespace PartitionType {
constexpr uint8_t Unused = 0x00;
constexpr uint8_t System = 0x01;
constexpr uint8_t Swap = 0x02;
constexpr uint8_t Plus3Dos = 0x03;
constexpr uint8_t Cpm = 0x04;
constexpr uint8_t Bad = 0xFE;
constexpr uint8_t Free = 0xFF;
}  // namespace PartitionType

// Readable name of a partition type code ("+3DOS", "Free", "Unknown").
std::string partitionTypeText(uint8_t type);

struct Geometry {
    uint32_t cylinders = 0;
    uint32_t heads = 0;
    uint32_t sectors = 0;  // per track
};

// One 64-byte slot of the partition table, kept byte for byte.
struct PartitionEntry {
    static constexpr size_t kSize = 64;
    unsigned index = 0;
    std::array<uint8_t, kSize> raw{};

    uint8_t type() const { return raw[0x10]; }
    uint16_t startCylinder() const { return le16(&raw[0x11]); }
    uint8_t startHead() const { return raw[0x13]; }
    uint16_t endCylinder() const { return le16(&raw[0x14]); }
    uint8_t endHead() const { return raw[0x16]; }
    uint32_t largestLogicalSector() const { return le32(&raw[0x17]); }
    uint8_t driveLetter() const { return raw[0x3C]; }
    const uint8_t* xdpb() const { return &raw[0x20]; }

    // The name as the tool shows it: trailing blanks (and zero bytes)
    // removed; control bytes, bytes above 0x7E, "," and ":" shown as "_" so
    // that the name survives a comma-separated record and a "P:F" argument.
    std::string displayName() const;
    void setName(const std::string& name);
    void setExtent(uint16_t startCyl, uint8_t startHead, uint16_t endCyl, uint8_t endHead, uint32_t largestLogical);
};

// The IDEDOS partition table of a medium: located as the +3e does (first
// sector of the disk, else the first sector of head 1), geometry from the
// system partition, every slot the system partition holds.
class PartitionTable {
public:
    // Throws ToolError when the medium holds no IDEDOS table or a damaged one.
    static PartitionTable load(Medium& medium);

    Medium& medium() const { return *medium_; }
    const Geometry& geometry() const { return geometry_; }
    uint64_t tableLba() const { return tableLba_; }
    // Slots an entry may be written to (indices 0 .. capacity-1).
    unsigned capacity() const { return capacity_; }
    // Every slot read, in table order, unused ones included.
    const std::vector<PartitionEntry>& slots() const { return slots_; }
    std::vector<const PartitionEntry*> usedEntries() const;

    uint64_t firstLba(const PartitionEntry& e) const;
    uint64_t lastLba(const PartitionEntry& e) const;
    // Why the entry's extent cannot be read (empty when it can).
    std::string extentProblem(const PartitionEntry& e) const;
    // Bytes the extent covers (0 when it ends before it begins).
    uint64_t sizeBytes(const PartitionEntry& e) const;
    // Whole 512-byte logical sectors in the extent.
    uint64_t logicalSectors(const PartitionEntry& e) const;

    // The used entry with this name: an exact match first, else the first
    // whose name matches case aside. Trailing blanks of the request are
    // ignored. Null when there is none.
    const PartitionEntry* find(const std::string& name) const;

    // Writes entries into their slots, one sector write per table sector
    // touched, sectors in the order their first entry appears in the list.
    void writeEntries(const std::vector<PartitionEntry>& entries);

private:
    Medium* medium_ = nullptr;
    Geometry geometry_;
    uint64_t tableLba_ = 0;
    unsigned capacity_ = 0;
    std::vector<PartitionEntry> slots_;
};

// True when the first 17 bytes of a sector start a system partition entry.
bool isSystemEntry(const uint8_t* bytes);

}  // namespace p3tool

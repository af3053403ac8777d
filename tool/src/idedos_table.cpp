#include "idedos_table.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

#include "mbr_partition.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

constexpr char kSystemName[] = "PLUSIDEDOS      ";

struct Location {
    uint64_t lba;
    SectorLayout layout;
};

// Tests one sector of the file for the system partition entry, as a 16-bit
// sector, as a halved sector, or as an 8-bit sector stored full-width.
std::optional<SectorLayout> probeSector(Medium& medium, uint64_t lba)
{
    const unsigned fileBytes = medium.fileSectorBytes();
    if (lba >= medium.sectorCount())
        return std::nullopt;
    uint8_t sector[512];
    medium.storage().read(medium.fileOffset(lba), sector, fileBytes);
    if (fileBytes == 256)
        return isSystemEntry(sector) ? std::optional(SectorLayout::Halved8) : std::nullopt;
    if (isSystemEntry(sector))
        return SectorLayout::Wide16;
    uint8_t even[32];
    for (int i = 0; i < 32; ++i)
        even[i] = sector[2 * i];
    if (isSystemEntry(even))
        return SectorLayout::Even8;
    return std::nullopt;
}

// C0/H1/S1, whose LBA is the number of sectors per track: the
// identification's value, else every plausible one.
std::optional<Location> locateAtHead1(Medium& medium)
{
    std::vector<uint64_t> candidates;
    if (medium.hdf() && medium.hdf()->sectorsPerTrack > 0)
        candidates.push_back(medium.hdf()->sectorsPerTrack);
    for (uint64_t lba = 1; lba <= 255; ++lba)
        if (std::find(candidates.begin(), candidates.end(), lba) == candidates.end())
            candidates.push_back(lba);
    for (uint64_t lba : candidates)
        if (auto layout = probeSector(medium, lba))
            return Location{lba, *layout};
    return std::nullopt;
}

std::optional<Location> locateOnDisk(Medium& medium)
{
    if (auto layout = probeSector(medium, 0))
        return Location{0, *layout};
    return locateAtHead1(medium);
}

// A disk shared with a PC: the IDEDOS disk inside a PC partition of type
// 0x7F (see mbr_partition.h). The first such partition holding a table
// wins; the medium stays confined to it.
std::optional<Location> locateInPcPartition(Medium& medium)
{
    if (medium.fileSectorBytes() != 512 || medium.sectorCount() == 0)
        return std::nullopt;
    uint8_t sector[512];
    medium.storage().read(medium.fileOffset(0), sector, sizeof sector);
    for (const MbrPartition& p : readMbr(sector)) {
        if (p.type != kIdedosMbrType || p.firstLba == 0 || p.firstLba >= medium.sectorCount())
            continue;
        medium.confineTo(p);
        if (auto where = locateOnDisk(medium))
            return where;
        medium.release();
    }
    return std::nullopt;
}

std::optional<Location> locate(Medium& medium)
{
    // The whole disk's first sector; then a +3e partition of a PC partition
    // table, before the probe of C0/H1: a 0x7F partition starting within the
    // first 255 sectors would otherwise pass for a whole-disk table at C0/H1,
    // with every address counted from the wrong sector.
    medium.release();
    if (auto layout = probeSector(medium, 0))
        return Location{0, *layout};
    if (auto inside = locateInPcPartition(medium))
        return inside;
    return locateAtHead1(medium);
}

}  // namespace

std::string partitionTypeText(uint8_t type)
{
    switch (type) {
    case 0x00: return "Unused";
    case 0x01: return "System";
    case 0x02: return "Swap";
    case 0x03: return "+3DOS";
    case 0x04: return "CP/M";
    case 0x05: return "Boot";
    case 0x0F: return "Movie";
    case 0x10: return "MS-DOS";
    case 0x20: return "UZI(X)";
    case 0x30: return "TR-DOS";
    case 0x31: return "SAMDOS";
    case 0x32: return "MB-02";
    case 0x33: return "TOS A.2";
    case 0x40: return "+3 disk image";
    case 0x41: return "Elwro 800 Junior disk image";
    case 0x48: return "CPC disk image";
    case 0x49: return "PCW disk image";
    case 0xFE: return "Bad";
    case 0xFF: return "Free";
    default: return "Unknown";
    }
}

bool isSystemEntry(const uint8_t* bytes)
{
    return std::memcmp(bytes, kSystemName, 16) == 0 && bytes[0x10] == PartitionType::System;
}

std::string PartitionEntry::displayName() const
{
    size_t n = 16;
    while (n > 0 && (raw[n - 1] == ' ' || raw[n - 1] == 0))
        --n;
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = raw[i];
        s += (c < 0x20 || c > 0x7E || c == ',' || c == ':') ? '_' : char(c);
    }
    return s;
}

void PartitionEntry::setName(const std::string& name)
{
    for (size_t i = 0; i < 16; ++i)
        raw[i] = i < name.size() ? uint8_t(name[i]) : uint8_t(' ');
}

void PartitionEntry::setExtent(uint16_t startCyl, uint8_t startHead, uint16_t endCyl, uint8_t endHead,
                               uint32_t largestLogical)
{
    putLe16(&raw[0x11], startCyl);
    raw[0x13] = startHead;
    putLe16(&raw[0x14], endCyl);
    raw[0x16] = endHead;
    putLe32(&raw[0x17], largestLogical);
}

PartitionTable PartitionTable::load(Medium& medium)
{
    const auto where = locate(medium);
    if (!where)
        throw ToolError("not an IDEDOS medium (no +3e partition table found): " + medium.path());
    medium.setLayout(where->layout);

    PartitionTable t;
    t.medium_ = &medium;
    t.tableLba_ = where->lba;

    const unsigned perLogical = 512 / medium.sectorBytes();
    std::vector<uint8_t> first(512);
    if (medium.sectorCount() - where->lba < perLogical)
        throw ToolError("damaged partition table in " + medium.path() + ": the medium ends inside it");
    medium.readSectors(where->lba, perLogical, first.data());

    PartitionEntry system;
    std::memcpy(system.raw.data(), first.data(), PartitionEntry::kSize);
    const uint8_t* g = &system.raw[0x20];
    t.geometry_.cylinders = le16(g);
    t.geometry_.heads = g[2];
    t.geometry_.sectors = g[3];
    if (t.geometry_.cylinders == 0 || t.geometry_.heads == 0 || t.geometry_.sectors == 0)
        throw ToolError("damaged partition table in " + medium.path() + ": impossible geometry " +
                        std::to_string(t.geometry_.cylinders) + "/" + std::to_string(t.geometry_.heads) + "/" +
                        std::to_string(t.geometry_.sectors));

    // The table never reaches past the system partition's own extent, nor
    // past the end of the medium.
    const uint64_t last = t.lastLba(system);
    if (system.endHead() >= t.geometry_.heads || last < where->lba)
        throw ToolError("damaged partition table in " + medium.path() + ": the system partition's extent is impossible");
    const uint64_t lastPresent = std::min<uint64_t>(last, medium.sectorCount() - 1);
    const uint64_t logical = (lastPresent - where->lba + 1) / perLogical;
    const uint64_t fits = std::min<uint64_t>(logical * (512 / PartitionEntry::kSize), 65536);
    const uint64_t maxField = le16(&system.raw[0x26]);
    t.capacity_ = unsigned(std::max<uint64_t>(1, std::min(maxField, fits)));
    const unsigned toRead = unsigned(std::max<uint64_t>(1, std::min(maxField + 1, fits)));

    const uint64_t sectors = (uint64_t(toRead) * PartitionEntry::kSize + 511) / 512;
    std::vector<uint8_t> bytes(size_t(sectors * 512));
    medium.readSectors(where->lba, sectors * perLogical, bytes.data());
    t.slots_.resize(toRead);
    for (unsigned i = 0; i < toRead; ++i) {
        t.slots_[i].index = i;
        std::memcpy(t.slots_[i].raw.data(), &bytes[size_t(i) * PartitionEntry::kSize], PartitionEntry::kSize);
    }
    return t;
}

std::vector<const PartitionEntry*> PartitionTable::usedEntries() const
{
    std::vector<const PartitionEntry*> used;
    for (const auto& e : slots_)
        if (e.type() != PartitionType::Unused)
            used.push_back(&e);
    return used;
}

uint64_t PartitionTable::firstLba(const PartitionEntry& e) const
{
    return (uint64_t(e.startCylinder()) * geometry_.heads + e.startHead()) * geometry_.sectors;
}

uint64_t PartitionTable::lastLba(const PartitionEntry& e) const
{
    return (uint64_t(e.endCylinder()) * geometry_.heads + e.endHead()) * geometry_.sectors + geometry_.sectors - 1;
}

std::string PartitionTable::extentProblem(const PartitionEntry& e) const
{
    if (e.startHead() >= geometry_.heads || e.endHead() >= geometry_.heads)
        return "its head numbers exceed the disk's " + std::to_string(geometry_.heads) + " heads";
    if (lastLba(e) < firstLba(e))
        return "it ends before it begins";
    if (lastLba(e) >= medium_->sectorCount())
        return "it reaches past the end of the medium";
    return {};
}

uint64_t PartitionTable::sizeBytes(const PartitionEntry& e) const
{
    const uint64_t first = firstLba(e), last = lastLba(e);
    return last < first ? 0 : (last - first + 1) * medium_->sectorBytes();
}

uint64_t PartitionTable::logicalSectors(const PartitionEntry& e) const
{
    return sizeBytes(e) / 512;
}

const PartitionEntry* PartitionTable::find(const std::string& name) const
{
    const std::string wanted = trimRight(name);
    const PartitionEntry* folded = nullptr;
    for (const auto& e : slots_) {
        if (e.type() == PartitionType::Unused)
            continue;
        const std::string shown = e.displayName();
        if (shown == wanted)
            return &e;
        if (!folded && equalsIgnoringCase(shown, wanted))
            folded = &e;
    }
    return folded;
}

void PartitionTable::writeEntries(const std::vector<PartitionEntry>& entries)
{
    const unsigned perLogical = 512 / medium_->sectorBytes();
    std::vector<uint64_t> order;
    std::map<uint64_t, std::vector<const PartitionEntry*>> bySector;
    for (const auto& e : entries) {
        if (e.index >= capacity_)
            throw ToolError("partition table of " + medium_->path() + " is full");
        const uint64_t sector = uint64_t(e.index) * PartitionEntry::kSize / 512;
        if (!bySector.count(sector))
            order.push_back(sector);
        bySector[sector].push_back(&e);
    }
    for (uint64_t sector : order) {
        uint8_t bytes[512];
        const uint64_t lba = tableLba_ + sector * perLogical;
        medium_->readSectors(lba, perLogical, bytes);
        for (const PartitionEntry* e : bySector[sector]) {
            std::memcpy(&bytes[(size_t(e->index) * PartitionEntry::kSize) % 512], e->raw.data(), PartitionEntry::kSize);
            if (e->index >= slots_.size()) {
                const size_t old = slots_.size();
                slots_.resize(e->index + 1);
                for (size_t i = old; i < slots_.size(); ++i)
                    slots_[i].index = unsigned(i);
            }
            slots_[e->index] = *e;
        }
        medium_->writeSectors(lba, perLogical, bytes);
    }
}

}  // namespace p3tool

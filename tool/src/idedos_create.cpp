#include "idedos_create.h"

#include <cstring>
#include <vector>

#include "hdf_header.h"
#include "tool_error.h"

namespace p3tool {

namespace {

uint32_t tracks(const Geometry& g) { return g.cylinders * g.heads; }

void setTrackExtent(PartitionEntry& e, const Geometry& g, uint32_t firstTrack, uint32_t lastTrack, unsigned sectorBytes)
{
    const uint64_t logical = uint64_t(lastTrack - firstTrack + 1) * g.sectors * sectorBytes / 512;
    e.setExtent(uint16_t(firstTrack / g.heads), uint8_t(firstTrack % g.heads), uint16_t(lastTrack / g.heads),
                uint8_t(lastTrack % g.heads), uint32_t(logical - 1));
}

}  // namespace

Geometry geometryForSize(uint64_t bytes)
{
    const uint32_t shapes[][2] = {{16, 32}, {16, 63}, {255, 63}};
    for (const auto& s : shapes) {
        const uint64_t cylinders = bytes / (uint64_t(s[0]) * s[1] * 512);
        if (cylinders <= 65535) {
            if (cylinders < 2)
                throw ToolError("a disk of " + std::to_string(bytes) + " bytes is too small (at least 512 KB)");
            return Geometry{uint32_t(cylinders), s[0], s[1]};
        }
    }
    throw ToolError("a disk of " + std::to_string(bytes) + " bytes is too large for IDEDOS (at most 512 GB)");
}

void validateCreateOptions(const CreateOptions& o)
{
    const Geometry& g = o.geometry;
    if (g.cylinders < 1 || g.cylinders > 65535)
        throw ToolError("cylinders must lie between 1 and 65535");
    if (g.heads < 1 || g.heads > 255)
        throw ToolError("heads must lie between 1 and 255");
    if (g.sectors < 1 || g.sectors > 255)
        throw ToolError("sectors per track must lie between 1 and 255");
    if (o.maxPartitions < 2 || o.maxPartitions > 65535)
        throw ToolError("the number of partition entries must lie between 2 and 65535");
    if (o.raw && o.revision10)
        throw ToolError("a raw image has no HDF header to be of revision 1.0");
}

void createImage(const std::string& path, const CreateOptions& o)
{
    validateCreateOptions(o);
    const Geometry& g = o.geometry;
    const unsigned sectorBytes = o.eightBit ? 256 : 512;
    const uint32_t trackBytes = g.sectors * sectorBytes;
    const uint32_t tableFirst = o.tableAtHead1 ? 1 : 0;
    const uint32_t tableTracks = uint32_t((uint64_t(o.maxPartitions) * PartitionEntry::kSize + trackBytes - 1) / trackBytes);
    if (uint64_t(tableFirst) + tableTracks >= tracks(g))
        throw ToolError("the disk is too small to hold a partition table and free space");
    // A table entry's largest logical sector is 32-bit.
    const uint64_t sectors = uint64_t(tracks(g)) * g.sectors;

    std::vector<uint8_t> header;
    if (!o.raw)
        header = buildHdfHeader(o.revision10, o.eightBit, uint16_t(g.cylinders), uint8_t(g.heads), uint8_t(g.sectors));
    const uint64_t fileSectorBytes = (!o.raw && o.eightBit) ? 256 : 512;
    auto storage = FileStorage::create(path, header.size() + sectors * fileSectorBytes);
    try {
        if (!header.empty())
            storage->write(0, header.data(), header.size());
        auto medium = Medium::fromStorage(std::move(storage));
        medium->setLayout(o.eightBit ? SectorLayout::Even8 : SectorLayout::Wide16);

        PartitionEntry system;
        system.index = 0;
        std::memcpy(system.raw.data(), "PLUSIDEDOS      ", 16);
        system.raw[0x10] = PartitionType::System;
        setTrackExtent(system, g, tableFirst, tableFirst + tableTracks - 1, sectorBytes);
        putLe16(&system.raw[0x20], g.cylinders);
        system.raw[0x22] = uint8_t(g.heads);
        system.raw[0x23] = uint8_t(g.sectors);
        putLe16(&system.raw[0x24], g.heads * g.sectors);
        putLe16(&system.raw[0x26], o.maxPartitions);

        PartitionEntry freeSpace;
        freeSpace.index = 1;
        freeSpace.raw[0x10] = PartitionType::Free;
        setTrackExtent(freeSpace, g, tableFirst + tableTracks, tracks(g) - 1, sectorBytes);

        uint8_t first[512] = {};
        std::memcpy(first, system.raw.data(), 64);
        std::memcpy(first + 64, freeSpace.raw.data(), 64);
        medium->writeSectors(uint64_t(tableFirst) * g.sectors, 512 / sectorBytes, first);
        medium->sync();
    } catch (...) {
        ::remove(path.c_str());
        throw;
    }
}

void validatePartitionName(const std::string& name)
{
    if (name.empty() || name.size() > 16)
        throw ToolError("partition name \"" + name + "\" must have 1 to 16 characters");
    if (name.front() == ' ')
        throw ToolError("partition name \"" + name + "\" must not begin with a blank");
    for (char c : name)
        if (c < 0x20 || c > 0x7E || c == ',' || c == ':' || c == '"')
            throw ToolError("partition name \"" + name + "\" holds a character a partition name cannot hold");
}

}  // namespace p3tool

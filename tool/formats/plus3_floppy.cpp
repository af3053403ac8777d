#include "plus3_floppy.h"

#include <algorithm>

namespace p3tool::formats {

namespace {

constexpr unsigned kMaxBlocks = 65536;  // block pointers are at most 16 bits

struct Geometry {
    uint8_t sidedness;
    unsigned tracksPerSide;
    unsigned sectorsPerTrack;
    uint8_t psh;
    unsigned off;
    uint8_t bsh;
    unsigned directoryBlocks;
    uint8_t firstSectorId;
    uint8_t gapReadWrite;
    uint8_t gapFormat;
};

[[noreturn]] void refuse(const std::string& why)
{
    throw FormatError("unsupported floppy format: " + why);
}

// Fills in the CP/M parameters that follow from the geometry, refusing impossible values.
Plus3DiskFormat formatFrom(const Geometry& g, Plus3DiskFormat::Source source, uint8_t formatByte)
{
    if ((g.sidedness & 3) == 3)
        refuse("sidedness byte " + std::to_string(g.sidedness) + " is not 0, 1 or 2");
    if (g.tracksPerSide == 0)
        refuse("the disk has 0 tracks per side");
    if (g.sectorsPerTrack == 0 || g.sectorsPerTrack + g.firstSectorId > 256)
        refuse(std::to_string(g.sectorsPerTrack) + " sectors per track");
    if (g.psh > 5)
        refuse("sector size code " + std::to_string(g.psh) + " (more than 4096 bytes)");
    if (g.bsh < 3 || g.bsh > 7)
        refuse("block size code " + std::to_string(g.bsh) + " (blocks are 1 KB to 16 KB)");
    if (g.bsh < g.psh)
        refuse("blocks are smaller than sectors");
    const unsigned sides = (g.sidedness & 3) == SingleSided ? 1 : 2;
    const unsigned tracks = g.tracksPerSide * sides;
    if (g.off >= tracks)
        refuse(std::to_string(g.off) + " reserved tracks on a disk of " + std::to_string(tracks));
    if (g.directoryBlocks == 0 || g.directoryBlocks > 16)
        refuse(std::to_string(g.directoryBlocks) + " directory blocks (1 to 16 are possible)");

    Plus3DiskFormat f;
    f.source = source;
    f.formatByte = formatByte;
    f.sidedness = g.sidedness;
    f.tracksPerSide = g.tracksPerSide;
    f.sectorsPerTrack = g.sectorsPerTrack;
    f.sectorSize = 128u << g.psh;
    f.firstSectorId = g.firstSectorId;
    f.gapReadWrite = g.gapReadWrite;
    f.gapFormat = g.gapFormat;
    f.spt = g.sectorsPerTrack * f.sectorSize / 128;
    f.bsh = g.bsh;
    f.blm = uint8_t((1u << g.bsh) - 1);
    f.off = g.off;
    f.psh = g.psh;
    f.phm = uint8_t((1u << g.psh) - 1);

    const unsigned block = f.blockSize();
    const uint64_t blocks = uint64_t(tracks - g.off) * g.sectorsPerTrack * f.sectorSize / block;
    if (blocks <= g.directoryBlocks)
        refuse("the disk has no room beyond its directory");
    if (blocks > kMaxBlocks)
        refuse(std::to_string(blocks) + " blocks, more than 65536");
    f.dsm = unsigned(blocks - 1);
    if (f.dsm > 255 && block < 2048)
        refuse("more than 256 blocks of 1 KB");
    f.exm = uint8_t(f.dsm > 255 ? block / 2048 - 1 : block / 1024 - 1);
    f.drm = g.directoryBlocks * block / 32 - 1;
    const unsigned bitmap = (0xFFFFu << (16 - g.directoryBlocks)) & 0xFFFFu;
    f.al0 = uint8_t(bitmap >> 8);
    f.al1 = uint8_t(bitmap & 0xFF);
    f.cks = (f.drm + 1) / 4;
    return f;
}

Geometry standardPlus3()
{
    return Geometry{SingleSided, 40, 9, 2, 1, 3, 2, 1, 0x2A, 0x52};
}

Geometry cpc(uint8_t firstSectorId, unsigned reservedTracks)
{
    return Geometry{SingleSided, 40, 9, 2, reservedTracks, 3, 2, firstSectorId, 0x2A, 0x52};
}

}  // namespace

Plus3DiskFormat detectPlus3Format(const DskImage& image)
{
    const DskTrack* track0;
    try {
        track0 = &image.track(0, 0);
    } catch (const FormatError& e) {
        throw FormatError(std::string("cannot tell the floppy's format: ") + e.what());
    }
    if (track0->sectors.empty())
        throw FormatError("cannot tell the floppy's format: track 0 side 0 has no sectors");
    const uint8_t lowestId =
        std::min_element(track0->sectors.begin(), track0->sectors.end(),
                         [](const DskSector& a, const DskSector& b) {
                             return a.sectorId < b.sectorId;
                         })->sectorId;
    if (lowestId >= 0x41 && lowestId <= 0x49)
        return formatFrom(cpc(0x41, 2), Plus3DiskFormat::Source::CpcSystem, 1);
    if (lowestId >= 0xC1 && lowestId <= 0xC9)
        return formatFrom(cpc(0xC1, 0), Plus3DiskFormat::Source::CpcData, 2);

    std::span<const uint8_t> sector;
    try {
        sector = image.readSector(0, 0, 1);
    } catch (const FormatError& e) {
        throw FormatError(std::string("cannot tell the floppy's format: ") + e.what());
    }
    if (std::all_of(sector.begin(), sector.end(), [](uint8_t b) { return b == 0xE5; }))
        return formatFrom(standardPlus3(), Plus3DiskFormat::Source::AssumedPlus3, 0);
    if (sector.size() < 16)
        throw FormatError("cannot tell the floppy's format: sector 1 of track 0 is too short");
    const uint8_t formatByte = sector[0];
    if (formatByte != 0 && formatByte != 3)
        throw FormatError("not a +3 floppy: track 0 sector 1 holds no disk specification "
                          "record (format byte " +
                          std::to_string(formatByte) + ")");
    const Geometry g{sector[1], sector[2], sector[3], sector[4], sector[5],
                     sector[6], sector[7], 1,         sector[8], sector[9]};
    return formatFrom(g, Plus3DiskFormat::Source::Record, formatByte);
}

std::string describeFormat(const Plus3DiskFormat& f)
{
    std::string origin;
    switch (f.source) {
    case Plus3DiskFormat::Source::Record:
        origin = f.formatByte == 3 ? "PCW double-sided format" : "+3 format";
        break;
    case Plus3DiskFormat::Source::AssumedPlus3: origin = "standard +3 format"; break;
    case Plus3DiskFormat::Source::CpcSystem: origin = "CPC system format"; break;
    case Plus3DiskFormat::Source::CpcData: origin = "CPC data format"; break;
    }
    const bool single = f.sides() == SingleSided;
    return origin + ": " + std::to_string(f.tracksPerSide) + " tracks, " +
           (single ? "1 side, " : "2 sides, ") + std::to_string(f.sectorsPerTrack) + " x " +
           std::to_string(f.sectorSize) + "-byte sectors, " + std::to_string(f.blockSize() / 1024) +
           " KB blocks, " + std::to_string(f.drm + 1) + " directory entries";
}

Plus3Floppy::Plus3Floppy(DskImage image) : image_(std::move(image))
{
    format_ = detectPlus3Format(image_);
}

Plus3Floppy::Plus3Floppy(DskImage image, const Plus3DiskFormat& format)
    : image_(std::move(image)), format_(format)
{
    if (format_.sectorsPerTrack == 0 || format_.sectorSize == 0 ||
        format_.blockSize() < format_.sectorSize)
        throw FormatError("unsupported floppy format: no sectors or blocks smaller than sectors");
}

std::vector<uint8_t> Plus3Floppy::readLogicalSector(unsigned logicalSector) const
{
    const Plus3DiskFormat& f = format_;
    const unsigned logicalTrack = f.off + logicalSector / f.sectorsPerTrack;
    const uint8_t sectorId = uint8_t(f.firstSectorId + logicalSector % f.sectorsPerTrack);
    int cylinder = int(logicalTrack);
    int side = 0;
    switch (f.sides()) {
    case AlternateSides:
        cylinder = int(logicalTrack / 2);
        side = int(logicalTrack % 2);
        break;
    case SuccessiveSides:
        if (logicalTrack >= f.tracksPerSide) {
            cylinder = int(logicalTrack - f.tracksPerSide);
            side = 1;
        }
        break;
    default: break;
    }
    const auto data = image_.readSector(cylinder, side, sectorId);
    if (data.size() != f.sectorSize)
        throw FormatError(dskTrackName(cylinder, side) + " sector " + std::to_string(sectorId) +
                          " holds " + std::to_string(data.size()) + " bytes, not " +
                          std::to_string(f.sectorSize));
    return std::vector<uint8_t>(data.begin(), data.end());
}

std::vector<uint8_t> Plus3Floppy::readBlock(unsigned block) const
{
    if (block > format_.dsm)
        throw FormatError("block " + std::to_string(block) + " is beyond the last block (" +
                          std::to_string(format_.dsm) + ") of the floppy");
    const unsigned perBlock = format_.blockSize() / format_.sectorSize;
    std::vector<uint8_t> data;
    data.reserve(format_.blockSize());
    try {
        for (unsigned i = 0; i < perBlock; ++i) {
            const auto sector = readLogicalSector(block * perBlock + i);
            data.insert(data.end(), sector.begin(), sector.end());
        }
    } catch (const FormatError& e) {
        throw FormatError("block " + std::to_string(block) + ": " + e.what());
    }
    return data;
}

}  // namespace p3tool::formats

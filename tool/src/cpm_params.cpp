#include "cpm_params.h"

#include "bytes.h"

namespace p3tool {

DiskParams DiskParams::fromXdpb(const uint8_t* x)
{
    DiskParams p;
    p.spt = le16(x + 0);
    p.bsh = x[2];
    p.blm = x[3];
    p.exm = x[4];
    p.dsm = le16(x + 5);
    p.drm = le16(x + 7);
    p.al0 = x[9];
    p.al1 = x[10];
    p.cks = le16(x + 11);
    p.off = le16(x + 13);
    p.psh = x[15];
    p.phm = x[16];
    return p;
}

void DiskParams::toXdpb(uint8_t* x) const
{
    putLe16(x + 0, spt);
    x[2] = bsh;
    x[3] = blm;
    x[4] = exm;
    putLe16(x + 5, dsm);
    putLe16(x + 7, drm);
    x[9] = al0;
    x[10] = al1;
    putLe16(x + 11, cks);
    putLe16(x + 13, off);
    x[15] = psh;
    x[16] = phm;
}

uint8_t DiskParams::plus3eTracks(unsigned megabytes)
{
    return megabytes >= 16 ? 255 : uint8_t(16 * megabytes);
}

DiskParams DiskParams::plus3e(unsigned megabytes)
{
    DiskParams p;
    p.spt = 512;
    if (megabytes <= 4) {
        p.bsh = 4;
        p.al0 = 0xFF;
    } else if (megabytes <= 8) {
        p.bsh = 5;
        p.al0 = 0xF0;
    } else {
        p.bsh = 6;
        p.al0 = 0xC0;
    }
    p.blm = uint8_t((1u << p.bsh) - 1);
    p.exm = uint8_t(p.blockSize() / 2048 - 1);
    const uint64_t bytes = uint64_t(plus3eTracks(megabytes)) * 128 * 512;
    p.dsm = uint16_t(bytes / p.blockSize() - 1);
    p.drm = 511;
    p.al1 = 0;
    p.cks = 0x8000;
    p.off = 0;
    p.psh = 2;
    p.phm = 3;
    return p;
}

std::vector<uint32_t> DiskParams::directoryBlocks() const
{
    std::vector<uint32_t> blocks;
    for (uint32_t b = 0; b < 16; ++b)
        if (isDirectoryBlock(b))
            blocks.push_back(b);
    return blocks;
}

bool DiskParams::isDirectoryBlock(uint32_t block) const
{
    if (block >= 16)
        return false;
    const unsigned mask = (unsigned(al0) << 8) | al1;
    return (mask & (0x8000u >> block)) != 0;
}

uint8_t DiskParams::maximumExtentMask() const
{
    const uint32_t perEntry = blockSize() * pointersPerEntry();
    const uint32_t extents = perEntry / 16384;
    return extents == 0 ? 0 : uint8_t(extents - 1);
}

std::string DiskParams::problem(uint64_t sourceBytes) const
{
    if (bsh < 3 || bsh > 7)
        return "block shift " + std::to_string(bsh) + " is impossible";
    if (blm != (1u << bsh) - 1)
        return "block mask " + std::to_string(blm) + " does not match block shift " + std::to_string(bsh);
    if (widePointers() && blockSize() < 2048)
        return "1 KB blocks with more than 256 blocks";
    if (exm > maximumExtentMask() || ((exm + 1) & exm) != 0)
        return "extent mask " + std::to_string(exm) + " is impossible for " + std::to_string(blockSize()) +
               "-byte blocks";
    const auto dir = directoryBlocks();
    if (dir.empty())
        return "no directory blocks";
    if (uint64_t(directoryEntries()) * 32 > uint64_t(dir.size()) * blockSize())
        return std::to_string(directoryEntries()) + " directory entries do not fit in " + std::to_string(dir.size()) +
               " directory blocks";
    if (dir.back() >= blockCount())
        return "directory blocks lie past the last block";
    if (off > 0 && spt == 0)
        return "reserved tracks of no size";
    if (reservedBytes() + uint64_t(blockCount()) * blockSize() > sourceBytes)
        return "its " + std::to_string(blockCount()) + " blocks of " + std::to_string(blockSize()) +
               " bytes do not fit in its " + std::to_string(sourceBytes) + " bytes";
    return {};
}

}  // namespace p3tool

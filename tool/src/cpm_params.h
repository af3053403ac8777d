#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace p3tool {

// The parameters of a CP/M file system (the stored part of an XDPB).
struct DiskParams {
    uint16_t spt = 0;  // 128-byte records per track
    uint8_t bsh = 0;   // log2(block size / 128)
    uint8_t blm = 0;
    uint8_t exm = 0;   // extent mask
    uint16_t dsm = 0;  // blocks - 1
    uint16_t drm = 0;  // directory entries - 1
    uint8_t al0 = 0;   // directory block bitmap
    uint8_t al1 = 0;
    uint16_t cks = 0;
    uint16_t off = 0;  // reserved tracks
    uint8_t psh = 0;
    uint8_t phm = 0;

    static DiskParams fromXdpb(const uint8_t* xdpb);  // at least 17 bytes
    void toXdpb(uint8_t* xdpb) const;                 // writes 17 bytes

    // The parameters the +3e gives a +3DOS partition of 1..16 MB.
    static DiskParams plus3e(unsigned megabytes);
    // Tracks per side the +3e stores for that size (entry byte 0x32).
    static uint8_t plus3eTracks(unsigned megabytes);

    uint32_t blockSize() const { return 128u << bsh; }
    uint32_t blockCount() const { return uint32_t(dsm) + 1; }
    bool widePointers() const { return dsm > 255; }
    unsigned pointersPerEntry() const { return widePointers() ? 8 : 16; }
    unsigned directoryEntries() const { return unsigned(drm) + 1; }
    uint64_t reservedBytes() const { return uint64_t(off) * spt * 128; }
    // Blocks flagged in AL0/AL1, ascending.
    std::vector<uint32_t> directoryBlocks() const;
    bool isDirectoryBlock(uint32_t block) const;
    // The largest extent mask an entry can hold with this block size.
    uint8_t maximumExtentMask() const;

    // Why these parameters cannot describe a file system on a source of the
    // given size in bytes (empty when they can).
    std::string problem(uint64_t sourceBytes) const;
};

}  // namespace p3tool

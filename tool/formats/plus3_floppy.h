#pragma once

// The CP/M view of a +3 (or PCW, or CPC) floppy held in a DSK image: the disk parameters taken
// from the disk specification record on track 0, and access by logical sector and by block.

#include <cstdint>
#include <string>
#include <vector>

#include "dsk_image.h"

namespace p3tool::formats {

// Sidedness, in the encoding of the XDPB (bits 0-1; bit 7 "double track" is kept in `sidedness`
// but does not change how an image is read).
enum FloppySides : uint8_t {
    SingleSided = 0,
    AlternateSides = 1,   // logical track T is cylinder T / 2, side T % 2
    SuccessiveSides = 2,  // side 0 holds tracks 0..tps-1, side 1 the rest
};

struct Plus3DiskFormat {
    // Where the parameters came from.
    enum class Source {
        Record,         // the disk specification record in sector 1 of track 0
        AssumedPlus3,   // that sector is all 0xE5: the standard +3 format
        CpcSystem,      // first sector ID 0x41: CPC system format (no record)
        CpcData,        // first sector ID 0xC1: CPC data format (no record)
    };
    Source source = Source::Record;
    uint8_t formatByte = 0;  // record byte 0: 0 = +3 / PCW single-sided, 3 = PCW double-sided

    // Physical geometry.
    uint8_t sidedness = 0;  // record byte 1; see FloppySides
    unsigned tracksPerSide = 0;
    unsigned sectorsPerTrack = 0;
    unsigned sectorSize = 0;
    uint8_t firstSectorId = 1;
    uint8_t gapReadWrite = 0;
    uint8_t gapFormat = 0;

    // CP/M parameters (XDPB).
    unsigned spt = 0;  // 128-byte records per track
    uint8_t bsh = 0;
    uint8_t blm = 0;
    uint8_t exm = 0;
    unsigned dsm = 0;  // blocks - 1, directory included
    unsigned drm = 0;  // directory entries - 1
    uint8_t al0 = 0;
    uint8_t al1 = 0;
    unsigned cks = 0;
    unsigned off = 0;  // reserved tracks
    uint8_t psh = 0;
    uint8_t phm = 0;

    unsigned blockSize() const { return 128u << bsh; }
    unsigned directoryBlocks() const { return (drm + 1) * 32 / blockSize(); }
    // Block pointers in a directory entry are 16-bit when there are more than 256 blocks.
    bool wideBlockPointers() const { return dsm > 255; }
    FloppySides sides() const { return FloppySides(sidedness & 3); }
};

// Works out the format of the disk in the image (track 0 side 0):
//   * first sector ID 0x41-0x49 → CPC system format; 0xC1-0xC9 → CPC data format;
//   * otherwise the sector with ID 1: all 0xE5 → the standard +3 format; else its first 16
//     bytes must be a disk specification record (format byte 0 or 3, sane values).
// The CP/M parameters follow from the geometry: SPT = sectors x size / 128;
// DSM = (tracks x sides - OFF) x sectors x size / block - 1; DRM = directory blocks x block / 32
// - 1; AL0/AL1 = that many top bits; EXM = block / 1024 - 1 (block / 2048 - 1 when DSM > 255);
// CKS = (DRM + 1) / 4.
// Throws FormatError when track 0 cannot be read, or when the record is absent or impossible
// (the message says which value is wrong).
Plus3DiskFormat detectPlus3Format(const DskImage& image);

// A short description for messages, e.g. "+3 format: 40 tracks, 1 side, 9 x 512-byte sectors,
// 1 KB blocks, 64 directory entries".
std::string describeFormat(const Plus3DiskFormat& format);

// A DSK image together with its CP/M format: reads logical sectors and blocks.
class Plus3Floppy {
public:
    // Detects the format (see detectPlus3Format); throws FormatError.
    explicit Plus3Floppy(DskImage image);
    // Uses the given format (e.g. one detectPlus3Format() returned, or one the caller knows).
    Plus3Floppy(DskImage image, const Plus3DiskFormat& format);

    const DskImage& image() const { return image_; }
    const Plus3DiskFormat& format() const { return format_; }

    // Logical sector L counts the sectors of the file system from its first one (after the
    // reserved tracks): logical track T = OFF + L / sectors per track, sector ID = first ID +
    // L % sectors per track; T maps to cylinder and side by the sidedness. The sector must
    // exist and hold exactly sectorSize bytes; otherwise FormatError.
    std::vector<uint8_t> readLogicalSector(unsigned logicalSector) const;

    // Block b (0 = first directory block), blockSize() bytes. Throws FormatError when b > DSM or
    // one of its sectors cannot be read.
    std::vector<uint8_t> readBlock(unsigned block) const;

private:
    DskImage image_;
    Plus3DiskFormat format_;
};

}  // namespace p3tool::formats

#pragma once

// Reading floppy images in the standard ("MV - CPC...") and extended ("EXTENDED...") DSK formats.
//
// DskImage checks the disk and track information blocks once, when it is built, and keeps the
// image bytes. Damage that only affects part of the disk (a track cut off by the end of the file,
// a track block without its "Track-Info" signature, sector data that does not fit its track) is
// recorded and reported as a FormatError when that track or sector is asked for, so the intact
// parts stay readable. Nothing is ever read outside the image.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats_error.h"

namespace p3tool::formats {

struct DskSector {
    // The sector ID fields as recorded in the track's sector list (C, H, R, N) and the FDC status.
    uint8_t cylinderId = 0;
    uint8_t headId = 0;
    uint8_t sectorId = 0;  // R: what readSector() looks for
    uint8_t sizeCode = 0;  // N: nominal size 128 << N
    uint8_t status1 = 0;
    uint8_t status2 = 0;
    // Where the sector's data lies in the image and how many bytes readSector() returns:
    // the stored length, at most the nominal size.
    std::size_t offset = 0;
    std::size_t size = 0;
    // Empty when the data can be read; otherwise why it cannot (thrown by readSector()).
    std::string problem;
};

struct DskTrack {
    // False when the image holds no block for this track (extended images mark unformatted
    // tracks so, and images may simply end early).
    bool present = false;
    // Empty when the track information block is sound; otherwise why it is not (thrown when
    // the track is asked for).
    std::string problem;
    uint8_t trackNumber = 0;  // as recorded in the track information block
    uint8_t sideNumber = 0;
    uint8_t sizeCode = 0;
    uint8_t gap3 = 0;
    uint8_t filler = 0;
    std::vector<DskSector> sectors;  // in the order of the sector list, not by ID
};

class DskImage {
public:
    // Checks the disk information block and every track information block. Throws FormatError
    // when the bytes are not a DSK image at all (no signature, shorter than 256 bytes, not 1 or
    // 2 sides, more track blocks than an extended table can hold).
    explicit DskImage(std::vector<uint8_t> bytes);

    bool isExtended() const { return extended_; }
    int cylinders() const { return cylinders_; }
    int sides() const { return sides_; }
    // The creator name of the disk information block, trailing blanks and NULs dropped.
    const std::string& creator() const { return creator_; }

    // The track of the given cylinder and side. Throws FormatError when it lies outside the
    // image's geometry, is absent, or is damaged.
    const DskTrack& track(int cylinder, int side) const;

    // The data of the sector whose ID (R) is sectorId on that track, found by searching the
    // track's sector list (the first entry with that ID wins). Throws FormatError when the track
    // or the sector is missing or damaged.
    std::span<const uint8_t> readSector(int cylinder, int side, uint8_t sectorId) const;

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    bool extended_ = false;
    int cylinders_ = 0;
    int sides_ = 0;
    std::string creator_;
    std::vector<DskTrack> tracks_;  // cylinder * sides + side
};

// A readable description such as "cylinder 3 side 0", used in the messages of this library.
std::string dskTrackName(int cylinder, int side);

}  // namespace p3tool::formats

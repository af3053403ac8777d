#pragma once

// The files in the CP/M directory of a floppy: a small read-only walk, enough to copy every file
// of a +3 floppy elsewhere with its name, user number, attributes and exact records.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "plus3_floppy.h"

namespace p3tool::formats {

struct FloppyFile {
    uint8_t user = 0;  // 0-15
    // Name and type as stored in the entry with the lowest extent number, attribute bits (bit 7)
    // included. Plus3Name::fromDirectoryBytes() gives the plain name.
    std::array<uint8_t, 11> name{};
    // Block pointers in file order over all its entries (0 = no block: a hole). Entry k of the
    // file, counted in steps of EXM + 1 logical extents, holds pointers k x 16 .. k x 16 + 15
    // (k x 8 .. with 16-bit pointers).
    std::vector<unsigned> blocks;
    // Length in 128-byte records: X x 128 + RC of the entry with the highest extent number X.
    uint32_t records = 0;
    // Byte 0x0D (S1) of that entry: bytes used in the last record, 0 = not recorded (whole).
    uint8_t lastRecordBytes = 0;
    // Directory entries the file uses.
    unsigned entries = 0;

    // Exact length in bytes when S1 is recorded, else records x 128. (A +3DOS header inside the
    // data, when present, states the length more precisely.)
    uint32_t byteLength() const
    {
        return lastRecordBytes != 0 && records > 0 ? (records - 1) * 128 + lastRecordBytes
                                                   : records * 128;
    }
};

// Reads the directory (the blocks flagged in AL0/AL1, DRM + 1 entries) and groups the entries
// with user numbers 0-15 by user and name (bit 7 ignored). Other entries (free 0xE5, labels,
// timestamps) are passed over. Files come in the order their first entry appears. Throws
// FormatError when a directory block cannot be read.
std::vector<FloppyFile> listFloppyFiles(const Plus3Floppy& floppy);

// The file's data: records x 128 bytes, whole records, as CP/M stores them (a +3DOS header, when
// present, is the first 128 bytes). Holes read as zeros. Throws FormatError when a block pointer
// lies outside the data area or a block cannot be read; the message names the file.
std::vector<uint8_t> readFloppyFile(const Plus3Floppy& floppy, const FloppyFile& file);

}  // namespace p3tool::formats

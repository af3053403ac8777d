#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "block_source.h"
#include "cpm_params.h"
#include "plus3_header.h"

namespace p3tool {

using DirEntry = std::array<uint8_t, 32>;

namespace DirStatus {
constexpr uint8_t Free = 0xE5;
constexpr uint8_t LastUser = 0x0F;
}  // namespace DirStatus

// Extent number of a directory entry: (S2 & 3F) x 32 + (EX & 1F).
inline uint32_t extentNumber(const DirEntry& e) { return uint32_t(e[14] & 0x3F) * 32 + (e[12] & 0x1F); }
inline bool isFileEntry(const DirEntry& e) { return e[0] <= DirStatus::LastUser; }

// The name of a file as the tool shows and matches it: NAME.EXT with the
// padding removed and bit 7 (attributes) masked off. Bytes that would be
// unsafe in a host file name or a record (control bytes, blanks, "/", "\",
// ",", ":", ".", 0x7F) are shown as "_"; an empty name part as "_". So a
// shown name never holds a path separator and is never "." or "..".
std::string displayFileName(const uint8_t* name11);

// One file: every directory entry of one user number and name.
struct CpmFile {
    uint8_t user = 0;
    std::array<uint8_t, 11> name{};  // bit 7 masked off, padded with blanks
    std::vector<unsigned> slots;     // directory entries, ordered by extent number
    uint32_t records = 0;            // length in 128-byte records
    uint8_t lastRecordBytes = 0;     // S1 of the last entry: bytes used in the last record, 0 = all
    bool readOnly = false;           // t1'
    bool system = false;             // t2'
    bool archived = false;           // t3'
    uint8_t userAttributes = 0;      // f1'..f4' as bits 3..0
    uint32_t allocatedBlocks = 0;    // non-zero block pointers

    std::string displayName() const { return displayFileName(name.data()); }
    uint64_t recordBytes() const { return uint64_t(records) * 128; }
    // Exact length of a file without a +3DOS header (S1 rule).
    uint64_t exactLength() const
    {
        return (records > 0 && lastRecordBytes > 0 && lastRecordBytes < 128)
                   ? uint64_t(records - 1) * 128 + lastRecordBytes
                   : recordBytes();
    }
};

// A CP/M 2.2 file system as +3DOS keeps it, over any block source. The
// directory is read when the object is made; files are read on demand.
class CpmFileSystem {
public:
    // Throws ToolError when the parameters cannot describe a file system on
    // this source.
    CpmFileSystem(BlockSource& source, const DiskParams& params);

    BlockSource& source() { return source_; }
    const DiskParams& params() const { return params_; }
    const std::vector<DirEntry>& directory() const { return directory_; }

    // Every file, of every user number, in the order of their first entry.
    std::vector<CpmFile> files() const;
    std::vector<CpmFile> filesOfUser(uint8_t user) const;

    // The file's bytes, record by record, up to maxBytes (holes read as
    // zeros). Throws ToolError for a block pointer past the last block.
    std::vector<uint8_t> readFile(const CpmFile& file, uint64_t maxBytes = UINT64_MAX);
    // The same bytes handed to sink in order, at most chunkBytes at a time
    // (rounded down to whole sectors): memory stays bounded whatever the
    // file's length. Throws before the first piece for a damaged pointer.
    void streamFile(const CpmFile& file, uint64_t maxBytes, size_t chunkBytes,
                    const std::function<void(const uint8_t*, size_t)>& sink);
    // The +3DOS header of a file, if it has one (reads one record).
    std::optional<Plus3Header> readHeader(const CpmFile& file);

    // Blocks in use: the directory's and every pointer of a file entry.
    std::vector<bool> usedBlocks() const;
    uint32_t freeBlocks() const;

    // Sector positions.
    uint64_t blockFirstSector(uint32_t block) const;
    uint32_t sectorsPerBlock() const { return params_.blockSize() / source_.sectorSize(); }
    // Directory slot -> (sector, byte offset in that sector).
    uint64_t slotSector(unsigned slot) const;
    size_t slotOffsetInSector(unsigned slot) const;

    // Block pointer k of an entry (0 = none).
    uint32_t pointer(const DirEntry& e, unsigned k) const;
    void setPointer(DirEntry& e, unsigned k, uint32_t block) const;

    // Writes the given directory slots from the in-memory copy, one sector
    // write per sector, sectors in the order their first slot is listed.
    void writeSlots(const std::vector<unsigned>& slots);
    DirEntry& slot(unsigned i) { return directory_[i]; }
    // Writes count neighbouring data blocks (count x blockSize() bytes);
    // refuses directory blocks and blocks past the last.
    void writeBlocks(uint32_t first, uint32_t count, const uint8_t* data);
    void sync() { source_.sync(); }

private:
    struct Piece {
        uint64_t from;  // offset in the file system
        uint64_t to;    // offset in the file
        uint64_t length;
    };
    // Where the first total bytes of the file lie, neighbouring blocks
    // merged; holes are left out.
    std::vector<Piece> filePieces(const CpmFile& file, uint64_t total) const;
    void readBytes(uint64_t fsOffset, uint8_t* out, size_t length);

    BlockSource& source_;
    DiskParams params_;
    std::vector<DirEntry> directory_;
    std::vector<uint32_t> directoryBlocks_;
};

// The file of user 0 with this shown name: an exact match first, else the
// first whose name matches case aside (blanks around the request ignored).
const CpmFile* findFile(const std::vector<CpmFile>& files, const std::string& name);

}  // namespace p3tool

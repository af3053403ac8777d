#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "cpm_filesystem.h"

namespace p3tool {

// A file to be stored: its directory name, user number, bytes and attributes.
struct FileToStore {
    uint8_t user = 0;
    std::array<uint8_t, 11> name{};  // 7-bit name and type, padded with blanks
    std::vector<uint8_t> bytes;
    bool readOnly = false;
    bool system = false;
    bool archived = false;
    uint8_t userAttributes = 0;  // f1'..f4' as bits 3..0
};

// Writes files into a CP/M file system so that an interruption at any point
// never damages a file that was there:
//   1. the data goes into free blocks only (never a block of the file being
//      replaced), before any directory entry points at it;
//   2. the new entries are written before the old ones are released. When
//      the new entries fit into the directory sector that holds the old file
//      (or, for a new file, into one sector), a single sector write puts the
//      new file in place of the old one, so a reader sees one or the other.
//      Otherwise the new entries are first written under a spare user number,
//      where no reader of user 0 sees them; then the old entries are
//      released and the new ones taken over. Interrupted in between, the
//      directory is still sound and the new file lies complete under the
//      spare user number.
// A write barrier separates the steps on media that need one.
class CpmWriter {
public:
    // The largest file +3DOS holds: 65536 records.
    static constexpr uint64_t kMaxBytes = 65536ull * 128;

    explicit CpmWriter(CpmFileSystem& fs) : fs_(fs) {}

    // Stores the file, replacing a file of the same user number and name
    // (exact name bytes). Refuses, before writing anything, a read-only file
    // to replace, a file too long, a full partition and a full directory.
    void store(const FileToStore& file);

    // Removes every entry of the file; refuses a read-only file.
    void remove(const CpmFile& file);

private:
    CpmFileSystem& fs_;
};

// The name bytes of a file (attribute bits masked off) equal these.
bool sameName(const CpmFile& file, uint8_t user, const std::array<uint8_t, 11>& name);

}  // namespace p3tool

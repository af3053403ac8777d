#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "cpm_filesystem.h"
#include "cpm_staging.h"

namespace p3tool {

// Where the bytes of a file to be stored come from when they are not held
// in memory: read in order, a bounded piece at a time.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Exactly n bytes from offset; ToolError when they cannot be read.
    virtual void read(uint64_t offset, uint8_t* out, size_t n) = 0;
};

// A file to be stored: its directory name, user number, bytes and attributes.
struct FileToStore {
    uint8_t user = 0;
    std::array<uint8_t, 11> name{};  // 7-bit name and type, padded with blanks
    std::vector<uint8_t> bytes;      // the data, unless source is set
    ByteSource* source = nullptr;    // the data, read while they are written
    bool readOnly = false;
    bool system = false;
    bool archived = false;
    uint8_t userAttributes = 0;  // f1'..f4' as bits 3..0
};

// Writes files into a CP/M file system so that an interruption at any point
// leaves the old file whole or the new one whole, never neither and never
// a part:
//   1. the data goes into free blocks only (never a block of the file being
//      replaced), before any directory entry points at it;
//   2. when the new entries fit into the directory sector that holds the old
//      file (or, for a new file, into one sector), a single sector write puts
//      the new file in place of the old one. Otherwise the change is staged
//      through a journal that the next run finishes or undoes (the rule is
//      in cpm_staging.h).
// Deleting a file whose entries lie in several sectors is staged likewise.
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

    // Bytes of data held in memory at once while storing a file.
    static constexpr size_t kChunkBytes = 1024 * 1024;

private:
    // Writes the journal's record into its block and the journal entry,
    // committed or not, into its slot.
    void writeJournal(const StagedChange& change, uint32_t block, unsigned slot, bool committed);
    CpmFileSystem& fs_;
};

// The name bytes of a file (attribute bits masked off) equal these.
bool sameName(const CpmFile& file, uint8_t user, const std::array<uint8_t, 11>& name);

}  // namespace p3tool

#pragma once

// Staged changes: how a change to a file that needs more than one directory
// sector stays whole when the program is killed, the medium pulled out or
// the power cut at any write.
//
// A change whose directory entries all lie in one directory sector (a small
// file replaced in place, a small new file, a small file deleted) is one
// sector write and needs none of this. Any other replace, new file or delete
// goes through a journal: a small file of user 15 named 3ESTAGED.$$S while
// the change is staged, renamed (in place, one sector write) to
// 3ESTAGED.$$C when it is committed.
//
//   1. The new data goes into free blocks, the journal's record into one
//      more free block. No entry points at them yet.
//   2. The journal entry 3ESTAGED.$$S is written into a free slot.
//   3. The new entries are written into free slots under the staging user
//      (a user number 1-14 holding no file of that name), where no reader
//      of the target's user sees them.
//   4. Commit: the journal entry becomes 3ESTAGED.$$C.
//   5. Finish: the old entries are freed, the new ones given the target's
//      user, the journal entry freed last.
// A delete starts at step 4 with no new entries. A write barrier separates
// the steps on media that need one.
//
// The rule every later run applies before it looks at the partition:
//   3ESTAGED.$$S  undo:   every listed new slot that still holds a staged
//                         entry (staging user, target name) is freed. The
//                         old file stays as it was.
//   3ESTAGED.$$C  finish: every listed old slot that still holds an entry of
//                         the target (user and name) is freed, every listed
//                         new slot that holds a staged entry is given the
//                         target's user. The new file replaces the old.
// then the journal entry is freed. Readers apply the rule to their copy of
// the directory only, so they show the state the next write will make;
// writers write it: the sectors of old slots, then those of new slots, the
// journal's own sector last, so a kill during recovery leaves the journal
// for the run after. Applying the rule twice changes nothing more.
//
// Journal record: the first bytes of the journal's block (little-endian).
// | Off    | Size | Field                                                  |
// | 00     | 8    | "3ESTAGE1"                                             |
// | 08     | 1    | user of the target file                                |
// | 09     | 11   | name and type of the target, 7-bit, blank padded       |
// | 14     | 1    | staging user                                           |
// | 15     | 2    | N: new slots                                           |
// | 17     | 2    | M: old slots                                           |
// | 19     | 2N   | new slots (directory entry numbers)                    |
// | 19+2N  | 2M   | old slots                                              |
// | +2M    | 4    | sum of all bytes before it, modulo 2^32                |
// A journal entry whose record does not start with the magic is not ours
// and is left alone; one whose sum or slot numbers are wrong is a fault:
// writes are refused and check reports it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cpm_filesystem.h"

namespace p3tool {

constexpr uint8_t kJournalUser = 15;

struct StagedChange {
    uint8_t user = 0;
    std::array<uint8_t, 11> name{};  // 7-bit, blank padded
    uint8_t stagingUser = 0;
    std::vector<unsigned> newSlots;
    std::vector<unsigned> oldSlots;
};

// A change the journal of a file system says is under way.
struct PendingChange {
    unsigned journalSlot = 0;
    bool committed = false;
    StagedChange change;
    std::string damage;  // set when the journal cannot be read: nothing is applied

    // "an interrupted replace of FILE.BIN: the next write finishes it (the
    // new file replaces the old one)".
    std::string describe() const;
};

// The journal of the file system, if it has one of ours.
std::optional<PendingChange> findPendingChange(CpmFileSystem& fs);

// Applies the rule above to the in-memory directory. Returns the slots to
// write, in the order they must reach the medium (see writeResolution).
struct Resolution {
    std::vector<unsigned> oldSlots, newSlots;
    unsigned journalSlot = 0;
};
Resolution resolveInMemory(CpmFileSystem& fs, const PendingChange& pending);
// Writes a resolution: the journal's sector strictly last.
void writeResolution(CpmFileSystem& fs, const Resolution& r);

// Bytes of the journal record for a change (at most a block).
std::vector<uint8_t> journalRecord(const StagedChange& change);
// The journal entry: user 15, 3ESTAGED.$$S or .$$C, one record count per
// 128 bytes of the record, its block as the first pointer.
DirEntry journalEntry(const CpmFileSystem& fs, bool committed, uint32_t block, size_t recordBytes);

}  // namespace p3tool

#pragma once

// How commands reach a medium: every command goes through one of these two
// doors and nothing else.
//
//   Commands that only read (dir, get, check, showptable, ...):
//       OpenMedium m = openForReading(inv.medium);
//       Plus3Partition p(m, requirePartition(m, name));
//   A shared lock is held while m lives (waiting up to 5 s for a writer,
//   then "medium is busy"). Reading stays forgiving: nothing is validated
//   beyond what reading needs. A change an interrupted write left staged
//   is shown resolved (Plus3Partition does that in memory) but not written.
//
//   Commands that write (put, del, newpart, and every later write command):
//       WritableMedium w(inv.medium);               // lock, table, validation
//       Plus3Partition& p = w.plus3(name);          // file system validated
//       CpmWriter(p.fs()).store(...);
//   or, for commands that edit the partition table, w.table() after the
//   constructor. Before anything is written:
//     - an exclusive lock is taken, before the table is read (waiting up to
//       5 s for another writer or readers, then "medium is busy (another
//       program is writing to it)");
//     - the whole partition table is checked (checkPartitionTable): entries
//       inside the disk, no used extents overlapping each other or the
//       system partition, free space only where nothing else is;
//     - plus3() checks the target file system (structuralFaults) and writes
//       out the resolution of a staged change left in it.
//   A damaged medium is refused with one line naming the first fault and
//   pointing at check (ToolError, exit code 1), and nothing is written.

#include <map>
#include <memory>
#include <string>

#include "plus3_partition.h"
#include "tool_error.h"

namespace p3tool {

// Opens a medium for a command that only reads: shared lock, table read.
OpenMedium openForReading(const std::string& path);

class WritableMedium {
public:
    // Exclusive lock, table read and checked whole.
    explicit WritableMedium(const std::string& path);
    WritableMedium(const WritableMedium&) = delete;
    WritableMedium& operator=(const WritableMedium&) = delete;

    OpenMedium& medium() { return m_; }
    PartitionTable& table() { return m_.table; }
    const std::string& path() const { return m_.medium->path(); }

    // The +3DOS partition of that name (ToolError when there is none or it
    // is not +3DOS), its file system checked, a staged change left in it
    // finished or undone on the medium. The same object for the same name.
    Plus3Partition& plus3(const std::string& name);
    Plus3Partition& plus3(const PartitionEntry& entry);

private:
    OpenMedium m_;
    std::map<unsigned, std::unique_ptr<Plus3Partition>> partitions_;
};

// The one-line refusal of a write to a damaged medium.
ToolError damagedMedium(const std::string& path, const std::string& where, const std::string& fault);

}  // namespace p3tool

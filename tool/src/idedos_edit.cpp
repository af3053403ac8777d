// Adding, deleting, renaming and mapping IDEDOS partitions.
//
// Format notes (what the +3e writes, and what is kept here):
// * Extents are whole tracks: an entry holds the cylinder/head of its first
//   and last track (bytes 11-16) and its largest logical sector (17-1A),
//   counted in 512-byte logical sectors, so about half the physical count on
//   an 8-bit disk. The system partition comes first on the disk; a new
//   partition is carved from the start of the lowest free space after it
//   that holds it, and the rest of that free space stays one free-space
//   entry. Freed space is merged with free space right before and after it.
// * A free-space entry (type FF) carries only its type, extent and largest
//   logical sector: name and bytes 1B-3F are zero. An unused slot (type 00)
//   is 64 zero bytes and describes no space. The +3e keeps its free space in
//   the entry after the last partition; a new partition takes that free
//   entry's slot and the rest moves to an unused slot: here one in the same
//   table sector where there is one (see below), else the next one.
// * The number of entries is the system partition's field 26-27, fixed when
//   the disk is formatted; slots 1 .. count-1 may hold partitions (the
//   cautious reading of that field, see PartitionTable::capacity()). The
//   table never grows here.
// * A +3DOS partition (type 03) of n MB (n = 1..16) holds the first 28 bytes
//   of its extended XDPB at 20-3B: SPT 512 records per track, 128 sectors of
//   512 bytes per track, 16 x n tracks (255 for 16 MB, the byte's limit),
//   512 directory entries, CKS 8000 (fixed medium), no reserved tracks; 2 KB
//   blocks up to 4 MB, 4 KB up to 8 MB, 8 KB above (DiskParams::plus3e).
//   Sidedness, first sector number, gaps, flags and freeze are 0. Byte 3C is
//   the drive letter the partition is mapped to, in upper case, or 0.
// * A swap partition (type 02) has no parameters: bytes 1B-3F are zero. Its
//   size is whole megabytes rounded up to whole tracks.
//
// Crash safety: the table is written one 512-byte logical sector at a time,
// and a change whose entries share one sector is one write, so a medium cut
// off part way shows the old table or the new one. A new +3DOS partition's
// directory is filled with E5 in free space before the entry that makes it
// visible is written. Where a change needs entries in two sectors, the
// writes are ordered so that no two entries ever overlap: the partition
// entry before the free-space entry for the rest when adding, the deletion
// before each merge with a neighbour when deleting, and a neighbour's entry
// cleared before the merged entry grows over its space. Cut off between such
// writes, the medium keeps every partition whole and no two entries overlap,
// but some free space may be listed in two entries or not at all (space no
// longer offered to new partitions, never overwritten).
#include "idedos_edit.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "cpm_check.h"
#include "cpm_filesystem.h"
#include "cpm_params.h"
#include "idedos_create.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

constexpr unsigned kEntriesPerSector = 512 / PartitionEntry::kSize;

uint32_t firstTrack(const PartitionEntry& e, const Geometry& g)
{
    return uint32_t(e.startCylinder()) * g.heads + e.startHead();
}

uint32_t lastTrack(const PartitionEntry& e, const Geometry& g)
{
    return uint32_t(e.endCylinder()) * g.heads + e.endHead();
}

unsigned tableSector(unsigned index) { return index / kEntriesPerSector; }

void setTracks(PartitionEntry& e, const PartitionTable& t, uint32_t first, uint32_t last)
{
    const Geometry& g = t.geometry();
    const uint64_t logical = uint64_t(last - first + 1) * g.sectors * t.medium().sectorBytes() / 512;
    e.setExtent(uint16_t(first / g.heads), uint8_t(first % g.heads), uint16_t(last / g.heads), uint8_t(last % g.heads),
                uint32_t(logical - 1));
}

PartitionEntry freeSpaceEntry(const PartitionTable& t, unsigned index, uint32_t first, uint32_t last)
{
    PartitionEntry e;
    e.index = index;
    e.raw[0x10] = PartitionType::Free;
    setTracks(e, t, first, last);
    return e;
}

PartitionEntry unusedEntry(unsigned index)
{
    PartitionEntry e;
    e.index = index;
    return e;
}

// One step of a change: entries of one table sector, written with one
// sector write and followed by a write barrier.
void writeStep(PartitionTable& t, const std::vector<PartitionEntry>& entries)
{
    t.writeEntries(entries);
    t.medium().sync();
}

void requireUniqueName(const PartitionTable& t, const std::string& name, const PartitionEntry* except)
{
    for (const PartitionEntry* e : t.usedEntries())
        if (e != except && equalsIgnoringCase(e->displayName(), name))
            throw ToolError("partition name \"" + name + "\" is taken: \"" + e->displayName() +
                            "\" already exists on " + t.medium().path());
}

// The unused slot for the free space left after a new partition: one in the
// same table sector as the partition's slot if there is one (so that both
// entries go in one write), else the first one after it, else any.
const PartitionEntry* slotForRest(const PartitionTable& t, unsigned partitionSlot)
{
    const PartitionEntry* after = nullptr;
    const PartitionEntry* any = nullptr;
    for (const auto& e : t.slots()) {
        if (e.index == 0 || e.index >= t.capacity() || e.type() != PartitionType::Unused)
            continue;
        if (tableSector(e.index) == tableSector(partitionSlot))
            return &e;
        if (!after && e.index > partitionSlot)
            after = &e;
        if (!any)
            any = &e;
    }
    return after ? after : any;
}

}  // namespace

void requireEditablePartition(const PartitionEntry& entry)
{
    switch (entry.type()) {
    case PartitionType::System:
        throw ToolError("\"" + entry.displayName() +
                        "\" is the system partition (the partition table itself); it cannot be changed");
    case PartitionType::Free:
    case PartitionType::Unused:
        throw ToolError("\"" + entry.displayName() + "\" is free space, not a partition");
    case PartitionType::Bad:
        throw ToolError("\"" + entry.displayName() + "\" marks bad disk space; it cannot be changed");
    default:
        break;
    }
}

void requireFreeDriveLetter(const PartitionTable& table, char letter, const PartitionEntry* except)
{
    if (letter < 'A' || letter > 'P')
        throw ToolError(std::string("drive letter \"") + letter + "\" is not one of A to P");
    for (const PartitionEntry* e : table.usedEntries())
        if (e != except && e->type() == PartitionType::Plus3Dos && e->driveLetter() == uint8_t(letter))
            throw ToolError(std::string("drive ") + letter + ": is already mapped to partition \"" + e->displayName() +
                            "\"");
}

unsigned addPartition(PartitionTable& table, const NewPartition& request)
{
    const std::string name = trimRight(request.name);
    validatePartitionName(name);
    if (request.type != PartitionType::Plus3Dos && request.type != PartitionType::Swap)
        throw ToolError("only +3DOS and swap partitions can be made");
    if (request.megabytes < 1 || request.megabytes > 16)
        throw ToolError("a new partition has 1 to 16 MB");
    if (request.driveLetter != 0) {
        if (request.type != PartitionType::Plus3Dos)
            throw ToolError("only a +3DOS partition can be mapped to a drive letter");
        requireFreeDriveLetter(table, request.driveLetter, nullptr);
    }
    requireUniqueName(table, name, nullptr);

    Medium& medium = table.medium();
    const Geometry& g = table.geometry();
    const unsigned sectorBytes = medium.sectorBytes();
    const uint8_t tps = DiskParams::plus3eTracks(request.megabytes);
    const uint64_t bytes = request.type == PartitionType::Plus3Dos ? uint64_t(tps) * 128 * 512
                                                                   : uint64_t(request.megabytes) << 20;
    const uint32_t needTracks = uint32_t((bytes / sectorBytes + g.sectors - 1) / g.sectors);

    // The lowest free space after the system partition that holds it.
    const PartitionEntry& system = table.slots().front();
    const PartitionEntry* region = nullptr;
    for (const PartitionEntry* e : table.usedEntries()) {
        if (e->type() != PartitionType::Free || e->index >= table.capacity() ||
            firstTrack(*e, g) <= lastTrack(system, g))
            continue;
        if (lastTrack(*e, g) - firstTrack(*e, g) + 1 >= needTracks &&
            (!region || firstTrack(*e, g) < firstTrack(*region, g)))
            region = e;
    }
    if (!region)
        throw ToolError("no free space of " + std::to_string(request.megabytes) + " MB left on " + medium.path());

    const uint32_t start = firstTrack(*region, g);
    const uint32_t end = start + needTracks - 1;
    const uint32_t regionEnd = lastTrack(*region, g);
    const PartitionEntry* restSlot = nullptr;
    if (end < regionEnd) {
        restSlot = slotForRest(table, region->index);
        if (!restSlot)
            throw ToolError("the partition table of " + medium.path() + " is full");
    }

    PartitionEntry part;
    part.index = region->index;
    part.setName(name);
    part.raw[0x10] = request.type;
    setTracks(part, table, start, end);
    std::vector<uint8_t> emptyDirectory;
    if (request.type == PartitionType::Plus3Dos) {
        const DiskParams params = DiskParams::plus3e(request.megabytes);
        uint8_t* x = &part.raw[0x20];
        params.toXdpb(x);
        x[0x12] = tps;   // tracks per side
        x[0x13] = 0x80;  // sectors per track
        putLe16(x + 0x15, 512);
        part.raw[0x3C] = uint8_t(request.driveLetter);
        emptyDirectory.assign(size_t(params.directoryBlocks().size()) * params.blockSize(), 0xE5);
    }

    // The directory lies in free space: writing it changes nothing visible.
    if (!emptyDirectory.empty()) {
        medium.writeSectors(uint64_t(start) * g.sectors, emptyDirectory.size() / sectorBytes, emptyDirectory.data());
        medium.sync();
    }
    std::vector<PartitionEntry> step{part};
    PartitionEntry rest;
    if (restSlot) {
        rest = freeSpaceEntry(table, restSlot->index, end + 1, regionEnd);
        if (tableSector(rest.index) == tableSector(part.index))
            step.push_back(rest);
    }
    writeStep(table, step);
    if (restSlot && step.size() == 1)
        writeStep(table, {rest});
    return part.index;
}

void deletePartition(PartitionTable& table, const PartitionEntry& entry)
{
    requireEditablePartition(entry);
    const Geometry& g = table.geometry();
    const unsigned slot = entry.index;
    uint32_t first = firstTrack(entry, g), last = lastTrack(entry, g);

    // Free space right before and right after (the table holds no overlaps,
    // so at most one of each).
    std::vector<const PartitionEntry*> neighbours;
    for (const PartitionEntry* e : table.usedEntries())
        if (e->type() == PartitionType::Free && e->index < table.capacity() &&
            (lastTrack(*e, g) + 1 == first || firstTrack(*e, g) == last + 1))
            neighbours.push_back(e);

    // The deletion, with the neighbours whose entries share the sector.
    std::vector<PartitionEntry> step;
    std::vector<const PartitionEntry*> later;
    for (const PartitionEntry* n : neighbours) {
        if (tableSector(n->index) != tableSector(slot)) {
            later.push_back(n);
            continue;
        }
        first = std::min(first, firstTrack(*n, g));
        last = std::max(last, lastTrack(*n, g));
        step.push_back(unusedEntry(n->index));
    }
    step.insert(step.begin(), freeSpaceEntry(table, slot, first, last));
    struct Merge {
        unsigned index;
        uint32_t first, last;
    };
    std::vector<Merge> merges;
    for (const PartitionEntry* n : later)
        merges.push_back({n->index, firstTrack(*n, g), lastTrack(*n, g)});

    writeStep(table, step);
    for (const Merge& m : merges) {
        writeStep(table, {unusedEntry(m.index)});
        first = std::min(first, m.first);
        last = std::max(last, m.last);
        writeStep(table, {freeSpaceEntry(table, slot, first, last)});
    }
}

void renamePartition(PartitionTable& table, const PartitionEntry& entry, const std::string& newName)
{
    requireEditablePartition(entry);
    const std::string name = trimRight(newName);
    validatePartitionName(name);
    requireUniqueName(table, name, &entry);
    PartitionEntry renamed = entry;
    renamed.setName(name);
    writeStep(table, {renamed});
}

void setDriveLetter(PartitionTable& table, const PartitionEntry& entry, char letter)
{
    requireEditablePartition(entry);
    if (entry.type() != PartitionType::Plus3Dos)
        throw ToolError("\"" + entry.displayName() +
                        "\" is not a +3DOS partition; only those are mapped to drive letters");
    letter = char(std::toupper(static_cast<unsigned char>(letter)));
    if (letter != 0)
        requireFreeDriveLetter(table, letter, &entry);
    if (entry.driveLetter() == uint8_t(letter))
        return;
    PartitionEntry mapped = entry;
    mapped.raw[0x3C] = uint8_t(letter);
    writeStep(table, {mapped});
}

size_t emptyFileSystem(CpmFileSystem& fs)
{
    // Each file's entries in extent order, each directory sector written
    // once, in the order its first entry is listed: cut off part way, a file
    // is whole, gone, or (when its entries span sectors) without its first
    // extents, as del leaves it.
    const auto files = fs.files();
    std::vector<unsigned> slots;
    for (const CpmFile& f : files)
        for (unsigned s : f.slots) {
            fs.slot(s)[0] = DirStatus::Free;
            slots.push_back(s);
        }
    fs.writeSlots(slots);
    fs.sync();
    return files.size();
}

}  // namespace p3tool

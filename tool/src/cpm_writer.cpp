#include "cpm_writer.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>

#include "tool_error.h"

namespace p3tool {

namespace {

std::string shownName(const std::array<uint8_t, 11>& name) { return displayFileName(name.data()); }

}  // namespace

bool sameName(const CpmFile& file, uint8_t user, const std::array<uint8_t, 11>& name)
{
    if (file.user != user)
        return false;
    for (size_t i = 0; i < 11; ++i)
        if ((file.name[i] & 0x7F) != (name[i] & 0x7F))
            return false;
    return true;
}

void CpmWriter::store(const FileToStore& file)
{
    const DiskParams& p = fs_.params();
    const uint64_t length = file.source ? file.source->size() : file.bytes.size();
    const std::string where = fs_.source().describe();
    const std::string shown = shownName(file.name);
    if (length > kMaxBytes)
        throw ToolError(shown + " is too long for a +3DOS file (" + std::to_string(length) + " bytes; at most " +
                        std::to_string(kMaxBytes) + ")");

    const std::vector<CpmFile> files = fs_.files();
    const CpmFile* old = nullptr;
    for (const CpmFile& f : files)
        if (sameName(f, file.user, file.name))
            old = &f;
    if (old && old->readOnly)
        throw ToolError(shown + " in " + where + " is read-only; it is not replaced");

    // Sizes.
    const uint32_t blockSize = p.blockSize();
    const uint32_t records = uint32_t((length + 127) / 128);
    const uint32_t extentsPerEntry = p.exm + 1u;
    const uint32_t recordsPerEntry = extentsPerEntry * 128;
    const uint32_t entryCount = records == 0 ? 1 : (records + recordsPerEntry - 1) / recordsPerEntry;
    const uint32_t blocksNeeded = uint32_t((length + blockSize - 1) / blockSize);

    // Free blocks: the old file's stay its own until the new one is in place.
    const std::vector<bool> used = fs_.usedBlocks();
    std::vector<uint32_t> freeBlocks;
    for (uint32_t b = 0; b < used.size() && freeBlocks.size() < blocksNeeded; ++b)
        if (!used[b])
            freeBlocks.push_back(b);
    if (freeBlocks.size() < blocksNeeded) {
        const uint64_t freeBytes = uint64_t(std::count(used.begin(), used.end(), false)) * blockSize;
        throw ToolError(where + " is full: " + shown + " needs " + std::to_string(uint64_t(blocksNeeded) * blockSize) +
                        " bytes, " + std::to_string(freeBytes) + " are free" +
                        (old ? " (the file it replaces is kept until the new one is written)" : ""));
    }

    // Directory slots, grouped by the sector that holds them.
    const unsigned perSector = fs_.source().sectorSize() / 32;
    const auto& dir = fs_.directory();
    std::map<unsigned, std::vector<unsigned>> freeBySector;
    std::vector<unsigned> freeSlots;
    for (unsigned s = 0; s < dir.size(); ++s)
        if (dir[s][0] == DirStatus::Free) {
            freeBySector[s / perSector].push_back(s);
            freeSlots.push_back(s);
        }
    std::vector<unsigned> oldSlots = old ? old->slots : std::vector<unsigned>{};
    std::set<unsigned> oldSectors;
    for (unsigned s : oldSlots)
        oldSectors.insert(s / perSector);

    // One sector write is enough when the new entries fit into the sector of
    // the old ones (which they may overwrite) or, for a new file, into one
    // sector's free slots.
    std::vector<unsigned> chosen;
    bool single = false;
    if (old && oldSectors.size() == 1) {
        const unsigned sector = *oldSectors.begin();
        std::vector<unsigned> room = oldSlots;
        std::sort(room.begin(), room.end());
        for (unsigned s : freeBySector[sector])
            room.push_back(s);
        if (room.size() >= entryCount) {
            chosen.assign(room.begin(), room.begin() + entryCount);
            single = true;
        }
    } else if (!old) {
        for (const auto& [sector, slots] : freeBySector)
            if (slots.size() >= entryCount) {
                chosen.assign(slots.begin(), slots.begin() + entryCount);
                single = true;
                break;
            }
    }
    if (!single) {
        if (freeSlots.size() < entryCount)
            throw ToolError("the directory of " + where + " is full: " + shown + " needs " +
                            std::to_string(entryCount) + " entries, " + std::to_string(freeSlots.size()) + " are free");
        chosen.assign(freeSlots.begin(), freeSlots.begin() + entryCount);
    }
    // A staged change needs a staging user number holding no file of this
    // name, one more free slot for the journal and one more free block for
    // its record.
    uint8_t stagingUser = 0;
    unsigned journalSlot = 0;
    uint32_t journalBlock = 0;
    if (!single) {
        for (uint8_t u = 1; u < kJournalUser && stagingUser == 0; ++u) {
            if (u == file.user)
                continue;
            bool taken = false;
            for (const CpmFile& f : files)
                taken = taken || sameName(f, u, file.name);
            if (!taken)
                stagingUser = u;
        }
        if (stagingUser == 0)
            throw ToolError("no spare user number in " + where + " to write " + shown + " safely");
        if (freeSlots.size() < size_t(entryCount) + 1)
            throw ToolError("the directory of " + where + " is full: " + shown + " needs " +
                            std::to_string(entryCount + 1) + " entries (one for the journal that keeps the write safe), " +
                            std::to_string(freeSlots.size()) + " are free");
        journalSlot = freeSlots[entryCount];
        for (uint32_t b = freeBlocks.empty() ? 0 : freeBlocks.back() + 1; b < used.size() && journalBlock == 0; ++b)
            if (!used[b])
                journalBlock = b;
        if (journalBlock == 0)
            throw ToolError(where + " is full: " + shown + " needs " + std::to_string(uint64_t(blocksNeeded) * blockSize) +
                            " bytes and one more block for the journal that keeps the write safe");
    }

    // 1. The data, into free blocks: runs of neighbouring blocks, at most
    // kChunkBytes at a time.
    const std::vector<uint32_t>& blocks = freeBlocks;
    const uint32_t chunkBlocks = std::max<uint32_t>(1, uint32_t(kChunkBytes / blockSize));
    std::vector<uint8_t> buffer;
    for (size_t i = 0; i < blocks.size();) {
        uint32_t run = 1;
        while (run < chunkBlocks && i + run < blocks.size() && blocks[i + run] == blocks[i] + run)
            ++run;
        buffer.assign(size_t(run) * blockSize, 0);
        const uint64_t from = uint64_t(i) * blockSize;
        const size_t n = size_t(std::min<uint64_t>(buffer.size(), length - from));
        if (file.source)
            file.source->read(from, buffer.data(), n);
        else
            std::memcpy(buffer.data(), file.bytes.data() + from, n);
        // The rest of the last record holds the CP/M end-of-file mark.
        for (size_t k = n; k % 128 != 0; ++k)
            buffer[k] = 0x1A;
        fs_.writeBlocks(blocks[i], run, buffer.data());
        i += run;
    }
    fs_.sync();

    // The new entries.
    std::vector<DirEntry> entries(entryCount);
    size_t nextBlock = 0;
    for (uint32_t j = 0; j < entryCount; ++j) {
        DirEntry& e = entries[j];
        e.fill(0);
        e[0] = file.user;
        for (size_t k = 0; k < 11; ++k)
            e[1 + k] = file.name[k] & 0x7F;
        for (int k = 0; k < 4; ++k)
            if (file.userAttributes & (8 >> k))
                e[1 + k] |= 0x80;
        if (file.readOnly)
            e[9] |= 0x80;
        if (file.system)
            e[10] |= 0x80;
        if (file.archived)
            e[11] |= 0x80;
        const uint32_t before = j * recordsPerEntry;
        const uint32_t inEntry = std::min(recordsPerEntry, records - before);
        uint32_t x = j * extentsPerEntry;
        uint32_t rc = 0;
        if (inEntry > 0) {
            const uint32_t lastExtent = (inEntry - 1) / 128;
            x += lastExtent;
            rc = inEntry - lastExtent * 128;
        }
        e[12] = uint8_t(x & 0x1F);
        e[13] = j + 1 == entryCount ? uint8_t(length % 128) : 0;
        e[14] = uint8_t(x >> 5);
        e[15] = uint8_t(rc);
        const uint64_t bytesIn = std::min<uint64_t>(uint64_t(recordsPerEntry) * 128, length - uint64_t(before) * 128);
        const uint32_t blocksIn = uint32_t((bytesIn + blockSize - 1) / blockSize);
        for (uint32_t k = 0; k < blocksIn; ++k)
            fs_.setPointer(e, k, blocks[nextBlock++]);
    }

    if (single) {
        // 2. One sector: the new entries in, the old ones out.
        std::vector<unsigned> touched = chosen;
        for (uint32_t j = 0; j < entryCount; ++j)
            fs_.slot(chosen[j]) = entries[j];
        for (unsigned s : oldSlots)
            if (std::find(chosen.begin(), chosen.end(), s) == chosen.end()) {
                fs_.slot(s)[0] = DirStatus::Free;
                touched.push_back(s);
            }
        fs_.writeSlots(touched);
        fs_.sync();
        return;
    }

    // 2. Staged: journal, new entries under the staging user, commit, finish.
    StagedChange change;
    change.user = file.user;
    for (size_t k = 0; k < 11; ++k)
        change.name[k] = file.name[k] & 0x7F;
    change.stagingUser = stagingUser;
    change.newSlots = chosen;
    change.oldSlots = oldSlots;
    writeJournal(change, journalBlock, journalSlot, false);
    for (uint32_t j = 0; j < entryCount; ++j) {
        fs_.slot(chosen[j]) = entries[j];
        fs_.slot(chosen[j])[0] = stagingUser;
    }
    fs_.writeSlots(chosen);
    fs_.sync();
    fs_.slot(journalSlot)[11] = 'C';
    fs_.writeSlots({journalSlot});
    fs_.sync();
    PendingChange pending;
    pending.journalSlot = journalSlot;
    pending.committed = true;
    pending.change = change;
    writeResolution(fs_, resolveInMemory(fs_, pending));
}

void CpmWriter::writeJournal(const StagedChange& change, uint32_t block, unsigned slot, bool committed)
{
    const uint32_t blockSize = fs_.params().blockSize();
    std::vector<uint8_t> record = journalRecord(change);
    if (record.size() > blockSize || record.size() > 128 * 128)
        throw ToolError("the directory of " + fs_.source().describe() + " is too large to stage a change safely");
    const size_t recordBytes = record.size();
    record.resize(blockSize, 0x1A);
    fs_.writeBlocks(block, 1, record.data());
    fs_.sync();
    fs_.slot(slot) = journalEntry(fs_, committed, block, recordBytes);
    fs_.writeSlots({slot});
    fs_.sync();
}

void CpmWriter::remove(const CpmFile& file)
{
    if (file.readOnly)
        throw ToolError(file.displayName() + " in " + fs_.source().describe() + " is read-only; it is not deleted");
    const unsigned perSector = fs_.source().sectorSize() / 32;
    bool oneSector = true;
    for (unsigned s : file.slots)
        oneSector = oneSector && s / perSector == file.slots.front() / perSector;
    // Entries in several sectors: a committed journal first, so that an
    // interruption is finished by the next run instead of leaving part of
    // the file. Without a free slot and block for the journal, the entries
    // go in extent order: the end of the file without its beginning, never
    // a header that claims more than is there.
    if (!oneSector) {
        const auto& dir = fs_.directory();
        std::optional<unsigned> slot;
        for (unsigned s = 0; s < dir.size() && !slot; ++s)
            if (dir[s][0] == DirStatus::Free)
                slot = s;
        const std::vector<bool> used = fs_.usedBlocks();
        const auto block = std::find(used.begin(), used.end(), false);
        if (slot && block != used.end()) {
            StagedChange change;
            change.user = file.user;
            change.name = file.name;
            change.stagingUser = file.user == 1 ? 2 : 1;  // unused: nothing is staged
            change.oldSlots = file.slots;
            writeJournal(change, uint32_t(block - used.begin()), *slot, true);
            PendingChange pending;
            pending.journalSlot = *slot;
            pending.committed = true;
            pending.change = change;
            writeResolution(fs_, resolveInMemory(fs_, pending));
            return;
        }
    }
    for (unsigned s : file.slots)
        fs_.slot(s)[0] = DirStatus::Free;
    fs_.writeSlots(file.slots);
    fs_.sync();
}

}  // namespace p3tool

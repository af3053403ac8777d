#include "cpm_staging.h"

#include <algorithm>
#include <cstring>

#include "bytes.h"
#include "tool_error.h"

namespace p3tool {

namespace {

constexpr char kMagic[] = "3ESTAGE1";
constexpr char kJournalName[] = "3ESTAGED";
constexpr size_t kFixed = 0x19;

bool isJournalEntry(const DirEntry& e, bool* committed)
{
    if (e[0] != kJournalUser)
        return false;
    for (size_t i = 0; i < 8; ++i)
        if ((e[1 + i] & 0x7F) != uint8_t(kJournalName[i]))
            return false;
    if ((e[9] & 0x7F) != '$' || (e[10] & 0x7F) != '$')
        return false;
    const uint8_t phase = e[11] & 0x7F;
    if (phase != 'S' && phase != 'C')
        return false;
    *committed = phase == 'C';
    return true;
}

bool holds(const DirEntry& e, uint8_t user, const std::array<uint8_t, 11>& name)
{
    if (e[0] != user)
        return false;
    for (size_t i = 0; i < 11; ++i)
        if ((e[1 + i] & 0x7F) != name[i])
            return false;
    return true;
}

uint32_t byteSum(const uint8_t* p, size_t n)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += p[i];
    return sum;
}

}  // namespace

std::string PendingChange::describe() const
{
    if (!damage.empty())
        return "a staging journal (" + std::to_string(kJournalUser) + ":3ESTAGED.$$" + (committed ? "C" : "S") +
               ") that cannot be read: " + damage + "; writes are refused until it is removed";
    const std::string shown = displayFileName(change.name.data());
    const char* kind = change.newSlots.empty() ? "delete" : change.oldSlots.empty() ? "new file" : "replace";
    std::string what = std::string("an interrupted ") + kind + " of " + shown + " (" +
                       (committed ? "committed" : "not committed") + "): the next write ";
    if (!committed)
        return what + "undoes it (" + (change.oldSlots.empty() ? "no file of that name appears" : "the old file stays") + ")";
    return what + "finishes it (" +
           (change.newSlots.empty() ? "the file is deleted"
            : change.oldSlots.empty() ? "the new file appears"
                                      : "the new file replaces the old one") +
           ")";
}

std::vector<uint8_t> journalRecord(const StagedChange& c)
{
    std::vector<uint8_t> r(kFixed + 2 * (c.newSlots.size() + c.oldSlots.size()) + 4, 0);
    std::memcpy(r.data(), kMagic, 8);
    r[8] = c.user;
    std::copy(c.name.begin(), c.name.end(), r.begin() + 9);
    r[0x14] = c.stagingUser;
    putLe16(&r[0x15], uint16_t(c.newSlots.size()));
    putLe16(&r[0x17], uint16_t(c.oldSlots.size()));
    size_t at = kFixed;
    for (unsigned s : c.newSlots) {
        putLe16(&r[at], uint16_t(s));
        at += 2;
    }
    for (unsigned s : c.oldSlots) {
        putLe16(&r[at], uint16_t(s));
        at += 2;
    }
    putLe32(&r[at], byteSum(r.data(), at));
    return r;
}

DirEntry journalEntry(const CpmFileSystem& fs, bool committed, uint32_t block, size_t recordBytes)
{
    DirEntry e{};
    e[0] = kJournalUser;
    std::memcpy(&e[1], kJournalName, 8);
    e[9] = '$';
    e[10] = '$';
    e[11] = committed ? 'C' : 'S';
    e[15] = uint8_t((recordBytes + 127) / 128);
    fs.setPointer(e, 0, block);
    return e;
}

std::optional<PendingChange> findPendingChange(CpmFileSystem& fs)
{
    const auto& dir = fs.directory();
    for (unsigned slot = 0; slot < dir.size(); ++slot) {
        PendingChange p;
        if (!isJournalEntry(dir[slot], &p.committed))
            continue;
        p.journalSlot = slot;
        const uint32_t block = fs.pointer(dir[slot], 0);
        const uint32_t bs = fs.params().blockSize();
        if (block == 0 || block > fs.params().dsm || fs.params().isDirectoryBlock(block)) {
            p.damage = "its block " + std::to_string(block) + " cannot hold a record";
            return p;
        }
        std::vector<uint8_t> r(bs);
        fs.source().readSectors(fs.blockFirstSector(block), fs.sectorsPerBlock(), r.data());
        if (std::memcmp(r.data(), kMagic, 8) != 0)
            continue;  // a file of that name that is not ours
        const size_t n = le16(&r[0x15]), m = le16(&r[0x17]);
        const size_t end = kFixed + 2 * (n + m);
        if (end + 4 > bs || le32(&r[end]) != byteSum(r.data(), end)) {
            p.damage = "its record is damaged";
            return p;
        }
        StagedChange& c = p.change;
        c.user = r[8];
        std::copy(r.begin() + 9, r.begin() + 20, c.name.begin());
        c.stagingUser = r[0x14];
        for (size_t i = 0; i < n + m; ++i) {
            const unsigned s = le16(&r[kFixed + 2 * i]);
            if (s >= dir.size() || s == slot) {
                p.damage = "it lists directory entry " + std::to_string(s) + ", which cannot be one of the change's";
                return p;
            }
            (i < n ? c.newSlots : c.oldSlots).push_back(s);
        }
        if (c.user > DirStatus::LastUser || c.stagingUser > DirStatus::LastUser || c.stagingUser == c.user) {
            p.damage = "its user numbers are impossible";
            return p;
        }
        return p;
    }
    return std::nullopt;
}

Resolution resolveInMemory(CpmFileSystem& fs, const PendingChange& p)
{
    Resolution r;
    r.journalSlot = p.journalSlot;
    if (!p.damage.empty())
        throw ToolError("cannot resolve " + p.describe());
    const StagedChange& c = p.change;
    if (p.committed) {
        for (unsigned s : c.oldSlots)
            if (holds(fs.slot(s), c.user, c.name)) {
                fs.slot(s)[0] = DirStatus::Free;
                r.oldSlots.push_back(s);
            }
        for (unsigned s : c.newSlots)
            if (holds(fs.slot(s), c.stagingUser, c.name)) {
                fs.slot(s)[0] = c.user;
                r.newSlots.push_back(s);
            }
    } else {
        for (unsigned s : c.newSlots)
            if (holds(fs.slot(s), c.stagingUser, c.name)) {
                fs.slot(s)[0] = DirStatus::Free;
                r.newSlots.push_back(s);
            }
    }
    fs.slot(p.journalSlot)[0] = DirStatus::Free;
    return r;
}

void writeResolution(CpmFileSystem& fs, const Resolution& r)
{
    // Whole sectors are written from the in-memory directory, so a sector
    // that holds the journal entry is left to the very end: writing it
    // earlier would drop the journal before the other sectors are done.
    const uint64_t journalSector = fs.slotSector(r.journalSlot);
    auto without = [&](const std::vector<unsigned>& slots) {
        std::vector<unsigned> kept;
        for (unsigned s : slots)
            if (fs.slotSector(s) != journalSector)
                kept.push_back(s);
        return kept;
    };
    for (const auto& group : {without(r.oldSlots), without(r.newSlots)}) {
        if (group.empty())
            continue;
        fs.writeSlots(group);
        fs.sync();
    }
    fs.writeSlots({r.journalSlot});
    fs.sync();
}

}  // namespace p3tool

#include "cpm_check.h"

#include <algorithm>
#include <map>

#include "plus3_file.h"
#include "tool_error.h"

namespace p3tool {

namespace {

std::string entryName(const CpmFileSystem& fs, unsigned slot)
{
    const DirEntry& e = fs.directory()[slot];
    return "entry " + std::to_string(slot) + " (" + std::to_string(e[0]) + ":" + displayFileName(&e[1]) + ")";
}

}  // namespace

std::vector<std::string> structuralFaults(const CpmFileSystem& fs)
{
    std::vector<std::string> faults;
    const DiskParams& p = fs.params();
    const auto& dir = fs.directory();
    std::vector<long> owner(p.blockCount(), -1);

    for (unsigned s = 0; s < dir.size(); ++s) {
        const DirEntry& e = dir[s];
        if (!isFileEntry(e))
            continue;
        if (e[15] > 0x80)
            faults.push_back(entryName(fs, s) + ": record count " + std::to_string(e[15]) + " is over 128");
        if ((e[12] & 0xE0) != 0 || (e[14] & 0xC0) != 0)
            faults.push_back(entryName(fs, s) + ": extent bytes out of range");
        for (unsigned k = 0; k < p.pointersPerEntry(); ++k) {
            const uint32_t b = fs.pointer(e, k);
            if (b == 0)
                continue;
            if (b > p.dsm) {
                faults.push_back(entryName(fs, s) + ": block " + std::to_string(b) + " lies past the last block " +
                                 std::to_string(p.dsm));
            } else if (p.isDirectoryBlock(b)) {
                faults.push_back(entryName(fs, s) + ": block " + std::to_string(b) + " lies in the directory");
            } else if (owner[b] >= 0) {
                faults.push_back("block " + std::to_string(b) + " is owned twice: by " + entryName(fs, unsigned(owner[b])) +
                                 " and by " + entryName(fs, s));
            } else {
                owner[b] = long(s);
            }
        }
    }

    for (const CpmFile& f : fs.files()) {
        const std::string name = std::to_string(f.user) + ":" + f.displayName();
        std::map<uint32_t, unsigned> groups;
        for (unsigned slot : f.slots) {
            const uint32_t x = extentNumber(dir[slot]);
            const auto [it, fresh] = groups.emplace(x / (p.exm + 1u), slot);
            if (!fresh)
                faults.push_back(name + ": extent " + std::to_string(x) + " is held twice (entries " +
                                 std::to_string(it->second) + " and " + std::to_string(slot) + ")");
        }
    }
    return faults;
}

std::vector<std::string> checkFileSystem(CpmFileSystem& fs)
{
    std::vector<std::string> faults = structuralFaults(fs);
    const DiskParams& p = fs.params();
    const auto& dir = fs.directory();
    for (const CpmFile& f : fs.files()) {
        const std::string name = std::to_string(f.user) + ":" + f.displayName();
        for (size_t i = 0; i + 1 < f.slots.size(); ++i) {
            const DirEntry& e = dir[f.slots[i]];
            const uint32_t x = extentNumber(e);
            if ((x & p.exm) != p.exm || e[15] != 0x80)
                faults.push_back(name + ": extent " + std::to_string(x) + " (entry " + std::to_string(f.slots[i]) +
                                 ") is not full although later extents follow");
        }
        // The limits get applies, so that check never passes a file get
        // refuses.
        std::optional<Plus3Header> header;
        try {
            if (auto why = unreadableReason(fs, f)) {
                faults.push_back(name + ": " + *why);
                continue;
            }
            header = fs.readHeader(f);
        } catch (const ToolError&) {
            continue;  // its blocks are reported above
        }
        if (!header)
            continue;
        if (header->totalLength != Plus3Header::kSize + header->dataLength)
            faults.push_back(name + ": its +3DOS header gives a total length of " + std::to_string(header->totalLength) +
                             " bytes for " + std::to_string(header->dataLength) + " bytes of data");
    }
    return faults;
}

std::vector<std::string> checkPartitionTable(const PartitionTable& table)
{
    std::vector<std::string> faults;
    struct Span {
        uint64_t first, last;
        const PartitionEntry* e;
    };
    std::vector<Span> spans;
    for (const PartitionEntry* e : table.usedEntries()) {
        const std::string why = table.extentProblem(*e);
        if (!why.empty()) {
            faults.push_back("partition entry " + std::to_string(e->index) + " (\"" + e->displayName() + "\"): " + why);
            continue;
        }
        spans.push_back({table.firstLba(*e), table.lastLba(*e), e});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.first < b.first; });
    size_t reach = 0;  // the earlier span that reaches furthest
    for (size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first <= spans[reach].last)
            faults.push_back("partition entries " + std::to_string(spans[reach].e->index) + " (\"" +
                             spans[reach].e->displayName() + "\") and " + std::to_string(spans[i].e->index) + " (\"" +
                             spans[i].e->displayName() + "\") overlap");
        if (spans[i].last > spans[reach].last)
            reach = i;
    }
    return faults;
}

}  // namespace p3tool

#include "floppy_files.h"

#include <algorithm>
#include <map>

#include "plus3_name.h"

namespace p3tool::formats {

namespace {

constexpr std::size_t kEntrySize = 32;
constexpr unsigned kRecordsPerExtent = 128;

struct EntryRef {
    unsigned extent;  // X = (S2 & 0x3F) x 32 + (EX & 0x1F)
    std::size_t offset;
};

std::vector<unsigned> directoryBlockNumbers(const Plus3DiskFormat& f)
{
    std::vector<unsigned> blocks;
    const unsigned bitmap = (unsigned(f.al0) << 8) | f.al1;
    for (unsigned b = 0; b < 16 && b <= f.dsm; ++b)
        if (bitmap & (0x8000u >> b))
            blocks.push_back(b);
    return blocks;
}

std::string fileLabel(const FloppyFile& file)
{
    return std::to_string(file.user) + ":" + Plus3Name::fromDirectoryBytes(file.name).text();
}

}  // namespace

std::vector<FloppyFile> listFloppyFiles(const Plus3Floppy& floppy)
{
    const Plus3DiskFormat& f = floppy.format();
    std::vector<uint8_t> directory;
    for (unsigned block : directoryBlockNumbers(f)) {
        const auto data = floppy.readBlock(block);
        directory.insert(directory.end(), data.begin(), data.end());
    }
    const std::size_t entryCount = std::min<std::size_t>(f.drm + 1, directory.size() / kEntrySize);

    // Entries of each file in directory order; the key is user + plain name.
    std::vector<std::pair<std::string, std::vector<EntryRef>>> groups;
    std::map<std::string, std::size_t> groupIndex;
    for (std::size_t i = 0; i < entryCount; ++i) {
        const std::size_t at = i * kEntrySize;
        const uint8_t status = directory[at];
        if (status > 0x0F)
            continue;
        std::string key(1, char(status));
        for (std::size_t k = 1; k <= 11; ++k)
            key += char(directory[at + k] & 0x7F);
        const unsigned extent = (directory[at + 0x0E] & 0x3Fu) * 32 + (directory[at + 0x0C] & 0x1Fu);
        auto [it, added] = groupIndex.try_emplace(key, groups.size());
        if (added)
            groups.push_back({key, {}});
        groups[it->second].second.push_back({extent, at});
    }

    const bool wide = f.wideBlockPointers();
    const unsigned pointersPerEntry = wide ? 8 : 16;
    const unsigned extentsPerEntry = f.exm + 1u;
    std::vector<FloppyFile> files;
    for (auto& [key, entries] : groups) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const EntryRef& a, const EntryRef& b) { return a.extent < b.extent; });
        FloppyFile file;
        file.user = directory[entries.front().offset];
        std::copy_n(directory.begin() + std::ptrdiff_t(entries.front().offset) + 1, 11,
                    file.name.begin());
        file.entries = unsigned(entries.size());
        const EntryRef& last = entries.back();
        const unsigned rc = std::min<unsigned>(directory[last.offset + 0x0F], kRecordsPerExtent);
        file.records = last.extent * kRecordsPerExtent + rc;
        file.lastRecordBytes = std::min<uint8_t>(directory[last.offset + 0x0D], 128);

        file.blocks.assign(std::size_t(last.extent / extentsPerEntry + 1) * pointersPerEntry, 0);
        for (const EntryRef& entry : entries) {
            const std::size_t base = std::size_t(entry.extent / extentsPerEntry) * pointersPerEntry;
            for (unsigned k = 0; k < pointersPerEntry; ++k) {
                const std::size_t at = entry.offset + 0x10 + (wide ? 2 * k : k);
                const unsigned pointer =
                    wide ? directory[at] | (unsigned(directory[at + 1]) << 8) : directory[at];
                if (file.blocks[base + k] == 0)
                    file.blocks[base + k] = pointer;
            }
        }
        const std::size_t used =
            (std::size_t(file.records) * 128 + f.blockSize() - 1) / f.blockSize();
        file.blocks.resize(std::min(file.blocks.size(), used));
        files.push_back(std::move(file));
    }
    return files;
}

std::vector<uint8_t> readFloppyFile(const Plus3Floppy& floppy, const FloppyFile& file)
{
    const Plus3DiskFormat& f = floppy.format();
    const std::size_t length = std::size_t(file.records) * 128;
    const unsigned firstDataBlock = f.directoryBlocks();
    std::vector<uint8_t> data;
    data.reserve(length);
    for (std::size_t i = 0; data.size() < length; ++i) {
        const std::size_t wanted = std::min<std::size_t>(f.blockSize(), length - data.size());
        const unsigned pointer = i < file.blocks.size() ? file.blocks[i] : 0;
        if (pointer == 0) {
            data.insert(data.end(), wanted, 0);
            continue;
        }
        if (pointer < firstDataBlock || pointer > f.dsm)
            throw FormatError("file " + fileLabel(file) + ": block " + std::to_string(pointer) +
                              " lies outside the floppy's data area");
        try {
            const auto block = floppy.readBlock(pointer);
            data.insert(data.end(), block.begin(), block.begin() + std::ptrdiff_t(wanted));
        } catch (const FormatError& e) {
            throw FormatError("file " + fileLabel(file) + ": " + e.what());
        }
    }
    return data;
}

}  // namespace p3tool::formats

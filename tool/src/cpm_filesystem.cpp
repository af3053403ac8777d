#include "cpm_filesystem.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "bytes.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

char shownChar(uint8_t byte)
{
    const uint8_t c = byte & 0x7F;
    if (c < 0x21 || c == 0x7F)
        return '_';
    switch (c) {
    case '/': case '\\': case ',': case ':': case '.': case '"':
        return '_';
    default:
        return char(c);
    }
}

std::string shownPart(const uint8_t* bytes, size_t length)
{
    while (length > 0 && (bytes[length - 1] & 0x7F) == ' ')
        --length;
    std::string s;
    for (size_t i = 0; i < length; ++i)
        s += shownChar(bytes[i]);
    return s;
}

}  // namespace

std::string displayFileName(const uint8_t* name11)
{
    std::string name = shownPart(name11, 8);
    const std::string type = shownPart(name11 + 8, 3);
    if (name.empty())
        name = "_";
    return type.empty() ? name : name + "." + type;
}

CpmFileSystem::CpmFileSystem(BlockSource& source, const DiskParams& params) : source_(source), params_(params)
{
    const uint64_t bytes = source.sectorCount() * source.sectorSize();
    std::string why = params.problem(bytes);
    if (why.empty() && (params.reservedBytes() % source.sectorSize() != 0 || params.blockSize() % source.sectorSize() != 0))
        why = "its blocks do not start on sector boundaries";
    if (!why.empty())
        throw ToolError("damaged file system in " + source.describe() + ": " + why);

    // Directory entries fill the directory blocks in ascending order.
    directory_.resize(params.directoryEntries());
    directoryBlocks_ = params.directoryBlocks();
    const auto& dirBlocks = directoryBlocks_;
    const size_t perBlock = params.blockSize() / 32;
    std::vector<uint8_t> block(params.blockSize());
    for (size_t b = 0; b < dirBlocks.size(); ++b) {
        const size_t first = b * perBlock;
        if (first >= directory_.size())
            break;
        const size_t n = std::min(perBlock, directory_.size() - first);
        readBytes(params.reservedBytes() + uint64_t(dirBlocks[b]) * params.blockSize(), block.data(), n * 32);
        for (size_t i = 0; i < n; ++i)
            std::memcpy(directory_[first + i].data(), &block[i * 32], 32);
    }
}

void CpmFileSystem::readBytes(uint64_t fsOffset, uint8_t* out, size_t length)
{
    if (length == 0)
        return;
    const unsigned ss = source_.sectorSize();
    const uint64_t first = fsOffset / ss;
    const uint64_t last = (fsOffset + length - 1) / ss;
    if (fsOffset % ss == 0 && length % ss == 0) {
        source_.readSectors(first, last - first + 1, out);
        return;
    }
    std::vector<uint8_t> buffer(size_t((last - first + 1) * ss));
    source_.readSectors(first, last - first + 1, buffer.data());
    std::memcpy(out, buffer.data() + (fsOffset - first * ss), length);
}

uint32_t CpmFileSystem::pointer(const DirEntry& e, unsigned k) const
{
    return params_.widePointers() ? le16(&e[16 + 2 * k]) : e[16 + k];
}

void CpmFileSystem::setPointer(DirEntry& e, unsigned k, uint32_t block) const
{
    if (params_.widePointers())
        putLe16(&e[16 + 2 * k], block);
    else
        e[16 + k] = uint8_t(block);
}

std::vector<CpmFile> CpmFileSystem::files() const
{
    std::vector<CpmFile> result;
    std::map<std::array<uint8_t, 12>, size_t> byKey;
    for (unsigned i = 0; i < directory_.size(); ++i) {
        const DirEntry& e = directory_[i];
        if (!isFileEntry(e))
            continue;
        std::array<uint8_t, 12> key{};
        key[0] = e[0];
        for (int k = 0; k < 11; ++k)
            key[k + 1] = e[k + 1] & 0x7F;
        auto [it, inserted] = byKey.emplace(key, result.size());
        if (inserted) {
            CpmFile f;
            f.user = e[0];
            std::copy(key.begin() + 1, key.end(), f.name.begin());
            result.push_back(f);
        }
        result[it->second].slots.push_back(i);
    }
    for (CpmFile& f : result) {
        std::stable_sort(f.slots.begin(), f.slots.end(), [&](unsigned a, unsigned b) {
            return extentNumber(directory_[a]) < extentNumber(directory_[b]);
        });
        const DirEntry& firstEntry = directory_[f.slots.front()];
        const DirEntry& lastEntry = directory_[f.slots.back()];
        f.records = extentNumber(lastEntry) * 128 + std::min<uint32_t>(lastEntry[15], 128);
        f.lastRecordBytes = lastEntry[13];
        f.readOnly = firstEntry[9] & 0x80;
        f.system = firstEntry[10] & 0x80;
        f.archived = firstEntry[11] & 0x80;
        for (int k = 0; k < 4; ++k)
            if (firstEntry[1 + k] & 0x80)
                f.userAttributes |= uint8_t(8 >> k);
        for (unsigned s : f.slots)
            for (unsigned k = 0; k < params_.pointersPerEntry(); ++k)
                if (pointer(directory_[s], k) != 0)
                    ++f.allocatedBlocks;
    }
    return result;
}

std::vector<CpmFile> CpmFileSystem::filesOfUser(uint8_t user) const
{
    std::vector<CpmFile> all = files();
    std::vector<CpmFile> mine;
    for (auto& f : all)
        if (f.user == user)
            mine.push_back(std::move(f));
    return mine;
}

std::vector<CpmFileSystem::Piece> CpmFileSystem::filePieces(const CpmFile& file, uint64_t total) const
{
    const uint32_t bs = params_.blockSize();
    const uint64_t groupBytes = uint64_t(params_.exm + 1) * 16384;

    // The entry holding each group of logical extents; the first one listed
    // wins when a damaged directory lists a group twice.
    std::map<uint32_t, unsigned> groups;
    for (unsigned s : file.slots)
        groups.emplace(extentNumber(directory_[s]) / (params_.exm + 1u), s);

    std::vector<Piece> pieces;
    for (uint64_t pos = 0; pos < total;) {
        const uint32_t group = uint32_t(pos / groupBytes);
        const uint64_t within = pos - uint64_t(group) * groupBytes;
        const unsigned k = unsigned(within / bs);
        const uint64_t inBlock = within % bs;
        const uint64_t length = std::min<uint64_t>(bs - inBlock, total - pos);
        const auto it = groups.find(group);
        const uint32_t block = (it == groups.end() || k >= params_.pointersPerEntry()) ? 0 : pointer(directory_[it->second], k);
        if (block > params_.dsm)
            throw ToolError("damaged file " + file.displayName() + " in " + source_.describe() + ": block " +
                            std::to_string(block) + " lies past the last block " + std::to_string(params_.dsm));
        if (block != 0) {
            const uint64_t from = params_.reservedBytes() + uint64_t(block) * bs + inBlock;
            if (!pieces.empty() && pieces.back().from + pieces.back().length == from &&
                pieces.back().to + pieces.back().length == pos)
                pieces.back().length += length;
            else
                pieces.push_back({from, pos, length});
        }
        pos += length;
    }
    return pieces;
}

std::vector<uint8_t> CpmFileSystem::readFile(const CpmFile& file, uint64_t maxBytes)
{
    const uint64_t total = std::min(file.recordBytes(), maxBytes);
    const std::vector<Piece> pieces = filePieces(file, total);
    std::vector<uint8_t> out(size_t(total), 0);
    for (const Piece& p : pieces)
        readBytes(p.from, out.data() + p.to, size_t(p.length));
    return out;
}

void CpmFileSystem::streamFile(const CpmFile& file, uint64_t maxBytes, size_t chunkBytes,
                               const std::function<void(const uint8_t*, size_t)>& sink)
{
    const uint64_t total = std::min(file.recordBytes(), maxBytes);
    const std::vector<Piece> pieces = filePieces(file, total);  // refuses a damaged file before any byte goes out
    // Sector-aligned chunks, so that every read goes straight into the buffer.
    const size_t ss = source_.sectorSize();
    chunkBytes = std::max(ss, chunkBytes / ss * ss);
    std::vector<uint8_t> buffer(std::min<uint64_t>(chunkBytes, total));
    size_t next = 0;  // first piece not yet done
    for (uint64_t pos = 0; pos < total;) {
        const size_t n = size_t(std::min<uint64_t>(buffer.size(), total - pos));
        std::fill(buffer.begin(), buffer.begin() + long(n), uint8_t(0));  // holes read as zeros
        while (next < pieces.size() && pieces[next].to + pieces[next].length <= pos)
            ++next;
        for (size_t i = next; i < pieces.size() && pieces[i].to < pos + n; ++i) {
            const Piece& p = pieces[i];
            const uint64_t from = std::max(p.to, pos);
            const uint64_t to = std::min(p.to + p.length, pos + n);
            readBytes(p.from + (from - p.to), buffer.data() + (from - pos), size_t(to - from));
        }
        sink(buffer.data(), n);
        pos += n;
    }
}

std::optional<Plus3Header> CpmFileSystem::readHeader(const CpmFile& file)
{
    // The header is the first record of the first block of the entry that
    // holds logical extent 0: one sector read, no more.
    if (file.records == 0)
        return std::nullopt;
    for (unsigned s : file.slots) {
        const DirEntry& e = directory_[s];
        if (extentNumber(e) / (params_.exm + 1u) != 0)
            continue;
        const uint32_t block = pointer(e, 0);
        if (block == 0)
            return std::nullopt;  // a hole reads as zeros
        if (block > params_.dsm)
            throw ToolError("damaged file " + file.displayName() + " in " + source_.describe() + ": block " +
                            std::to_string(block) + " lies past the last block " + std::to_string(params_.dsm));
        uint8_t header[Plus3Header::kSize];
        const size_t length = size_t(std::min<uint64_t>(sizeof header, file.recordBytes()));
        source_.readPartial(blockFirstSector(block), 0, length, header);
        return Plus3Header::parse(header, length);
    }
    return std::nullopt;
}

std::vector<bool> CpmFileSystem::usedBlocks() const
{
    std::vector<bool> used(params_.blockCount(), false);
    for (uint32_t b : params_.directoryBlocks())
        used[b] = true;
    for (const DirEntry& e : directory_) {
        if (!isFileEntry(e))
            continue;
        for (unsigned k = 0; k < params_.pointersPerEntry(); ++k) {
            const uint32_t b = pointer(e, k);
            if (b != 0 && b < used.size())
                used[b] = true;
        }
    }
    return used;
}

uint32_t CpmFileSystem::freeBlocks() const
{
    const auto used = usedBlocks();
    return uint32_t(std::count(used.begin(), used.end(), false));
}

uint64_t CpmFileSystem::blockFirstSector(uint32_t block) const
{
    return (params_.reservedBytes() + uint64_t(block) * params_.blockSize()) / source_.sectorSize();
}

uint64_t CpmFileSystem::slotSector(unsigned slot) const
{
    const uint64_t byte = uint64_t(slot) * 32;
    const uint32_t block = directoryBlocks_[size_t(byte / params_.blockSize())];
    return blockFirstSector(block) + (byte % params_.blockSize()) / source_.sectorSize();
}

size_t CpmFileSystem::slotOffsetInSector(unsigned slot) const
{
    return size_t((uint64_t(slot) * 32) % source_.sectorSize());
}

void CpmFileSystem::writeSlots(const std::vector<unsigned>& slots)
{
    // Slots are grouped by the directory sector that holds them; every slot
    // of such a sector is written from the in-memory directory, so one write
    // carries all the changes that fall in it.
    const unsigned perSector = source_.sectorSize() / 32;
    std::vector<unsigned> order;
    for (unsigned s : slots) {
        const unsigned group = s / perSector;
        if (std::find(order.begin(), order.end(), group) == order.end())
            order.push_back(group);
    }
    std::vector<uint8_t> bytes(source_.sectorSize());
    for (unsigned group : order) {
        const unsigned first = group * perSector;
        const uint64_t sector = slotSector(first);
        source_.readSectors(sector, 1, bytes.data());
        for (unsigned s = first; s < first + perSector && s < directory_.size(); ++s)
            std::memcpy(&bytes[slotOffsetInSector(s)], directory_[s].data(), 32);
        source_.writeSectors(sector, 1, bytes.data());
    }
}

void CpmFileSystem::writeBlocks(uint32_t first, uint32_t count, const uint8_t* data)
{
    for (uint32_t b = first; b < first + count; ++b)
        if (b > params_.dsm || params_.isDirectoryBlock(b))
            throw ToolError("refusing to write block " + std::to_string(b) + " of " + source_.describe());
    source_.writeSectors(blockFirstSector(first), uint64_t(count) * sectorsPerBlock(), data);
}

const CpmFile* findFile(const std::vector<CpmFile>& files, const std::string& name)
{
    const std::string wanted = trim(name);
    const CpmFile* folded = nullptr;
    for (const CpmFile& f : files) {
        const std::string shown = f.displayName();
        if (shown == wanted)
            return &f;
        if (!folded && equalsIgnoringCase(shown, wanted))
            folded = &f;
    }
    return folded;
}

}  // namespace p3tool

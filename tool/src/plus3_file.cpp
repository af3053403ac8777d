#include "plus3_file.h"

#include "tool_error.h"

namespace p3tool {

namespace {

std::string damaged(CpmFileSystem& fs, const CpmFile& f, const std::string& why)
{
    return "damaged file " + f.displayName() + " in " + fs.source().describe() + ": " + why;
}

}  // namespace

std::optional<std::string> unreadableReason(CpmFileSystem& fs, const CpmFile& f)
{
    // +3DOS files end at 8 MB (65536 records); a longer one is a damaged
    // directory, and reading it would only produce megabytes of holes.
    if (f.records > 65536)
        return "it claims " + std::to_string(f.recordBytes()) + " bytes, more than a +3DOS file can hold";
    const auto header = fs.readHeader(f);
    if (!header)
        return std::nullopt;
    if (header->totalLength < Plus3Header::kSize)
        return "its +3DOS header gives a total length of " + std::to_string(header->totalLength) + " bytes";
    if (header->totalLength > f.recordBytes())
        return "its +3DOS header says " + std::to_string(header->totalLength) + " bytes but the directory holds only " +
               std::to_string(f.recordBytes());
    return std::nullopt;
}

uint64_t hostLength(CpmFileSystem& fs, const CpmFile& f)
{
    for (unsigned slot : f.slots)
        if (fs.directory()[slot][15] > 0x80)
            throw ToolError(damaged(fs, f, "directory entry " + std::to_string(slot) + " counts more than 128 records"));
    if (auto why = unreadableReason(fs, f))
        throw ToolError(damaged(fs, f, *why));
    const auto header = fs.readHeader(f);
    return header ? header->totalLength : f.exactLength();
}

std::vector<uint8_t> fileContents(CpmFileSystem& fs, const CpmFile& f)
{
    return fs.readFile(f, hostLength(fs, f));
}

void streamFileContents(CpmFileSystem& fs, const CpmFile& f, size_t chunkBytes,
                        const std::function<void(const uint8_t*, size_t)>& sink)
{
    fs.streamFile(f, hostLength(fs, f), chunkBytes, sink);
}

}  // namespace p3tool

#include "plus3_file.h"

#include "tool_error.h"

namespace p3tool {

std::vector<uint8_t> fileContents(CpmFileSystem& fs, const CpmFile& f)
{
    // +3DOS files end at 8 MB (65536 records); a longer one is a damaged
    // directory, and reading it would only produce megabytes of holes.
    if (f.records > 65536)
        throw ToolError("damaged file " + f.displayName() + " in " + fs.source().describe() + ": it claims " +
                        std::to_string(f.recordBytes()) + " bytes, more than a +3DOS file can hold");
    for (unsigned slot : f.slots)
        if (fs.directory()[slot][15] > 0x80)
            throw ToolError("damaged file " + f.displayName() + " in " + fs.source().describe() + ": directory entry " +
                            std::to_string(slot) + " counts more than 128 records");
    const auto header = fs.readHeader(f);
    if (!header)
        return fs.readFile(f, f.exactLength());
    if (header->totalLength < Plus3Header::kSize)
        throw ToolError("damaged file " + f.displayName() + " in " + fs.source().describe() +
                        ": its +3DOS header gives a total length of " + std::to_string(header->totalLength) + " bytes");
    if (header->totalLength > f.recordBytes())
        throw ToolError("damaged file " + f.displayName() + " in " + fs.source().describe() + ": its +3DOS header says " +
                        std::to_string(header->totalLength) + " bytes but the directory holds only " +
                        std::to_string(f.recordBytes()));
    return fs.readFile(f, header->totalLength);
}

}  // namespace p3tool

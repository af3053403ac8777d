#include "hdf_header.h"

#include <cstring>

#include "bytes.h"
#include "tool_error.h"

namespace p3tool {

namespace {

constexpr size_t kIdentifyOffset = 0x16;

uint16_t identifyWord(const uint8_t* bytes, size_t length, unsigned word, uint16_t dataOffset)
{
    const size_t at = kIdentifyOffset + 2 * size_t(word);
    if (at + 2 > length || at + 2 > dataOffset)
        return 0;
    return le16(bytes + at);
}

// ATA identification text: the first character of each pair sits in the
// high byte, so pairs appear swapped in the file.
void putIdentifyText(uint8_t* identify, unsigned firstWord, unsigned words, const char* text)
{
    const size_t n = std::strlen(text);
    for (unsigned i = 0; i < words * 2; ++i) {
        const char c = i < n ? text[i] : ' ';
        identify[2 * firstWord + (i ^ 1)] = uint8_t(c);
    }
}

}  // namespace

std::optional<HdfHeader> parseHdfHeader(const uint8_t* bytes, size_t length, uint64_t fileSize,
                                        const std::string& path)
{
    if (length < kIdentifyOffset || std::memcmp(bytes, "RS-IDE", 6) != 0 || bytes[6] != 0x1A)
        return std::nullopt;
    HdfHeader h;
    h.revision = bytes[7];
    h.flags = bytes[8];
    h.dataOffset = le16(bytes + 9);
    if (h.flags & HdfHeader::kFlagAtapi)
        throw ToolError("image " + path + " holds an ATAPI device (CD-ROM), not a hard disk");
    if (h.dataOffset < kIdentifyOffset || h.dataOffset > fileSize)
        throw ToolError("damaged HDF header in " + path + ": data offset " + std::to_string(h.dataOffset) +
                        " lies outside the file");
    h.cylinders = identifyWord(bytes, length, 1, h.dataOffset);
    h.heads = identifyWord(bytes, length, 3, h.dataOffset);
    h.sectorsPerTrack = identifyWord(bytes, length, 6, h.dataOffset);
    return h;
}

std::vector<uint8_t> buildHdfHeader(bool revision10, bool halved, uint16_t cylinders, uint8_t heads,
                                    uint8_t sectorsPerTrack)
{
    const uint16_t dofs = revision10 ? HdfHeader::kDataOffset10 : HdfHeader::kDataOffset11;
    std::vector<uint8_t> h(dofs, 0);
    std::memcpy(h.data(), "RS-IDE", 6);
    h[6] = 0x1A;
    h[7] = revision10 ? 0x10 : 0x11;
    h[8] = halved ? HdfHeader::kFlagHalved : 0;
    putLe16(&h[9], dofs);

    // Identification block. Revision 1.0 keeps words 0-52 only.
    uint8_t* id = &h[kIdentifyOffset];
    const size_t idBytes = dofs - kIdentifyOffset;
    auto word = [&](unsigned w, uint16_t v) {
        if (2 * size_t(w) + 2 <= idBytes)
            putLe16(id + 2 * w, v);
    };
    const uint32_t total = uint32_t(cylinders) * heads * sectorsPerTrack;
    word(0, 0x0040);  // fixed drive
    word(1, cylinders);
    word(3, heads);
    word(4, uint16_t(512 * sectorsPerTrack));
    word(5, 512);
    word(6, sectorsPerTrack);
    putIdentifyText(id, 10, 10, "HARNWICK0001");
    putIdentifyText(id, 23, 4, "1.0");
    putIdentifyText(id, 27, 20, "HARNWICK VIRTUAL DISK");
    word(47, 1);
    word(49, 1u << 9);  // LBA supported
    word(53, 1);        // words 54-58 valid
    word(54, cylinders);
    word(55, heads);
    word(56, sectorsPerTrack);
    word(57, uint16_t(total));
    word(58, uint16_t(total >> 16));
    word(60, uint16_t(total));
    word(61, uint16_t(total >> 16));
    return h;
}

}  // namespace p3tool

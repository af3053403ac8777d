#include "plus3_header.h"

#include <cstring>

#include "bytes.h"

namespace p3tool {

namespace {
uint8_t checksum(const uint8_t* h)
{
    unsigned sum = 0;
    for (size_t i = 0; i < 127; ++i)
        sum += h[i];
    return uint8_t(sum);
}
}  // namespace

std::optional<Plus3Header> Plus3Header::parse(const uint8_t* b, size_t length)
{
    if (length < kSize || std::memcmp(b, "PLUS3DOS", 8) != 0 || b[8] != 0x1A || checksum(b) != b[127])
        return std::nullopt;
    Plus3Header h;
    h.issue = b[9];
    h.version = b[10];
    h.totalLength = le32(b + 11);
    h.type = b[15];
    h.dataLength = le16(b + 16);
    h.param1 = le16(b + 18);
    h.param2 = le16(b + 20);
    return h;
}

Plus3Header Plus3Header::forData(uint8_t type, uint16_t dataLength, uint16_t param1, uint16_t param2)
{
    Plus3Header h;
    h.type = type;
    h.dataLength = dataLength;
    h.totalLength = uint32_t(kSize) + dataLength;
    h.param1 = param1;
    h.param2 = param2;
    return h;
}

std::array<uint8_t, Plus3Header::kSize> Plus3Header::bytes() const
{
    std::array<uint8_t, kSize> b{};
    std::memcpy(b.data(), "PLUS3DOS", 8);
    b[8] = 0x1A;
    b[9] = issue;
    b[10] = version;
    putLe32(&b[11], totalLength);
    b[15] = type;
    putLe16(&b[16], dataLength);
    putLe16(&b[18], param1);
    putLe16(&b[20], param2);
    b[127] = checksum(b.data());
    return b;
}

void Plus3Header::fixChecksum(uint8_t* header) { header[127] = checksum(header); }

}  // namespace p3tool

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace p3tool {

// The 128-byte header +3DOS puts at the start of files saved from BASIC.
struct Plus3Header {
    static constexpr size_t kSize = 128;
    uint8_t issue = 1;
    uint8_t version = 0;
    uint32_t totalLength = 0;  // header included
    uint8_t type = 3;          // 0 program, 1 number array, 2 character array, 3 bytes
    uint16_t dataLength = 0;
    uint16_t param1 = 0;
    uint16_t param2 = 0;

    // A header is present when the file has 128 bytes or more, starts with
    // "PLUS3DOS" and 0x1A, and the checksum matches.
    static std::optional<Plus3Header> parse(const uint8_t* bytes, size_t length);
    // A header for data of the given length: total = 128 + data length.
    static Plus3Header forData(uint8_t type, uint16_t dataLength, uint16_t param1, uint16_t param2);
    std::array<uint8_t, kSize> bytes() const;
    // Rewrites the checksum byte of a header held in a buffer.
    static void fixChecksum(uint8_t* header);
};

}  // namespace p3tool

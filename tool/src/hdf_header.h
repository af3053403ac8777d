#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace p3tool {

// The RS-IDE header of an HDF image: revision, flags, the offset where sector
// data begins (DOFS) and the default geometry from the drive identification.
struct HdfHeader {
    static constexpr uint16_t kDataOffset10 = 0x80;   // revision 1.0
    static constexpr uint16_t kDataOffset11 = 0x216;  // revision 1.1
    static constexpr uint8_t kFlagHalved = 0x01;
    static constexpr uint8_t kFlagAtapi = 0x02;

    uint8_t revision = 0x11;  // BCD
    uint8_t flags = 0;
    uint16_t dataOffset = kDataOffset11;
    uint16_t cylinders = 0;  // identification words 1, 3, 6 (0 when not present)
    uint16_t heads = 0;
    uint16_t sectorsPerTrack = 0;

    bool halved() const { return (flags & kFlagHalved) != 0; }
};

// Recognises an HDF header at the start of an image. Returns nothing for an
// image without one (a raw image). Throws ToolError for a header that is
// there but unusable (ATAPI device, data offset outside the file).
std::optional<HdfHeader> parseHdfHeader(const uint8_t* bytes, size_t length, uint64_t fileSize,
                                        const std::string& path);

// The bytes of a new header (DOFS bytes long) describing a disk of the given
// geometry; revision 1.0 or 1.1, full or halved sectors.
std::vector<uint8_t> buildHdfHeader(bool revision10, bool halved, uint16_t cylinders, uint8_t heads,
                                    uint8_t sectorsPerTrack);

}  // namespace p3tool

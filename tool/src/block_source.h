#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace p3tool {

// What a CP/M file system is stored on: a run of equal sectors counted from
// the start of the file system's space (reserved tracks included). A +3DOS
// partition of a hard disk and a +3 floppy image both provide one.
class BlockSource {
public:
    virtual ~BlockSource() = default;
    virtual std::string describe() const = 0;  // for messages: "partition GAMES of disk.hdf"
    virtual unsigned sectorSize() const = 0;
    virtual uint64_t sectorCount() const = 0;
    virtual void readSectors(uint64_t first, uint64_t count, uint8_t* out) = 0;
    // Reads length bytes from offset within one sector (offset + length at
    // most sectorSize()). Sources that can fetch just those bytes do.
    virtual void readPartial(uint64_t sector, size_t offset, size_t length, uint8_t* out);
    virtual void writeSectors(uint64_t first, uint64_t count, const uint8_t* in) = 0;
    // Makes the writes so far durable before later ones are issued.
    virtual void sync() = 0;
};

inline void BlockSource::readPartial(uint64_t sector, size_t offset, size_t length, uint8_t* out)
{
    std::vector<uint8_t> whole(sectorSize());
    readSectors(sector, 1, whole.data());
    std::memcpy(out, whole.data() + offset, length);
}

}  // namespace p3tool

#pragma once

#include <cstdint>
#include <string>

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
    virtual void writeSectors(uint64_t first, uint64_t count, const uint8_t* in) = 0;
    // Makes the writes so far durable before later ones are issued.
    virtual void sync() = 0;
};

}  // namespace p3tool

#pragma once

#include "block_source.h"
#include "medium.h"

namespace p3tool {

// The 512-byte logical sectors of one partition of a medium. On an 8-bit
// disk a logical sector is two consecutive physical sectors.
class PartitionSource : public BlockSource {
public:
    PartitionSource(Medium& medium, uint64_t firstLba, uint64_t logicalSectors, std::string description);

    std::string describe() const override { return description_; }
    unsigned sectorSize() const override { return 512; }
    uint64_t sectorCount() const override { return count_; }
    void readSectors(uint64_t first, uint64_t count, uint8_t* out) override;
    void writeSectors(uint64_t first, uint64_t count, const uint8_t* in) override;
    void readPartial(uint64_t sector, size_t offset, size_t length, uint8_t* out) override;
    void sync() override { medium_.sync(); }

private:
    void checkRange(uint64_t first, uint64_t count) const;
    Medium& medium_;
    uint64_t firstLba_;
    uint64_t count_;
    unsigned perLogical_;
    std::string description_;
};

}  // namespace p3tool

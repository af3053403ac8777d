#pragma once

#include "block_source.h"
#include "cpm_params.h"
#include "plus3_floppy.h"

namespace p3tool {

// A +3 (or other CP/M) floppy in a DSK image as a block source for the
// CP/M file system: sector n is logical sector n of the floppy's file
// system, counted after its reserved tracks. Read-only.
class DskSource : public BlockSource {
public:
    DskSource(const formats::Plus3Floppy& floppy, std::string description);

    std::string describe() const override { return description_; }
    unsigned sectorSize() const override;
    uint64_t sectorCount() const override;
    void readSectors(uint64_t first, uint64_t count, uint8_t* out) override;
    void writeSectors(uint64_t first, uint64_t count, const uint8_t* in) override;
    void sync() override {}

    // The floppy's parameters as the file system reads them over this
    // source: the reserved tracks are already skipped, so OFF is 0.
    DiskParams params() const;

private:
    const formats::Plus3Floppy& floppy_;
    std::string description_;
};

}  // namespace p3tool

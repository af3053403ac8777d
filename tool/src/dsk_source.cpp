#include "dsk_source.h"

#include <cstring>

#include "tool_error.h"

namespace p3tool {

DskSource::DskSource(const formats::Plus3Floppy& floppy, std::string description)
    : floppy_(floppy), description_(std::move(description))
{
}

unsigned DskSource::sectorSize() const { return floppy_.format().sectorSize; }

uint64_t DskSource::sectorCount() const
{
    const auto& f = floppy_.format();
    return uint64_t(f.dsm + 1) * f.blockSize() / f.sectorSize;
}

void DskSource::readSectors(uint64_t first, uint64_t count, uint8_t* out)
{
    if (first > sectorCount() || count > sectorCount() - first)
        throw IoError("sector " + std::to_string(first + count - 1) + " lies outside " + description_);
    const unsigned size = sectorSize();
    for (uint64_t i = 0; i < count; ++i) {
        try {
            const auto sector = floppy_.readLogicalSector(unsigned(first + i));
            std::memcpy(out + i * size, sector.data(), size);
        } catch (const formats::FormatError& e) {
            throw ToolError(description_ + ": " + e.what());
        }
    }
}

void DskSource::writeSectors(uint64_t, uint64_t, const uint8_t*)
{
    throw ToolError(description_ + " is only read");
}

DiskParams DskSource::params() const
{
    const auto& f = floppy_.format();
    DiskParams p;
    p.spt = uint16_t(f.spt);
    p.bsh = f.bsh;
    p.blm = f.blm;
    p.exm = f.exm;
    p.dsm = uint16_t(f.dsm);
    p.drm = uint16_t(f.drm);
    p.al0 = f.al0;
    p.al1 = f.al1;
    p.cks = uint16_t(f.cks);
    p.off = 0;
    p.psh = f.psh;
    p.phm = f.phm;
    return p;
}

}  // namespace p3tool

#include "medium.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "tool_error.h"

namespace p3tool {

Medium::Medium(std::unique_ptr<Storage> storage) : storage_(std::move(storage))
{
    uint8_t head[HdfHeader::kDataOffset11] = {};
    const size_t n = size_t(std::min<uint64_t>(sizeof head, storage_->size()));
    storage_->read(0, head, n);
    hdf_ = parseHdfHeader(head, n, storage_->size(), storage_->name());
    if (hdf_) {
        dataOffset_ = hdf_->dataOffset;
        layout_ = hdf_->halved() ? SectorLayout::Halved8 : SectorLayout::Wide16;
    }
}

std::unique_ptr<Medium> Medium::open(const std::string& path, bool forWriting, MediumLock lock)
{
    return fromStorage(FileStorage::open(path, forWriting, lock));
}

std::unique_ptr<Medium> Medium::fromStorage(std::unique_ptr<Storage> storage)
{
    return std::unique_ptr<Medium>(new Medium(std::move(storage)));
}

void Medium::setLayout(SectorLayout layout)
{
    // A halved image stays halved; only full-width images choose.
    if (layout_ != SectorLayout::Halved8 && layout != SectorLayout::Halved8)
        layout_ = layout;
}

uint64_t Medium::sectorCount() const
{
    const uint64_t size = storage_->size();
    const uint64_t whole = size <= dataOffset_ ? 0 : (size - dataOffset_) / fileSectorBytes();
    return pcPartition_ ? windowSectors_ : whole;
}

void Medium::confineTo(const MbrPartition& partition)
{
    release();
    if (fileSectorBytes() != 512)
        throw ToolError("a PC partition table cannot describe a medium of halved sectors: " + path());
    const uint64_t whole = sectorCount();
    if (partition.firstLba >= whole)
        throw ToolError("PC partition " + std::to_string(partition.slot) + " of " + path() + " starts at sector " +
                        std::to_string(partition.firstLba) + ", past the end of the medium");
    pcPartition_ = partition;
    windowStart_ = partition.firstLba;
    windowSectors_ = std::min(partition.sectors, whole - partition.firstLba);
}

void Medium::release()
{
    pcPartition_.reset();
    windowStart_ = 0;
    windowSectors_ = 0;
}

void Medium::checkRange(uint64_t lba, uint64_t count) const
{
    const uint64_t total = sectorCount();
    if (lba > total || count > total - lba)
        throw IoError("sector " + std::to_string(lba + count - 1) + " lies past the end of " + path() + " (" +
                      std::to_string(total) + " sectors)");
}

void Medium::readSectors(uint64_t lba, uint64_t count, uint8_t* out)
{
    checkRange(lba, count);
    const uint64_t at = fileOffset(lba);
    if (layout_ != SectorLayout::Even8) {
        storage_->read(at, out, size_t(count * sectorBytes()));
        return;
    }
    std::vector<uint8_t> wide(size_t(count * 512));
    storage_->read(at, wide.data(), wide.size());
    for (size_t i = 0; i < wide.size() / 2; ++i)
        out[i] = wide[2 * i];
}

void Medium::readBytes(uint64_t lba, size_t offset, size_t length, uint8_t* out)
{
    const uint64_t sectors = (offset + length + sectorBytes() - 1) / sectorBytes();
    if (layout_ == SectorLayout::Even8) {
        std::vector<uint8_t> whole(size_t(sectors * sectorBytes()));
        readSectors(lba, sectors, whole.data());
        std::memcpy(out, whole.data() + offset, length);
        return;
    }
    checkRange(lba, sectors);
    storage_->read(fileOffset(lba) + offset, out, length);
}

void Medium::writeSectors(uint64_t lba, uint64_t count, const uint8_t* in)
{
    checkRange(lba, count);
    const uint64_t at = fileOffset(lba);
    if (layout_ != SectorLayout::Even8) {
        storage_->write(at, in, size_t(count * sectorBytes()));
        return;
    }
    // The odd bytes carry nothing; keep whatever the image holds there.
    std::vector<uint8_t> wide(size_t(count * 512));
    storage_->read(at, wide.data(), wide.size());
    for (size_t i = 0; i < wide.size() / 2; ++i)
        wide[2 * i] = in[i];
    storage_->write(at, wide.data(), wide.size());
}

}  // namespace p3tool

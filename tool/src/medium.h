#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "hdf_header.h"
#include "mbr_partition.h"
#include "storage.h"

namespace p3tool {

// How the sectors of a disk lie in the image.
enum class SectorLayout {
    Wide16,   // 16-bit interface: 512 bytes per sector
    Halved8,  // 8-bit interface, HDF with halved sectors: 256 bytes per sector in the file
    Even8,    // 8-bit interface stored full-width: 512 bytes per sector, data in the even bytes
};

// An opened medium: an HDF image (header, data offset, halved or full
// sectors), a raw image or a whole-disk block device. Gives access to
// physical sectors by LBA. A physical sector holds 512 data bytes on a
// 16-bit disk and 256 on an 8-bit disk, whatever the image stores.
// On a disk shared with a PC the medium is confined to the PC partition
// that holds the IDEDOS disk: LBA 0 is that partition's first sector, and
// no sector outside it can be read or written.
class Medium {
public:
    // Opens an image or device. Nothing but the HDF header is read here.
    static std::unique_ptr<Medium> open(const std::string& path, bool forWriting, MediumLock lock = MediumLock::None);
    static std::unique_ptr<Medium> fromStorage(std::unique_ptr<Storage> storage);

    const std::string& path() const { return storage_->name(); }
    Storage& storage() { return *storage_; }
    const std::optional<HdfHeader>& hdf() const { return hdf_; }
    uint64_t dataOffset() const { return dataOffset_; }

    SectorLayout layout() const { return layout_; }
    // The locator of the partition table decides between Wide16 and Even8
    // for images that store 512 bytes per sector.
    void setLayout(SectorLayout layout);
    // Bytes per sector in the file: 256 for halved images, else 512.
    unsigned fileSectorBytes() const { return layout_ == SectorLayout::Halved8 ? 256 : 512; }
    // Data bytes per physical sector of the disk.
    unsigned sectorBytes() const { return layout_ == SectorLayout::Wide16 ? 512 : 256; }
    // Physical sectors present in the image (in the PC partition when
    // confined to one).
    uint64_t sectorCount() const;
    // Byte offset in the image or device of sector lba.
    uint64_t fileOffset(uint64_t lba) const { return dataOffset_ + (windowStart_ + lba) * fileSectorBytes(); }

    // Confines every later access to a partition of a PC partition table
    // (full-width media only, whose sectors are the PC's 512-byte sectors);
    // release() lifts that again. The part of the partition past the end of
    // the medium is left out.
    void confineTo(const MbrPartition& partition);
    void release();
    // The PC partition the medium is confined to, if any.
    const std::optional<MbrPartition>& pcPartition() const { return pcPartition_; }

    // Reads or writes count physical sectors starting at lba: count x
    // sectorBytes() data bytes. Sectors outside the image are refused.
    void readSectors(uint64_t lba, uint64_t count, uint8_t* out);
    void writeSectors(uint64_t lba, uint64_t count, const uint8_t* in);
    // Reads length data bytes starting offset bytes into the sectors from
    // lba on; only those bytes are fetched where the layout allows.
    void readBytes(uint64_t lba, size_t offset, size_t length, uint8_t* out);
    void sync() { storage_->sync(); }

private:
    explicit Medium(std::unique_ptr<Storage> storage);
    void checkRange(uint64_t lba, uint64_t count) const;

    std::unique_ptr<Storage> storage_;
    std::optional<HdfHeader> hdf_;
    uint64_t dataOffset_ = 0;
    SectorLayout layout_ = SectorLayout::Wide16;
    std::optional<MbrPartition> pcPartition_;
    uint64_t windowStart_ = 0;  // in sectors of the file
    uint64_t windowSectors_ = 0;
};

}  // namespace p3tool

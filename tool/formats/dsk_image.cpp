#include "dsk_image.h"

#include <algorithm>
#include <cstring>

namespace p3tool::formats {

namespace {

constexpr std::size_t kInfoBlockSize = 0x100;
constexpr std::size_t kMaxExtendedTrackBlocks = 204;  // table at 0x34..0xFF
constexpr std::size_t kSectorListOffset = 0x18;
constexpr std::size_t kSectorEntrySize = 8;

bool startsWith(std::span<const uint8_t> bytes, std::size_t offset, const char* text)
{
    const std::size_t length = std::strlen(text);
    return offset <= bytes.size() && bytes.size() - offset >= length &&
           std::memcmp(bytes.data() + offset, text, length) == 0;
}

unsigned le16(std::span<const uint8_t> bytes, std::size_t offset)
{
    return bytes[offset] | (unsigned(bytes[offset + 1]) << 8);
}

// 128 << n, kept finite for hostile size codes.
uint64_t nominalSectorSize(uint8_t sizeCode)
{
    return uint64_t(128) << std::min<unsigned>(sizeCode, 16);
}

// Reads the track information block at `start` and the sector list; `blockSize` is the size
// the disk information block gives the track (information block included).
DskTrack readTrack(std::span<const uint8_t> image, std::size_t start, uint64_t blockSize,
                   bool extended)
{
    DskTrack track;
    track.present = true;
    if (start >= image.size() || image.size() - start < kInfoBlockSize) {
        track.problem = "is cut short by the end of the image";
        return track;
    }
    if (!startsWith(image, start, "Track-Info")) {
        track.problem = "has no Track-Info signature";
        return track;
    }
    const auto info = image.subspan(start, kInfoBlockSize);
    track.trackNumber = info[0x10];
    track.sideNumber = info[0x11];
    track.sizeCode = info[0x14];
    track.gap3 = info[0x16];
    track.filler = info[0x17];
    const std::size_t count = info[0x15];
    if (kSectorListOffset + count * kSectorEntrySize > kInfoBlockSize) {
        track.problem = "lists " + std::to_string(count) +
                        " sectors, more than its information block can hold";
        return track;
    }
    const uint64_t blockEnd = start + blockSize;
    uint64_t position = start + kInfoBlockSize;
    for (std::size_t k = 0; k < count; ++k) {
        const auto entry = info.subspan(kSectorListOffset + k * kSectorEntrySize, kSectorEntrySize);
        DskSector sector;
        sector.cylinderId = entry[0];
        sector.headId = entry[1];
        sector.sectorId = entry[2];
        sector.sizeCode = entry[3];
        sector.status1 = entry[4];
        sector.status2 = entry[5];
        uint64_t stored;
        uint64_t nominal;
        if (extended) {
            nominal = nominalSectorSize(sector.sizeCode);
            // Early extended images left the length at 0: the size code then gives it.
            stored = le16(entry, 6) != 0 ? le16(entry, 6) : nominal;
        } else {
            nominal = stored = nominalSectorSize(track.sizeCode);
        }
        if (position + stored > blockEnd)
            sector.problem = "lies outside its track block";
        else if (position + stored > image.size())
            sector.problem = "is cut short by the end of the image";
        else {
            sector.offset = std::size_t(position);
            sector.size = std::size_t(std::min(stored, nominal));
        }
        position += stored;
        track.sectors.push_back(sector);
    }
    return track;
}

}  // namespace

std::string dskTrackName(int cylinder, int side)
{
    return "track " + std::to_string(cylinder) + " side " + std::to_string(side);
}

DskImage::DskImage(std::vector<uint8_t> bytes) : bytes_(std::move(bytes))
{
    const std::span<const uint8_t> image(bytes_);
    if (startsWith(image, 0, "EXTENDED"))
        extended_ = true;
    else if (!startsWith(image, 0, "MV - CPC"))
        throw FormatError("not a DSK image: it starts with neither \"MV - CPC\" nor \"EXTENDED\"");
    if (image.size() < kInfoBlockSize)
        throw FormatError("the DSK image is truncated: its disk information block needs 256 "
                          "bytes, only " +
                          std::to_string(image.size()) + " are present");

    for (std::size_t i = 0x22; i < 0x30 && image[i] != 0; ++i)
        creator_ += char(image[i]);
    while (!creator_.empty() && creator_.back() == ' ')
        creator_.pop_back();

    cylinders_ = image[0x30];
    sides_ = image[0x31];
    if (sides_ != 1 && sides_ != 2)
        throw FormatError("the DSK image claims " + std::to_string(sides_) +
                          " sides; a floppy has 1 or 2");
    const std::size_t count = std::size_t(cylinders_) * sides_;
    if (extended_ && count > kMaxExtendedTrackBlocks)
        throw FormatError("the DSK image claims " + std::to_string(count) +
                          " track blocks; its track table holds at most 204");
    const unsigned standardTrackSize = le16(image, 0x32);
    if (!extended_ && count > 0 && standardTrackSize < kInfoBlockSize)
        throw FormatError("the DSK image gives a track size of " +
                          std::to_string(standardTrackSize) +
                          " bytes, less than a track information block");

    tracks_.resize(count);
    uint64_t start = kInfoBlockSize;
    for (std::size_t i = 0; i < count; ++i) {
        const uint64_t blockSize =
            extended_ ? uint64_t(image[0x34 + i]) * 256 : uint64_t(standardTrackSize);
        if (blockSize == 0) {
            tracks_[i].problem = "is not formatted in the image";
        } else if (start >= image.size()) {
            tracks_[i].problem = "is not in the image: the image ends before it";
        } else {
            tracks_[i] = readTrack(image, std::size_t(start), blockSize, extended_);
        }
        start += blockSize;
    }
}

const DskTrack& DskImage::track(int cylinder, int side) const
{
    if (cylinder < 0 || cylinder >= cylinders_ || side < 0 || side >= sides_)
        throw FormatError(dskTrackName(cylinder, side) + " is outside the image, which has " +
                          std::to_string(cylinders_) + " tracks and " + std::to_string(sides_) +
                          (sides_ == 1 ? " side" : " sides"));
    const DskTrack& t = tracks_[std::size_t(cylinder) * sides_ + side];
    if (!t.problem.empty())
        throw FormatError(dskTrackName(cylinder, side) + " " + t.problem);
    return t;
}

std::span<const uint8_t> DskImage::readSector(int cylinder, int side, uint8_t sectorId) const
{
    const DskTrack& t = track(cylinder, side);
    const auto found = std::find_if(t.sectors.begin(), t.sectors.end(),
                                    [&](const DskSector& s) { return s.sectorId == sectorId; });
    if (found == t.sectors.end())
        throw FormatError(dskTrackName(cylinder, side) + " has no sector with ID " +
                          std::to_string(sectorId));
    if (!found->problem.empty())
        throw FormatError(dskTrackName(cylinder, side) + " sector " + std::to_string(sectorId) +
                          " " + found->problem);
    return std::span<const uint8_t>(bytes_).subspan(found->offset, found->size);
}

}  // namespace p3tool::formats

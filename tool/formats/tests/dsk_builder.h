#pragma once

// Builds DSK images in the tests, so that sector order, sizes and damage can be chosen freely.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "dsk_image.h"

namespace fixture {

struct BuiltSector {
    uint8_t sectorId = 1;
    uint8_t sizeCode = 2;
    std::vector<uint8_t> data;
};

struct BuiltTrack {
    bool present = true;
    std::vector<BuiltSector> sectors;  // stored in this order
};

// tracks[cylinder * sides + side]. Standard images use the largest track for every track block
// and the first sector's size code as the track's N.
inline std::vector<uint8_t> buildDsk(bool extended, int cylinders, int sides,
                                     const std::vector<BuiltTrack>& tracks)
{
    std::vector<uint8_t> image(256, 0);
    const char* signature = extended ? "EXTENDED CPC DSK File\r\nDisk-Info\r\n"
                                     : "MV - CPCEMU Disk-File\r\nDisk-Info\r\n";
    std::memcpy(image.data(), signature, std::strlen(signature));
    std::memcpy(image.data() + 0x22, "harnwick test", 13);
    image[0x30] = uint8_t(cylinders);
    image[0x31] = uint8_t(sides);

    std::vector<std::vector<uint8_t>> blocks;
    std::size_t largest = 0;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        std::vector<uint8_t> block;
        if (tracks[i].present) {
            block.assign(256, 0);
            std::memcpy(block.data(), "Track-Info\r\n", 12);
            block[0x10] = uint8_t(i / sides);
            block[0x11] = uint8_t(i % sides);
            block[0x14] = tracks[i].sectors.empty() ? 2 : tracks[i].sectors[0].sizeCode;
            block[0x15] = uint8_t(tracks[i].sectors.size());
            block[0x16] = 0x52;
            block[0x17] = 0xE5;
            for (std::size_t k = 0; k < tracks[i].sectors.size(); ++k) {
                const BuiltSector& s = tracks[i].sectors[k];
                uint8_t* e = block.data() + 0x18 + 8 * k;
                e[0] = uint8_t(i / sides);
                e[1] = uint8_t(i % sides);
                e[2] = s.sectorId;
                e[3] = s.sizeCode;
                e[6] = uint8_t(s.data.size());
                e[7] = uint8_t(s.data.size() >> 8);
                block.insert(block.end(), s.data.begin(), s.data.end());
            }
            block.resize((block.size() + 255) / 256 * 256, 0);
        }
        largest = std::max(largest, block.size());
        blocks.push_back(std::move(block));
    }
    if (!extended) {
        image[0x32] = uint8_t(largest);
        image[0x33] = uint8_t(largest >> 8);
    }
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (extended)
            image[0x34 + i] = uint8_t(blocks[i].size() / 256);
        else
            blocks[i].resize(largest, 0);
        image.insert(image.end(), blocks[i].begin(), blocks[i].end());
    }
    return image;
}

// The tracks of a parsed image, every sector's data read back, with each track's sector list
// reordered by `reorder` (e.g. reversed).
template <typename Reorder>
std::vector<BuiltTrack> tracksOf(const p3tool::formats::DskImage& image, Reorder reorder)
{
    std::vector<BuiltTrack> tracks;
    for (int c = 0; c < image.cylinders(); ++c)
        for (int h = 0; h < image.sides(); ++h) {
            BuiltTrack track;
            for (const auto& s : image.track(c, h).sectors) {
                const auto data = image.readSector(c, h, s.sectorId);
                track.sectors.push_back({s.sectorId, s.sizeCode, {data.begin(), data.end()}});
            }
            reorder(track.sectors);
            tracks.push_back(std::move(track));
        }
    return tracks;
}

}  // namespace fixture

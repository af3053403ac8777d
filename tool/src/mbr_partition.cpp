#include "mbr_partition.h"

#include "bytes.h"

namespace p3tool {

std::vector<MbrPartition> readMbr(const uint8_t* sector)
{
    std::vector<MbrPartition> found;
    if (sector[0x1FE] != 0x55 || sector[0x1FF] != 0xAA)
        return found;
    for (unsigned i = 0; i < 4; ++i) {
        const uint8_t* e = sector + 0x1BE + 16 * i;
        if (e[0] != 0x00 && e[0] != 0x80)
            return {};
        MbrPartition p;
        p.slot = i + 1;
        p.type = e[4];
        p.firstLba = le32(e + 8);
        p.sectors = le32(e + 12);
        if (p.type != 0 && p.sectors != 0)
            found.push_back(p);
    }
    return found;
}

}  // namespace p3tool

#pragma once

#include <cstdint>
#include <vector>

namespace p3tool {

// PC partition tables on cards shared between a +3e and a PC.
//
// Format notes:
//  * A PC partition table (master boot record, MBR) fills the first 512-byte
//    sector of the disk: byte 0 of a raw image or device, byte DOFS of an HDF.
//    It is valid only with the signature 55 AA at 0x1FE.
//  * Four 16-byte entries at 0x1BE, 0x1CE, 0x1DE and 0x1EE:
//      +00  boot indicator, 00 or 80 (anything else: not a partition table)
//      +01  start C/H/S (3 bytes)       ignored: the LBA fields are used
//      +04  partition type, 00 = empty slot
//      +05  end C/H/S (3 bytes)         ignored
//      +08  first LBA, 32-bit           in 512-byte sectors from the disk start
//      +0C  sector count, 32-bit
//  * From ROM v1.28 the +3e can use part of a disk only: its IDEDOS disk then
//    lives inside an MBR entry of type 0x7F, and the rest of the card holds PC
//    partitions (usually FAT). Inside that partition everything is as on a
//    whole IDEDOS disk: PLUSIDEDOS at its first sector (or at the first sector
//    of its second track), the cylinders and heads of every IDEDOS entry
//    counted from the partition's first sector.
//  * A disk whose very first sector holds PLUSIDEDOS has no MBR; that test
//    comes first. A PC partition table and PLUSIDEDOS at C0/H1 of the whole
//    disk is the older layout that keeps the first track for a boot record.
//  * Writers never touch anything outside the 0x7F partition: not the MBR,
//    not the other partitions, not the gaps between them.
//  * Extended partitions (types 05, 0F, 85) are not followed: the 0x7F entry
//    is looked for in the four primary slots only.
constexpr uint8_t kIdedosMbrType = 0x7F;

struct MbrPartition {
    unsigned slot = 0;  // 1-4, as PC tools number them
    uint8_t type = 0;
    uint64_t firstLba = 0;
    uint64_t sectors = 0;
};

// The used entries of the PC partition table in a 512-byte sector, in slot
// order; empty when the sector holds no valid table (no signature, or a boot
// indicator other than 00/80, as in a FAT boot sector's code bytes).
std::vector<MbrPartition> readMbr(const uint8_t* sector);

}  // namespace p3tool

#pragma once

#include <cstdint>
#include <string>

#include "idedos_table.h"

namespace p3tool {

// A new image with an IDEDOS table: the system partition (from C0/H0, or
// from C0/H1 leaving the first track to a PC boot record) and one free-space
// entry covering the rest of the disk.
struct CreateOptions {
    Geometry geometry;
    bool raw = false;           // no HDF header
    bool eightBit = false;      // 8-bit interface: halved HDF, or data in the even bytes of a raw image
    bool revision10 = false;    // HDF 1.0 header instead of 1.1
    bool tableAtHead1 = false;  // system partition at C0/H1
    unsigned maxPartitions = 64;
};

// The geometry for a disk of about this many bytes (512-byte sectors):
// 16 heads and 32 sectors per track while the cylinders fit, then 16/63,
// then 255/63. ToolError when the size is too small or too large.
Geometry geometryForSize(uint64_t bytes);

// Checks the options; ToolError naming what is wrong.
void validateCreateOptions(const CreateOptions& o);

// Creates the image file (never replacing an existing file).
void createImage(const std::string& path, const CreateOptions& o);

// ToolError unless the name can be stored as a partition name: 1 to 16
// printable ASCII characters, no leading blank, no "," ":" or double quote.
void validatePartitionName(const std::string& name);

}  // namespace p3tool

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "idedos_table.h"

namespace p3tool {

// Environment variable with extra paths (colon-separated) that scan
// examines as if they were devices, after the whole disks of /sys/block.
constexpr const char* kScanExtraVariable = "HARNWICK_SCAN_EXTRA";

struct ScannedDevice {
    std::string name;  // the path every later command is given
    uint64_t sizeBytes = 0;  // of the sector data (an image's header left out), the whole device
    // Where the IDEDOS disk starts on a disk shared with a PC (a partition of
    // type 0x7F), in 512-byte sectors; 0 when it is the whole disk.
    uint64_t idedosStart = 0;
    Geometry geometry;
    std::vector<std::string> partitions;  // shown names of the used entries, system partition left out
    std::string model;
};

struct ScanResult {
    std::vector<ScannedDevice> devices;      // those holding an IDEDOS table
    std::vector<std::string> unreadable;    // one message per device that could not be read
};

// The candidate paths: /dev/<name> for every whole disk listed in the given
// sysfs folder (size 0 and RAM disks left out), then the extra paths.
std::vector<std::string> scanCandidates(const std::string& sysBlock, const std::string& extra);

ScanResult scanDevices(const std::vector<std::string>& candidates, const std::string& sysBlock);

}  // namespace p3tool

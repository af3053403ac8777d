#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace p3tool {

// Opening block devices the way a desktop user reaches them, and keeping
// writes to them safe.

// The descriptor number N of a medium named /dev/fd/N or /proc/self/fd/N:
// one the calling program opened (a browser gets it from udisks2's
// OpenDevice, which asks the desktop for authorization) and passed on to
// this run. The tool uses that descriptor as it is and never reopens the
// path: reopening would need the very permission the caller lacks.
std::optional<int> inheritedDescriptor(const std::string& path);

// What a user who may not open a device can do about it.
constexpr const char* kDeviceAccessAdvice = "add yourself to the disk group, or run with udisks2";

// Where the block device, one of its partitions or a device stacked on them
// (a mapping listed under holders/) is mounted: "/media/card (/dev/sdb1)".
// Empty when nothing is. Device numbers are matched through
// <sysRoot>/dev/block/MAJ:MIN and the mount table <mountInfo> (the format of
// /proc/self/mountinfo).
std::string mountedPart(dev_t device, const std::string& sysRoot = "/sys",
                        const std::string& mountInfo = "/proc/self/mountinfo");

// Throws IoError naming the mount point when mountedPart finds one: writing
// under a mounted file system corrupts it, and the kernel's cache would hide
// the change from the system anyway.
void refuseIfMounted(const std::string& path, dev_t device);

// Makes every write so far reach the device (fsync) and drops the block
// device's own cache (BLKFLSBUF), so the next reader sees the card rather
// than cached pages. BLKFLSBUF needs CAP_SYS_ADMIN; a user writing through a
// descriptor from udisks2 has the fsync only, which already makes the data
// durable. Returns the failure as text, empty when the flush worked.
std::string flushBlockDevice(int fd);

}  // namespace p3tool

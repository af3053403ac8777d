// scan: whole-disk block devices (and the extra paths) that hold an IDEDOS table.
#include <cstdlib>

#include "commands.h"
#include "device_scan.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

int cmdScan(Invocation& inv, Output& out)
{
    const bool backend = inv.takeFlag("-backend");
    inv.expectArgs(0, 0, "scan [-backend]");
    const char* extra = std::getenv(kScanExtraVariable);
    const std::string sysBlock = "/sys/block";
    const ScanResult r = scanDevices(scanCandidates(sysBlock, extra ? extra : ""), sysBlock);
    if (backend) {
        out.line(std::to_string(r.devices.size()));
        for (const ScannedDevice& d : r.devices) {
            std::string name = d.name;
            out.line(name + "," + std::to_string(d.sizeBytes) + "," + std::to_string(d.geometry.cylinders) + "," +
                     std::to_string(d.geometry.heads) + "," + std::to_string(d.geometry.sectors) + "," +
                     std::to_string(d.partitions.size()) + "," + d.model);
        }
        return ExitOk;
    }
    // Nothing found and nothing to say: the output stays empty, and the
    // browser shows its own "no device" message.
    for (const ScannedDevice& d : r.devices) {
        out.line(d.name + (d.model.empty() ? "" : " (" + d.model + ")") + ": " + groupThousands(d.sizeBytes) +
                 " bytes, C/H/S " + std::to_string(d.geometry.cylinders) + "/" + std::to_string(d.geometry.heads) +
                 "/" + std::to_string(d.geometry.sectors) +
                 (d.idedosStart ? ", IDEDOS disk in a PC partition from LBA " + std::to_string(d.idedosStart) : ""));
        std::string names;
        for (const auto& p : d.partitions)
            names += (names.empty() ? "" : ", ") + p;
        out.line("  " + std::to_string(d.partitions.size()) + " partition(s)" + (names.empty() ? "" : ": " + names));
    }
    for (const std::string& u : r.unreadable)
        out.line("Not examined: " + u);
    return ExitOk;
}

}  // namespace p3tool

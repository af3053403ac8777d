#include "device_scan.h"

#include <algorithm>
#include <dirent.h>
#include <fstream>

#include "plus3_partition.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

std::string readSysText(const std::string& path)
{
    std::ifstream in(path);
    std::string s;
    std::getline(in, s);
    return trim(s);
}

std::string sysName(const std::string& device)
{
    const std::string prefix = "/dev/";
    if (device.rfind(prefix, 0) != 0)
        return {};
    std::string name = device.substr(prefix.size());
    std::replace(name.begin(), name.end(), '/', '!');
    return name;
}

}  // namespace

std::vector<std::string> scanCandidates(const std::string& sysBlock, const std::string& extra)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(sysBlock.c_str())) {
        while (const dirent* d = ::readdir(dir)) {
            const std::string name = d->d_name;
            if (name == "." || name == ".." || name.rfind("ram", 0) == 0 || name.rfind("zram", 0) == 0)
                continue;
            const std::string size = readSysText(sysBlock + "/" + name + "/size");
            if (size.empty() || size == "0")
                continue;
            names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    for (std::string name : names) {
        std::replace(name.begin(), name.end(), '!', '/');
        paths.push_back("/dev/" + name);
    }
    size_t start = 0;
    while (start <= extra.size()) {
        size_t end = extra.find(':', start);
        if (end == std::string::npos)
            end = extra.size();
        const std::string path = extra.substr(start, end - start);
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(path);
        start = end + 1;
    }
    return paths;
}

ScanResult scanDevices(const std::vector<std::string>& candidates, const std::string& sysBlock)
{
    ScanResult result;
    for (const std::string& path : candidates) {
        try {
            OpenMedium m = openMedium(path, MediumLock::None);
            ScannedDevice d;
            d.name = path;
            const uint64_t bytes = m.medium->storage().size();
            d.sizeBytes = bytes - std::min<uint64_t>(bytes, m.medium->hdf() ? m.medium->hdf()->dataOffset : 0);
            if (const auto& pc = m.medium->pcPartition())
                d.idedosStart = pc->firstLba;
            d.geometry = m.table.geometry();
            for (const PartitionEntry* e : m.table.usedEntries())
                if (e->type() != PartitionType::System && e->type() != PartitionType::Free)
                    d.partitions.push_back(e->displayName());
            const std::string sys = sysName(path);
            if (!sys.empty()) {
                const std::string vendor = readSysText(sysBlock + "/" + sys + "/device/vendor");
                const std::string model = readSysText(sysBlock + "/" + sys + "/device/model");
                d.model = trim(vendor + " " + model);
                std::replace(d.model.begin(), d.model.end(), ',', ' ');
            }
            result.devices.push_back(std::move(d));
        } catch (const IoError& e) {
            result.unreadable.push_back(e.what());
        } catch (const ToolError&) {
            // Readable, but no IDEDOS medium: not a compatible device.
        }
    }
    return result;
}

}  // namespace p3tool

#include "device_guard.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <linux/fs.h>
#include <set>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

using DeviceNumber = std::pair<unsigned, unsigned>;

std::optional<DeviceNumber> parseDeviceNumber(const std::string& text)
{
    unsigned major = 0, minor = 0;
    char colon = 0;
    std::istringstream in(text);
    if (in >> major >> colon >> minor && colon == ':')
        return DeviceNumber{major, minor};
    return std::nullopt;
}

std::string firstLine(const std::string& path)
{
    std::ifstream in(path);
    std::string s;
    std::getline(in, s);
    return trim(s);
}

std::vector<std::string> subfolders(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* d = ::readdir(dir))
            if (d->d_name[0] != '.')
                names.push_back(d->d_name);
        ::closedir(dir);
    }
    return names;
}

// The device, its partitions (sysfs subfolders with a "partition" file) and
// whatever is stacked on any of them, a few levels deep.
void collectDevices(const std::string& sysRoot, const std::string& folder, int depth, std::set<DeviceNumber>& out)
{
    if (depth > 4)
        return;
    for (const std::string& name : subfolders(folder)) {
        const std::string sub = folder + "/" + name;
        if (::access((sub + "/partition").c_str(), F_OK) == 0)
            if (const auto n = parseDeviceNumber(firstLine(sub + "/dev"))) {
                out.insert(*n);
                collectDevices(sysRoot, sub, depth + 1, out);
            }
    }
    for (const std::string& holder : subfolders(folder + "/holders"))
        if (const auto n = parseDeviceNumber(firstLine(sysRoot + "/class/block/" + holder + "/dev"))) {
            out.insert(*n);
            collectDevices(sysRoot, sysRoot + "/class/block/" + holder, depth + 1, out);
        }
}

// Mount points in mountinfo escape blanks, tabs, new lines and backslashes
// as three octal digits.
std::string unescapeMountField(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && std::isdigit(uint8_t(s[i + 1])) &&
            std::isdigit(uint8_t(s[i + 2])) && std::isdigit(uint8_t(s[i + 3]))) {
            out += char((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

std::optional<int> inheritedDescriptor(const std::string& path)
{
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        const std::string p = prefix;
        if (path.rfind(p, 0) != 0)
            continue;
        const auto n = parseDecimal(path.substr(p.size()), 1 << 20);
        if (n)
            return int(*n);
    }
    return std::nullopt;
}

std::string mountedPart(dev_t device, const std::string& sysRoot, const std::string& mountInfo)
{
    std::set<DeviceNumber> devices{{major(device), minor(device)}};
    collectDevices(sysRoot,
                   sysRoot + "/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device)), 0,
                   devices);
    std::ifstream in(mountInfo);
    std::string line;
    while (std::getline(in, line)) {
        // id parent MAJ:MIN root mount-point options [optional...] - type source super-options
        std::istringstream fields(line);
        std::string id, parent, number, root, point;
        if (!(fields >> id >> parent >> number >> root >> point))
            continue;
        const auto n = parseDeviceNumber(number);
        if (!n || !devices.count(*n))
            continue;
        std::string word, source;
        while (fields >> word && word != "-") {
        }
        std::string type;
        fields >> type >> source;
        return unescapeMountField(point) + (source.empty() ? "" : " (" + unescapeMountField(source) + ")");
    }
    return {};
}

void refuseIfMounted(const std::string& path, dev_t device)
{
    const std::string where = mountedPart(device);
    if (!where.empty())
        throw IoError("device " + path + " is in use: mounted at " + where +
                      "; unmount it (or eject it in the file manager) before writing to it");
}

std::string flushBlockDevice(int fd)
{
    if (::fsync(fd) != 0)
        return std::strerror(errno);
    if (::ioctl(fd, BLKFLSBUF, 0) != 0 && errno != EACCES && errno != EPERM)
        return std::strerror(errno);
    return {};
}

}  // namespace p3tool

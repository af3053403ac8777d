// create: a new image with an IDEDOS table.
#include <cctype>

#include "commands.h"
#include "idedos_create.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

const char* kCreateForm =
    "create [--size <n>[K|M|G] | --cyl <c> --heads <h> --spt <s>] [--halved] [--raw] [--hdf10] "
    "[--table-at-head1] [--max-partitions <n>]";

// "64M", "512K", "4G" or a number of bytes.
uint64_t parseSize(const std::string& text)
{
    std::string digits = text;
    uint64_t unit = 1;
    if (!digits.empty()) {
        switch (std::toupper(static_cast<unsigned char>(digits.back()))) {
        case 'K': unit = 1024; break;
        case 'M': unit = 1024 * 1024; break;
        case 'G': unit = 1024ull * 1024 * 1024; break;
        default: break;
        }
        if (unit != 1)
            digits.pop_back();
    }
    const auto v = parseDecimal(digits, (1ull << 40) / unit);
    if (!v)
        throw UsageError("\"" + text + "\" is not a size such as 64M");
    return *v * unit;
}

uint32_t parseNumber(const std::string& option, const std::string& text, uint32_t maximum)
{
    const auto v = parseDecimal(text, maximum);
    if (!v)
        throw UsageError(option + " needs a whole number from 0 to " + std::to_string(maximum) + ", not \"" + text + "\"");
    return uint32_t(*v);
}

bool hasRawExtension(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    const std::string ext = toUpperAscii(path.substr(dot + 1));
    return ext == "RAW" || ext == "IMG";
}

}  // namespace

int cmdCreate(Invocation& inv, Output& out)
{
    CreateOptions o;
    o.raw = hasRawExtension(inv.medium);
    bool bySize = false, byGeometry[3] = {false, false, false};
    uint64_t size = 32ull * 1024 * 1024;
    auto value = [&](size_t& i) -> const std::string& {
        if (i + 1 >= inv.args.size())
            throw UsageError(inv.args[i] + " needs a value; usage: 3E.EXE <new image> " + kCreateForm);
        return inv.args[++i];
    };
    for (size_t i = 0; i < inv.args.size(); ++i) {
        const std::string& a = inv.args[i];
        if (a == "--size") {
            size = parseSize(value(i));
            bySize = true;
        } else if (a == "--cyl") {
            o.geometry.cylinders = parseNumber(a, value(i), 65535);
            byGeometry[0] = true;
        } else if (a == "--heads") {
            o.geometry.heads = parseNumber(a, value(i), 255);
            byGeometry[1] = true;
        } else if (a == "--spt") {
            o.geometry.sectors = parseNumber(a, value(i), 255);
            byGeometry[2] = true;
        } else if (a == "--max-partitions") {
            o.maxPartitions = parseNumber(a, value(i), 65535);
        } else if (a == "--halved") {
            o.eightBit = true;
        } else if (a == "--raw") {
            o.raw = true;
        } else if (a == "--hdf10") {
            o.revision10 = true;
        } else if (a == "--table-at-head1") {
            o.tableAtHead1 = true;
        } else {
            throw UsageError("unknown option \"" + a + "\"; usage: 3E.EXE <new image> " + kCreateForm);
        }
    }
    const bool anyGeometry = byGeometry[0] || byGeometry[1] || byGeometry[2];
    if (anyGeometry && !(byGeometry[0] && byGeometry[1] && byGeometry[2]))
        throw UsageError("--cyl, --heads and --spt go together");
    if (anyGeometry && bySize)
        throw UsageError("give either --size or --cyl/--heads/--spt");
    if (!anyGeometry)
        o.geometry = geometryForSize(size);
    createImage(inv.medium, o);
    const Geometry& g = o.geometry;
    out.line("Created " + inv.medium + ": " + (o.raw ? "raw image" : o.revision10 ? "HDF 1.0 image" : "HDF 1.1 image") +
             (o.eightBit ? ", 8-bit" : "") + ", C/H/S " + std::to_string(g.cylinders) + "/" + std::to_string(g.heads) +
             "/" + std::to_string(g.sectors) + ", " + std::to_string(o.maxPartitions) + " partition entries");
    return ExitOk;
}

}  // namespace p3tool

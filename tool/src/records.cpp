#include "records.h"

namespace p3tool {

namespace {
std::string join(std::initializer_list<std::string> fields)
{
    std::string s;
    bool first = true;
    for (const auto& f : fields) {
        if (!first)
            s += ',';
        s += f;
        first = false;
    }
    return s;
}
using std::to_string;
}  // namespace

std::string partitionAttrText(const PartitionEntry& e)
{
    const uint8_t letter = e.driveLetter();
    if (e.type() != PartitionType::Plus3Dos || letter < 'A' || letter > 'Z')
        return {};
    return std::string(1, char(letter)) + ":";
}

std::string fileAttrText(const CpmFile& f)
{
    std::string s;
    s += f.readOnly ? 'R' : '-';
    s += f.system ? 'S' : '-';
    s += f.archived ? 'A' : '-';
    for (int k = 0; k < 4; ++k)
        if (f.userAttributes & (8 >> k))
            s += char('1' + k);
    return s;
}

std::string geometryRecord(const Geometry& g)
{
    return join({to_string(g.cylinders), to_string(g.heads), to_string(g.sectors)});
}

std::string countsRecord(const PartitionTable& t)
{
    unsigned used = 0;
    for (const auto& e : t.slots())
        if (e.index < t.capacity() && e.type() != PartitionType::Unused)
            ++used;
    return join({to_string(used), to_string(t.capacity() - used)});
}

std::string partitionRecord(const PartitionTable& t, const PartitionEntry& e)
{
    return join({e.displayName(), to_string(e.type()), partitionAttrText(e), to_string(e.startCylinder()),
                 to_string(e.startHead()), to_string(e.endCylinder()), to_string(e.endHead()),
                 to_string(t.firstLba(e)), to_string(t.lastLba(e)), to_string(t.sizeBytes(e))});
}

std::string dirHeaderRecord()
{
    return "Name,Size,Attr,VerMajor,VerMinor,HdSize,Type,RealSize,Start,Vars";
}

FileFacts fileFacts(const CpmFile& f, const std::optional<Plus3Header>& header, uint32_t blockSize)
{
    FileFacts facts;
    facts.size = f.recordBytes();
    facts.allocated = uint64_t(f.allocatedBlocks) * blockSize;
    if (header) {
        facts.issue = header->issue;
        facts.version = header->version;
        facts.type = header->type;
        facts.realSize = header->dataLength;
        facts.start = header->param1;
        facts.vars = header->param2;
    } else {
        facts.realSize = f.exactLength();
    }
    return facts;
}

std::string fileRecord(const CpmFile& f, const FileFacts& x)
{
    return join({f.displayName(), to_string(x.size), fileAttrText(f), to_string(x.issue), to_string(x.version),
                 to_string(x.allocated), to_string(x.type), to_string(x.realSize), to_string(x.start),
                 to_string(x.vars)});
}

}  // namespace p3tool

// dir: the files of user 0 of a +3DOS partition.
#include "commands.h"
#include "medium_access.h"
#include "records.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

std::string typeText(unsigned type)
{
    switch (type) {
    case 0: return "Program";
    case 1: return "Number Array";
    case 2: return "Character Array";
    case 3: return "Bytes";
    case 255: return "Headerless";
    default: return "Unknown (" + std::to_string(type) + ")";
    }
}

std::string col(const std::string& s, size_t width, bool right = false)
{
    if (s.size() >= width)
        return s + " ";
    const std::string fill(width - s.size(), ' ');
    return (right ? fill + s : s + fill) + " ";
}

}  // namespace

int cmdDir(Invocation& inv, Output& out)
{
    const bool backend = inv.takeFlag("-backend");
    inv.expectArgs(1, 1, "dir <partition> [-backend]");
    OpenMedium m = openForReading(inv.medium);
    Plus3Partition p(m, requirePartition(m, inv.args[0]));
    CpmFileSystem& fs = p.fs();
    const auto files = fs.filesOfUser(0);

    if (backend)
        out.line(dirHeaderRecord());
    else
        out.line(col("Name", 12) + col("Size", 10, true) + col("Attr", 7) + col("Ver", 4) + col("On disk", 10, true) +
                 col("Type", 16) + col("Real size", 10, true) + col("Start", 6, true) + col("Vars", 6, true));
    uint64_t allocated = 0;
    for (const CpmFile& f : files) {
        // A file whose first block cannot be read is listed without a
        // header; get and check report what is wrong with it.
        std::optional<Plus3Header> header;
        try {
            header = fs.readHeader(f);
        } catch (const ToolError&) {
        }
        const FileFacts facts = fileFacts(f, header, fs.params().blockSize());
        allocated += facts.allocated;
        if (backend) {
            out.line(fileRecord(f, facts));
            continue;
        }
        out.line(col(f.displayName(), 12) + col(groupThousands(facts.size), 10, true) + col(fileAttrText(f), 7) +
                 col(std::to_string(facts.issue) + "." + std::to_string(facts.version), 4) +
                 col(groupThousands(facts.allocated), 10, true) + col(typeText(facts.type), 16) +
                 col(groupThousands(facts.realSize), 10, true) + col(std::to_string(facts.start), 6, true) +
                 col(std::to_string(facts.vars), 6, true));
    }
    if (!backend)
        out.line(std::to_string(files.size()) + " file(s), " + groupThousands(allocated) + " bytes allocated, " +
                 groupThousands(uint64_t(fs.freeBlocks()) * fs.params().blockSize()) + " bytes free");
    return ExitOk;
}

}  // namespace p3tool

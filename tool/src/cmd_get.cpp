// get: one file of a +3DOS partition into a host folder.
#include "commands.h"
#include "host_files.h"
#include "plus3_file.h"
#include "medium_access.h"
#include "tool_error.h"

namespace p3tool {

namespace {
constexpr size_t kGetChunkBytes = 256 * 1024;
}  // namespace

int cmdGet(Invocation& inv, Output&)
{
    inv.expectArgs(2, 2, "get <partition>:<file> <folder>/");
    const PartitionAndFile pf = splitPartitionAndFile(inv.args[0]);
    const std::string folder = existingFolder(inv.args[1]);
    OpenMedium m = openForReading(inv.medium);
    Plus3Partition p(m, requirePartition(m, pf.partition));
    const auto files = p.fs().filesOfUser(0);
    const CpmFile* f = findFile(files, pf.file);
    if (!f)
        throw ToolError("no file named \"" + pf.file + "\" in partition \"" + p.name() + "\"");
    // The host file takes the name as it was asked for: it matched a shown
    // name, which never holds a path separator. The bytes go over in pieces
    // of kGetChunkBytes, so memory does not grow with the file.
    HostFileWriter out(folder, trimmedHostName(pf.file));
    streamFileContents(p.fs(), *f, kGetChunkBytes, [&](const uint8_t* bytes, size_t n) { out.write(bytes, n); });
    out.commit();
    return ExitOk;
}

}  // namespace p3tool

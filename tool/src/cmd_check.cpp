// check: the partition table and the +3DOS file systems of a medium.
#include "commands.h"
#include "cpm_check.h"
#include "medium_access.h"
#include "tool_error.h"

namespace p3tool {

namespace {

size_t checkPartition(OpenMedium& m, const PartitionEntry& e, Output& out)
{
    std::vector<std::string> faults;
    try {
        Plus3Partition p(m, e);
        // A change left staged by an interrupted write is not a fault: it is
        // said what the next write does with it, and the file system is
        // checked as that leaves it. A journal that cannot be read is one.
        if (p.pending() && p.pending()->damage.empty())
            out.line(e.displayName() + ": " + p.pending()->describe());
        else if (p.pending())
            faults.push_back(p.pending()->describe());
        const auto found = checkFileSystem(p.fs());
        faults.insert(faults.end(), found.begin(), found.end());
    } catch (const ToolError& error) {
        faults.push_back(error.what());
    }
    for (const auto& f : faults)
        out.line(e.displayName() + ": " + f);
    if (faults.empty())
        out.line(e.displayName() + ": no faults");
    return faults.size();
}

}  // namespace

int cmdCheck(Invocation& inv, Output& out)
{
    inv.expectArgs(0, 1, "check [<partition>]");
    OpenMedium m = openForReading(inv.medium);
    size_t faults = 0;
    if (inv.args.size() == 1) {
        const PartitionEntry& e = requirePartition(m, inv.args[0]);
        if (e.type() != PartitionType::Plus3Dos)
            throw ToolError("not a +3DOS partition: \"" + e.displayName() + "\"");
        faults += checkPartition(m, e, out);
    } else {
        const auto tableFaults = checkPartitionTable(m.table);
        for (const auto& f : tableFaults)
            out.line("partition table: " + f);
        if (tableFaults.empty())
            out.line("partition table: no faults");
        faults += tableFaults.size();
        for (const PartitionEntry* e : m.table.usedEntries())
            if (e->type() == PartitionType::Plus3Dos)
                faults += checkPartition(m, *e, out);
    }
    if (faults > 0) {
        out.keepOnError = true;
        throw ToolError(std::to_string(faults) + " fault(s) found on " + inv.medium, ExitFaults);
    }
    return ExitOk;
}

}  // namespace p3tool

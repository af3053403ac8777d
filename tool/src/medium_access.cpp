#include "medium_access.h"

#include "cpm_check.h"
#include "tool_error.h"

namespace p3tool {

OpenMedium openForReading(const std::string& path) { return openMedium(path, MediumLock::Shared); }

ToolError damagedMedium(const std::string& path, const std::string& where, const std::string& fault)
{
    return ToolError("damaged " + where + " on " + path + ": " + fault + "; nothing was written (run \"3E.EXE " + path +
                     " check\" for every fault)");
}

WritableMedium::WritableMedium(const std::string& path) : m_(openMedium(path, MediumLock::Exclusive))
{
    const auto faults = checkPartitionTable(m_.table);
    if (!faults.empty())
        throw damagedMedium(path, "partition table", faults.front());
}

Plus3Partition& WritableMedium::plus3(const std::string& name) { return plus3(requirePartition(m_, name)); }

Plus3Partition& WritableMedium::plus3(const PartitionEntry& entry)
{
    auto& slot = partitions_[entry.index];
    if (slot)
        return *slot;
    std::unique_ptr<Plus3Partition> p;
    try {
        p = std::make_unique<Plus3Partition>(m_, entry);
    } catch (const IoError&) {
        throw;
    } catch (const ToolError& e) {
        if (entry.type() != PartitionType::Plus3Dos)
            throw;
        throw ToolError(std::string(e.what()) + "; nothing was written (run \"3E.EXE " + path() +
                        " check\" for every fault)");
    }
    if (p->pending() && !p->pending()->damage.empty())
        throw damagedMedium(path(), "partition \"" + p->name() + "\"", p->pending()->describe());
    // Checked as the resolution leaves it: the state every reader sees.
    const auto faults = structuralFaults(p->fs());
    if (!faults.empty())
        throw damagedMedium(path(), "file system in partition \"" + p->name() + "\"", faults.front());
    p->finishPending();
    slot = std::move(p);
    return *slot;
}

}  // namespace p3tool

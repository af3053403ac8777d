#include "plus3_partition.h"

#include "tool_error.h"

namespace p3tool {

OpenMedium openMedium(const std::string& path, MediumLock lock)
{
    auto medium = Medium::open(path, lock == MediumLock::Exclusive, lock);
    PartitionTable table = PartitionTable::load(*medium);
    return OpenMedium{std::move(medium), std::move(table)};
}

const PartitionEntry& requirePartition(const OpenMedium& m, const std::string& name)
{
    const PartitionEntry* e = m.table.find(name);
    if (!e)
        throw ToolError("no partition named \"" + name + "\" on " + m.medium->path());
    return *e;
}

DiskParams plus3Params(const PartitionEntry& entry) { return DiskParams::fromXdpb(entry.xdpb()); }

namespace {

const PartitionEntry& checkedPlus3(OpenMedium& m, const PartitionEntry& e)
{
    if (e.type() != PartitionType::Plus3Dos)
        throw ToolError("not a +3DOS partition: \"" + e.displayName() + "\" is of type " + std::to_string(e.type()) +
                        " (" + partitionTypeText(e.type()) + ")");
    const std::string why = m.table.extentProblem(e);
    if (!why.empty())
        throw ToolError("damaged partition entry \"" + e.displayName() + "\" on " + m.medium->path() + ": " + why);
    return e;
}

}  // namespace

Plus3Partition::Plus3Partition(OpenMedium& m, const PartitionEntry& entry)
    : entry_(checkedPlus3(m, entry)),
      source_(*m.medium, m.table.firstLba(entry), m.table.logicalSectors(entry),
              "partition \"" + entry.displayName() + "\" of " + m.medium->path()),
      fs_(std::make_unique<CpmFileSystem>(source_, plus3Params(entry)))
{
    try {
        pending_ = findPendingChange(*fs_);
    } catch (const ToolError& e) {
        pending_ = PendingChange{};
        pending_->damage = e.what();
    }
    if (pending_ && pending_->damage.empty())
        resolution_ = resolveInMemory(*fs_, *pending_);
}

void Plus3Partition::finishPending()
{
    if (!pending_)
        return;
    if (!pending_->damage.empty())
        throw ToolError("partition \"" + name() + "\" holds " + pending_->describe());
    writeResolution(*fs_, resolution_);
    pending_.reset();
}

}  // namespace p3tool

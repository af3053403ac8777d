// showptable and showpentry: the partition table and one partition.
#include <cstdio>

#include "commands.h"
#include "medium_access.h"
#include "records.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

std::string pad(const std::string& s, size_t width)
{
    return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}

std::string padLeft(const std::string& s, size_t width)
{
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string chs(unsigned c, unsigned h) { return std::to_string(c) + "/" + std::to_string(h); }

std::string sizeText(uint64_t bytes)
{
    return groupThousands(bytes) + " bytes (" + std::to_string(bytes / (1024 * 1024)) + " MB)";
}

std::string layoutText(Medium& m)
{
    const auto* file = dynamic_cast<const FileStorage*>(&m.storage());
    std::string kind = m.hdf() ? std::string("HDF ") + (m.hdf()->revision == 0x10 ? "1.0" : "1.1") + " image"
                               : (file && file->isBlockDevice() ? "block device" : "raw image");
    switch (m.layout()) {
    case SectorLayout::Wide16: return kind + ", 16-bit, 512-byte sectors";
    case SectorLayout::Halved8: return kind + ", 8-bit, halved 256-byte sectors";
    case SectorLayout::Even8: return kind + ", 8-bit, data in the even bytes of 512-byte sectors";
    }
    return kind;
}

void describeMedium(OpenMedium& m, Output& out)
{
    const Geometry& g = m.table.geometry();
    out.line("Medium: " + m.medium->path());
    out.line("Layout: " + layoutText(*m.medium));
    out.line("Geometry (C/H/S): " + std::to_string(g.cylinders) + "/" + std::to_string(g.heads) + "/" +
             std::to_string(g.sectors));
    out.line("Size: " + sizeText(uint64_t(g.cylinders) * g.heads * g.sectors * m.medium->sectorBytes()));
    if (const auto& pc = m.medium->pcPartition())
        out.line("IDEDOS disk: in PC partition " + std::to_string(pc->slot) + " (type 7F), starting at LBA " +
                 std::to_string(pc->firstLba) + " of the medium, " + groupThousands(m.medium->sectorCount()) +
                 " sectors; the LBAs below count from there");
    else
        out.line("IDEDOS disk: the whole medium, starting at LBA 0");
    out.line("Partition table at LBA " + std::to_string(m.table.tableLba()) + ", " +
             std::to_string(m.table.capacity()) + " entries");
}

}  // namespace

int cmdShowPTable(Invocation& inv, Output& out)
{
    const bool backend = inv.takeFlag("-backend");
    inv.expectArgs(0, 0, "showptable [-backend]");
    OpenMedium m = openForReading(inv.medium);
    const PartitionTable& t = m.table;
    if (backend) {
        out.line(geometryRecord(t.geometry()));
        out.line(countsRecord(t));
        for (const PartitionEntry* e : t.usedEntries())
            out.line(partitionRecord(t, *e));
        return ExitOk;
    }
    describeMedium(m, out);
    out.line("");
    out.line(pad("Name", 18) + pad("Type", 14) + pad("Attr", 6) + padLeft("Begin C/H", 11) + padLeft("End C/H", 11) +
             padLeft("First LBA", 12) + padLeft("Last LBA", 12) + padLeft("Size", 16));
    for (const PartitionEntry* e : t.usedEntries())
        out.line(pad(e->displayName(), 18) + pad(partitionTypeText(e->type()), 14) + pad(partitionAttrText(*e), 6) +
                 padLeft(chs(e->startCylinder(), e->startHead()), 11) +
                 padLeft(chs(e->endCylinder(), e->endHead()), 11) + padLeft(std::to_string(t.firstLba(*e)), 12) +
                 padLeft(std::to_string(t.lastLba(*e)), 12) + padLeft(groupThousands(t.sizeBytes(*e)), 16));
    return ExitOk;
}

int cmdShowPEntry(Invocation& inv, Output& out)
{
    inv.expectArgs(1, 1, "showpentry <partition>");
    OpenMedium m = openForReading(inv.medium);
    const PartitionEntry* found = m.table.find(inv.args[0]);
    if (!found && inv.args[0] == inv.medium) {
        // The browser's tree names the medium itself this way.
        describeMedium(m, out);
        return ExitOk;
    }
    const PartitionEntry& e = requirePartition(m, inv.args[0]);
    const PartitionTable& t = m.table;
    out.line("Partition: " + e.displayName());
    out.line("Type: " + std::to_string(e.type()) + " (" + partitionTypeText(e.type()) + ")");
    out.line("Table entry: " + std::to_string(e.index));
    out.line("Begin (C/H): " + chs(e.startCylinder(), e.startHead()) + ", LBA " + std::to_string(t.firstLba(e)));
    out.line("End (C/H): " + chs(e.endCylinder(), e.endHead()) + ", LBA " + std::to_string(t.lastLba(e)));
    out.line("Size: " + sizeText(t.sizeBytes(e)));
    out.line("Largest logical sector: " + std::to_string(e.largestLogicalSector()));
    const std::string problem = t.extentProblem(e);
    if (!problem.empty())
        out.line("Damaged: " + problem);
    if (e.type() == PartitionType::System) {
        const Geometry& g = t.geometry();
        out.line("Disk geometry (C/H/S): " + std::to_string(g.cylinders) + "/" + std::to_string(g.heads) + "/" +
                 std::to_string(g.sectors));
        out.line("Partition entries: " + std::to_string(t.capacity()));
    }
    if (e.type() != PartitionType::Plus3Dos || !problem.empty())
        return ExitOk;

    const std::string attr = partitionAttrText(e);
    out.line("Drive: " + (attr.empty() ? std::string("not mapped") : attr));
    Plus3Partition p(m, e);
    CpmFileSystem& fs = p.fs();
    const DiskParams& x = fs.params();
    const uint64_t bs = x.blockSize();
    const auto dirBlocks = x.directoryBlocks().size();
    unsigned usedEntries = 0;
    for (const DirEntry& d : fs.directory())
        if (d[0] != DirStatus::Free)
            ++usedEntries;
    const auto files = fs.files();
    const uint32_t freeBlocks = fs.freeBlocks();
    const uint64_t dataBlocks = x.blockCount() - dirBlocks;
    out.line("Block size: " + groupThousands(bs) + " bytes");
    out.line("Blocks: " + std::to_string(x.blockCount()) + " (" + std::to_string(dirBlocks) + " for the directory)");
    out.line("Directory entries: " + std::to_string(x.directoryEntries()) + " (" + std::to_string(usedEntries) +
             " in use)");
    out.line("Files: " + std::to_string(files.size()));
    out.line("Used: " + groupThousands((dataBlocks - freeBlocks) * bs) + " bytes");
    out.line("Free: " + groupThousands(uint64_t(freeBlocks) * bs) + " bytes");
    char xdpb[160];
    std::snprintf(xdpb, sizeof xdpb, "XDPB: SPT %u BSH %u BLM %u EXM %u DSM %u DRM %u AL0 %02X AL1 %02X OFF %u PSH %u",
                  x.spt, x.bsh, x.blm, x.exm, x.dsm, x.drm, x.al0, x.al1, x.off, x.psh);
    out.line(xdpb);
    return ExitOk;
}

}  // namespace p3tool

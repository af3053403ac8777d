// libFuzzer target: an arbitrary image goes through every reading layer the
// commands use (HDF header, table locator, partition table, +3DOS file
// systems, directory records, file contents, check). Nothing may crash,
// hang or read outside the image; refusals are ToolErrors.
#include <cstdint>
#include <memory>
#include <vector>

#include "cpm_check.h"
#include "idedos_table.h"
#include "plus3_file.h"
#include "plus3_partition.h"
#include "records.h"
#include "tool_error.h"

using namespace p3tool;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        auto medium = Medium::fromStorage(std::make_unique<MemoryStorage>(std::vector<uint8_t>(data, data + size)));
        PartitionTable table = PartitionTable::load(*medium);
        OpenMedium m{std::move(medium), std::move(table)};
        std::string text = geometryRecord(m.table.geometry()) + countsRecord(m.table);
        checkPartitionTable(m.table);
        for (const PartitionEntry* e : m.table.usedEntries()) {
            text += partitionRecord(m.table, *e);
            if (e->type() != PartitionType::Plus3Dos)
                continue;
            try {
                Plus3Partition p(m, *e);
                CpmFileSystem& fs = p.fs();
                for (const CpmFile& f : fs.files()) {
                    text += fileRecord(f, fileFacts(f, fs.readHeader(f), fs.params().blockSize()));
                    try {
                        fileContents(fs, f);
                    } catch (const ToolError&) {
                    }
                }
                checkFileSystem(fs);
            } catch (const ToolError&) {
            }
        }
    } catch (const ToolError&) {
    }
    return 0;
}

// libFuzzer target: writes on arbitrary images. For every +3DOS partition a
// file is stored (replacing one when the name is taken) and another removed.
// Nothing may crash or write outside the image, and a file system that check
// found sound must still be sound afterwards.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "cpm_check.h"
#include "cpm_writer.h"
#include "plus3_partition.h"
#include "tool_error.h"

using namespace p3tool;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The last byte steers the file stored: its length and name.
    const uint8_t steer = size > 0 ? data[size - 1] : 0;
    try {
        auto medium = Medium::fromStorage(std::make_unique<MemoryStorage>(std::vector<uint8_t>(data, data + size)));
        PartitionTable table = PartitionTable::load(*medium);
        OpenMedium m{std::move(medium), std::move(table)};
        for (const PartitionEntry* e : m.table.usedEntries()) {
            if (e->type() != PartitionType::Plus3Dos)
                continue;
            try {
                Plus3Partition p(m, *e);
                const bool soundBefore = checkFileSystem(p.fs()).empty();
                CpmWriter writer(p.fs());
                FileToStore file;
                const char* names[] = {"HELLO   BAS", "BIG     BIN", "NEW     DAT", "NOTES      "};
                std::copy_n(names[steer & 3], 11, file.name.begin());
                file.bytes.assign(size_t(steer) * 97, uint8_t(steer));
                try {
                    writer.store(file);
                } catch (const ToolError&) {
                }
                const auto files = p.fs().filesOfUser(0);
                if (!files.empty() && (steer & 4)) {
                    try {
                        writer.remove(files.front());
                    } catch (const ToolError&) {
                    }
                }
                if (soundBefore && !checkFileSystem(p.fs()).empty())
                    std::abort();
            } catch (const ToolError&) {
            }
        }
    } catch (const ToolError&) {
    }
    return 0;
}

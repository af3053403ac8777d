// libFuzzer target: an arbitrary floppy image read the way putdsk reads it:
// the DSK reader and format detection, the block-source adapter, the CP/M
// file system over it and every file's contents.
#include <cstdint>
#include <vector>

#include "cpm_filesystem.h"
#include "dsk_image.h"
#include "dsk_source.h"
#include "plus3_floppy.h"
#include "tool_error.h"

using namespace p3tool;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        formats::Plus3Floppy floppy(formats::DskImage(std::vector<uint8_t>(data, data + size)));
        DskSource source(floppy, "floppy");
        CpmFileSystem fs(source, source.params());
        for (const CpmFile& f : fs.files()) {
            try {
                fs.readFile(f, f.exactLength());
            } catch (const ToolError&) {
            }
        }
    } catch (const formats::FormatError&) {
    } catch (const ToolError&) {
    }
    return 0;
}

// Feeds arbitrary bytes to the DSK reader, the format detection and the directory walk. Every
// problem must surface as a FormatError; nothing may read outside the input.

#include <cstdint>
#include <vector>

#include "dsk_image.h"
#include "floppy_files.h"
#include "plus3_floppy.h"
#include "plus3_name.h"

using namespace p3tool::formats;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    try {
        DskImage image(std::vector<uint8_t>(data, data + size));
        for (int c = 0; c < image.cylinders(); ++c)
            for (int h = 0; h < image.sides(); ++h) {
                try {
                    for (const DskSector& s : image.track(c, h).sectors)
                        (void)image.readSector(c, h, s.sectorId);
                } catch (const FormatError&) {
                }
            }
        const Plus3Floppy floppy(std::move(image));
        (void)describeFormat(floppy.format());
        for (const FloppyFile& file : listFloppyFiles(floppy)) {
            (void)Plus3Name::fromDirectoryBytes(file.name).text();
            if (file.records > 2048)  // keep each run short: at most 256 KB per file
                continue;
            try {
                (void)readFloppyFile(floppy, file);
            } catch (const FormatError&) {
            }
        }
    } catch (const FormatError&) {
    }
    return 0;
}

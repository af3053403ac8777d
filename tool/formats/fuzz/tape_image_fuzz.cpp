// Feeds arbitrary bytes to the tape reader and to the tape-name mapping. The reader must never
// read outside the input, and every name it leads to must be a valid +3DOS name.

#include <cstdint>
#include <cstdlib>

#include "plus3_name.h"
#include "tape_image.h"

using namespace p3tool::formats;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const TapeReadResult result = readTapeImage({data, size});
    UniqueNamer namer;
    for (const TapeFile& file : result.files) {
        if (file.hasHeader && file.data.size() != file.length)
            std::abort();
        const Plus3Name name = namer.unique(plus3NameForTapeFile(file));
        if (!(Plus3Name::parse(name.text()) == name))
            std::abort();
        (void)tapeNameText(file.name);
        (void)tapeFileKindText(file);
    }
    return 0;
}

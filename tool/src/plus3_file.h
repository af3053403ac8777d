#pragma once

#include <cstdint>
#include <vector>

#include "cpm_filesystem.h"

namespace p3tool {

// The bytes of a file as a host file holds them: a file with a +3DOS header
// as header + data, exactly as long as the header's total length; a file
// without one, its exact length (S1 rule). Throws ToolError for a file whose
// header claims more than the directory holds.
std::vector<uint8_t> fileContents(CpmFileSystem& fs, const CpmFile& f);

}  // namespace p3tool

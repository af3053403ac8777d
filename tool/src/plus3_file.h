#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cpm_filesystem.h"

namespace p3tool {

// Why get refuses this file, or nothing when it can be read. The one place
// the limits live: check reports the same reasons, so it never passes a
// file get refuses. A file longer than +3DOS allows (65536 records), a
// +3DOS header whose total length is under 128 bytes or more than the
// directory holds. (Entries counting more than 128 records and block
// pointers past the end are reported by check as structural faults; get
// refuses those too.)
std::optional<std::string> unreadableReason(CpmFileSystem& fs, const CpmFile& f);

// The length of a file as a host file holds it: a file with a +3DOS header
// as long as the header's total length; a file without one, its exact
// length (S1 rule). Throws ToolError, naming the fault, for a file that
// unreadableReason refuses.
uint64_t hostLength(CpmFileSystem& fs, const CpmFile& f);

// The bytes of a file as a host file holds them (hostLength bytes).
std::vector<uint8_t> fileContents(CpmFileSystem& fs, const CpmFile& f);

// The same bytes handed to sink in pieces of at most chunkBytes, in order,
// so that memory does not grow with the file.
void streamFileContents(CpmFileSystem& fs, const CpmFile& f, size_t chunkBytes,
                        const std::function<void(const uint8_t*, size_t)>& sink);

}  // namespace p3tool

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace p3tool {

// The folder a get writes into: the argument with its trailing separators
// removed; ToolError unless it names an existing folder.
std::string existingFolder(const std::string& arg);

// The name with blanks around it removed; ToolError when it could leave the
// folder (a separator, "." or "..") or is empty.
std::string trimmedHostName(const std::string& name);

// Writes folder/name with these bytes through a temporary file in the same
// folder that is renamed over the target at the end, so a failure never
// leaves a partial file and a symbolic link at the target is replaced, not
// followed.
void writeHostFileReplacing(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes);

// The whole of a host file; ToolError naming it when it cannot be read.
// Files longer than maxBytes are refused.
std::vector<uint8_t> readHostFile(const std::string& path, uint64_t maxBytes);

}  // namespace p3tool

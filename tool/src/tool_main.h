#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace p3tool {

// Runs one command of the disk tool. args excludes the program name.
// Records and reports go to out, error lines to err. Returns the exit code.
int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace p3tool

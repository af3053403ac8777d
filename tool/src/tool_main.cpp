#include "tool_main.h"

namespace p3tool {

namespace {

void printUsage(std::ostream& out)
{
    out << "3E.EXE - reads and writes ZX Spectrum +3e hard-disk media\r\n"
           "usage: 3E.EXE <medium> <command> [arguments]\r\n";
}

}  // namespace

int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help") {
        printUsage(out);
        return 0;
    }
    err << "unknown command\n";
    return 2;
}

}  // namespace p3tool

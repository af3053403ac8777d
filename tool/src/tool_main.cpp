#include "tool_main.h"

#include <map>

#include "commands.h"
#include "storage.h"
#include "tool_error.h"

namespace p3tool {

namespace {

using Handler = int (*)(Invocation&, Output&);

const std::map<std::string, Handler>& mediumCommands()
{
    static const std::map<std::string, Handler> commands{
        {"showptable", cmdShowPTable}, {"showpentry", cmdShowPEntry}, {"dir", cmdDir},
        {"get", cmdGet},               {"create", cmdCreate},         {"newpart", cmdNewPart},
        {"check", cmdCheck},           {"put", cmdPut},               {"putbin", cmdPutBin},
        {"del", cmdDel},               {"puttap", cmdPutTap},         {"putdsk", cmdPutDsk},
        {"delpart", cmdDelPart},       {"renpart", cmdRenPart},       {"drive", cmdDrive},
        {"empty", cmdEmpty},
        {"listbas", cmdListBas},       {"putbas", cmdPutBas},
    };
    return commands;
}

// "scan" stands first; any other command follows the medium. An image that
// happens to be called "scan" is still reachable: "scan dir X" is a medium.
Invocation parse(const std::vector<std::string>& args)
{
    Invocation inv;
    if (args[0] == "scan" && (args.size() == 1 || (args.size() == 2 && args[1] == "-backend"))) {
        inv.command = "scan";
        inv.args.assign(args.begin() + 1, args.end());
        return inv;
    }
    if (args.size() < 2)
        throw UsageError("no command given after " + args[0] + " (try 3E.EXE --help)");
    inv.medium = args[0];
    inv.command = args[1];
    inv.args.assign(args.begin() + 2, args.end());
    return inv;
}

}  // namespace

bool Invocation::takeFlag(const std::string& flag)
{
    bool found = false;
    for (auto it = args.begin(); it != args.end();) {
        if (*it == flag) {
            it = args.erase(it);
            found = true;
        } else {
            ++it;
        }
    }
    return found;
}

void Invocation::expectArgs(size_t min, size_t max, const std::string& form) const
{
    if (args.size() < min || args.size() > max)
        throw UsageError("usage: 3E.EXE " + (medium.empty() ? std::string() : "<medium> ") + form);
}

PartitionAndFile splitPartitionAndFile(const std::string& arg)
{
    const size_t colon = arg.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == arg.size())
        throw UsageError("\"" + arg + "\" is not of the form partition:file");
    return {arg.substr(0, colon), arg.substr(colon + 1)};
}

int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << usageText();
        return ExitOk;
    }
    if (args[0] == "--version") {
        out << versionText();
        return ExitOk;
    }
    Output output;
    try {
        Invocation inv = parse(args);
        int code;
        if (inv.command == "scan") {
            code = cmdScan(inv, output);
        } else {
            const auto it = mediumCommands().find(inv.command);
            if (it == mediumCommands().end())
                throw UsageError("unknown command \"" + inv.command + "\" (try 3E.EXE --help)");
            code = it->second(inv, output);
        }
        // A device written to was flushed as the command closed it.
        const std::string flush = takeDeviceFlushFailure();
        if (!flush.empty())
            throw IoError(flush);
        out << output.text;
        out.flush();
        return code;
    } catch (const ToolError& e) {
        takeDeviceFlushFailure();  // the first failure is the one reported
        if (output.keepOnError)
            out << output.text;
        err << e.what() << "\r\n";
        return e.exitCode();
    } catch (const std::bad_alloc&) {
        if (output.keepOnError)
            out << output.text;
        err << "out of memory\r\n";
        return ExitFailure;
    }
}

}  // namespace p3tool

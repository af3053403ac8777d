// newpart, delpart, renpart, drive and empty: managing the partitions of a
// medium. Every refusal comes before the first write.
#include <cctype>

#include "commands.h"
#include "idedos_edit.h"
#include "medium_access.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

const char* kNewPartForm = "newpart <name> <size>M [--type plus3dos|swap] [--drive <letter>]";

// "4M", "4MB" or "4": whole megabytes, 1 to 16.
unsigned parseMegabytes(const std::string& text)
{
    std::string digits = toUpperAscii(text);
    if (digits.size() > 2 && digits.compare(digits.size() - 2, 2, "MB") == 0)
        digits.resize(digits.size() - 2);
    else if (!digits.empty() && digits.back() == 'M')
        digits.pop_back();
    const auto v = parseDecimal(digits, 16);
    if (!v || *v == 0)
        throw UsageError("a new partition has 1M to 16M, not \"" + text + "\"");
    return unsigned(*v);
}

// One letter, either case; "-" is no letter (0) where allowed.
char parseDriveLetter(const std::string& text, bool allowNone)
{
    if (allowNone && text == "-")
        return 0;
    if (text.size() != 1 || !std::isalpha(static_cast<unsigned char>(text[0])))
        throw UsageError("\"" + text + "\" is not a drive letter (A to P" + (allowNone ? ", or - for none)" : ")"));
    return char(std::toupper(static_cast<unsigned char>(text[0])));
}

// Removes "--option value" from the arguments; the value, or empty.
std::string takeOption(Invocation& inv, const std::string& option, const std::string& form)
{
    for (size_t i = 0; i < inv.args.size(); ++i) {
        if (inv.args[i] != option)
            continue;
        if (i + 1 >= inv.args.size())
            throw UsageError(option + " needs a value; usage: 3E.EXE <medium> " + form);
        std::string value = inv.args[i + 1];
        inv.args.erase(inv.args.begin() + long(i), inv.args.begin() + long(i) + 2);
        return value;
    }
    return {};
}

// The named partition, which must be one these commands may change.
const PartitionEntry& editablePartition(OpenMedium& m, const std::string& name)
{
    const PartitionEntry& e = requirePartition(m, name);
    requireEditablePartition(e);
    return e;
}

}  // namespace

int cmdNewPart(Invocation& inv, Output& out)
{
    const std::string drive = takeOption(inv, "--drive", kNewPartForm);
    const std::string type = takeOption(inv, "--type", kNewPartForm);
    inv.expectArgs(2, 2, kNewPartForm);
    NewPartition request;
    request.name = inv.args[0];
    request.megabytes = parseMegabytes(inv.args[1]);
    if (type == "swap")
        request.type = PartitionType::Swap;
    else if (!type.empty() && type != "plus3dos")
        throw UsageError("--type is plus3dos or swap, not \"" + type + "\"");
    if (!drive.empty())
        request.driveLetter = parseDriveLetter(drive, false);
    WritableMedium w(inv.medium);
    OpenMedium& m = w.medium();
    addPartition(m.table, request);
    out.line(std::string("Created ") + (request.type == PartitionType::Swap ? "swap" : "+3DOS") + " partition " +
             trimRight(request.name) + " of " + std::to_string(request.megabytes) + " MB on " + inv.medium);
    return ExitOk;
}

int cmdDelPart(Invocation& inv, Output& out)
{
    inv.expectArgs(1, 1, "delpart <partition>");
    WritableMedium w(inv.medium);
    OpenMedium& m = w.medium();
    const PartitionEntry& e = editablePartition(m, inv.args[0]);
    const std::string name = e.displayName();
    deletePartition(m.table, e);
    out.line("Deleted partition " + name + " from " + inv.medium);
    return ExitOk;
}

int cmdRenPart(Invocation& inv, Output& out)
{
    inv.expectArgs(2, 2, "renpart <partition> <new name>");
    WritableMedium w(inv.medium);
    OpenMedium& m = w.medium();
    const PartitionEntry& e = editablePartition(m, inv.args[0]);
    const std::string name = e.displayName();
    renamePartition(m.table, e, inv.args[1]);
    out.line("Renamed partition " + name + " to " + trimRight(inv.args[1]) + " on " + inv.medium);
    return ExitOk;
}

int cmdDrive(Invocation& inv, Output& out)
{
    inv.expectArgs(2, 2, "drive <partition> <letter>|-");
    const char letter = parseDriveLetter(inv.args[1], true);
    WritableMedium w(inv.medium);
    OpenMedium& m = w.medium();
    const PartitionEntry& e = editablePartition(m, inv.args[0]);
    const std::string name = e.displayName();
    setDriveLetter(m.table, e, letter);
    out.line(letter ? "Mapped partition " + name + " to drive " + letter + ": on " + inv.medium
                    : "Partition " + name + " is mapped to no drive on " + inv.medium);
    return ExitOk;
}

int cmdEmpty(Invocation& inv, Output& out)
{
    inv.expectArgs(1, 1, "empty <partition>");
    WritableMedium w(inv.medium);
    OpenMedium& m = w.medium();
    const PartitionEntry& e = editablePartition(m, inv.args[0]);
    Plus3Partition& p = w.plus3(e);
    const size_t files = emptyFileSystem(p.fs());
    out.line("Deleted " + std::to_string(files) + " file(s) from partition " + p.name() + " on " + inv.medium);
    return ExitOk;
}

}  // namespace p3tool

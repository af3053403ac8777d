// listbas and putbas: a BASIC program file as text, and text as a program.
#include "basic_text.h"
#include "commands.h"
#include "cpm_writer.h"
#include "host_files.h"
#include "plus3_file.h"
#include "plus3_header.h"
#include "plus3_name.h"
#include "medium_access.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

// A text file larger than this is no program text.
constexpr uint64_t kMaxTextBytes = 4u << 20;

constexpr uint8_t kProgramType = 0;

}  // namespace

int cmdListBas(Invocation& inv, Output& out)
{
    inv.expectArgs(1, 1, "listbas <partition>:<name>");
    const PartitionAndFile target = splitPartitionAndFile(inv.args[0]);
    OpenMedium m = openForReading(inv.medium);
    Plus3Partition p(m, requirePartition(m, target.partition));
    const auto files = p.fs().filesOfUser(0);
    const CpmFile* f = findFile(files, target.file);
    if (!f)
        throw ToolError("no file named \"" + target.file + "\" in partition \"" + p.name() + "\"");
    const std::vector<uint8_t> bytes = fileContents(p.fs(), *f);
    const auto header = Plus3Header::parse(bytes.data(), bytes.size());
    if (!header || header->type != kProgramType)
        throw ToolError("\"" + target.file + "\" is not a BASIC program (no +3DOS header of type 0)");
    // The data as far as the file holds it; parameter 2 splits it into the
    // lines and the variables.
    const size_t dataLength = std::min<size_t>(header->dataLength, bytes.size() - Plus3Header::kSize);
    const size_t programLength = std::min<size_t>(header->param2, dataLength);
    const auto data = bytes.begin() + Plus3Header::kSize;
    basic::Program program;
    program.lines.assign(data, data + long(programLength));
    program.variables.assign(data + long(programLength), data + long(dataLength));
    program.autostart = header->param1;
    out.text = basic::listProgram(program);
    return ExitOk;
}

int cmdPutBas(Invocation& inv, Output&)
{
    const std::string form = "putbas <text file> <partition>:<name> [--autostart <line>]";
    std::optional<uint16_t> autostart;
    for (auto it = inv.args.begin(); it != inv.args.end(); ++it) {
        if (*it != "--autostart")
            continue;
        if (it + 1 == inv.args.end())
            throw UsageError("usage: 3E.EXE <medium> " + form);
        const auto v = parseDecimal(trim(*(it + 1)), basic::kMaxLineNumber);
        if (!v)
            throw UsageError("autostart line \"" + *(it + 1) + "\" is not a whole number from 0 to 16383");
        autostart = uint16_t(*v);
        inv.args.erase(it, it + 2);
        break;
    }
    inv.expectArgs(2, 2, form);
    const PartitionAndFile target = splitPartitionAndFile(inv.args[1]);
    FileToStore file;
    try {
        file.name = formats::Plus3Name::parse(trim(target.file)).toDirectoryBytes();
    } catch (const formats::FormatError& e) {
        throw ToolError(e.what());
    }

    // Everything is checked before the medium is opened for writing.
    const std::vector<uint8_t> textBytes = readHostFile(inv.args[0], kMaxTextBytes);
    basic::Program program;
    try {
        program = basic::tokenise(std::string_view(reinterpret_cast<const char*>(textBytes.data()), textBytes.size()));
    } catch (const basic::SyntaxError& e) {
        throw ToolError(inv.args[0] + ": " + e.what());
    }
    if (autostart)
        program.autostart = *autostart;

    const size_t dataLength = program.lines.size() + program.variables.size();
    const auto header = Plus3Header::forData(kProgramType, uint16_t(dataLength), program.autostart,
                                             uint16_t(program.lines.size()))
                            .bytes();
    file.bytes.assign(header.begin(), header.end());
    file.bytes.insert(file.bytes.end(), program.lines.begin(), program.lines.end());
    file.bytes.insert(file.bytes.end(), program.variables.begin(), program.variables.end());
    storeFile(inv.medium, target.partition, file);
    return ExitOk;
}

}  // namespace p3tool

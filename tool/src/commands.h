#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace p3tool {

// One command line after the program name: the medium (empty for scan),
// the command word and what follows it.
struct Invocation {
    std::string medium;
    std::string command;
    std::vector<std::string> args;

    // Removes a flag such as "-backend" wherever it stands; true if present.
    bool takeFlag(const std::string& flag);
    // Throws UsageError unless the argument count lies in [min, max].
    void expectArgs(size_t min, size_t max, const std::string& form) const;
};

// What a command prints on standard output. It is written out only when
// the command succeeds, so a failure never leaves partial records; a
// command that reports work already done (one line per file stored) sets
// keepOnError.
struct Output {
    std::string text;
    bool keepOnError = false;
    void line(const std::string& s) { text += s + "\r\n"; }
};

// Each command returns its exit code and throws ToolError on failure.
int cmdShowPTable(Invocation& inv, Output& out);
int cmdShowPEntry(Invocation& inv, Output& out);
int cmdDir(Invocation& inv, Output& out);
int cmdGet(Invocation& inv, Output& out);
int cmdScan(Invocation& inv, Output& out);
int cmdCreate(Invocation& inv, Output& out);
int cmdNewPart(Invocation& inv, Output& out);
int cmdDelPart(Invocation& inv, Output& out);
int cmdRenPart(Invocation& inv, Output& out);
int cmdDrive(Invocation& inv, Output& out);
int cmdEmpty(Invocation& inv, Output& out);
int cmdCheck(Invocation& inv, Output& out);
int cmdPut(Invocation& inv, Output& out);
int cmdPutBin(Invocation& inv, Output& out);
int cmdDel(Invocation& inv, Output& out);
int cmdPutTap(Invocation& inv, Output& out);
int cmdPutDsk(Invocation& inv, Output& out);
int cmdListBas(Invocation& inv, Output& out);
int cmdPutBas(Invocation& inv, Output& out);

// The bytes putbin stores: a file that already starts with a valid +3DOS
// header keeps it (with a Bytes file's load address changed when one is
// given); any other file gets a Bytes header (type 3) whose load address is
// the one given, or defaultLoadAddress(). ToolError for a file longer than
// a header can describe.
std::vector<uint8_t> withPlus3Header(std::vector<uint8_t> bytes, std::optional<uint16_t> address,
                                     const std::string& path);
// 16384 for 6912 bytes (a screen), else 32768.
uint16_t defaultLoadAddress(uint16_t length);

struct FileToStore;
// Opens the medium for writing and stores the file in the partition,
// replacing a file of that name the way put does.
void storeFile(const std::string& medium, const std::string& partition, const FileToStore& file);

// "P:F" split at the first colon; UsageError when there is none or a side
// is empty.
struct PartitionAndFile {
    std::string partition;
    std::string file;
};
PartitionAndFile splitPartitionAndFile(const std::string& arg);

std::string usageText();
// "3E.EXE <version>" and a line end.
std::string versionText();

}  // namespace p3tool

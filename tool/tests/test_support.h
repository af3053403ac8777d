#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Helpers shared by the disk tool's tests: temporary folders, running the
// tool in-process or as a program, host files, and cpmtools.
namespace tooltest {

struct TempDir {
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path;
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

struct ToolRun {
    int code = 0;
    std::string out;
    std::string err;
};

// Runs one command of the tool in this process.
ToolRun tool(const std::vector<std::string>& args);
// Runs the built 3E.EXE as a child process (argv exactly as given).
ToolRun toolProcess(const std::vector<std::string>& args);
// Runs the tool and fails the current test unless it exits with 0.
std::string toolOk(const std::vector<std::string>& args);

std::vector<uint8_t> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> randomBytes(size_t n, uint32_t seed);
// Overwrites bytes of a file in place.
void patchFile(const std::string& path, uint64_t offset, const std::vector<uint8_t>& bytes);

// Lines of a tool output, without their CR LF.
std::vector<std::string> lines(const std::string& text);
std::vector<std::string> fields(const std::string& line);

// Runs a shell command in a folder; returns its exit code, stdout+stderr in *output.
int shell(const std::string& folder, const std::string& command, std::string* output = nullptr);

// cpmtools on one +3DOS partition of an image made by the tool. The tool's
// own showptable and showpentry give the place and the diskdef; each run
// hands cpmtools a copy of the partition's bytes and writes them back into
// the image afterwards.
class CpmTools {
public:
    CpmTools(const std::string& image, const std::string& partition);
    ~CpmTools();
    // Runs e.g. "cpmcp -f {def} {img} file 0:NAME" with {def} and {img}
    // replaced; returns the exit code.
    int run(const std::string& command, std::string* output = nullptr);
    void put(const std::string& hostFile, const std::string& cpmName);  // cpmcp, must succeed
    std::string fsck();  // fsck.cpm -n output; fails the test on errors
    std::string folder() const { return dir_.path; }

private:
    std::string image_;
    TempDir dir_;
    uint64_t offset_ = 0;  // of the partition in the image file
    uint64_t length_ = 0;
};

// A ZX BASIC program as zmakebas makes it, returned as the 17-byte tape
// header and the program bytes.
struct TapeFile {
    std::vector<uint8_t> header;
    std::vector<uint8_t> data;
};
TapeFile zmakebasProgram(const std::string& basicText, const std::string& name, int autostart);
// A host file with a +3DOS header: header + data.
std::vector<uint8_t> plus3File(uint8_t type, const std::vector<uint8_t>& data, uint16_t param1, uint16_t param2);

}  // namespace tooltest

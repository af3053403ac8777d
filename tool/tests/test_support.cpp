#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "bytes.h"
#include "plus3_header.h"
#include "tool_main.h"

namespace tooltest {

TempDir::TempDir()
{
    char templ[] = "/tmp/3etest-XXXXXX";
    const char* made = ::mkdtemp(templ);
    if (!made)
        throw std::runtime_error("mkdtemp failed");
    path = made;
}

TempDir::~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }

ToolRun tool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    ToolRun r;
    r.code = p3tool::runTool(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::string toolOk(const std::vector<std::string>& args)
{
    const ToolRun r = tool(args);
    std::string line;
    for (const auto& a : args)
        line += a + " ";
    EXPECT_EQ(r.code, 0) << line << "\n" << r.err;
    EXPECT_EQ(r.err, "") << line;
    return r.out;
}

ToolRun toolProcess(const std::vector<std::string>& args)
{
    TempDir d;
    const std::string outPath = d / "out", errPath = d / "err";
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen(outPath.c_str(), "w", stdout);
        std::freopen(errPath.c_str(), "w", stderr);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(HARNWICK_TOOL_EXE));
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(HARNWICK_TOOL_EXE, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ToolRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto o = readFile(outPath), e = readFile(errPath);
    r.out.assign(o.begin(), o.end());
    r.err.assign(e.begin(), e.end());
    return r;
}

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return {};
    std::vector<uint8_t> bytes(size_t(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return bytes;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> randomBytes(size_t n, uint32_t seed)
{
    std::mt19937 gen(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v)
        b = uint8_t(gen());
    return v;
}

void patchFile(const std::string& path, uint64_t offset, const std::vector<uint8_t>& bytes)
{
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(std::streamoff(offset));
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "line without CR LF: " << text.substr(start);
            end = text.size();
        }
        result.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return result;
}

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> f;
    size_t start = 0;
    while (true) {
        const size_t comma = line.find(',', start);
        f.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos)
            return f;
        start = comma + 1;
    }
}

int shell(const std::string& folder, const std::string& command, std::string* output)
{
    const std::string full = "cd '" + folder + "' && { " + command + " ; } 2>&1";
    FILE* p = ::popen(full.c_str(), "r");
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        text.append(buf, n);
    const int status = ::pclose(p);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {

constexpr size_t kPad = 16384;

std::string fieldAfter(const std::string& text, const std::string& label)
{
    for (const auto& l : lines(text))
        if (l.rfind(label, 0) == 0)
            return l.substr(label.size());
    ADD_FAILURE() << "no \"" << label << "\" in\n" << text;
    return {};
}

}  // namespace

CpmTools::CpmTools(const std::string& image, const std::string& partition) : image_(image)
{
    // Place, size and parameters of the partition from the tool itself.
    const auto table = lines(toolOk({image, "showptable", "-backend"}));
    uint64_t firstLba = 0;
    for (size_t i = 2; i < table.size(); ++i) {
        const auto f = fields(table[i]);
        if (f[0] == partition) {
            firstLba = std::stoull(f[7]);
            length_ = std::stoull(f[9]);
        }
    }
    EXPECT_GT(length_, 0u) << "no partition " << partition;
    const std::string details = toolOk({image, "showpentry", partition});
    const std::string layout = toolOk({image, "showptable"});
    const bool halved = layout.find("halved") != std::string::npos;
    EXPECT_EQ(layout.find("even bytes"), std::string::npos) << "cpmtools cannot reach an image of that layout";
    uint8_t start[11] = {};
    std::ifstream(image, std::ios::binary).read(reinterpret_cast<char*>(start), sizeof start);
    const uint64_t header = std::string(start, start + 6) == "RS-IDE" ? p3tool::le16(&start[9]) : 0;
    offset_ = header + firstLba * (halved ? 256 : 512);

    std::string blockText = fieldAfter(details, "Block size: ");
    blockText.erase(std::remove(blockText.begin(), blockText.end(), ','), blockText.end());
    const uint64_t blockSize = std::stoull(blockText);
    const std::string xdpb = fieldAfter(details, "XDPB: ");
    const unsigned dsm = unsigned(std::stoul(xdpb.substr(xdpb.find("DSM ") + 4)));
    const uint64_t tracks = uint64_t(dsm + 1) * blockSize / (128 * 512);
    // cpmtools gets a copy of the partition alone behind kPad bytes: this
    // build refuses an offset beyond the size of the file system, and
    // misreads names with offset 0.
    std::ostringstream def;
    def << "diskdef part\n  seclen 512\n  tracks " << tracks << "\n  sectrk 128\n  blocksize " << blockSize
        << "\n  maxdir 512\n  skew 0\n  boottrk 0\n  os 2.2\n  offset " << kPad << "\nend\n";
    const std::string d = def.str();
    writeFile(dir_ / "diskdefs", std::vector<uint8_t>(d.begin(), d.end()));
}

CpmTools::~CpmTools() = default;

int CpmTools::run(const std::string& command, std::string* output)
{
    // The partition's bytes out of the image, and back in afterwards.
    std::vector<uint8_t> copy(kPad + length_, 0);
    {
        std::ifstream in(image_, std::ios::binary);
        in.seekg(std::streamoff(offset_));
        in.read(reinterpret_cast<char*>(copy.data() + kPad), std::streamsize(length_));
        EXPECT_EQ(uint64_t(in.gcount()), length_);
    }
    writeFile(dir_ / "part.img", copy);
    std::string c = command;
    for (size_t at; (at = c.find("{def}")) != std::string::npos;)
        c.replace(at, 5, "part");
    for (size_t at; (at = c.find("{img}")) != std::string::npos;)
        c.replace(at, 5, "part.img");
    const int code = shell(dir_.path, c, output);
    const auto part = readFile(dir_ / "part.img");
    EXPECT_EQ(part.size(), kPad + length_);
    patchFile(image_, offset_, std::vector<uint8_t>(part.begin() + kPad, part.end()));
    return code;
}

void CpmTools::put(const std::string& hostFile, const std::string& cpmName)
{
    std::string output;
    ASSERT_EQ(run("cpmcp -f {def} {img} '" + hostFile + "' '0:" + cpmName + "'", &output), 0) << output;
}

std::string CpmTools::fsck()
{
    std::string output;
    EXPECT_EQ(run("fsck.cpm -n -f {def} {img}", &output), 0) << output;
    EXPECT_EQ(output.find("Error"), std::string::npos) << output;
    return output;
}

TapeFile zmakebasProgram(const std::string& basicText, const std::string& name, int autostart)
{
    TempDir d;
    writeFile(d / "prog.bas", std::vector<uint8_t>(basicText.begin(), basicText.end()));
    std::string output;
    const int code = shell(d.path, "zmakebas -a " + std::to_string(autostart) + " -n '" + name + "' -o prog.tap prog.bas", &output);
    EXPECT_EQ(code, 0) << output;
    const auto tap = readFile(d / "prog.tap");
    TapeFile f;
    // Two blocks: 19-byte header block (flag, 17 bytes, checksum), then data.
    if (tap.size() < 2 + 19 + 2) {
        ADD_FAILURE() << "zmakebas made no tape";
        return f;
    }
    f.header.assign(tap.begin() + 3, tap.begin() + 20);
    const size_t dataLen = p3tool::le16(&tap[21]);
    f.data.assign(tap.begin() + 24, tap.begin() + 24 + long(dataLen) - 2);
    return f;
}

std::vector<uint8_t> plus3File(uint8_t type, const std::vector<uint8_t>& data, uint16_t param1, uint16_t param2)
{
    const auto h = p3tool::Plus3Header::forData(type, uint16_t(data.size()), param1, param2).bytes();
    std::vector<uint8_t> file(h.size() + data.size());
    std::copy(h.begin(), h.end(), file.begin());
    std::copy(data.begin(), data.end(), file.begin() + long(h.size()));
    return file;
}

}  // namespace tooltest

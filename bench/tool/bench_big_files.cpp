// The disk tool on big files and big directories, against the plain system
// tools doing the same work, all measured in one run: get and put of an
// 8 MB file against cp of the same bytes, with the peak memory of each run;
// dir of a 512-file partition against /bin/true and of a 2,048-file
// partition against dd reading its directory.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "bench_process.h"

using namespace benchtool;

namespace {

void writeFile(const std::string& path, size_t size, unsigned seed)
{
    std::vector<char> bytes(size);
    uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = char(x >> 24);
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(size));
}

void patch(const std::string& path, uint64_t offset, const std::vector<uint8_t>& bytes)
{
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(std::streamoff(offset));
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A 32 MB raw image with a 16 MB partition A at LBA 32 (byte 16384).
void makeImage(const std::string& image)
{
    must({kTool, image, "create", "--size", "32M"});
    must({kTool, image, "newpart", "A", "16M"});
}

long peakKb(const std::vector<std::string>& command)
{
    must(command);
    return gLastMaxRssKb;
}

}  // namespace

int main()
{
    char templ[] = "/tmp/3ebench-XXXXXX";
    gFolder = ::mkdtemp(templ);
    std::printf("work folder %s\n", gFolder.c_str());
    const std::string f = gFolder + "/";
    ::mkdir((f + "out").c_str(), 0755);
    ::mkdir((f + "cpout").c_str(), 0755);
    ::mkdir((f + "files").c_str(), 0755);
    writeFile(f + "huge", 8u << 20, 1);
    writeFile(f + "mid", 1u << 20, 2);

    makeImage("get.raw");
    must({kTool, "get.raw", "put", "huge", "A:HUGE.BIN"});
    must({kTool, "get.raw", "put", "mid", "A:MID.BIN"});
    makeImage("put.raw");

    // 512 files: a full +3e directory. 2,048 files: the same partition with
    // its directory grown to 8 blocks (DRM 2047, AL0 FF), filled by cpmtools.
    {
        std::ofstream defs(f + "diskdefs");
        for (int entries : {512, 2048})
            defs << "diskdef d" << entries << "\n  seclen 512\n  tracks 255\n  sectrk 128\n  blocksize 8192\n  maxdir "
                 << entries << "\n  skew 0\n  boottrk 0\n  os 2.2\n  offset 16384\nend\n";
    }
    std::vector<std::string> names;
    for (int i = 0; i < 2048; ++i) {
        const std::string name = "files/F" + std::to_string(i) + ".BIN";
        // Every block holds one file: 1,990 files with data, the rest empty.
        writeFile(f + name, i < 1990 ? 500 + size_t(i % 7) * 300 : 0, unsigned(i));
        names.push_back(name);
    }
    makeImage("dir512.raw");
    std::vector<std::string> cp{"cpmcp", "-f", "d512", "dir512.raw"};
    cp.insert(cp.end(), names.begin(), names.begin() + 512);
    cp.push_back("0:");
    must(cp);
    makeImage("dir2048.raw");
    patch(f + "dir2048.raw", 64 + 0x27, {0xFF, 0x07, 0xFF, 0x00});
    patch(f + "dir2048.raw", 16384, std::vector<uint8_t>(65536, 0xE5));
    cp = {"cpmcp", "-f", "d2048", "dir2048.raw"};
    cp.insert(cp.end(), names.begin(), names.end());
    cp.push_back("0:");
    must(cp);

    const auto m = medians(
        {
            {"/bin/true"},
            {kTool, "get.raw", "get", "A:HUGE.BIN", "out/"},
            {"cp", "huge", "cpout/HUGE.BIN"},
            {kTool, "put.raw", "put", "huge", "A:HUGE.BIN"},
            {kTool, "put.raw", "del", "A:HUGE.BIN"},
            {kTool, "dir512.raw", "dir", "A", "-backend"},
            {kTool, "dir2048.raw", "dir", "A", "-backend"},
            {"dd", "if=dir2048.raw", "of=/dev/null", "bs=65536", "iflag=skip_bytes", "skip=16384", "count=1",
             "status=none"},
        },
        31);
    const char* labels[] = {"/bin/true",       "3E.EXE get (8 MB file)",     "cp (same bytes)",
                            "3E.EXE put (8 MB file)", "3E.EXE del (that file)", "3E.EXE dir (512 files)",
                            "3E.EXE dir (2,048 files)", "dd of that directory (64 KB)"};
    for (size_t i = 0; i < m.size(); ++i)
        std::printf("%-32s wall %8.0f us   cpu %8.0f us\n", labels[i], m[i].wallUs, m[i].cpuUs);

    const long getMid = peakKb({kTool, "get.raw", "get", "A:MID.BIN", "out/"});
    const long getHuge = peakKb({kTool, "get.raw", "get", "A:HUGE.BIN", "out/"});
    must({kTool, "put.raw", "put", "mid", "A:MID.BIN"});
    const long putMid = gLastMaxRssKb;
    must({kTool, "put.raw", "put", "huge", "A:HUGE.BIN"});
    const long putHuge = gLastMaxRssKb;
    const long cpPeak = peakKb({"cp", "huge", "cpout/HUGE.BIN"});

    auto ratio = [&](size_t a, size_t b) { return m[a].wallUs / m[b].wallUs; };
    std::printf("\ntargets: get/cp <= 1.2, put/cp <= 1.3, peak memory <= 4 MB whatever the size, "
                "dir 512/true <= 1.6, dir 2048/dd <= 2.5\n");
    std::printf("wall: get/cp %.2f put/cp %.2f dir512/true %.2f dir2048/dd %.2f\n", ratio(1, 2), ratio(3, 2),
                ratio(5, 0), ratio(6, 7));
    std::printf("cpu:  get/cp %.2f put/cp %.2f dir512/true %.2f dir2048/dd %.2f\n", m[1].cpuUs / m[2].cpuUs,
                m[3].cpuUs / m[2].cpuUs, m[5].cpuUs / m[0].cpuUs, m[6].cpuUs / m[7].cpuUs);
    std::printf("peak memory: get 1 MB %ld KB, get 8 MB %ld KB, put 1 MB %ld KB, put 8 MB %ld KB (cp %ld KB)\n",
                getMid, getHuge, putMid, putHuge, cpPeak);
    std::system(("rm -rf '" + gFolder + "'").c_str());
    return 0;
}

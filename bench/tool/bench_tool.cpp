// Whole-process medians of the disk tool's commands on a 16 MB +3DOS
// partition holding 512 files (dir, get) or 500 files (put, del), next to
// /bin/true and to cpmtools doing the same on the same partition; and
// showptable on a 32 MB and a 4 GB sparse image. Prints one line per
// measurement and the ratios the targets name.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench_process.h"

using namespace benchtool;

namespace {

void writeFile(const std::string& path, size_t size, unsigned seed)
{
    std::vector<char> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + seed * 7) & 0xFF);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(size));
}

void report(const char* what, const Timing& t, const Timing& base)
{
    std::printf("%-42s wall %7.0f us %5.2fx   cpu %6.0f us %5.2fx\n", what, t.wallUs, t.wallUs / base.wallUs, t.cpuUs,
                t.cpuUs / base.cpuUs);
}

}  // namespace

int main()
{
    char templ[] = "/tmp/3ebench-XXXXXX";
    gFolder = ::mkdtemp(templ);
    std::printf("work folder %s\n", gFolder.c_str());

    // Raw images: the 16 MB partition starts at LBA 32, which cpmtools
    // reaches in place with offset 16384. full.raw holds 512 files (a full
    // directory) for dir and get; room.raw 500 for put and del.
    {
        std::ofstream defs(gFolder + "/diskdefs");
        defs << "diskdef bench\n  seclen 512\n  tracks 255\n  sectrk 128\n  blocksize 8192\n  maxdir 512\n"
                "  skew 0\n  boottrk 0\n  os 2.2\n  offset 16384\nend\n";
    }
    ::mkdir((gFolder + "/files").c_str(), 0755);
    std::vector<std::string> names;
    for (int i = 0; i < 511; ++i) {
        const std::string name = "files/F" + std::to_string(i) + ".BIN";
        writeFile(gFolder + "/" + name, 500 + size_t(i % 7) * 300, unsigned(i));
        names.push_back(name);
    }
    writeFile(gFolder + "/files/TARGET.BIN", 16384, 99);
    names.push_back("files/TARGET.BIN");
    for (const std::string image : {"full.raw", "room.raw"}) {
        must({kTool, image, "create", "--size", "32M"});
        must({kTool, image, "newpart", "BENCH", "16M"});
        std::vector<std::string> cp{"cpmcp", "-f", "bench", image};
        const size_t count = image == "full.raw" ? 512 : 500;
        cp.insert(cp.end(), names.end() - long(count), names.end());
        cp.push_back("0:");
        must(cp);
    }
    writeFile(gFolder + "/NEW.BIN", 16384, 7);
    ::mkdir((gFolder + "/out").c_str(), 0755);
    must({kTool, "small.hdf", "create", "--size", "32M"});
    must({kTool, "small.hdf", "newpart", "A", "16M"});
    must({kTool, "large.hdf", "create", "--size", "4G"});
    must({kTool, "large.hdf", "newpart", "A", "16M"});

    // Each round puts a file and deletes it again, with both tools, so every
    // round starts from the same partition.
    const auto m = medians({
        {"/bin/true"},
        {kTool, "full.raw", "dir", "BENCH", "-backend"},
        {"cpmls", "-l", "-f", "bench", "full.raw"},
        {kTool, "full.raw", "get", "BENCH:TARGET.BIN", "out/"},
        {"cpmcp", "-f", "bench", "full.raw", "0:TARGET.BIN", "out/"},
        {kTool, "room.raw", "put", "NEW.BIN", "BENCH:NEW.BIN"},
        {kTool, "room.raw", "del", "BENCH:NEW.BIN"},
        {"cpmcp", "-f", "bench", "room.raw", "NEW.BIN", "0:NEW2.BIN"},
        {"cpmrm", "-f", "bench", "room.raw", "0:NEW2.BIN"},
        {kTool, "small.hdf", "showptable", "-backend"},
        {kTool, "large.hdf", "showptable", "-backend"},
    });
    const char* labels[] = {"/bin/true",
                            "3E.EXE dir (512 files, -backend)",
                            "cpmls -l (same partition)",
                            "3E.EXE get (16 KB file)",
                            "cpmcp out (same file)",
                            "3E.EXE put (16 KB file, 500 files there)",
                            "3E.EXE del (that file)",
                            "cpmcp in (same file, same partition)",
                            "cpmrm (that file)",
                            "3E.EXE showptable, 32 MB image",
                            "3E.EXE showptable, 4 GB sparse image"};
    std::printf("%-42s (ratios to /bin/true)\n", "");
    for (size_t i = 0; i < m.size(); ++i)
        report(labels[i], m[i], m[0]);
    auto ratio = [&](size_t a, size_t b) { return m[a].wallUs / m[b].wallUs; };
    auto cpuRatio = [&](size_t a, size_t b) { return m[a].cpuUs / m[b].cpuUs; };
    std::printf("\ntargets: each at most 2x /bin/true and no slower than its cpmtools counterpart;"
                " showptable alike on both images\n");
    std::printf("wall: dir/true %.2f dir/cpmls %.2f get/true %.2f get/cpmcp %.2f put/true %.2f put/cpmcp %.2f "
                "del/true %.2f del/cpmrm %.2f showptable 4G/32M %.2f\n",
                ratio(1, 0), ratio(1, 2), ratio(3, 0), ratio(3, 4), ratio(5, 0), ratio(5, 7), ratio(6, 0), ratio(6, 8),
                ratio(10, 9));
    std::printf("cpu:  dir/true %.2f dir/cpmls %.2f get/true %.2f get/cpmcp %.2f put/true %.2f put/cpmcp %.2f "
                "del/true %.2f del/cpmrm %.2f showptable 4G/32M %.2f\n",
                cpuRatio(1, 0), cpuRatio(1, 2), cpuRatio(3, 0), cpuRatio(3, 4), cpuRatio(5, 0), cpuRatio(5, 7),
                cpuRatio(6, 0), cpuRatio(6, 8), cpuRatio(10, 9));

    // Against an earlier build of the tool (HARNWICK_BASELINE_TOOL names its
    // 3E.EXE): the same commands from both, taking turns in every round.
    if (const char* baseline = std::getenv("HARNWICK_BASELINE_TOOL")) {
        const std::string old = baseline;
        // Each pair runs new-old and then old-new within a round, so that
        // neither side always runs first.
        const std::vector<std::vector<std::string>> commands = {
            {"full.raw", "dir", "BENCH", "-backend"},
            {"full.raw", "get", "BENCH:TARGET.BIN", "out/"},
            {"room.raw", "put", "NEW.BIN", "BENCH:NEW.BIN"},
            {"room.raw", "del", "BENCH:NEW.BIN"},
            {"large.hdf", "showptable", "-backend"},
        };
        auto with = [](const std::string& tool, std::vector<std::string> args) {
            args.insert(args.begin(), tool);
            return args;
        };
        std::vector<std::vector<std::string>> runs;
        // put and del alternate, so that every put finds the name free.
        for (size_t order = 0; order < 2; ++order)
            for (size_t i = 0; i < commands.size(); ++i) {
                if (i == 3)
                    continue;
                const std::string first = order == 0 ? kTool : old, second = order == 0 ? old : kTool;
                runs.push_back(with(first, commands[i]));
                if (i == 2)
                    runs.push_back(with(first, commands[3]));
                runs.push_back(with(second, commands[i]));
                if (i == 2)
                    runs.push_back(with(second, commands[3]));
            }
        const auto c = medians(runs, 51);
        // Sum of the medians of each side, per command, in the order of runs.
        std::vector<double> newWall(commands.size()), oldWall(commands.size()), newCpu(commands.size()),
            oldCpu(commands.size());
        for (size_t k = 0; k < runs.size(); ++k) {
            size_t i = 0;
            while (!(std::vector<std::string>(runs[k].begin() + 1, runs[k].end()) == commands[i]))
                ++i;
            (runs[k][0] == kTool ? newWall : oldWall)[i] += c[k].wallUs;
            (runs[k][0] == kTool ? newCpu : oldCpu)[i] += c[k].cpuUs;
        }
        std::printf("\nagainst %s (target: none above 1.10)\n", old.c_str());
        const char* names[] = {"dir", "get", "put", "del", "showptable"};
        std::printf("wall:");
        for (size_t i = 0; i < commands.size(); ++i)
            std::printf(" %s %.2f", names[i], newWall[i] / oldWall[i]);
        std::printf("\ncpu: ");
        for (size_t i = 0; i < commands.size(); ++i)
            std::printf(" %s %.2f", names[i], newCpu[i] / oldCpu[i]);
        std::printf("\n");
    }
    std::system(("rm -rf '" + gFolder + "'").c_str());
    return 0;
}

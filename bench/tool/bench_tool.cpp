// Whole-process medians of the disk tool's commands on a 16 MB +3DOS
// partition holding 512 files, next to /bin/true and to cpmtools doing the
// same on the same partition; and showptable on a 32 MB and a 4 GB sparse
// image. Prints one line per measurement and the ratios the targets name.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kTool = HARNWICK_TOOL_EXE;
std::string gFolder;

int runIn(const std::vector<std::string>& argv)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(gFolder.c_str()) != 0)
            ::_exit(126);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void must(const std::vector<std::string>& argv)
{
    if (runIn(argv) != 0) {
        std::string line;
        for (const auto& a : argv)
            line += a + " ";
        std::fprintf(stderr, "failed: %s\n", line.c_str());
        std::exit(1);
    }
}

// Median wall times of whole runs, in microseconds. The commands take turns
// round after round, so a machine that slows down or speeds up while the
// benchmark runs affects them all alike.
std::vector<double> medians(const std::vector<std::vector<std::string>>& commands, int rounds = 101)
{
    std::vector<std::vector<double>> times(commands.size());
    for (const auto& c : commands)
        runIn(c);  // warm the page cache
    for (int r = 0; r < rounds; ++r) {
        for (size_t i = 0; i < commands.size(); ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            if (runIn(commands[i]) != 0) {
                std::fprintf(stderr, "failed: %s\n", commands[i][0].c_str());
                std::exit(1);
            }
            times[i].push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
        }
    }
    std::vector<double> result;
    for (auto& t : times) {
        std::nth_element(t.begin(), t.begin() + rounds / 2, t.end());
        result.push_back(t[size_t(rounds / 2)]);
    }
    return result;
}

void writeFile(const std::string& path, size_t size, unsigned seed)
{
    std::vector<char> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + seed * 7) & 0xFF);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(size));
}

void report(const char* what, double us, double trueUs)
{
    std::printf("%-46s %9.0f us  %5.2f x /bin/true\n", what, us, us / trueUs);
}

}  // namespace

int main()
{
    char templ[] = "/tmp/3ebench-XXXXXX";
    gFolder = ::mkdtemp(templ);
    std::printf("work folder %s\n", gFolder.c_str());

    // A raw image: the 16 MB partition starts at LBA 32, which cpmtools
    // reaches in place with offset 16384.
    must({kTool, "disk.raw", "create", "--size", "32M"});
    must({kTool, "disk.raw", "newpart", "BENCH", "16M"});
    {
        std::ofstream defs(gFolder + "/diskdefs");
        defs << "diskdef bench\n  seclen 512\n  tracks 255\n  sectrk 128\n  blocksize 8192\n  maxdir 512\n"
                "  skew 0\n  boottrk 0\n  os 2.2\n  offset 16384\nend\n";
    }
    // 511 small files and one of 16 KB: a full directory.
    std::vector<std::string> cp{"cpmcp", "-f", "bench", "disk.raw"};
    ::mkdir((gFolder + "/files").c_str(), 0755);
    for (int i = 0; i < 511; ++i) {
        const std::string name = "files/F" + std::to_string(i) + ".BIN";
        writeFile(gFolder + "/" + name, 500 + size_t(i % 7) * 300, unsigned(i));
        cp.push_back(name);
    }
    writeFile(gFolder + "/files/TARGET.BIN", 16384, 99);
    cp.push_back("files/TARGET.BIN");
    cp.push_back("0:");
    must(cp);
    ::mkdir((gFolder + "/out").c_str(), 0755);

    must({kTool, "small.hdf", "create", "--size", "32M"});
    must({kTool, "small.hdf", "newpart", "A", "16M"});
    must({kTool, "large.hdf", "create", "--size", "4G"});
    must({kTool, "large.hdf", "newpart", "A", "16M"});

    const auto m = medians({
        {"/bin/true"},
        {kTool, "disk.raw", "dir", "BENCH", "-backend"},
        {"cpmls", "-l", "-f", "bench", "disk.raw"},
        {kTool, "disk.raw", "get", "BENCH:TARGET.BIN", "out/"},
        {"cpmcp", "-f", "bench", "disk.raw", "0:TARGET.BIN", "out/"},
        {kTool, "small.hdf", "showptable", "-backend"},
        {kTool, "large.hdf", "showptable", "-backend"},
    });
    const double trueUs = m[0], dirUs = m[1], cpmlsUs = m[2], getUs = m[3], cpmcpUs = m[4], smallUs = m[5],
                 largeUs = m[6];
    report("/bin/true", trueUs, trueUs);
    report("3E.EXE dir (512 files, -backend)", dirUs, trueUs);
    report("cpmls -l (same partition)", cpmlsUs, trueUs);
    report("3E.EXE get (16 KB file)", getUs, trueUs);
    report("cpmcp out (same file)", cpmcpUs, trueUs);
    report("3E.EXE showptable, 32 MB image", smallUs, trueUs);
    report("3E.EXE showptable, 4 GB sparse image", largeUs, trueUs);

    std::printf("\ntargets: dir and get at most 2x /bin/true and no slower than cpmls/cpmcp; showptable alike on both images\n");
    std::printf("dir/true %.2f  dir/cpmls %.2f  get/true %.2f  get/cpmcp %.2f  showptable 4G/32M %.2f\n",
                dirUs / trueUs, dirUs / cpmlsUs, getUs / trueUs, getUs / cpmcpUs, largeUs / smallUs);
    std::system(("rm -rf '" + gFolder + "'").c_str());
    return 0;
}

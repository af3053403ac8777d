#pragma once

// Whole-process timing of commands for the disk tool's benchmarks: every
// command runs as a child in gFolder, output thrown away; medians over rounds
// in which the commands take turns.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace benchtool {


inline const std::string kTool = HARNWICK_TOOL_EXE;
inline std::string gFolder;  // the children run here

inline double gLastCpuUs = 0;     // user + system time of the last child
inline long gLastMaxRssKb = 0;    // peak resident memory of the last child

inline int runIn(const std::vector<std::string>& argv)
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
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    gLastCpuUs = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 + double(usage.ru_utime.tv_usec) +
                 double(usage.ru_stime.tv_usec);
    gLastMaxRssKb = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline void must(const std::vector<std::string>& argv)
{
    if (runIn(argv) != 0) {
        std::string line;
        for (const auto& a : argv)
            line += a + " ";
        std::fprintf(stderr, "failed: %s\n", line.c_str());
        std::exit(1);
    }
}

struct Timing {
    double wallUs;  // median wall time of a whole run
    double cpuUs;   // median user + system time of the process
};

// Medians of whole runs. The commands take turns round after round, so a
// machine that slows down or speeds up while the benchmark runs affects them
// all alike; CPU time is reported as well, as it hardly depends on what else
// the machine is doing.
inline std::vector<Timing> medians(const std::vector<std::vector<std::string>>& commands, int rounds = 101)
{
    std::vector<std::vector<double>> wall(commands.size()), cpu(commands.size());
    for (const auto& c : commands)
        runIn(c);  // warm the page cache
    for (int r = 0; r < rounds; ++r) {
        for (size_t i = 0; i < commands.size(); ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            if (runIn(commands[i]) != 0) {
                std::fprintf(stderr, "failed: %s\n", commands[i][0].c_str());
                std::exit(1);
            }
            wall[i].push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
            cpu[i].push_back(gLastCpuUs);
        }
    }
    auto median = [&](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + rounds / 2, v.end());
        return v[size_t(rounds / 2)];
    };
    std::vector<Timing> result;
    for (size_t i = 0; i < commands.size(); ++i)
        result.push_back({median(wall[i]), median(cpu[i])});
    return result;
}

}  // namespace benchtool

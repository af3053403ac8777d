// The command front end: argument forms, exit codes, standard error, line ends.
#include <gtest/gtest.h>

#include "test_support.h"
#include "tool_main.h"

using namespace tooltest;

TEST(ToolMain, NoArgumentsOrHelpPrintTheCommandSummary)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--help"}}) {
        const ToolRun r = toolProcess(args);
        EXPECT_EQ(r.code, 0);
        EXPECT_NE(r.out.find("3E.EXE <medium> get <partition>:<file> <folder>/"), std::string::npos);
        EXPECT_NE(r.out.find("HARNWICK_SCAN_EXTRA"), std::string::npos);
        EXPECT_EQ(r.out.find('\r'), std::string::npos) << "help lines end in LF";
        EXPECT_TRUE(r.err.empty());
    }
    const ToolRun version = toolProcess({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("3E.EXE ") + HARNWICK_VERSION + "\n");
    EXPECT_TRUE(version.err.empty());
}

TEST(ToolMain, BadCommandLinesExitWithTwo)
{
    TempDir dir;
    toolOk({dir / "d.hdf", "create", "--size", "8M"});
    const std::vector<std::vector<std::string>> bad{
        {dir / "d.hdf"},
        {dir / "d.hdf", "frobnicate"},
        {dir / "d.hdf", "dir"},
        {dir / "d.hdf", "dir", "A", "B"},
        {dir / "d.hdf", "get", "NOCOLON", dir.path},
        {dir / "d.hdf", "get", ":F", dir.path},
        {dir / "d.hdf", "showptable", "extra"},
    };
    for (const auto& args : bad) {
        const ToolRun r = toolProcess(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(r.err.size() - 2), "\r\n");
    }
}

TEST(ToolMain, RecordsEndInCrLfAndArriveAsTheBrowserSplitsThem)
{
    TempDir dir;
    const std::string image = dir / "my disk.hdf";
    toolOk({image, "create", "--size", "8M"});
    toolOk({image, "newpart", "P", "1M"});
    // 3E.EXE "my disk.hdf" showptable -backend
    const ToolRun r = toolProcess({image, "showptable", "-backend"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "32,16,32\r\n3,61\r\nPLUSIDEDOS,1,,0,0,0,0,0,31,16384\r\nP,3,,0,1,4,0,32,2079,1048576\r\n"
                     ",255,,4,1,31,15,2080,16383,7323648\r\n");
    EXPECT_EQ(r.err, "");
    // A scan command takes "scan" first; an image named scan is still reachable.
    const ToolRun named = toolProcess({"scan", "showptable", "-backend"});
    EXPECT_EQ(named.code, 1);
    EXPECT_NE(named.err.find("no such image or device: scan"), std::string::npos);
}

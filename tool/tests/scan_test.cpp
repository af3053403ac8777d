// scan: image files named in HARNWICK_SCAN_EXTRA are examined like devices.
#include <gtest/gtest.h>

#include <cstdlib>

#include "device_scan.h"
#include "test_support.h"

using namespace tooltest;

namespace {
struct ScanEnv {
    explicit ScanEnv(const std::string& value) { ::setenv(p3tool::kScanExtraVariable, value.c_str(), 1); }
    ~ScanEnv() { ::unsetenv(p3tool::kScanExtraVariable); }
};

// Records of our own images only, whatever disks this machine has.
std::vector<std::vector<std::string>> ownRecords(const std::string& out, const std::string& folder)
{
    std::vector<std::vector<std::string>> records;
    const auto all = lines(out);
    EXPECT_FALSE(all.empty());
    EXPECT_EQ(std::stoul(all[0]), all.size() - 1);
    for (size_t i = 1; i < all.size(); ++i)
        if (all[i].rfind(folder, 0) == 0)
            records.push_back(fields(all[i]));
    return records;
}
}  // namespace

TEST(Scan, ExtraPathsAreScannedAndOnlyIdedosMediaListed)
{
    TempDir dir;
    toolOk({dir / "a.hdf", "create", "--size", "8M"});
    toolOk({dir / "a.hdf", "newpart", "ONE", "1M"});
    toolOk({dir / "b.raw", "create", "--size", "16M", "--halved"});
    writeFile(dir / "junk.bin", randomBytes(100000, 1));
    ScanEnv env(dir / "a.hdf" + ":" + dir / "junk.bin" + "::" + dir / "b.raw" + ":" + dir / "gone.hdf");
    const auto records = ownRecords(toolOk({"scan", "-backend"}), dir.path);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][0], dir / "a.hdf");
    EXPECT_EQ(records[0][2] + "/" + records[0][3] + "/" + records[0][4], "32/16/32");
    EXPECT_EQ(records[0][5], "1");
    EXPECT_EQ(records[1][0], dir / "b.raw");

    const std::string report = toolOk({"scan"});
    EXPECT_NE(report.find(dir / "a.hdf" + ": 8,388,608 bytes, C/H/S 32/16/32\r\n  1 partition(s): ONE\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Not examined: no such image or device: " + dir / "gone.hdf"), std::string::npos);
    // A name found by scan opens like any image.
    EXPECT_EQ(lines(toolOk({records[0][0], "dir", "ONE", "-backend"})).size(), 1u);
}

TEST(Scan, CandidatesComeFromSysfsThenTheExtraPaths)
{
    TempDir sys;
    for (const auto& [name, size] : std::vector<std::pair<std::string, std::string>>{
             {"sdb", "1000"}, {"loop0", "0"}, {"zram0", "100"}, {"cciss!c0d0", "5"}, {"mmcblk0", "64"}}) {
        shell(sys.path, "mkdir '" + name + "' && echo " + size + " > '" + name + "/size'");
    }
    const auto paths = p3tool::scanCandidates(sys.path, "/x/a.hdf:/dev/sdb:");
    const std::vector<std::string> expected{"/dev/cciss/c0d0", "/dev/mmcblk0", "/dev/sdb", "/x/a.hdf"};
    EXPECT_EQ(paths, expected);
}

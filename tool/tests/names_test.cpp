// Partition and file names: how they are shown, matched and made safe.
#include <gtest/gtest.h>

#include "cpm_filesystem.h"
#include "test_support.h"

using namespace tooltest;

TEST(Names, ShownFileNamesAreSafeForRecordsAndHostPaths)
{
    struct Case {
        const char* stored;  // 11 bytes: name and type, padded
        const char* shown;
    };
    const Case cases[] = {
        {"HELLO   BAS", "HELLO.BAS"},
        {"NOTES      ", "NOTES"},
        {"..      ..$", "__.__$"},
        {"A/B     C,D", "A_B.C_D"},
        {"A B     X Y", "A_B.X_Y"},
        {"a:b\\c\"  x  ", "a_b_c_.x"},
        {"        BIN", "_.BIN"},
        {"prog.$$$   ", "prog_$$$"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(p3tool::displayFileName(reinterpret_cast<const uint8_t*>(c.stored)), c.shown) << c.stored;
    // Attribute bits do not show; control bytes and 0x7F become "_".
    const uint8_t withBits[11] = {'R' | 0x80, 'O', 0x01, 0x7F, ' ', ' ', ' ', ' ', 'T' | 0x80, 'X' | 0x80, 'T' | 0x80};
    EXPECT_EQ(p3tool::displayFileName(withBits), "RO__.TXT");
}

namespace {

// A raw image with the table at LBA 0: entry k is at byte 64k.
std::string imageWithPartitions(const TempDir& dir, const std::vector<std::string>& names)
{
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "16M"});
    for (const auto& n : names)
        toolOk({image, "newpart", n, "1M"});
    return image;
}

void renamePartition(const std::string& image, unsigned entry, const std::string& name16)
{
    patchFile(image, uint64_t(entry) * 64, std::vector<uint8_t>(name16.begin(), name16.end()));
}

}  // namespace

TEST(Names, PartitionNamesLoseTheirPaddingAndAreFoundWithTrailingBlanks)
{
    TempDir dir;
    const std::string image = imageWithPartitions(dir, {"GAMES"});
    const auto table = lines(toolOk({image, "showptable", "-backend"}));
    EXPECT_EQ(fields(table[3])[0], "GAMES");
    EXPECT_EQ(lines(toolOk({image, "dir", "GAMES  ", "-backend"})).size(), 1u);
    EXPECT_NE(toolOk({image, "showpentry", "games"}).find("Partition: GAMES"), std::string::npos);
}

TEST(Names, PartitionsDifferingOnlyInCaseAreEachReachedByTheirExactName)
{
    TempDir dir;
    const std::string image = imageWithPartitions(dir, {"FIRST", "SECOND"});
    renamePartition(image, 1, "Games           ");
    renamePartition(image, 2, "GAMES           ");
    writeFile(dir / "a", randomBytes(100, 1));
    writeFile(dir / "b", randomBytes(200, 2));
    CpmTools(image, "Games").put(dir / "a", "A.BIN");
    CpmTools(image, "GAMES").put(dir / "b", "B.BIN");
    EXPECT_EQ(fields(lines(toolOk({image, "dir", "Games", "-backend"}))[1])[0], "A.BIN");
    EXPECT_EQ(fields(lines(toolOk({image, "dir", "GAMES", "-backend"}))[1])[0], "B.BIN");
    // With neither spelling exact, the first in table order.
    EXPECT_EQ(fields(lines(toolOk({image, "dir", "games", "-backend"}))[1])[0], "A.BIN");
}

TEST(Names, PartitionNamesThatWouldBreakARecordAreShownWithUnderscores)
{
    TempDir dir;
    const std::string image = imageWithPartitions(dir, {"X"});
    std::string hostile = "A,B:C\x01\xff       ";
    renamePartition(image, 1, hostile);
    const auto table = lines(toolOk({image, "showptable", "-backend"}));
    EXPECT_EQ(fields(table[3]).size(), 10u);
    EXPECT_EQ(fields(table[3])[0], "A_B_C__");
    // The shown name is the one that reaches the partition.
    EXPECT_EQ(lines(toolOk({image, "dir", "A_B_C__", "-backend"})).size(), 1u);
}

TEST(Names, NewPartitionNamesAreChecked)
{
    TempDir dir;
    const std::string image = imageWithPartitions(dir, {"GAMES"});
    for (const std::string bad : {"games", "A,B", "A:B", "SEVENTEEN-LETTERS", " LEAD", ""}) {
        const ToolRun r = tool({image, "newpart", bad, "1M"});
        EXPECT_EQ(r.code, 1) << bad;
        EXPECT_NE(r.err.find(bad.empty() ? "partition name" : bad), std::string::npos) << r.err;
    }
    EXPECT_EQ(lines(toolOk({image, "showptable", "-backend"})).size(), 5u);
}

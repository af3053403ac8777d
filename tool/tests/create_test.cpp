// create and newpart: images and partitions that the +3e and cpmtools accept.
#include <gtest/gtest.h>

#include "bytes.h"
#include "tool_error.h"
#include "idedos_create.h"
#include "test_support.h"

using namespace tooltest;

TEST(Create, GeometryFollowsTheSize)
{
    struct Case {
        uint64_t bytes;
        uint32_t c, h, s;
    };
    const Case cases[] = {
        {16ull << 20, 64, 16, 32},
        {1ull << 30, 4096, 16, 32},
        {16ull << 30, 33288, 16, 63},  // 65536 cylinders of 16 x 32 would not fit
        {32ull << 30, 4177, 255, 63},
        {100ull << 30, 13054, 255, 63},
    };
    for (const Case& c : cases) {
        const auto g = p3tool::geometryForSize(c.bytes);
        EXPECT_EQ(g.cylinders, c.c) << c.bytes;
        EXPECT_EQ(g.heads, c.h) << c.bytes;
        EXPECT_EQ(g.sectors, c.s) << c.bytes;
    }
    EXPECT_THROW(p3tool::geometryForSize(256 * 1024), p3tool::ToolError);
    EXPECT_THROW(p3tool::geometryForSize(1ull << 40), p3tool::ToolError);
}

TEST(Create, HeaderAndTableAreLaidOutAsTheRomsExpect)
{
    TempDir dir;
    const std::string image = dir / "d.hdf";
    toolOk({image, "create", "--cyl", "100", "--heads", "4", "--spt", "17", "--max-partitions", "20"});
    const auto b = readFile(image);
    ASSERT_EQ(b.size(), 0x216u + 100 * 4 * 17 * 512);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "RS-IDE");
    EXPECT_EQ(b[7], 0x11);
    EXPECT_EQ(p3tool::le16(&b[9]), 0x216);
    EXPECT_EQ(p3tool::le16(&b[0x16 + 2]), 100);  // identification words 1, 3, 6
    EXPECT_EQ(p3tool::le16(&b[0x16 + 6]), 4);
    EXPECT_EQ(p3tool::le16(&b[0x16 + 12]), 17);
    const uint8_t* sys = &b[0x216];
    EXPECT_EQ(std::string(sys, sys + 16), "PLUSIDEDOS      ");
    EXPECT_EQ(sys[0x10], 1);
    // 20 entries of 64 bytes fit in one track of 17 x 512 bytes: C0/H0 to C0/H0.
    EXPECT_EQ(p3tool::le16(&sys[0x14]), 0);
    EXPECT_EQ(sys[0x16], 0);
    EXPECT_EQ(p3tool::le32(&sys[0x17]), 16u);
    EXPECT_EQ(p3tool::le16(&sys[0x20]), 100);
    EXPECT_EQ(sys[0x22], 4);
    EXPECT_EQ(sys[0x23], 17);
    EXPECT_EQ(p3tool::le16(&sys[0x24]), 68);
    EXPECT_EQ(p3tool::le16(&sys[0x26]), 20);
    const uint8_t* free = sys + 64;
    EXPECT_EQ(free[0x10], 0xFF);
    EXPECT_EQ(free[0x13], 1);                     // C0/H1
    EXPECT_EQ(p3tool::le16(&free[0x14]), 99);     // to C99/H3
    EXPECT_EQ(free[0x16], 3);
    EXPECT_EQ(p3tool::le32(&free[0x17]), 399u * 17 - 1);
    EXPECT_EQ(lines(toolOk({image, "showptable", "-backend"}))[1], "2,18");
}

TEST(Create, HalvedAndOlderHeadersAndExistingFiles)
{
    TempDir dir;
    toolOk({dir / "h.hdf", "create", "--cyl", "10", "--heads", "2", "--spt", "32", "--halved", "--hdf10"});
    const auto b = readFile(dir / "h.hdf");
    EXPECT_EQ(b.size(), 0x80u + 10 * 2 * 32 * 256);
    EXPECT_EQ(b[7], 0x10);
    EXPECT_EQ(b[8], 1);
    const ToolRun again = tool({dir / "h.hdf", "create", "--size", "8M"});
    EXPECT_EQ(again.code, 1);
    EXPECT_NE(again.err.find("already exists"), std::string::npos);
    EXPECT_EQ(readFile(dir / "h.hdf"), b);
    EXPECT_EQ(tool({dir / "x.hdf", "create", "--cyl", "10"}).code, 2);
    EXPECT_EQ(tool({dir / "x.hdf", "create", "--size", "lots"}).code, 2);
    EXPECT_EQ(tool({dir / "x.hdf", "create", "--bogus"}).code, 2);
}

TEST(Create, EveryPartitionSizePassesFsckAndCheck)
{
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "128M"});  // sparse
    const struct {
        const char* size;
        const char* block;
        const char* blocks;
    } sizes[] = {{"1M", "2,048", "512 (8"}, {"4M", "2,048", "2048 (8"}, {"5M", "4,096", "1280 (4"},
                 {"8M", "4,096", "2048 (4"}, {"9M", "8,192", "1152 (2"}, {"16M", "8,192", "2040 (2"}};
    for (const auto& s : sizes) {
        const std::string name = std::string("P") + s.size;
        toolOk({image, "newpart", name, s.size});
        const std::string details = toolOk({image, "showpentry", name});
        EXPECT_NE(details.find(std::string("Block size: ") + s.block + " bytes"), std::string::npos) << details;
        EXPECT_NE(details.find(std::string("Blocks: ") + s.blocks), std::string::npos) << details;
        CpmTools(image, name).fsck();
    }
    toolOk({image, "check"});
    // 43 MB are taken; 64 MB more do not fit, 16 MB do.
    const ToolRun full = tool({image, "newpart", "MORE", "17M"});
    EXPECT_EQ(full.code, 2);
    for (int i = 0; i < 5; ++i)
        toolOk({image, "newpart", "F" + std::to_string(i), "16M"});
    const ToolRun none = tool({image, "newpart", "LAST", "16M"});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("no free space of 16 MB"), std::string::npos) << none.err;
}

TEST(Create, NewPartitionMappedToADriveShowsItsLetter)
{
    TempDir dir;
    const std::string image = dir / "d.hdf";
    toolOk({image, "create"});
    toolOk({image, "newpart", "WORK", "2M", "--drive", "d"});
    const auto rec = fields(lines(toolOk({image, "showptable", "-backend"}))[3]);
    EXPECT_EQ(rec[2], "D:");
    EXPECT_EQ(rec[9], std::to_string(2 * 1024 * 1024));
}

TEST(Create, FullTableIsRefused)
{
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "16M", "--max-partitions", "3"});
    toolOk({image, "newpart", "A", "1M"});
    const ToolRun r = tool({image, "newpart", "B", "1M"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("table"), std::string::npos) << r.err;
    toolOk({image, "check"});
}

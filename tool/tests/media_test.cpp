// Every kind of medium the tool opens: HDF 1.0/1.1, halved, raw, 8-bit raw
// with data in the even bytes, the table at C0/H1; read through showptable,
// dir and get, with files written by cpmtools.
#include <gtest/gtest.h>

#include <unistd.h>

#include "test_support.h"

using namespace tooltest;

namespace {

struct Layout {
    const char* label;
    const char* file;
    std::vector<std::string> options;
    uint64_t firstLba;  // of the first partition
    uint64_t lastLba;
};

// A 64/16/32 disk; a 1 MB partition takes 64 tracks of 512-byte sectors,
// 128 tracks of 256-byte sectors.
const Layout kLayouts[] = {
    {"hdf11", "d.hdf", {}, 32, 32 + 2048 - 1},
    {"hdf10", "d.hdf", {"--hdf10"}, 32, 32 + 2048 - 1},
    {"halved", "d.hdf", {"--halved"}, 32, 32 + 4096 - 1},
    {"raw", "d.raw", {}, 32, 32 + 2048 - 1},
    {"rawNamedHdf", "d.hdf", {"--raw"}, 32, 32 + 2048 - 1},
    {"even8", "d.img", {"--halved"}, 32, 32 + 4096 - 1},
    {"tableAtHead1", "d.hdf", {"--table-at-head1"}, 64, 64 + 2048 - 1},
};

class MediaTest : public ::testing::TestWithParam<Layout> {};

std::string makeImage(const TempDir& dir, const Layout& l)
{
    const std::string image = dir / l.file;
    std::vector<std::string> args{image, "create", "--cyl", "64", "--heads", "16", "--spt", "32"};
    args.insert(args.end(), l.options.begin(), l.options.end());
    toolOk(args);
    toolOk({image, "newpart", "FILES", "1M"});
    return image;
}

// The sectors of an 8-bit disk spread over the even bytes of a raw image.
void convertHalvedToEven8(const std::string& from, const std::string& to)
{
    const auto hdf = readFile(from);
    const size_t dofs = size_t(hdf[9] | (hdf[10] << 8));
    std::vector<uint8_t> raw((hdf.size() - dofs) * 2, 0xAA);
    for (size_t i = dofs; i < hdf.size(); ++i)
        raw[2 * (i - dofs)] = hdf[i];
    writeFile(to, raw);
}

}  // namespace

TEST_P(MediaTest, OpensListsAndGetsFilesWrittenByCpmtools)
{
    const Layout& l = GetParam();
    TempDir dir;
    const bool even8 = std::string(l.label) == "even8";
    // cpmtools reaches a disk whose data sits in the even bytes only through
    // the equivalent halved image.
    const std::string image = even8 ? makeImage(dir, {"", "work.hdf", {"--halved"}, 0, 0}) : makeImage(dir, l);
    const auto data = randomBytes(40000, 7);
    writeFile(dir / "r40k", data);
    {
        CpmTools cpm(image, "FILES");
        cpm.put(dir / "r40k", "R40K.BIN");
        cpm.fsck();
    }
    std::string medium = image;
    if (even8) {
        medium = dir / l.file;
        convertHalvedToEven8(image, medium);
    }

    const auto table = lines(toolOk({medium, "showptable", "-backend"}));
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0], "64,16,32");
    EXPECT_EQ(table[1], "3,61");
    EXPECT_EQ(fields(table[2])[0], "PLUSIDEDOS");
    const auto part = fields(table[3]);
    EXPECT_EQ(part[0], "FILES");
    EXPECT_EQ(part[1], "3");
    EXPECT_EQ(std::stoull(part[7]), l.firstLba);
    EXPECT_EQ(std::stoull(part[8]), l.lastLba);
    EXPECT_EQ(part[9], "1048576");
    EXPECT_EQ(fields(table[4])[1], "255");

    const auto dirLines = lines(toolOk({medium, "dir", "FILES", "-backend"}));
    ASSERT_EQ(dirLines.size(), 2u);
    EXPECT_EQ(dirLines[1], "R40K.BIN,40064,---,0,0,40960,255,40000,0,0");
    toolOk({medium, "get", "FILES:R40K.BIN", dir.path + "/"});
    EXPECT_EQ(readFile(dir / "R40K.BIN"), data);

    // Writing reaches the same sectors: a second file, the first replaced.
    const auto more = randomBytes(30000, 8);
    writeFile(dir / "more", more);
    toolOk({medium, "putbin", dir / "more", "FILES:MORE.BIN", "24576"});
    toolOk({medium, "put", dir / "more", "FILES:R40K.BIN"});
    TempDir out;
    toolOk({medium, "get", "FILES:R40K.BIN", out.path});
    EXPECT_EQ(readFile(out / "R40K.BIN"), more);
    toolOk({medium, "get", "FILES:MORE.BIN", out.path});
    EXPECT_EQ(readFile(out / "MORE.BIN").size(), 30128u);
    toolOk({medium, "check"});
}

INSTANTIATE_TEST_SUITE_P(Layouts, MediaTest, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(Media, LargeSparseImageOpensAndListsItsTable)
{
    TempDir dir;
    const std::string image = dir / "big.hdf";
    toolOk({image, "create", "--size", "4G"});
    toolOk({image, "newpart", "LAST", "16M"});
    const auto table = lines(toolOk({image, "showptable", "-backend"}));
    EXPECT_EQ(table[0], "16384,16,32");
    EXPECT_EQ(fields(table[3])[0], "LAST");
    EXPECT_EQ(lines(toolOk({image, "dir", "LAST", "-backend"})).size(), 1u);
}

TEST(Media, ImageShorterThanItsTableSaysIsRefusedWhenRead)
{
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "8M"});
    toolOk({image, "newpart", "P", "4M"});
    ASSERT_EQ(::truncate(image.c_str(), 1024 * 1024), 0);
    // The table itself is still there; the partition's directory is not.
    EXPECT_EQ(lines(toolOk({image, "showptable", "-backend"})).size(), 5u);
    const ToolRun r = tool({image, "dir", "P", "-backend"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("past the end"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

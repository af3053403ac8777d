// The files a user meets, written by cpmtools, listed by dir and fetched by
// get byte for byte: a BASIC program made by zmakebas with its +3DOS header,
// a SCREEN$, files of several extents, a headerless file, a read-only file.
#include <gtest/gtest.h>

#include "test_support.h"

using namespace tooltest;

namespace {

struct Sample {
    std::string name;
    std::vector<uint8_t> bytes;  // as the host file holds it
    std::string record;          // the expected dir record
};

class FilesTest : public ::testing::TestWithParam<const char*> {
protected:
    // A 4 MB partition (2 KB blocks, one extent per entry) and a 16 MB one
    // (8 KB blocks, four extents per entry).
    void SetUp() override
    {
        image = dir / "d.hdf";
        toolOk({image, "create", "--size", "32M"});
        toolOk({image, "newpart", "SMALL", "4M"});
        toolOk({image, "newpart", "LARGE", "16M"});
    }
    TempDir dir;
    std::string image;
};

std::vector<Sample> samples(bool largeBlocks)
{
    std::vector<Sample> s;
    const TapeFile prog = zmakebasProgram("10 PRINT \"HELLO\"\n20 GO TO 10\n", "hello", 10);
    const uint16_t progLen = uint16_t(prog.data.size());
    EXPECT_EQ(prog.header[0], 0);  // a program
    const uint16_t autostart = uint16_t(prog.header[13] | (prog.header[14] << 8));
    const uint16_t vars = uint16_t(prog.header[15] | (prog.header[16] << 8));
    EXPECT_EQ(autostart, 10);
    const std::string alloc1 = largeBlocks ? "8192" : "2048";
    s.push_back({"HELLO.BAS", plus3File(0, prog.data, autostart, vars),
                 "HELLO.BAS,256,---,1,0," + alloc1 + ",0," + std::to_string(progLen) + ",10," + std::to_string(vars)});
    s.push_back({"SCREEN.SCR", plus3File(3, randomBytes(6912, 1), 16384, 32768),
                 "SCREEN.SCR,7040,---,1,0," + std::string(largeBlocks ? "8192" : "8192") + ",3,6912,16384,32768"});
    // 40 000 bytes: three entries with 2 KB blocks; 200 000 bytes: four
    // entries of four extents with 8 KB blocks.
    s.push_back({"R40K.BIN", randomBytes(40000, 2),
                 "R40K.BIN,40064,---,0,0," + std::string(largeBlocks ? "40960" : "40960") + ",255,40000,0,0"});
    s.push_back({"R200K.DAT", randomBytes(200000, 3),
                 "R200K.DAT,200064,---,0,0," + std::string(largeBlocks ? "204800" : "200704") + ",255,200000,0,0"});
    s.push_back({"NOTES", randomBytes(300, 4), "NOTES,384,---,0,0," + alloc1 + ",255,300,0,0"});
    return s;
}

}  // namespace

TEST_P(FilesTest, DirListsAndGetGivesBackEveryFile)
{
    const std::string partition = GetParam();
    const bool large = partition == "LARGE";
    const auto set = samples(large);
    {
        CpmTools cpm(image, partition);
        for (const auto& f : set) {
            writeFile(dir / ("in-" + f.name), f.bytes);
            cpm.put(dir / ("in-" + f.name), f.name);
        }
        // Read-only, as +3DOS's SET ATTRIBUTES or cpmchattr leave it.
        std::string output;
        ASSERT_EQ(cpm.run("cpmchattr -f {def} {img} r 0:NOTES", &output), 0) << output;
        cpm.fsck();
    }
    const auto listing = lines(toolOk({image, "dir", partition, "-backend"}));
    ASSERT_EQ(listing.size(), set.size() + 1);
    EXPECT_EQ(listing[0], "Name,Size,Attr,VerMajor,VerMinor,HdSize,Type,RealSize,Start,Vars");
    for (size_t i = 0; i < set.size(); ++i) {
        std::string expected = set[i].record;
        if (set[i].name == "NOTES")
            expected.replace(expected.find("---"), 3, "R--");
        EXPECT_EQ(listing[i + 1], expected);
    }
    TempDir out;
    for (const auto& f : set) {
        toolOk({image, "get", partition + ":" + f.name, out.path + "/"});
        EXPECT_EQ(readFile(out / f.name), f.bytes) << f.name;
    }
    toolOk({image, "check", partition});
}

INSTANTIATE_TEST_SUITE_P(Partitions, FilesTest, ::testing::Values("SMALL", "LARGE"));

TEST(Files, GetMatchesNamesCaseAsideAndWritesTheNameAsAsked)
{
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "8M"});
    toolOk({image, "newpart", "Games", "1M"});
    const auto data = randomBytes(1000, 9);
    writeFile(dir / "x", data);
    CpmTools(image, "Games").put(dir / "x", "GAME.BIN");
    TempDir out;
    // The trailing slash and the name as the user typed it.
    toolOk({image, "get", "games:game.bin", out.path + "/"});
    EXPECT_EQ(readFile(out / "game.bin"), data);
    toolOk({image, "get", "GAMES:GAME.BIN", out.path});
    EXPECT_EQ(readFile(out / "GAME.BIN"), data);
}

TEST(Files, GetReplacesAnExistingHostFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "8M"});
    toolOk({image, "newpart", "P", "1M"});
    writeFile(dir / "x", randomBytes(5000, 1));
    CpmTools(image, "P").put(dir / "x", "A.BIN");
    TempDir out;
    writeFile(out / "A.BIN", randomBytes(99999, 2));
    toolOk({image, "get", "P:A.BIN", out.path + "/"});
    EXPECT_EQ(readFile(out / "A.BIN"), readFile(dir / "x"));
    std::string listing;
    shell(out.path, "ls -A", &listing);
    EXPECT_EQ(listing, "A.BIN\n");
}

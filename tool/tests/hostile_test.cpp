// Damaged and hostile media: the tool refuses with one line on standard
// error, never reads outside the image and never writes outside the folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "test_support.h"

using namespace tooltest;

namespace {

// A raw 16 MB image with partition P (1 MB, 2 KB blocks, 16-bit pointers)
// holding three files written by cpmtools: A.BIN (3 entries), B.BIN with a
// +3DOS header, C.BIN.
class Hostile : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = dir / "d.raw";
        toolOk({image, "create", "--size", "16M"});
        toolOk({image, "newpart", "P", "1M"});
        a = randomBytes(40000, 1);
        b = plus3File(3, randomBytes(3000, 2), 32768, 32768);
        c = randomBytes(10, 3);
        writeFile(dir / "a", a);
        writeFile(dir / "b", b);
        writeFile(dir / "c", c);
        CpmTools cpm(image, "P");
        cpm.put(dir / "a", "A.BIN");
        cpm.put(dir / "b", "B.BIN");
        cpm.put(dir / "c", "C.BIN");
        const auto table = lines(toolOk({image, "showptable", "-backend"}));
        directory = std::stoull(fields(table[3])[7]) * 512;
    }
    // Entry slots: 0-2 A.BIN, 3 B.BIN, 4 C.BIN.
    uint64_t entry(unsigned i) const { return directory + 32 * i; }
    ToolRun get(const std::string& name) { return tool({image, "get", "P:" + name, out.path + "/"}); }

    TempDir dir, out;
    std::string image;
    std::vector<uint8_t> a, b, c;
    uint64_t directory = 0;
};

void expectFailure(const ToolRun& r, const std::string& words)
{
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(words), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.substr(r.err.size() - 2), "\r\n");
}

}  // namespace

TEST_F(Hostile, NamesWithSeparatorsDotsAndControlBytesStayInsideTheFolder)
{
    patchFile(image, entry(4) + 1, {'.', '.', '/', '.', '.', 0x01, ' ', ' ', '/', ' ', ' '});
    const auto listing = lines(toolOk({image, "dir", "P", "-backend"}));
    EXPECT_EQ(fields(listing[3])[0], "______._");
    expectFailure(get("../..\x01"), "no file named");
    expectFailure(get("../../d.raw"), "no file named");
    toolOk({image, "get", "P:______._", out.path + "/"});
    EXPECT_EQ(readFile(out / "______._"), c);
    std::string parent;
    shell(dir.path, "ls -A", &parent);
    EXPECT_EQ(parent, "a\nb\nc\nd.raw\n");
}

TEST_F(Hostile, BlockPastTheEndIsAFaultNotARead)
{
    patchFile(image, entry(1) + 16, {0xFF, 0xFF});
    // B.BIN's header is out of reach as well: it is listed as headerless.
    patchFile(image, entry(3) + 16, {0x00, 0x08});
    const auto listing = lines(toolOk({image, "dir", "P", "-backend"}));
    ASSERT_EQ(listing.size(), 4u);
    EXPECT_EQ(fields(listing[2])[6], "255");
    expectFailure(get("A.BIN"), "past the last block");
    struct stat st {};
    EXPECT_NE(::stat((out / "A.BIN").c_str(), &st), 0);
    const ToolRun check = tool({image, "check", "P"});
    EXPECT_EQ(check.code, 3);
    EXPECT_NE(check.out.find("block 65535 lies past the last block"), std::string::npos) << check.out;
    EXPECT_EQ(get("C.BIN").code, 0);
}

TEST_F(Hostile, ExtentsStoredOutOfOrderAreReadInOrder)
{
    // Swap the first and last entry of A.BIN.
    const auto bytes = readFile(image);
    std::vector<uint8_t> first(bytes.begin() + long(entry(0)), bytes.begin() + long(entry(1)));
    std::vector<uint8_t> last(bytes.begin() + long(entry(2)), bytes.begin() + long(entry(3)));
    patchFile(image, entry(0), last);
    patchFile(image, entry(2), first);
    ASSERT_EQ(get("A.BIN").code, 0);
    EXPECT_EQ(readFile(out / "A.BIN"), a);
    toolOk({image, "check", "P"});
}

TEST_F(Hostile, TruncatedHeadedFileIsRefusedByGetAndReportedByCheck)
{
    patchFile(image, entry(3) + 15, {2});  // two records left of 25
    expectFailure(get("B.BIN"), "header says 3128 bytes");
    EXPECT_EQ(tool({image, "check", "P"}).code, 3);
}

TEST_F(Hostile, EntryFieldsOutOfRangeDoNotCrash)
{
    patchFile(image, entry(4) + 12, {0xFF, 0xFF, 0xFF, 0xFF});
    patchFile(image, entry(3) + 12, {0x1F, 0x00, 0x3F, 0x80});
    EXPECT_EQ(lines(toolOk({image, "dir", "P", "-backend"})).size(), 4u);
    get("C.BIN");
    get("B.BIN");
    EXPECT_EQ(tool({image, "check", "P"}).code, 3);
}

TEST_F(Hostile, DamagedParametersAndExtentsAreRefused)
{
    const auto table = lines(toolOk({image, "showptable", "-backend"}));
    // BSH of partition P (entry 1, XDPB at 0x20) made impossible.
    patchFile(image, 64 + 0x22, {0});
    expectFailure(tool({image, "dir", "P", "-backend"}), "damaged file system");
    patchFile(image, 64 + 0x22, {4});
    // DSM larger than the partition.
    patchFile(image, 64 + 0x25, {0xFF, 0x7F});
    expectFailure(tool({image, "dir", "P", "-backend"}), "do not fit");
    patchFile(image, 64 + 0x25, {0xFF, 0x01});
    // End head beyond the disk's heads; end cylinder past the medium.
    patchFile(image, 64 + 0x16, {200});
    expectFailure(tool({image, "dir", "P", "-backend"}), "damaged partition entry");
    patchFile(image, 64 + 0x14, {0xFF, 0xFF, 0});
    expectFailure(tool({image, "get", "P:A.BIN", out.path}), "past the end of the medium");
}

TEST_F(Hostile, TableLongerThanTheSystemPartitionIsCutAtItsEnd)
{
    patchFile(image, 0x26, {0xFF, 0xFF});  // 65535 entries claimed
    const auto table = lines(toolOk({image, "showptable", "-backend"}));
    // One track of 32 x 512 bytes holds 256 entries.
    EXPECT_EQ(table[1], "3,253");
    // A system partition that claims the whole disk is read only as far as
    // the medium goes; what lies there is shown as entries, each a full record.
    patchFile(image, 0x14, {0xFF, 0xFF, 15});
    const auto all = lines(toolOk({image, "showptable", "-backend"}));
    const auto counts = fields(all[1]);
    EXPECT_EQ(std::stoul(counts[0]) + std::stoul(counts[1]), 65535u);
    for (size_t i = 2; i < all.size(); ++i)
        EXPECT_EQ(fields(all[i]).size(), 10u) << all[i];
}

TEST(HostileMedia, WhatIsNotAnIdedosMediumIsRefused)
{
    TempDir dir;
    writeFile(dir / "random.hdf", randomBytes(300000, 5));
    writeFile(dir / "empty.raw", {});
    std::vector<uint8_t> hdf = randomBytes(4096, 6);
    std::copy_n("RS-IDE\x1a\x11\x02", 9, hdf.begin());  // ATAPI
    writeFile(dir / "cdrom.hdf", hdf);
    hdf[8] = 0;
    hdf[9] = 0xFF;
    hdf[10] = 0xFF;  // data offset beyond the file
    writeFile(dir / "offset.hdf", hdf);
    const std::pair<std::string, std::string> cases[] = {
        {"random.hdf", "not an IDEDOS medium"}, {"empty.raw", "not an IDEDOS medium"},
        {"cdrom.hdf", "ATAPI"},                 {"offset.hdf", "data offset"},
        {"missing.hdf", "no such image"},       {"", "a folder"},
    };
    for (const auto& [file, words] : cases)
        expectFailure(tool({dir / file, "showptable", "-backend"}), words);
}

TEST(HostileMedia, ImpossibleGeometryIsRefused)
{
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "8M"});
    patchFile(image, 0x23, {0});  // sectors per track
    expectFailure(tool({image, "showptable", "-backend"}), "impossible geometry");
}

TEST(HostileMedia, RefusalsNameWhatTheyAreAbout)
{
    TempDir dir, out;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "8M"});
    toolOk({image, "newpart", "P", "1M"});
    expectFailure(tool({image, "dir", "NOPE", "-backend"}), "no partition named \"NOPE\"");
    expectFailure(tool({image, "dir", "PLUSIDEDOS", "-backend"}), "not a +3DOS partition: \"PLUSIDEDOS\"");
    expectFailure(tool({image, "get", "P:NOPE.BIN", out.path}), "no file named \"NOPE.BIN\"");
    expectFailure(tool({image, "get", "P:X", dir / "nofolder"}), "no such folder");
}

// put, putbin and del: what they store reads back through cpmtools and get
// byte for byte, every write leaves check and fsck.cpm content, and what
// they refuse leaves the medium untouched.
#include <gtest/gtest.h>

#include "plus3_header.h"
#include "test_support.h"

using namespace tooltest;

namespace {

class Writes : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = dir / "d.raw";
        toolOk({image, "create", "--size", "24M"});
        toolOk({image, "newpart", "SMALL", "4M"});
        toolOk({image, "newpart", "LARGE", "16M"});
    }
    std::string host(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        writeFile(dir / name, bytes);
        return dir / name;
    }
    // check and fsck.cpm both content.
    void expectSound(const std::string& partition)
    {
        toolOk({image, "check", partition});
        CpmTools(image, partition).fsck();
    }
    std::vector<uint8_t> viaCpmtools(const std::string& partition, const std::string& name)
    {
        CpmTools cpm(image, partition);
        std::string output;
        EXPECT_EQ(cpm.run("cpmcp -f {def} {img} '0:" + name + "' out.bin", &output), 0) << output;
        return readFile(cpm.folder() + "/out.bin");
    }
    std::vector<uint8_t> viaGet(const std::string& partition, const std::string& name)
    {
        TempDir out;
        toolOk({image, "get", partition + ":" + name, out.path + "/"});
        return readFile(out / name);
    }
    std::vector<std::string> names(const std::string& partition)
    {
        std::vector<std::string> n;
        const auto l = lines(toolOk({image, "dir", partition, "-backend"}));
        for (size_t i = 1; i < l.size(); ++i)
            n.push_back(fields(l[i])[0]);
        return n;
    }
    TempDir dir;
    std::string image;
};

}  // namespace

TEST_F(Writes, PutStoresEveryLengthExactly)
{
    // Around record, block and extent edges, in 2 KB and 8 KB blocks.
    const size_t lengths[] = {0, 1, 127, 128, 129, 2048, 16384, 16512, 40000, 65536, 200000};
    unsigned seed = 1;
    for (const std::string partition : {"SMALL", "LARGE"}) {
        for (size_t length : lengths) {
            const auto bytes = randomBytes(length, seed++);
            const std::string name = "F" + std::to_string(length) + ".BIN";
            toolOk({image, "put", host("in", bytes), partition + ":" + name});
            EXPECT_EQ(viaGet(partition, name), bytes) << partition << " " << length;
            EXPECT_EQ(viaCpmtools(partition, name), bytes) << partition << " " << length;
        }
        expectSound(partition);
    }
}

TEST_F(Writes, GetThenPutGivesTheIdenticalFileAndPutOntoItselfWorks)
{
    const auto program = plus3File(0, randomBytes(3000, 5), 10, 2900);
    toolOk({image, "put", host("p", program), "SMALL:PROG.BAS"});
    const auto fetched = viaGet("SMALL", "PROG.BAS");
    EXPECT_EQ(fetched, program);
    // The browser's rename and paste: the local copy goes back, here under
    // the same name.
    toolOk({image, "put", host("PROG.BAS", fetched), "SMALL:PROG.BAS"});
    EXPECT_EQ(viaGet("SMALL", "PROG.BAS"), program);
    EXPECT_EQ(names("SMALL"), std::vector<std::string>{"PROG.BAS"});
    const auto record = fields(lines(toolOk({image, "dir", "SMALL", "-backend"}))[1]);
    EXPECT_EQ(record[6], "0");     // still a program
    EXPECT_EQ(record[8], "10");    // autostart line
    EXPECT_EQ(record[9], "2900");  // variables offset
    expectSound("SMALL");
}

TEST_F(Writes, ReplacingLeavesCpmtoolsFilesIntact)
{
    const auto a = randomBytes(30000, 1), b = randomBytes(5000, 2), c = randomBytes(70000, 3);
    {
        CpmTools cpm(image, "SMALL");
        cpm.put(host("a", a), "A.BIN");
        cpm.put(host("b", b), "B.BIN");
        cpm.put(host("c", c), "C.BIN");
    }
    const auto newer = randomBytes(50000, 4);
    toolOk({image, "put", host("n", newer), "SMALL:b.bin"});
    EXPECT_EQ(viaCpmtools("SMALL", "B.BIN"), newer);
    EXPECT_EQ(viaCpmtools("SMALL", "A.BIN"), a);
    EXPECT_EQ(viaCpmtools("SMALL", "C.BIN"), c);
    toolOk({image, "del", "SMALL:C.BIN"});
    EXPECT_EQ(viaCpmtools("SMALL", "A.BIN"), a);
    EXPECT_EQ(names("SMALL"), (std::vector<std::string>{"A.BIN", "B.BIN"}));
    expectSound("SMALL");
}

TEST_F(Writes, ReplacingAFileWhoseEntriesSpanTwoDirectorySectors)
{
    // Fifteen one-entry files fill slots 0-14; a three-entry file then takes
    // slots 15-17 across the first sector boundary.
    for (int i = 0; i < 15; ++i)
        toolOk({image, "put", host("s", randomBytes(100, unsigned(i))), "SMALL:S" + std::to_string(i)});
    toolOk({image, "put", host("big", randomBytes(40000, 50)), "SMALL:BIG.BIN"});
    const auto newer = randomBytes(45000, 51);
    toolOk({image, "put", host("big2", newer), "SMALL:BIG.BIN"});
    EXPECT_EQ(viaGet("SMALL", "BIG.BIN"), newer);
    EXPECT_EQ(viaCpmtools("SMALL", "BIG.BIN"), newer);
    // Nothing is left under another user number.
    std::string listing;
    CpmTools(image, "SMALL").run("cpmls -f {def} {img}", &listing);
    EXPECT_EQ(listing.find("1:"), std::string::npos) << listing;
    EXPECT_EQ(names("SMALL").size(), 16u);
    expectSound("SMALL");
}

TEST_F(Writes, PutbinMakesOrKeepsTheHeader)
{
    const auto code = randomBytes(1000, 1);
    const auto screen = randomBytes(6912, 2);
    const auto headed = plus3File(3, randomBytes(500, 3), 40000, 32768);
    const auto program = plus3File(0, randomBytes(500, 4), 1, 500);
    toolOk({image, "putbin", host("code", code), "SMALL:CODE.BIN"});
    toolOk({image, "putbin", host("code", code), "SMALL:AT.BIN", "25000"});
    toolOk({image, "putbin", host("screen", screen), "SMALL:SCREEN.SCR"});
    toolOk({image, "putbin", host("headed", headed), "SMALL:HEADED.BIN"});
    toolOk({image, "putbin", host("headed", headed), "SMALL:MOVED.BIN", "30000"});
    toolOk({image, "putbin", host("program", program), "SMALL:PROG.BAS", "30000"});
    // The browser's form with "put" leaves an empty address behind.
    toolOk({image, "put", host("code", code), "SMALL:PLAIN.BIN", ""});
    const auto l = lines(toolOk({image, "dir", "SMALL", "-backend"}));
    EXPECT_EQ(l[1], "CODE.BIN,1152,---,1,0,2048,3,1000,32768,32768");
    EXPECT_EQ(l[2], "AT.BIN,1152,---,1,0,2048,3,1000,25000,32768");
    EXPECT_EQ(l[3], "SCREEN.SCR,7040,---,1,0,8192,3,6912,16384,32768");
    EXPECT_EQ(l[4], "HEADED.BIN,640,---,1,0,2048,3,500,40000,32768");
    EXPECT_EQ(l[5], "MOVED.BIN,640,---,1,0,2048,3,500,30000,32768");
    EXPECT_EQ(l[6], "PROG.BAS,640,---,1,0,2048,0,500,1,500");
    EXPECT_EQ(l[7], "PLAIN.BIN,1024,---,0,0,2048,255,1000,0,0");
    EXPECT_EQ(viaGet("SMALL", "HEADED.BIN"), headed);
    auto at = viaGet("SMALL", "AT.BIN");
    EXPECT_EQ(std::vector<uint8_t>(at.begin() + 128, at.end()), code);
    ASSERT_TRUE(p3tool::Plus3Header::parse(at.data(), at.size()));
    expectSound("SMALL");
}

TEST_F(Writes, RefusalsWriteNothing)
{
    toolOk({image, "put", host("ro", randomBytes(3000, 1)), "SMALL:LOCKED.BIN"});
    CpmTools(image, "SMALL").run("cpmchattr -f {def} {img} r 0:LOCKED.BIN");
    const auto before = readFile(image);
    const struct {
        std::vector<std::string> args;
        int code;
        const char* words;
    } cases[] = {
        {{"put", host("x", randomBytes(10, 2)), "SMALL:locked.bin"}, 1, "LOCKED.BIN in partition \"SMALL\""},
        {{"del", "SMALL:LOCKED.BIN"}, 1, "read-only; it is not deleted"},
        {{"put", dir / "x", "SMALL:A*B.TXT"}, 1, "invalid +3DOS name \"A*B.TXT\""},
        {{"put", dir / "x", "SMALL:NINECHARS.TXT"}, 1, "NINECHARS.TXT"},
        {{"put", dir / "x", "SMALL:NAME.LONG"}, 1, "NAME.LONG"},
        {{"put", dir / "x", "SMALL: "}, 1, "invalid +3DOS name"},
        {{"put", dir / "missing", "SMALL:M.BIN"}, 1, "no such host file"},
        {{"put", dir / "x", "PLUSIDEDOS:M.BIN"}, 1, "not a +3DOS partition"},
        {{"putbin", dir / "x", "SMALL:M.BIN", "65536"}, 1, "\"65536\" is not a whole number"},
        {{"putbin", dir / "x", "SMALL:M.BIN", "-1"}, 1, "\"-1\""},
        {{"putbin", dir / "x", "SMALL:M.BIN", "0x8000"}, 1, "0x8000"},
        {{"putbin", host("huge", randomBytes(70000, 3)), "SMALL:H.BIN"}, 1, "too long for a +3DOS header"},
        {{"put", dir / "x", "SMALL:M.BIN", "123"}, 2, "usage"},
        {{"del", "SMALL:NONE.BIN"}, 1, "no file named \"NONE.BIN\""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{image};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun r = tool(args);
        EXPECT_EQ(r.code, c.code) << c.words;
        EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(readFile(image), before);
}

TEST_F(Writes, FullPartitionAndFullDirectoryAreRefusedCleanly)
{
    // 4 MB partition: 2040 free blocks of 2 KB. Four 1 MB files, then one
    // that does not fit.
    for (int i = 0; i < 3; ++i)
        toolOk({image, "put", host("m", randomBytes(1 << 20, unsigned(i))), "SMALL:M" + std::to_string(i) + ".BIN"});
    const auto before = readFile(image);
    const ToolRun full = tool({image, "put", host("big", randomBytes(1200000, 9)), "SMALL:BIG.BIN"});
    EXPECT_EQ(full.code, 1);
    EXPECT_NE(full.err.find("is full"), std::string::npos) << full.err;
    // Replacing needs room for both until the old file goes.
    const ToolRun replace = tool({image, "put", host("big", randomBytes(1200000, 9)), "SMALL:M0.BIN"});
    EXPECT_NE(replace.err.find("kept until the new one is written"), std::string::npos) << replace.err;
    EXPECT_EQ(readFile(image), before);

    // 512 directory entries on the large partition.
    for (int i = 0; i < 512; ++i)
        toolOk({image, "put", host("t", {uint8_t(i)}), "LARGE:T" + std::to_string(i)});
    const ToolRun noEntry = tool({image, "put", host("t", {1}), "LARGE:ONEMORE"});
    EXPECT_EQ(noEntry.code, 1);
    EXPECT_NE(noEntry.err.find("directory of partition \"LARGE\""), std::string::npos) << noEntry.err;
    expectSound("SMALL");
    expectSound("LARGE");
}

TEST_F(Writes, DelRemovesEveryExtent)
{
    const auto keep = randomBytes(9000, 1);
    toolOk({image, "put", host("k", keep), "SMALL:KEEP.BIN"});
    toolOk({image, "put", host("g", randomBytes(100000, 2)), "SMALL:GONE.BIN"});
    toolOk({image, "del", "SMALL:gone.bin"});
    EXPECT_EQ(names("SMALL"), std::vector<std::string>{"KEEP.BIN"});
    std::string listing;
    CpmTools(image, "SMALL").run("cpmls -f {def} {img}", &listing);
    EXPECT_EQ(listing.find("gone"), std::string::npos);
    EXPECT_EQ(viaCpmtools("SMALL", "KEEP.BIN"), keep);
    // All its blocks are free again: a file of the same size fits twice.
    toolOk({image, "put", host("g", randomBytes(100000, 3)), "SMALL:AGAIN.BIN"});
    expectSound("SMALL");
}

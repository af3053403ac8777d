// puttap and putdsk: tapes made by zmakebas (and hand-made blocks), TZX
// from tapeconv, +3 floppies made by dskform and filled by cpmtools.
#include <gtest/gtest.h>

#include "bytes.h"
#include "test_support.h"

using namespace tooltest;

namespace {

// One TAP block: length, flag, payload, XOR checksum.
void tapBlock(std::vector<uint8_t>& tap, uint8_t flag, const std::vector<uint8_t>& payload)
{
    const size_t n = payload.size() + 2;
    tap.push_back(uint8_t(n));
    tap.push_back(uint8_t(n >> 8));
    uint8_t sum = flag;
    tap.push_back(flag);
    for (uint8_t b : payload) {
        tap.push_back(b);
        sum ^= b;
    }
    tap.push_back(sum);
}

std::vector<uint8_t> tapeHeader(uint8_t type, const std::string& name, uint16_t length, uint16_t p1, uint16_t p2)
{
    std::vector<uint8_t> h(17, ' ');
    h[0] = type;
    for (size_t i = 0; i < name.size() && i < 10; ++i)
        h[1 + i] = uint8_t(name[i]);
    p3tool::putLe16(&h[11], length);
    p3tool::putLe16(&h[13], p1);
    p3tool::putLe16(&h[15], p2);
    return h;
}

class Import : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = dir / "d.raw";
        toolOk({image, "create", "--size", "8M"});
        toolOk({image, "newpart", "P", "2M"});
        // A program made by zmakebas, a screen, a number array, a headerless
        // block and a tape name no +3DOS name can hold.
        program = zmakebasProgram("10 PRINT \"HELLO\"\n20 GO TO 10\n", "hello", 10);
        screen = randomBytes(6912, 1);
        array = randomBytes(20, 2);
        loose = randomBytes(300, 3);
        code = randomBytes(1000, 4);
        tapBlock(tap, 0x00, program.header);
        tapBlock(tap, 0xFF, program.data);
        tapBlock(tap, 0x00, tapeHeader(3, "screen", 6912, 16384, 32768));
        tapBlock(tap, 0xFF, screen);
        tapBlock(tap, 0x00, tapeHeader(1, "numbers", 20, 0x8100, 0));
        tapBlock(tap, 0xFF, array);
        tapBlock(tap, 0xFF, loose);
        tapBlock(tap, 0x00, tapeHeader(3, "my game*?\x7f", 1000, 30000, 32768));
        tapBlock(tap, 0xFF, code);
        writeFile(dir / "t.tap", tap);
    }
    std::vector<std::string> records()
    {
        auto l = lines(toolOk({image, "dir", "P", "-backend"}));
        l.erase(l.begin());
        return l;
    }
    std::vector<uint8_t> get(const std::string& name)
    {
        TempDir out;
        toolOk({image, "get", "P:" + name, out.path + "/"});
        return readFile(out / name);
    }
    TempDir dir;
    std::string image;
    TapeFile program;
    std::vector<uint8_t> screen, array, loose, code, tap;
};

}  // namespace

TEST_F(Import, TapeFilesGoInWithTheirTypesAndParameters)
{
    const std::string out = toolOk({image, "puttap", dir / "t.tap", "P"});
    EXPECT_EQ(out,
              "Program \"hello\" -> HELLO.BAS\r\n"
              "Bytes \"screen\" -> SCREEN.SCR\r\n"
              "Number array \"numbers\" -> NUMBERS.NUM\r\n"
              "Headerless (no header) -> UNNAMED.DAT\r\n"
              "Bytes \"my game*??\" -> MY_GAME_.BIN\r\n");
    const uint16_t len = uint16_t(program.data.size());
    const std::string l = std::to_string(len);
    const auto r = records();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0], "HELLO.BAS,256,---,1,0,2048," + std::string("0,") + l + ",10," + l);
    EXPECT_EQ(r[1], "SCREEN.SCR,7040,---,1,0,8192,3,6912,16384,32768");
    EXPECT_EQ(r[2], "NUMBERS.NUM,256,---,1,0,2048,1,20,33024,0");
    EXPECT_EQ(r[3], "UNNAMED.DAT,384,---,0,0,2048,255,300,0,0");
    EXPECT_EQ(r[4], "MY_GAME_.BIN,1152,---,1,0,2048,3,1000,30000,32768");
    // The +3DOS header carries the tape header's bytes; the data follows.
    const auto hello = get("HELLO.BAS");
    ASSERT_EQ(hello.size(), 128u + len);
    EXPECT_EQ(hello[15], program.header[0]);
    EXPECT_TRUE(std::equal(program.header.begin() + 11, program.header.end(), hello.begin() + 16));
    EXPECT_EQ(std::vector<uint8_t>(hello.begin() + 128, hello.end()), program.data);
    EXPECT_EQ(get("UNNAMED.DAT"), loose);
    toolOk({image, "check"});
    CpmTools(image, "P").fsck();
}

TEST_F(Import, TapeNamesNeverReplaceAFile)
{
    const auto mine = randomBytes(99, 9);
    writeFile(dir / "mine", mine);
    toolOk({image, "put", dir / "mine", "P:SCREEN.SCR"});
    toolOk({image, "puttap", dir / "t.tap", "P"});
    const std::string again = toolOk({image, "puttap", dir / "t.tap", "P"});
    EXPECT_NE(again.find("-> HELLO1.BAS"), std::string::npos) << again;
    EXPECT_NE(again.find("-> SCREEN2.SCR"), std::string::npos) << again;
    EXPECT_EQ(get("SCREEN.SCR"), mine);
    EXPECT_EQ(records().size(), 11u);
}

TEST_F(Import, ListedNamesAndChosenNamesDecideWhatIsStoredWhere)
{
    // --list stores nothing and names what each file asks for, taken or not.
    const auto mine = randomBytes(99, 9);
    writeFile(dir / "mine", mine);
    toolOk({image, "put", dir / "mine", "P:SCREEN.SCR"});
    EXPECT_EQ(toolOk({image, "puttap", dir / "t.tap", "P", "--list"}),
              "HELLO.BAS\r\nSCREEN.SCR\r\nNUMBERS.NUM\r\nUNNAMED.DAT\r\nMY_GAME_.BIN\r\n");
    EXPECT_EQ(records().size(), 1u);

    // The chosen names: the screen replaces mine, the array is left out, the
    // headerless block gets a name of the caller's, the rest (missing) too.
    const std::string out = toolOk({image, "puttap", dir / "t.tap", "P", "--names", "hello.bas,SCREEN.SCR,,LOOSE1.DAT"});
    EXPECT_EQ(out,
              "Program \"hello\" -> HELLO.BAS\r\n"
              "Bytes \"screen\" -> SCREEN.SCR\r\n"
              "Number array \"numbers\" left out\r\n"
              "Headerless (no header) -> LOOSE1.DAT\r\n"
              "Bytes \"my game*??\" left out\r\n");
    EXPECT_EQ(records().size(), 3u);
    EXPECT_EQ(get("LOOSE1.DAT"), loose);
    const auto stored = get("SCREEN.SCR");
    ASSERT_EQ(stored.size(), 128u + screen.size());
    EXPECT_EQ(std::vector<uint8_t>(stored.begin() + 128, stored.end()), screen);
    toolOk({image, "check"});

    // Wrong lists are refused before anything is written.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--names", "A,B,C,D,E,F"}, {"--names", "A*B"}, {"--names"}, {"--list", "--names", "A"}}) {
        std::vector<std::string> line{image, "puttap", dir / "t.tap", "P"};
        line.insert(line.end(), args.begin(), args.end());
        EXPECT_EQ(tool(line).code, 2) << args.back();
    }
    EXPECT_EQ(records().size(), 3u);
}

TEST_F(Import, TzxFromTapeconvGivesTheSameFiles)
{
    std::string output;
    ASSERT_EQ(shell(dir.path, "tapeconv t.tap t.tzx", &output), 0) << output;
    toolOk({image, "puttap", dir / "t.tzx", "P"});
    const auto fromTzx = records();
    TempDir other;
    const std::string second = other / "d.raw";
    toolOk({second, "create", "--size", "8M"});
    toolOk({second, "newpart", "P", "2M"});
    toolOk({second, "puttap", dir / "t.tap", "P"});
    auto fromTap = lines(toolOk({second, "dir", "P", "-backend"}));
    fromTap.erase(fromTap.begin());
    EXPECT_EQ(fromTzx, fromTap);
    EXPECT_EQ(fromTzx.size(), 5u);
}

TEST_F(Import, DamagedTapeKeepsWhatWentInBeforeAndSaysSo)
{
    auto cut = tap;
    cut.resize(cut.size() - 500);  // the last data block is cut short
    writeFile(dir / "cut.tap", cut);
    const ToolRun r = tool({image, "puttap", dir / "cut.tap", "P"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("damaged after its first 4 file(s), which are stored"), std::string::npos) << r.err;
    EXPECT_EQ(lines(r.out).size(), 4u);
    EXPECT_EQ(records().size(), 4u);
    toolOk({image, "check"});

    writeFile(dir / "junk.tap", randomBytes(50, 1));
    EXPECT_EQ(tool({image, "puttap", dir / "junk.tap", "P"}).code, 1);
    EXPECT_EQ(tool({image, "puttap", dir / "none.tap", "P"}).code, 1);
}

TEST_F(Import, FullPartitionNamesTheFileThatDidNotFit)
{
    // 2 MB partition (1016 free blocks of 2 KB): 953 blocks taken, then a
    // tape of three headerless blocks of 30 blocks each.
    writeFile(dir / "big", randomBytes(1950000, 5));
    toolOk({image, "put", dir / "big", "P:BIG.BIN"});
    std::vector<uint8_t> t;
    for (int i = 0; i < 3; ++i)
        tapBlock(t, 0xFF, randomBytes(60000, unsigned(20 + i)));
    writeFile(dir / "three.tap", t);
    const ToolRun r = tool({image, "puttap", dir / "three.tap", "P"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot store tape block 3 (no header) (2 file(s) stored before it)"), std::string::npos)
        << r.err;
    EXPECT_EQ(records().size(), 3u);
    toolOk({image, "check"});
}

namespace {

class Floppy : public Import {
protected:
    void SetUp() override
    {
        Import::SetUp();
        std::string output;
        ASSERT_EQ(shell(dir.path, "dskform -type dsk -format pcw180 f.dsk", &output), 0) << output;
        hello = plus3File(0, program.data, 10, uint16_t(program.data.size()));
        writeFile(dir / "hello", hello);
        big = randomBytes(20000, 7);
        writeFile(dir / "big", big);
        writeFile(dir / "text", {'h', 'i', '\r', '\n'});
        const std::string cp = "cpmcp -T dsk -f pcw f.dsk ";
        ASSERT_EQ(shell(dir.path,
                        cp + "hello 0:HELLO.BAS && " + cp + "big 0:BIG.BIN && " + cp + "text 3:TEXT.TXT && " +
                            "cpmchattr -T dsk -f pcw f.dsk rs 0:BIG.BIN",
                        &output),
                  0)
            << output;
    }
    // What cpmtools reads from the floppy.
    std::vector<uint8_t> fromFloppy(const std::string& name)
    {
        shell(dir.path, "rm -f fl.out && cpmcp -T dsk -f pcw f.dsk '" + name + "' fl.out");
        return readFile(dir / "fl.out");
    }
    std::vector<uint8_t> hello, big;
};

}  // namespace

TEST_F(Floppy, EveryFileGoesInByteExactWithNameAndAttributes)
{
    writeFile(dir / "x", {1, 2, 3});
    toolOk({image, "put", dir / "x", "P:HELLO.BAS"});
    const std::string out = toolOk({image, "putdsk", dir / "f.dsk", "P"});
    EXPECT_EQ(out, "HELLO.BAS -> HELLO1.BAS\r\nBIG.BIN -> BIG.BIN\r\n3:TEXT.TXT -> TEXT.TXT\r\n");
    const auto r = records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(fields(r[1])[6], "0");  // the +3DOS header came along
    EXPECT_EQ(fields(r[2])[2], "RS-");
    EXPECT_EQ(get("HELLO1.BAS"), fromFloppy("0:HELLO.BAS"));
    EXPECT_EQ(get("HELLO1.BAS"), hello);
    EXPECT_EQ(get("BIG.BIN"), fromFloppy("0:BIG.BIN"));
    EXPECT_EQ(get("TEXT.TXT"), fromFloppy("3:TEXT.TXT"));
    EXPECT_EQ(get("HELLO.BAS"), (std::vector<uint8_t>{1, 2, 3}));
    toolOk({image, "check"});
    CpmTools(image, "P").fsck();
}

TEST_F(Floppy, ListedNamesAndChosenNamesToo)
{
    writeFile(dir / "x", {1, 2, 3});
    toolOk({image, "put", dir / "x", "P:HELLO.BAS"});
    EXPECT_EQ(toolOk({image, "putdsk", dir / "f.dsk", "P", "--list"}), "HELLO.BAS\r\nBIG.BIN\r\nTEXT.TXT\r\n");
    EXPECT_EQ(toolOk({image, "putdsk", dir / "f.dsk", "P", "--names", "HELLO.BAS,,TEXT2.TXT"}),
              "HELLO.BAS -> HELLO.BAS\r\nBIG.BIN left out\r\n3:TEXT.TXT -> TEXT2.TXT\r\n");
    EXPECT_EQ(get("HELLO.BAS"), hello);
    EXPECT_EQ(get("TEXT2.TXT"), fromFloppy("3:TEXT.TXT"));
    EXPECT_EQ(records().size(), 2u);
    toolOk({image, "check"});
}

TEST_F(Floppy, ExtendedImagesToo)
{
    std::string output;
    ASSERT_EQ(shell(dir.path, "dsktrans -otype edsk f.dsk e.dsk", &output), 0) << output;
    toolOk({image, "putdsk", dir / "e.dsk", "P"});
    EXPECT_EQ(get("BIG.BIN"), big);
}

TEST_F(Floppy, ImagesThatAreNoFloppyWriteNothing)
{
    const auto before = readFile(image);
    writeFile(dir / "junk.dsk", randomBytes(5000, 1));
    auto dsk = readFile(dir / "f.dsk");
    dsk.resize(2000);
    writeFile(dir / "short.dsk", dsk);
    for (const std::string f : {"junk.dsk", "short.dsk", "none.dsk"}) {
        const ToolRun r = tool({image, "putdsk", dir / f, "P"});
        EXPECT_EQ(r.code, 1) << f;
        EXPECT_NE(r.err.find(f), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(image), before);
}

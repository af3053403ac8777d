// listbas and putbas through the tool: the stored file is a +3DOS program
// with the right header, listbas -> putbas gives a file back byte for byte,
// and a faulty text is refused with its place and nothing written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "plus3_header.h"
#include "test_support.h"

using namespace tooltest;

namespace {

class BasicCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = dir / "d.hdf";
        toolOk({image, "create", "--size", "8M"});
        toolOk({image, "newpart", "P", "2M"});
    }
    std::string text(const std::string& name, const std::string& content)
    {
        writeFile(dir / name, std::vector<uint8_t>(content.begin(), content.end()));
        return dir / name;
    }
    std::vector<uint8_t> get(const std::string& name)
    {
        TempDir out;
        toolOk({image, "get", "P:" + name, out.path + "/"});
        return readFile(out / name);
    }
    TempDir dir;
    std::string image;
};

}  // namespace

TEST_F(BasicCommands, PutbasStoresAProgramThatListsBackToTheSameFile)
{
    const std::string program = "#autostart 20\n10 REM \\{201}code\n20 PRINT \"PRINT\";1\\#0000050000\n"
                                "#variables 61 00 00 07 00 00 80\n";
    toolOk({image, "putbas", text("a.bas", program), "P:GAME.BAS"});
    const std::vector<uint8_t> file = get("GAME.BAS");
    const auto header = p3tool::Plus3Header::parse(file.data(), file.size());
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->type, 0);
    EXPECT_EQ(header->param1, 20);
    EXPECT_EQ(header->dataLength, file.size() - 128);
    EXPECT_EQ(header->param2, header->dataLength - 7);  // the variables follow the lines
    const std::vector<uint8_t> line20{0x00, 0x14, 0x11, 0x00, 0xF5, '"', 'P', 'R', 'I', 'N', 'T', '"',
                                      ';',  '1',  0x0E, 0x00, 0x00, 0x05, 0x00, 0x00, 0x0D};
    EXPECT_TRUE(std::search(file.begin(), file.end(), line20.begin(), line20.end()) != file.end());

    // listbas -> putbas over the same file and under a new name, with
    // --autostart overriding the text's.
    const std::string listed = toolOk({image, "listbas", "P:GAME.BAS"});
    toolOk({image, "putbas", text("b.bas", listed), "P:GAME.BAS"});
    EXPECT_EQ(get("GAME.BAS"), file);
    toolOk({image, "putbas", text("b.bas", listed), "P:OTHER", "--autostart", "5"});
    const std::vector<uint8_t> other = get("OTHER");
    EXPECT_EQ(std::vector<uint8_t>(other.begin() + 128, other.end()), std::vector<uint8_t>(file.begin() + 128, file.end()));
    EXPECT_EQ(p3tool::Plus3Header::parse(other.data(), other.size())->param1, 5);
}

TEST_F(BasicCommands, ZmakebasProgramsRoundTripThroughTheTool)
{
    if (std::system("command -v zmakebas >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "zmakebas is not installed";
    const TapeFile tape = zmakebasProgram("10 PRINT 0.5;\"\\::\"\n20 GO TO 10\n", "T", 10);
    writeFile(dir / "t.bin", plus3File(0, tape.data, 10, uint16_t(tape.data.size())));
    toolOk({image, "put", dir / "t.bin", "P:T"});
    const std::string listed = toolOk({image, "listbas", "P:T"});
    toolOk({image, "putbas", text("t.bas", listed), "P:T2"});
    EXPECT_EQ(get("T2"), get("T"));
}

TEST_F(BasicCommands, FaultsAreRefusedWithTheirPlaceAndNothingWritten)
{
    toolOk({image, "putbas", text("ok.bas", "10 CLS\n"), "P:KEEP"});
    const std::vector<uint8_t> before = readFile(image);
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {{image, "putbas", text("bad.bas", "10 CLS\n20 PRINT \"\\{999}\"\n"), "P:KEEP"}, 1, "line 2, column 11"},
        {{image, "putbas", text("bad2.bas", "10 CLS\n5 CLS\n"), "P:NEW"}, 1, "line 2, column 1"},
        {{image, "putbas", dir / "missing.bas", "P:NEW"}, 1, "missing.bas"},
        {{image, "putbas", text("ok.bas", "10 CLS\n"), "P:NEW", "--autostart", "20000"}, 2, "0 to 16383"},
        {{image, "putbas", text("ok.bas", "10 CLS\n"), "P:BAD*NAME"}, 1, ""},
        {{image, "listbas", "P:NOFILE"}, 1, "NOFILE"},
    };
    for (const Case& c : cases) {
        const ToolRun r = toolProcess(c.args);
        EXPECT_EQ(r.code, c.code) << c.args[1] << " " << c.args[2];
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(image), before);

    writeFile(dir / "code.bin", plus3File(3, {1, 2, 3}, 32768, 32768));
    toolOk({image, "put", dir / "code.bin", "P:CODE"});
    const ToolRun r = toolProcess({image, "listbas", "P:CODE"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("not a BASIC program"), std::string::npos);
}

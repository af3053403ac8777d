#include "plus3_name.h"
#include "tape_image.h"

#include <set>

#include <gtest/gtest.h>

#include "fixture_support.h"

using namespace p3tool::formats;

namespace {

std::vector<uint8_t> bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string parseError(const std::string& text)
{
    try {
        Plus3Name::parse(text);
    } catch (const FormatError& e) {
        return e.what();
    }
    return "(accepted)";
}

}  // namespace

// ---- Names given by the user ----------------------------------------------------------------

struct GoodName {
    std::string text;
    std::string name;
    std::string type;
};

void PrintTo(const GoodName& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class ValidName : public ::testing::TestWithParam<GoodName> {};

TEST_P(ValidName, IsAcceptedUpperCased)
{
    const Plus3Name n = Plus3Name::parse(GetParam().text);
    EXPECT_EQ(n.name, GetParam().name);
    EXPECT_EQ(n.type, GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Names, ValidName,
                         ::testing::Values(GoodName{"hello.bas", "HELLO", "BAS"},
                                           GoodName{"A", "A", ""},
                                           GoodName{"ABCDEFGH.XYZ", "ABCDEFGH", "XYZ"},
                                           GoodName{"Name.", "NAME", ""},
                                           GoodName{"x.y", "X", "Y"},
                                           GoodName{"!#$%&'-@.^_{", "!#$%&'-@", "^_{"},
                                           GoodName{"}~09az.Z", "}~09AZ", "Z"}));

struct BadName {
    std::string text;
    std::string message;
};

void PrintTo(const BadName& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class InvalidName : public ::testing::TestWithParam<BadName> {};

TEST_P(InvalidName, IsRefusedWithAMessageNamingIt)
{
    EXPECT_EQ(parseError(GetParam().text), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Names, InvalidName,
    ::testing::Values(
        BadName{"", "invalid +3DOS name \"\": the name is empty"},
        BadName{".BAS", "invalid +3DOS name \".BAS\": the name before the dot is empty"},
        BadName{"A.B.C", "invalid +3DOS name \"A.B.C\": a +3DOS name has at most one dot"},
        BadName{"TOOLONGNAME",
                "invalid +3DOS name \"TOOLONGNAME\": the name has more than 8 characters"},
        BadName{"A.TOOL", "invalid +3DOS name \"A.TOOL\": the type has more than 3 characters"},
        BadName{"MY FILE", "invalid +3DOS name \"MY FILE\": a space is not allowed in a +3DOS name"},
        BadName{"A*B", "invalid +3DOS name \"A*B\": '*' is not allowed in a +3DOS name"},
        BadName{"a:b.txt", "invalid +3DOS name \"a:b.txt\": ':' is not allowed in a +3DOS name"},
        BadName{"X.<>", "invalid +3DOS name \"X.<>\": '<' is not allowed in a +3DOS name"},
        BadName{"x\x01", "invalid +3DOS name \"x\\x01\": the byte 0x01 is not allowed in a +3DOS "
                         "name"},
        BadName{"caf\xC3\xA9", "invalid +3DOS name \"caf\\xC3\\xA9\": the byte 0xC3 is not "
                               "allowed in a +3DOS name"},
        BadName{"A,B", "invalid +3DOS name \"A,B\": ',' is not allowed in a +3DOS name"}));

TEST(Plus3Name, EveryByteOutsideTheAllowedSetIsRefused)
{
    const std::string allowed = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                                "!#$%&'-@^_{}~.";
    for (int b = 1; b < 256; ++b) {
        const std::string text = std::string("A") + char(b);
        const bool ok = allowed.find(char(b)) != std::string::npos;
        EXPECT_EQ(parseError(text) == "(accepted)", ok) << "byte " << b;
    }
}

TEST(Plus3Name, DirectoryBytesRoundTrip)
{
    const Plus3Name n = Plus3Name::parse("game.bas");
    const auto stored = n.toDirectoryBytes();
    EXPECT_EQ(std::string(stored.begin(), stored.end()), "GAME    BAS");
    EXPECT_EQ(Plus3Name::fromDirectoryBytes(stored), n);
    EXPECT_EQ(n.text(), "GAME.BAS");
    EXPECT_EQ(Plus3Name::parse("README").text(), "README");

    // Attribute bits are cleared, any other byte is kept as read.
    std::array<uint8_t, 11> onDisk{'l', 'o', 'w' | 0x80, ' ', ' ', ' ', ' ', ' ',
                                   'T' | 0x80, 'X' | 0x80, ' '};
    const Plus3Name read = Plus3Name::fromDirectoryBytes(onDisk);
    EXPECT_EQ(read.name, "low");
    EXPECT_EQ(read.type, "TX");
    const std::array<uint8_t, 11> empty{' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    EXPECT_EQ(Plus3Name::fromDirectoryBytes(empty).text(), "");
}

// ---- Names from tape ------------------------------------------------------------------------

struct TapeNameCase {
    std::string label;
    std::vector<uint8_t> tapeName;  // 10 bytes
    std::string expected;
};

void PrintTo(const TapeNameCase& c, std::ostream* os)
{
    *os << '"' << c.label << '"';
}

class FromTape : public ::testing::TestWithParam<TapeNameCase> {};

TEST_P(FromTape, GivesAValidName)
{
    const Plus3Name n = plus3NameFromTape(GetParam().tapeName, "BIN");
    EXPECT_EQ(n.name, GetParam().expected);
    EXPECT_EQ(n.type, "BIN");
    EXPECT_EQ(Plus3Name::parse(n.text()), n);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FromTape,
    ::testing::Values(
        TapeNameCase{"plain", bytes("hello     "), "HELLO"},
        TapeNameCase{"blanks", bytes("  my game "), "MY_GAME"},
        TapeNameCase{"marks", bytes("a.b*c?d:e "), "A_B_C_D_"},
        TapeNameCase{"cutToEight", bytes("abcdefghij"), "ABCDEFGH"},
        TapeNameCase{"allBlank", bytes("          "), "UNNAMED"},
        TapeNameCase{"spectrumGlyphs", {0x5E, 0x60, 0x7F, 'x', ' ', ' ', ' ', ' ', ' ', ' '},
                     "^__X"},
        TapeNameCase{"codesAndKeywords", {0x10, 0x02, 'a', 0x90, 0xF5, 'b', ' ', ' ', ' ', 0x0D},
                     "__A__B__"},
        TapeNameCase{"innerBlanksKeptAsUnderscores", bytes("A  B      "), "A__B"}),
    [](const auto& info) { return info.param.label; });

TEST(FromTape, AWholeNameWithATypeKeepsItsOwnType)
{
    // Tapes made from +3DOS files carry names like "RUN.BAS": they come back unchanged.
    EXPECT_EQ(plus3NameFromTape(bytes("run.bas   "), "BIN").text(), "RUN.BAS");
    EXPECT_EQ(plus3NameFromTape(bytes("FILENAME.B"), "BAS").text(), "FILENAME.B");
    // Anything that is no valid name with a type is mapped as usual and gets the tape's type.
    EXPECT_EQ(plus3NameFromTape(bytes("a.b*c?d:e "), "BIN").text(), "A_B_C_D_.BIN");
    EXPECT_EQ(plus3NameFromTape(bytes("GAME.     "), "BAS").text(), "GAME_.BAS");
    EXPECT_EQ(plus3NameFromTape(bytes("A.LONG    "), "BIN").text(), "A_LONG.BIN");
}

TEST(FromTape, TypeFollowsTheTapeHeader)
{
    struct Case {
        bool hasHeader;
        uint8_t type;
        uint16_t length, param1;
        const char* expected;
    };
    for (const Case& c : {Case{true, TapeProgram, 100, 10, "BAS"},
                          Case{true, TapeNumberArray, 20, 0x8100, "NUM"},
                          Case{true, TapeCharacterArray, 20, 0xC100, "CHR"},
                          Case{true, TapeBytes, 6912, 16384, "SCR"},
                          Case{true, TapeBytes, 6912, 32768, "BIN"},
                          Case{true, TapeBytes, 6144, 16384, "BIN"},
                          Case{true, 7, 10, 0, "DAT"},
                          Case{false, 0xFF, 6912, 0, "DAT"}})
        EXPECT_EQ(plus3TypeForTape(c.hasHeader, c.type, c.length, c.param1), c.expected)
            << int(c.type) << " " << c.length;
}

TEST(FromTape, TapeFilesGetNameAndType)
{
    TapeFile screen;
    screen.hasHeader = true;
    screen.type = TapeBytes;
    std::copy_n("title scr ", 10, screen.name.begin());
    screen.length = 6912;
    screen.param1 = 16384;
    EXPECT_EQ(plus3NameForTapeFile(screen).text(), "TITLE_SC.SCR");

    TapeFile headerless;
    headerless.name.fill(' ');
    EXPECT_EQ(plus3NameForTapeFile(headerless).text(), "UNNAMED.DAT");
}

TEST(FromTape, AnyTenBytesGiveANameThatParses)
{
    for (uint32_t seed = 0; seed < 2000; ++seed) {
        const auto name = fixture::patternBytes(10, seed);
        const Plus3Name n = plus3NameFromTape(name, "BAS");
        ASSERT_NO_THROW(Plus3Name::parse(n.text())) << n.text();
        ASSERT_LE(n.name.size(), 8u);
    }
}

// ---- Unique names ---------------------------------------------------------------------------

TEST(UniqueNamer, TakenNamesCompareWithoutCase)
{
    UniqueNamer namer({Plus3Name{"hello", "bas"}, Plus3Name{"GAME", ""}});
    EXPECT_TRUE(namer.isTaken(Plus3Name{"HELLO", "BAS"}));
    EXPECT_EQ(namer.unique(Plus3Name{"HELLO", "BAS"}).text(), "HELLO1.BAS");
    EXPECT_EQ(namer.unique(Plus3Name{"HELLO", "BIN"}).text(), "HELLO.BIN");  // other type
    EXPECT_EQ(namer.unique(Plus3Name{"GAME", ""}).text(), "GAME1");
    EXPECT_EQ(namer.unique(Plus3Name{"game1", ""}).text(), "game11");  // case kept
}

TEST(UniqueNamer, RemembersWhatItHandedOut)
{
    UniqueNamer namer;
    std::vector<std::string> given;
    for (int i = 0; i < 4; ++i)
        given.push_back(namer.unique(plus3NameFromTape(bytes("          "), "DAT")).text());
    EXPECT_EQ(given, (std::vector<std::string>{"UNNAMED.DAT", "UNNAMED1.DAT", "UNNAMED2.DAT",
                                               "UNNAMED3.DAT"}));
    // A tape of thousands of blocks without headers: every name distinct and valid.
    std::set<std::string> distinct(given.begin(), given.end());
    for (int i = 4; i < 3000; ++i) {
        const Plus3Name n = namer.unique(plus3NameFromTape(bytes("          "), "DAT"));
        ASSERT_NO_THROW(Plus3Name::parse(n.text()));
        distinct.insert(n.text());
    }
    EXPECT_EQ(distinct.size(), 3000u);
    EXPECT_TRUE(distinct.count("UNNA2999.DAT"));
}

TEST(UniqueNamer, LongNamesAreCutToMakeRoomForTheNumber)
{
    UniqueNamer namer;
    const Plus3Name wanted{"LONGNAME", "BIN"};
    std::vector<std::string> given;
    for (int i = 0; i < 12; ++i)
        given.push_back(namer.unique(wanted).text());
    EXPECT_EQ(given[0], "LONGNAME.BIN");
    EXPECT_EQ(given[1], "LONGNAM1.BIN");
    EXPECT_EQ(given[9], "LONGNAM9.BIN");
    EXPECT_EQ(given[10], "LONGNA10.BIN");
    EXPECT_EQ(given[11], "LONGNA11.BIN");
    for (const auto& text : given)
        EXPECT_NO_THROW(Plus3Name::parse(text));
}

TEST(UniqueNamer, SkipsVariantsThatAreTakenAlready)
{
    // A tape holding "GAME" twice and "GAME1" in between: no name is handed out twice.
    UniqueNamer namer({Plus3Name{"GAME2", "BAS"}});
    EXPECT_EQ(namer.unique(Plus3Name{"GAME", "BAS"}).text(), "GAME.BAS");
    EXPECT_EQ(namer.unique(Plus3Name{"GAME1", "BAS"}).text(), "GAME1.BAS");
    EXPECT_EQ(namer.unique(Plus3Name{"GAME", "BAS"}).text(), "GAME3.BAS");
}

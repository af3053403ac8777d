#include "format_basic.h"
#include "view_data.h"
#include "view_fixtures.h"

#include <gtest/gtest.h>

using viewtest::Bytes;

namespace {

// One program line: number big-endian, text length little-endian, the text
// and its final 0x0D.
QByteArray Line(int number, const QByteArray& text)
{
    const int length = text.size() + 1;
    return Bytes({number >> 8, number & 0xFF, length & 0xFF, length >> 8}) + text + '\r';
}

// The digits 5 and their five-byte form.
const QByteArray kFive = Bytes({'5', 0x0E, 0, 0, 5, 0, 0});

struct ListingCase
{
    const char* what;
    QByteArray program;
    QByteArrayList expected;
};

void PrintTo(const ListingCase& c, std::ostream* os)
{
    *os << c.what;
}

class BasicListingTest : public testing::TestWithParam<ListingCase>
{};

TEST_P(BasicListingTest, ListsByteExact)
{
    EXPECT_EQ(BasicListing(GetParam().program), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BasicListingTest,
    testing::Values(
        ListingCase{"LetWithNumber", Line(10, Bytes({0xF1, 'a', '='}) + kFive), {"  10  LET a=5"}},
        ListingCase{"LongLineNumberKeepsFourDigits", Line(12345, "x"), {"1234 x"}},
        ListingCase{"ShortLineNumberRightAligned", Line(5, "x"), {"   5 x"}},
        ListingCase{"PrintString", Line(10, Bytes({0xF5}) + "\"HELLO\""),
                    {"  10  PRINT \"HELLO\""}},
        ListingCase{"GraphicsInStringAsChrPiece", Line(10, Bytes({0xF5, '"', 'A', 0x90, 'B', '"'})),
                    {"  10  PRINT \"A\"+CHR 144+\"B\""}},
        ListingCase{"GraphicsInRemRaw", Line(10, Bytes({0xEA, 'a', 0x80, 0xA2})),
                    {"  10  REM a\x80\xA2"}},
        ListingCase{"ColonEndsRemStatement", Line(10, Bytes({0xEA, 'a', ':', 0x90})),
                    {"  10  REM a:\"+CHR 144+\""}},
        ListingCase{"FirstKeywordOfStatementDecides",
                    Line(10, Bytes({0xF5, 0xEA, 0x90, ':', 0xEA, 0xF5, 0x90})),
                    {"  10  PRINT  REM \"+CHR 144+\": REM  PRINT \x90"}},
        ListingCase{"TwoKeywordsInARow",
                    Line(10, Bytes({0xFA, 'a', 0xCB, 0xEC, '1', '0', 0x0E, 0, 0, 10, 0, 0})),
                    {"  10  IF a THEN  GO TO 10"}},
        ListingCase{"InkParameterBelowSpaceLeavesNothing", Line(10, Bytes({0x10, 0x02, 'x'})),
                    {"  10 x"}},
        ListingCase{"AtParametersLeaveOneSpace", Line(10, Bytes({0x16, 0x20, 0x05, 'x'})),
                    {"  10  x"}},
        ListingCase{"CopyrightSign", Line(10, Bytes({0xF5, '"', 0x7F, '"'})),
                    {"  10  PRINT \"\xA9\""}},
        ListingCase{"SeveralLines", Line(10, "a") + Line(20, "b") + Line(9999, "c"),
                    {"  10 a", "  20 b", "9999 c"}}),
    [](const testing::TestParamInfo<ListingCase>& info) { return info.param.what; });

// Data that does not follow the line layout is listed as far as it goes,
// never past its end.
INSTANTIATE_TEST_SUITE_P(
    BrokenLayout, BasicListingTest,
    testing::Values(
        ListingCase{"Empty", QByteArray(), {}},
        ListingCase{"IncompleteHeader", Bytes({0, 10, 5}), {}},
        ListingCase{"IncompleteSecondHeader", Line(10, "a") + Bytes({0, 20}), {"  10 a"}},
        ListingCase{"LengthZero", Bytes({0, 10, 0, 0}) + Line(20, "b"), {"  10 ", "  20 b"}},
        ListingCase{"LengthOne", Bytes({0, 10, 1, 0, '\r'}) + Line(20, "b"),
                    {"  10 ", "  20 b"}},
        ListingCase{"TextRunsPastTheEnd", Bytes({0, 10, 50, 0, 0xF5, 'a', 'b'}),
                    {"  10  PRINT ab"}},
        ListingCase{"NumberCutByEndOfLine", Line(10, Bytes({'5', 0x0E, 0, 0})) + Line(20, "b"),
                    {"  10 5", "  20 b"}},
        ListingCase{"NumberCutByEndOfData", Bytes({0, 10, 50, 0, '7', 0x0E, 0}), {"  10 7"}},
        ListingCase{"HugeLengthStops", Bytes({0, 10, 0xFF, 0xFF, 'a'}), {"  10 a"}}),
    [](const testing::TestParamInfo<ListingCase>& info) { return info.param.what; });

TEST(FormatBasic, ListsTheProgramAfterTheHeaderAndNotTheVariables)
{
    viewtest::LocalCopies copies;
    const QByteArray program = Line(10, Bytes({0xF1, 'a', '='}) + kFive) + Line(20, "b");
    // A variables area that would list as a line if it were decoded.
    const QByteArray variables = Line(30, "v");
    const QString path = copies.Write(
        "PROG", viewtest::Plus3DosHeader(0, static_cast<quint16>(program.size() + variables.size()),
                                         10, static_cast<quint16>(program.size())) +
                    program + variables);
    EXPECT_EQ(FormatBasic(path, program.size()), QByteArrayList({"  10  LET a=5", "  20 b"}));
}

TEST(FormatBasic, ShowsNothingOfAnEarlierView)
{
    viewtest::LocalCopies copies;
    QByteArray longProgram;
    for (int n = 1; n <= 50; ++n)
        longProgram += Line(n, "zzzzzzzzzz");
    const QString first = copies.WriteWithHeader("FIRST", longProgram, 0);
    ASSERT_EQ(FormatBasic(first, longProgram.size()).size(), 50);

    const QByteArray cut = Bytes({0, 10, 40, 0, 'a'});
    const QString second = copies.WriteWithHeader("SECOND", cut, 0);
    EXPECT_EQ(FormatBasic(second, cut.size()), QByteArrayList({"  10 a"}));
}

}  // namespace

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
        ListingCase{"LongLineNumberListedWhole", Line(12345, "x"), {"12345 x"}},
        ListingCase{"LineNumber10000", Line(10000, "x"), {"10000 x"}},
        ListingCase{"ShortLineNumberRightAligned", Line(5, "x"), {"   5 x"}},
        ListingCase{"PrintString", Line(10, Bytes({0xF5}) + "\"HELLO\""),
                    {"  10  PRINT \"HELLO\""}},
        ListingCase{"GraphicsInStringAsChrPiece", Line(10, Bytes({0xF5, '"', 'A', 0x90, 'B', '"'})),
                    {"  10  PRINT \"A\"+CHR 144+\"B\""}},
        ListingCase{"GraphicsInRemRaw", Line(10, Bytes({0xEA, 'a', 0x80, 0xA2})),
                    {"  10  REM a\x80\xA2"}},
        ListingCase{"RemRunsToTheEndOfTheLine", Line(10, Bytes({0xEA, 'a', ':', 0x90, ':', 0xF5})),
                    {"  10  REM a:\x90: PRINT "}},
        ListingCase{"RemAfterThen", Line(10, Bytes({0xFA, 'a', 0xCB, 0xEA, 'x', ':', 0x90})),
                    {"  10  IF a THEN  REM x:\x90"}},
        ListingCase{"ColonInAStringKeepsTheStatement",
                    Line(10, Bytes({0xF5, '"', ':', '"', 0xEA, 0x90})),
                    {"  10  PRINT \":\" REM \"+CHR 144+\""}},
        ListingCase{"FirstKeywordOfStatementDecides",
                    Line(10, Bytes({0xF5, 0xEA, 0x90, ':', 0xEA, 0xF5, 0x90})),
                    {"  10  PRINT  REM \"+CHR 144+\": REM  PRINT \x90"}},
        ListingCase{"TwoKeywordsInARow",
                    Line(10, Bytes({0xFA, 'a', 0xCB, 0xEC, '1', '0', 0x0E, 0, 0, 10, 0, 0})),
                    {"  10  IF a THEN  GO TO 10"}},
        ListingCase{"InkParameterBelowSpaceLeavesNothing", Line(10, Bytes({0x10, 0x02, 'x'})),
                    {"  10 x"}},
        ListingCase{"AtParametersNotListed", Line(10, Bytes({0x16, 0x20, 0x41, 'x'})),
                    {"  10 x"}},
        ListingCase{"TabParametersNotListed", Line(10, Bytes({0x17, 0xEA, 0x0E, 'x'})),
                    {"  10 x"}},
        ListingCase{"InkParameterNeverReadAsNumberMarker",
                    Line(10, Bytes({0x10, 0x0E, 'a', 'b', 'c', 'd', 'e'})), {"  10 abcde"}},
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
        ListingCase{"AtCutByEndOfLine", Line(10, Bytes({'a', 0x16, 1})) + Line(20, "b"),
                    {"  10 a", "  20 b"}},
        ListingCase{"HugeLengthStops", Bytes({0, 10, 0xFF, 0xFF, 'a'}), {"  10 a"}}),
    [](const testing::TestParamInfo<ListingCase>& info) { return info.param.what; });

// The coloured listing: each line's text and its spans, written as the
// kind's letter and the text the span covers (N line number, K keyword,
// 9 number, S string, R REM, C control code).
struct SyntaxCase
{
    const char* what;
    QByteArray line;
    QByteArray text;
    QByteArrayList spans;
};

void PrintTo(const SyntaxCase& c, std::ostream* os)
{
    *os << c.what;
}

class BasicSyntaxTest : public testing::TestWithParam<SyntaxCase>
{};

TEST_P(BasicSyntaxTest, ColoursEachPiece)
{
    const SyntaxCase& c = GetParam();
    const QList<BasicSyntaxLine> lines = BasicSyntaxListing(c.line);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].text, c.text);
    QByteArrayList spans;
    int previousEnd = 0;
    for (const BasicSpan& span : lines[0].spans) {
        EXPECT_GE(span.start, previousEnd);
        previousEnd = span.start + span.length;
        spans.append("NK9SRC"[static_cast<int>(span.kind)] + lines[0].text.mid(span.start, span.length));
    }
    EXPECT_EQ(spans, c.spans);
    // Without control codes the text is the plain listing's.
    if (!c.text.contains('{')) {
        EXPECT_EQ(BasicListing(c.line), QByteArrayList{c.text});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BasicSyntaxTest,
    testing::Values(
        SyntaxCase{"LetNumber", Line(10, Bytes({0xF1, 'a', '='}) + kFive), "  10  LET a=5",
                   {"N10", "KLET", "95"}},
        SyntaxCase{"ExponentAndBin",
                   Line(10000, Bytes({0xF1, 'x', '=', '1', 'e', '+', '5', 0x0E, 0, 0, 0, 0, 0, '+',
                                      0xC4, '1', '0', '1', 0x0E, 0, 0, 5, 0, 0})),
                   "10000  LET x=1e+5+ BIN 101", {"N10000", "KLET", "91e+5", "KBIN", "9101"}},
        SyntaxCase{"StringWithGraphicsAndKeyword",
                   Line(10, Bytes({0xF5, '"', 'A', 0x90, 0xF5, '"', ';', 'a'})),
                   "  10  PRINT \"A\"+CHR 144+\" PRINT \";a",
                   {"N10", "KPRINT", "S\"A\"+CHR 144+\" PRINT \""}},
        SyntaxCase{"UnclosedString", Line(10, Bytes({0xF5, '"', 'a', ':'})), "  10  PRINT \"a:",
                   {"N10", "KPRINT", "S\"a:"}},
        SyntaxCase{"RemSplitByControlCode",
                   Line(10, Bytes({'1', 0x0E, 0, 0, 1, 0, 0, ':', 0xEA, 'a', 0x10, 2, 'b', ':', 0xF5})),
                   "  10 1: REM a{INK 2}b: PRINT ", {"N10", "91", "RREM a", "C{INK 2}", "Rb: PRINT "}},
        SyntaxCase{"ControlCodesInString",
                   Line(10, Bytes({0xF5, '"', 0x16, 1, 5, 'x', 0x17, 0x2C, 1, 0x13, 1, '"'})),
                   "  10  PRINT \"{AT 1,5}x{TAB 300}{BRIGHT 1}\"",
                   {"N10", "KPRINT", "S\"", "C{AT 1,5}", "Sx", "C{TAB 300}", "C{BRIGHT 1}", "S\""}},
        SyntaxCase{"ParametersCutByEndOfLine", Line(10, Bytes({0xF5, 0x16, 3})), "  10  PRINT {AT 3}",
                   {"N10", "KPRINT", "C{AT 3}"}}),
    [](const testing::TestParamInfo<SyntaxCase>& info) { return info.param.what; });

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

#include <gtest/gtest.h>

#include "app_error.h"
#include "text_reader.h"

#include <QBuffer>

namespace {

struct LineCase
{
    const char* name;
    QByteArray text;
    QList<QByteArray> lines;
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

class SplitTextLinesTest : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(SplitTextLinesTest, SplitsAtCrOnly)
{
    EXPECT_EQ(SplitTextLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitTextLinesTest,
    ::testing::Values(LineCase{"Empty", "", {}}, LineCase{"CrLfPairs", "a\r\nb\r\n", {"a", "b"}},
                      LineCase{"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
                      LineCase{"JustCrLfIsOneEmptyLine", "\r\n", {""}},
                      LineCase{"LoneCrEndsALine", "a\rb\r", {"a", "b"}},
                      LineCase{"TwoCrsAreTwoEmptyLines", "\r\r", {"", ""}},
                      LineCase{"LoneLfStaysInTheLine", "a\nb\r\nc", {"a\nb", "c"}},
                      LineCase{"LfAfterCrLfStartsTheNextLine", "a\r\n\nb", {"a", "\nb"}},
                      LineCase{"CtrlZEndsTheFile",
                               QByteArray("a\r\nb\x1A"
                                          "c\r\nd"),
                               {"a", "b"}},
                      LineCase{"CtrlZAfterLineEnd", QByteArray("a\r\n\x1A\r\n"), {"a"}},
                      LineCase{
                          "HighBytesKept", QByteArray("\xB7\xA9\r\n"), {QByteArray("\xB7\xA9")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextLineReader, CrLfSplitAcrossReadChunks)
{
    // The reader works in 64 KiB chunks; put the CR last in the first chunk.
    QByteArray data(64 * 1024 - 1, 'x');
    data += "\r\nnext\r\n";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TextLineReader reader(buffer);
    QByteArray line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line.size(), 64 * 1024 - 1);
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "next");
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(line.isEmpty());
}

TEST(TextLineReader, LineLongerThanAChunk)
{
    QByteArray longLine(200 * 1024, 'y');
    QByteArray data = "a\r\n" + longLine + "\r\nz";
    EXPECT_EQ(SplitTextLines(data), (QList<QByteArray>{"a", longLine, "z"}));
}

TEST(TextLineReader, MissingFileRaisesAnErrorNamingIt)
{
    try {
        ReadTextFileLines(QStringLiteral("/nonexistent/3E.OUT"));
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("* /nonexistent/3E.OUT *")));
    }
}

} // namespace

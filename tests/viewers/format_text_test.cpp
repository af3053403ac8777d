#include "format_text.h"
#include "view_fixtures.h"

#include <gtest/gtest.h>

using viewtest::Bytes;

namespace {

struct TextCase
{
    const char* what;
    QByteArray data;
    QByteArrayList expected;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.what;
}

class TextLinesTest : public testing::TestWithParam<TextCase>
{};

TEST_P(TextLinesTest, SplitsAtCarriageReturns)
{
    EXPECT_EQ(TextLines(GetParam().data), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, TextLinesTest,
    testing::Values(TextCase{"Empty", QByteArray(), {}},
                    TextCase{"EmptyLineBetween", "A\r\rB", {"A", "", "B"}},
                    TextCase{"NoEmptyLastLine", "A\rB\r", {"A", "B"}},
                    TextCase{"OnlyCarriageReturn", "\r", {""}},
                    TextCase{"LineFeedIsADot", "A\r\nB\n", {"A", "\xB7" "B\xB7"}},
                    TextCase{"HighBytesAreDots", Bytes({0x1F, 0x20, 0x7F, 0x80, 0xA9, 0xFF, 0x00}),
                             {"\xB7 \x7F\xB7\xB7\xB7\xB7"}}),
    [](const testing::TestParamInfo<TextCase>& info) { return info.param.what; });

}  // namespace

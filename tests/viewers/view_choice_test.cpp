// Which formatter the view command runs, with which byte count, and which
// views it refuses.
#include "view_choice.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    ViewMode mode;
    const char* type;
    qint64 realSize;
    qint64 vars;
    ViewFormat format;
    quint32 count;
    const char* refusal;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << static_cast<int>(c.mode) << " " << c.type << " " << c.realSize << "/" << c.vars;
}

class ChooseViewTest : public testing::TestWithParam<Case>
{
};

TEST_P(ChooseViewTest, PicksTheFormatterAndCount)
{
    const Case& c = GetParam();
    const ViewChoice choice = ChooseView(c.mode, QString::fromLatin1(c.type), c.realSize, c.vars);
    EXPECT_EQ(choice.refusal, QString::fromLatin1(c.refusal));
    if (*c.refusal)
        return;
    EXPECT_EQ(choice.format, c.format);
    EXPECT_EQ(choice.count, c.count);
}

using M = ViewMode;
using F = ViewFormat;
const char* const kTooBig = "File too big (>64K).";
const char* const kNotBasic = "This file cannot be viewed as BASIC.";

INSTANTIATE_TEST_SUITE_P(
    Views, ChooseViewTest,
    testing::Values(
        // Automatic, by type: a program lists up to its variables only.
        Case{M::Automatic, "Program", 500, 300, F::Basic, 300, ""},
        Case{M::Automatic, "Number Array", 18, 0, F::List, 18, ""},
        Case{M::Automatic, "Character Array", 13, 0, F::List, 13, ""},
        Case{M::Automatic, "Bytes", 6912, 0, F::HexDump, 6912, ""},
        Case{M::Automatic, "Headerless", 100, 0, F::HexDump, 100, ""},
        Case{M::Automatic, "Unknown (9)", 100, 0, F::None, 0, ""},
        Case{M::Automatic, "program", 100, 50, F::None, 0, ""},
        // Forced formats apply to any type, with the real size.
        Case{M::HexDump, "Program", 500, 300, F::HexDump, 500, ""},
        Case{M::Text, "Bytes", 7, 0, F::Text, 7, ""},
        Case{M::List, "Program", 9, 3, F::List, 9, ""},
        Case{M::Data, "Unknown (9)", 11, 0, F::Data, 11, ""},
        Case{M::Basic, "Program", 500, 300, F::Basic, 300, ""},
        Case{M::Basic, "Bytes", 10, 0, F::None, 0, kNotBasic},
        // 65536 is shown whole; above it, the size is refused before the type.
        Case{M::Automatic, "Bytes", 65536, 0, F::HexDump, 65536, ""},
        Case{M::List, "Bytes", 65537, 0, F::None, 0, kTooBig},
        Case{M::Basic, "Bytes", 65537, 0, F::None, 0, kTooBig},
        // A cell that is no number reads as 0.
        Case{M::Automatic, "Program", 0, -1, F::Basic, 0, ""}));

}  // namespace

// Which formatter the view command runs, with which byte count, and which
// views it refuses.
#include "view_choice.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseViewTest, PicksTheFormatterAndCountOrRefuses)
{
    using M = ViewMode;
    using F = ViewFormat;
    const char* const tooBig = "File too big (>64K).";
    const struct
    {
        M mode;
        const char* type;
        qint64 realSize, vars;
        F format;
        quint32 count;
        const char* refusal;
    } cases[] = {
        // Automatic, by exact type name; a program is listed without its
        // variables area.
        {M::Automatic, "Program", 500, 300, F::Basic, 300, ""},
        {M::Automatic, "Number Array", 18, 0, F::List, 18, ""},
        {M::Automatic, "Character Array", 13, 0, F::List, 13, ""},
        {M::Automatic, "Bytes", 6913, 0, F::HexDump, 6913, ""},
        {M::Automatic, "Headerless", 100, 0, F::HexDump, 100, ""},
        // Screen memory shows as a picture; a bare bitmap only when asked.
        {M::Automatic, "Bytes", 6912, 0, F::Picture, 6912, ""},
        {M::Automatic, "Headerless", 6912, 0, F::Picture, 6912, ""},
        {M::Automatic, "Bytes", 6144, 0, F::HexDump, 6144, ""},
        {M::Picture, "Headerless", 6144, 0, F::Picture, 6144, ""},
        {M::Picture, "Bytes", 6912, 0, F::Picture, 6912, ""},
        {M::Picture, "Program", 6912, 6912, F::None, 0, "This file cannot be viewed as a picture."},
        {M::Picture, "Bytes", 6000, 0, F::None, 0, "This file cannot be viewed as a picture."},
        {M::Automatic, "Unknown (9)", 100, 0, F::None, 0, ""},
        {M::Automatic, "program", 100, 50, F::None, 0, ""},
        // Forced formats take the whole real size, whatever the type.
        {M::HexDump, "Program", 500, 300, F::HexDump, 500, ""},
        {M::Text, "Bytes", 7, 0, F::Text, 7, ""},
        {M::List, "Program", 9, 3, F::List, 9, ""},
        {M::Data, "Unknown (9)", 11, 0, F::Data, 11, ""},
        {M::Basic, "Program", 500, 300, F::Basic, 300, ""},
        {M::Basic, "Bytes", 10, 0, F::None, 0, "This file cannot be viewed as BASIC."},
        // 64K itself is shown whole; above it the size is refused first.
        {M::Automatic, "Bytes", 65536, 0, F::HexDump, 65536, ""},
        {M::Basic, "Bytes", 65537, 0, F::None, 0, tooBig},
        {M::Automatic, "Program", 0, -1, F::Basic, 0, ""},  // no number: 0
    };
    for (const auto& c : cases) {
        const ViewChoice choice = ChooseView(c.mode, QString::fromLatin1(c.type), c.realSize, c.vars);
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.realSize));
        EXPECT_EQ(choice.refusal, QString::fromLatin1(c.refusal));
        EXPECT_EQ(choice.format, c.format);
        EXPECT_EQ(choice.count, c.count);
    }
}

}  // namespace

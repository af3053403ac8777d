#include "format_list.h"
#include "view_fixtures.h"

#include <gtest/gtest.h>

using viewtest::Bytes;

namespace {

TEST(ListLines, OneLinePerByteNumberedFromOne)
{
    EXPECT_EQ(ListLines(Bytes({'A', 0, 10, 0x7F, 0x80, 0xFF})),
              QByteArrayList({"00001:  65 (41) A", "00002:   0 (00) \xB7", "00003:  10 (0A) \xB7",
                              "00004: 127 (7F) \x7F", "00005: 128 (80) \xB7",
                              "00006: 255 (FF) \xB7"}));
}

TEST(ListLines, NumbersAllSixtyFourKilobytes)
{
    QByteArray data(65536, ' ');
    data[65535] = 'z';
    const QByteArrayList lines = ListLines(data);
    ASSERT_EQ(lines.size(), 65536);
    EXPECT_EQ(lines[9999], "10000:  32 (20)  ");
    EXPECT_EQ(lines[65535], "65536: 122 (7A) z");
}

TEST(ListLines, WidensPositionsBeyondFiveDigits)
{
    EXPECT_EQ(ListLines(QByteArray(100000, 'a')).last(), "100000:  97 (61) a");
}

TEST(ListLines, OfNothingIsEmpty)
{
    EXPECT_TRUE(ListLines(QByteArray()).isEmpty());
}

}  // namespace

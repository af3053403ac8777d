#include "format_hexdump.h"
#include "view_fixtures.h"

#include <gtest/gtest.h>

using viewtest::Bytes;

namespace {

const QByteArray kDots16(16, '\xB7');
const QByteArray kZeros16 = "00 00 00 00 00 00 00 00  00 00 00 00 00 00 00 00 ";

TEST(HexDump, OfNothingIsOneRowOfFill)
{
    EXPECT_EQ(HexDumpLines(QByteArray()), QByteArrayList({"0000 | " + kZeros16 + " | " + kDots16}));
}

TEST(HexDump, OfSixteenBytesEndsWithAFillRowAtTheLength)
{
    EXPECT_EQ(HexDumpLines("ABCDEFGHIJKLMNOP"),
              QByteArrayList({"0000 | 41 42 43 44 45 46 47 48  49 4A 4B 4C 4D 4E 4F 50  | ABCDEFGHIJKLMNOP",
                              "0010 | " + kZeros16 + " | " + kDots16}));
}

TEST(HexDump, FillsTheLastRowWithZerosAndDots)
{
    const QByteArrayList rows = HexDumpLines("ABCDEFGHIJKLMNOPQRST");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1], "0010 | 51 52 53 54 00 00 00 00  00 00 00 00 00 00 00 00  | QRST" +
                           QByteArray(12, '\xB7'));
}

TEST(HexDump, ShowsOnlySpaceToDeleteAsCharacters)
{
    const QByteArray data = Bytes({0x00, 0x1F, 0x20, 0x7E, 0x7F, 0x80, 0xA9, 0xB7, 0xFF});
    EXPECT_EQ(HexDumpLines(data).first(),
              "0000 | 00 1F 20 7E 7F 80 A9 B7  FF 00 00 00 00 00 00 00  | \xB7\xB7 ~\x7F\xB7\xB7\xB7" +
                  QByteArray(8, '\xB7'));
}

TEST(HexDump, OfSixtyFourKilobytesCountsOffsetsPastFFF0)
{
    QByteArray data(65536, 'x');
    data[0x1230] = 'y';
    const QByteArrayList rows = HexDumpLines(data);
    ASSERT_EQ(rows.size(), 4097);
    EXPECT_TRUE(rows[0x123].startsWith("1230 | 79 78 ")) << rows[0x123].constData();
    EXPECT_TRUE(rows[4095].startsWith("FFF0 | 78 ")) << rows[4095].constData();
    EXPECT_EQ(rows[4096], "10000 | " + kZeros16 + " | " + kDots16);
}

}  // namespace

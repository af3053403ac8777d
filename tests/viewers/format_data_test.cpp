#include "format_data.h"
#include "view_fixtures.h"

#include <gtest/gtest.h>

namespace {

const QByteArrayList kLoader = {"   10 RESTORE 100", "   20 READ a,b", "   30 FOR i=a+b*256",
                                "   40 READ c",      "   50 NEXT i",   "   60 STOP"};

// n bytes counting 0, 1, 2, ... (mod 256).
QByteArray Counting(int n)
{
    QByteArray data(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        data[i] = static_cast<char>(i);
    return data;
}

TEST(DataLoader, OfNothingIsTheLoaderAndACountOfZero)
{
    EXPECT_EQ(DataLoaderLines(QByteArray()), kLoader + QByteArrayList({"  100 DATA 0,0"}));
}

TEST(DataLoader, PutsTenValuesOnALine)
{
    EXPECT_EQ(DataLoaderLines(Counting(10)),
              kLoader + QByteArrayList({"  100 DATA 10,0", "  110 DATA 0,1,2,3,4,5,6,7,8,9"}));
    EXPECT_EQ(DataLoaderLines(Counting(11)),
              kLoader + QByteArrayList({"  100 DATA 11,0", "  110 DATA 0,1,2,3,4,5,6,7,8,9",
                                       "  111 DATA 10"}));
}

TEST(DataLoader, NumbersLinesOneApartUpToTheEnd)
{
    const QByteArrayList lines = DataLoaderLines(Counting(65535));
    ASSERT_EQ(lines.size(), 7 + 6554);
    EXPECT_EQ(lines[6], "  100 DATA 255,255");
    EXPECT_EQ(lines[7 + 1000], " 1110 DATA 16,17,18,19,20,21,22,23,24,25");
    // 65530..65534 are the bytes 250..254.
    EXPECT_EQ(lines.last(), " 6663 DATA 250,251,252,253,254");
}

TEST(DataLoader, CountsSixtyFourKilobytesAsZeroAndTwoHundredFiftySix)
{
    const QByteArrayList lines = DataLoaderLines(Counting(65536));
    EXPECT_EQ(lines[6], "  100 DATA 0,256");
    EXPECT_EQ(lines.last(), " 6663 DATA 250,251,252,253,254,255");
}

}  // namespace

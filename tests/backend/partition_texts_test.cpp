#include <gtest/gtest.h>

#include "partition_texts.h"

#include <QLocale>

TEST(PartitionTexts, FreeSpaceIsCaptionedAndToldBySize)
{
    PartitionRecord free;
    free.name = QStringLiteral("                ");
    free.typeCode = QStringLiteral("255");
    PartitionRecord games;
    games.name = QStringLiteral("GAMES ");
    games.typeCode = QStringLiteral("3");
    EXPECT_TRUE(IsFreeSpace(free));
    EXPECT_FALSE(IsFreeSpace(games));
    EXPECT_EQ(PartitionTreeCaption(free), QStringLiteral("(free space)"));
    EXPECT_EQ(PartitionTreeCaption(games), QStringLiteral("GAMES "));
    EXPECT_EQ(FreeSpaceStatusText(0), QStringLiteral("Free space: 0 bytes"));
    EXPECT_EQ(FreeSpaceStatusText(1048576),
              QStringLiteral("Free space: ") + QLocale().toString(1048576) + " bytes");
}

TEST(PartitionTexts, NonPlus3PartitionsAreANormalSituation)
{
    const std::tuple<const char*, qint64, const char*> cases[] = {
        {"SWAPSPACE", 2, "SWAPSPACE is a swap partition; it holds no files."},
        {"PLUSIDEDOS", 1, "PLUSIDEDOS is a system partition; it holds no files."},
        {"OLD", 0, "OLD is an unused partition; it holds no files."},
        {"B", 254, "B is a bad partition; it holds no files."},
        {"C", 4, "C is a CP/M partition; only +3DOS files are listed."},
        {"DOS", 16, "DOS is an MS-DOS partition; only +3DOS files are listed."},
        {"U", 32, "U is a UZI(X) partition; only +3DOS files are listed."},
        {"X", 7, "X is a partition of unknown type 7; it holds no +3DOS files."},
        {"GAMES", 3, ""},
    };
    for (const auto& [name, code, expected] : cases)
        EXPECT_EQ(NonPlus3PartitionText(name, code), QString::fromLatin1(expected)) << code;
}

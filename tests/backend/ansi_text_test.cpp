#include <gtest/gtest.h>

#include "ansi_text.h"

TEST(AnsiText, ShowsTheFormattersNonAsciiCharacters)
{
    EXPECT_EQ(AnsiToQString("\xB7"), QString(QChar(0x00B7)));
    EXPECT_EQ(AnsiToQString("\xA9 1982"), QStringLiteral("\u00A9 1982"));
    EXPECT_EQ(AnsiToQString("\x80\x85\x99\x9F"), QStringLiteral("\u20AC\u2026\u2122\u0178"));
}

TEST(AnsiText, EveryByteSurvivesTheRoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = AnsiToQString(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(QStringToAnsi(text), all);
}

TEST(AnsiText, CharactersOutsideTheCodePageAreReplaced)
{
    EXPECT_EQ(QStringToAnsi(QStringLiteral("a\u0100b\u20AC")), QByteArray("a?b\x80"));
    EXPECT_EQ(QStringToAnsi(QStringLiteral("\u0100"), '_'), QByteArray("_"));
    EXPECT_EQ(AnsiByteOf(0x2014), 0x97);
    EXPECT_EQ(AnsiByteOf(0x0100), -1);
}

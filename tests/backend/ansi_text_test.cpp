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

TEST(ToolText, ReadsWellFormedUtf8AsUtf8AndEveryOtherByteAsWindows1252)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"plain", "plain"},
        // Host paths come back as the tool got them.
        {"cannot open /home/jos\xC3\xA9/\xE2\x82\xAC.hdf",
         "cannot open /home/jos\u00E9/\u20AC.hdf"},
        {"\xF0\x9F\x98\x80", "\U0001F600"},
        // Bytes of the tool's own: Windows-1252, also next to UTF-8.
        {"bad \xB7 name", "bad \u00B7 name"},
        {"\xA9 \xC3\xA9", "\u00A9 \u00E9"},
        {"\x80\x99", "\u20AC\u2122"},
        // Not well-formed: overlong, surrogate, beyond U+10FFFF, cut short.
        {"\xC0\xAF", "\u00C0\u00AF"},
        {"\xED\xA0\x80", "\u00ED\u00A0\u20AC"},
        {"\xF4\x90\x80\x80", "\u00F4\u0090\u20AC\u20AC"},
        {"x\xC3", "x\u00C3"},
        {"\xE2\x82x", "\u00E2\u201Ax"},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(ToolTextToQString(bytes), expected) << bytes.toHex().constData();
}

// Spectrum characters saved as UTF-8 text.
#include "format_basic.h"
#include "spectrum_text.h"
#include "view_fixtures.h"

#include <gtest/gtest.h>

namespace {

using viewtest::Bytes;

TEST(SpectrumText, EverySpecialCharacterMapsToItsUnicodeForm)
{
    const struct
    {
        int from, to;  // a range of codes
        const char16_t* expected;
    } cases[] = {
        {0x20, 0x2F, u" !\"#$%&'()*+,-./"},
        {0x5B, 0x61, u"[\\]\u2191_\u00A3a"},  // ↑ and £
        {0x7E, 0x7F, u"~\u00A9"},             // ©
        {0x80, 0x8F, u"\u00A0▝▘▀▗▐▚▜▖▞▌▛▄▟▙█"},
        {0x90, 0xA4, u"ⒶⒷⒸⒹⒺⒻⒼⒽⒾⒿⓀⓁⓂⓃⓄⓅⓆⓇⓈⓉⓊ"},
        {0x00, 0x1F, u"································"},
        {0xA5, 0xA5, u"·"},
        {0xFF, 0xFF, u"·"},
    };
    for (const auto& c : cases) {
        QString mapped;
        for (int code = c.from; code <= c.to; ++code)
            mapped += QChar(SpectrumToUnicode(static_cast<unsigned char>(code)));
        EXPECT_EQ(mapped, QString::fromUtf16(c.expected)) << std::hex << c.from;
    }
}

TEST(SpectrumText, AListingSavesAsUtf8WithEverySpecialCharacter)
{
    // A REM keeps graphics raw; a string shows them as CHR pieces. The
    // lister's © (0xA9) and the hex dump's middle dot (0xB7) are kept.
    QByteArray rem = Bytes({0, 10, 0, 0, 0xEA, '^', '`', 0x7F});
    for (int code = 0x80; code <= 0xA2; ++code)
        rem += static_cast<char>(code);
    rem += '\r';
    rem[2] = static_cast<char>(rem.size() - 4);
    const QByteArray print = Bytes({0, 20, 6, 0, 0xF5, '"', 0x60, 0x7F, '"', '\r'});
    QByteArrayList lines = BasicListing(rem + print);
    lines.append("0000 | 7F | \x7F\xB7");

    EXPECT_EQ(ViewTextToUtf8(lines),
              QStringLiteral(u"  10  REM ↑£©\u00A0▝▘▀▗▐▚▜▖▞▌▛▄▟▙█ⒶⒷⒸⒹⒺⒻⒼⒽⒾⒿⓀⓁⓂⓃⓄⓅⓆⓇⓈ\n"
                             u"  20  PRINT \"£©\"\n"
                             u"0000 | 7F | ©·\n")
                  .toUtf8());
}

}  // namespace

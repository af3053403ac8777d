#include "ansi_text.h"

namespace {

// Unicode code points of the bytes 0x80..0x9F.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

} // namespace

QString AnsiToQString(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHighControlRange[b - 0x80] : char16_t(b));
    }
    return text;
}

int AnsiByteOf(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i) {
        if (kHighControlRange[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

QByteArray QStringToAnsi(QStringView text, char replacement)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const int b = AnsiByteOf(ch.unicode());
        bytes.append(b < 0 ? replacement : static_cast<char>(b));
    }
    return bytes;
}

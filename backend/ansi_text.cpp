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

namespace {

// The length of the well-formed UTF-8 sequence of two or more bytes that
// begins at bytes[i], and its code point in `code`; 0 when there is none.
qsizetype Utf8SequenceAt(QByteArrayView bytes, qsizetype i, char32_t& code)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    qsizetype length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString ToolTextToQString(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t code = 0;
        if (const qsizetype length = Utf8SequenceAt(bytes, i, code); length > 0) {
            text.append(QString::fromUcs4(&code, 1));
            i += length;
        } else {
            text.append(AnsiToQString(bytes.sliced(i, 1)));
            ++i;
        }
    }
    return text;
}

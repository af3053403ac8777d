#include "spectrum_text.h"

#include <array>

namespace {

constexpr unsigned char kFirstGraphic = 0x80;
constexpr unsigned char kFirstUdg = 0x90;
constexpr unsigned char kLastUdg = 0xA4;
constexpr char16_t kMiddleDot = u'\u00B7';

// 0x80..0x8F by their quadrant bits (1 top right, 2 top left, 4 bottom right,
// 8 bottom left).
constexpr std::array<char16_t, 16> kBlockGraphics = {
    u'\u00A0', u'\u259D', u'\u2598', u'\u2580', u'\u2597', u'\u2590', u'\u259A', u'\u259C',
    u'\u2596', u'\u259E', u'\u258C', u'\u259B', u'\u2584', u'\u259F', u'\u2599', u'\u2588',
};

constexpr char16_t kCircledCapitalA = u'\u24B6';

}  // namespace

char16_t SpectrumToUnicode(unsigned char code)
{
    if (code == 0x5E)
        return u'\u2191';
    if (code == 0x60)
        return u'\u00A3';
    if (code >= 0x20 && code < 0x7F)
        return code;
    if (code == 0x7F)
        return u'\u00A9';
    if (code >= kFirstGraphic && code < kFirstUdg)
        return kBlockGraphics[code - kFirstGraphic];
    if (code >= kFirstUdg && code <= kLastUdg)
        return static_cast<char16_t>(kCircledCapitalA + (code - kFirstUdg));
    return kMiddleDot;
}

QString ViewLineToUnicode(QByteArrayView line)
{
    QString text;
    text.reserve(line.size());
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        // Above 0xA4 Windows-1252 is Latin-1.
        text.append(QChar(byte >= 0x20 && byte <= kLastUdg ? SpectrumToUnicode(byte) : char16_t(byte)));
    }
    return text;
}

QByteArray ViewTextToUtf8(const QByteArrayList& lines)
{
    QByteArray text;
    for (const QByteArray& line : lines) {
        text.append(ViewLineToUnicode(line).toUtf8());
        text.append('\n');
    }
    return text;
}

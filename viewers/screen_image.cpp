#include "screen_image.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr unsigned char kFlashBit = 0x80;
constexpr unsigned char kBrightBit = 0x40;

constexpr QRgb Colour(int colour, int level)
{
    return qRgb(colour & 2 ? level : 0, colour & 4 ? level : 0, colour & 1 ? level : 0);
}

// Normal colours 0..7, then BRIGHT ones 8..15.
constexpr std::array<QRgb, 16> kPalette = {
    Colour(0, 0xD7), Colour(1, 0xD7), Colour(2, 0xD7), Colour(3, 0xD7),
    Colour(4, 0xD7), Colour(5, 0xD7), Colour(6, 0xD7), Colour(7, 0xD7),
    Colour(0, 0xFF), Colour(1, 0xFF), Colour(2, 0xFF), Colour(3, 0xFF),
    Colour(4, 0xFF), Colour(5, 0xFF), Colour(6, 0xFF), Colour(7, 0xFF),
};

}  // namespace

QRgb SpectrumColour(int colour, bool bright)
{
    return kPalette[(colour & 7) | (bright ? 8 : 0)];
}

QImage RenderScreen(QByteArrayView screen, const ScreenRenderOptions& options)
{
    const int zoom = std::clamp(options.zoom, 1, kMaxScreenZoom);
    const int border = std::clamp(options.border, 0, kMaxScreenBorder);
    QImage image((kScreenWidth + 2 * border) * zoom, (kScreenHeight + 2 * border) * zoom,
                 QImage::Format_RGB32);
    if (border > 0)
        image.fill(options.borderColour);

    const auto* data = reinterpret_cast<const unsigned char*>(screen.data());
    const qsizetype size = std::min<qsizetype>(screen.size(), kScreenSize);
    const auto byteAt = [data, size](int offset, unsigned char missing) {
        return offset < size ? data[offset] : missing;
    };
    const int left = border * zoom;
    const std::size_t rowBytes = sizeof(QRgb) * kScreenWidth * zoom;

    for (int y = 0; y < kScreenHeight; ++y) {
        const int top = (border + y) * zoom;
        QRgb* const first = reinterpret_cast<QRgb*>(image.scanLine(top)) + left;
        QRgb* out = first;
        for (int x = 0; x < kScreenWidth; x += 8) {
            const unsigned char attribute = byteAt(ScreenAttributeOffset(x, y), kPlainAttribute);
            unsigned bits = byteAt(ScreenBitmapOffset(x, y), 0);
            const int brightness = attribute & kBrightBit ? 8 : 0;
            QRgb ink = kPalette[(attribute & 7) | brightness];
            QRgb paper = kPalette[((attribute >> 3) & 7) | brightness];
            if (options.flashSwapped && (attribute & kFlashBit))
                std::swap(ink, paper);
            for (int pixel = 0; pixel < 8; ++pixel, bits <<= 1) {
                const QRgb colour = bits & 0x80 ? ink : paper;
                out = std::fill_n(out, zoom, colour);
            }
        }
        for (int z = 1; z < zoom; ++z)
            std::memcpy(reinterpret_cast<QRgb*>(image.scanLine(top + z)) + left, first, rowBytes);
    }
    return image;
}

bool ScreenHasFlash(QByteArrayView screen)
{
    const qsizetype end = std::min<qsizetype>(screen.size(), kScreenSize);
    for (qsizetype i = kScreenBitmapSize; i < end; ++i) {
        if (static_cast<unsigned char>(screen[i]) & kFlashBit)
            return true;
    }
    return false;
}

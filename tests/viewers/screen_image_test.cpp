// Screen memory drawn as a picture, checked pixel by pixel against colours
// worked out here from the bytes.
#include "screen_image.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The screen layout spelled out: third, character row within the third,
// pixel row within the character, byte column.
int BitmapOffset(int x, int y)
{
    const int third = y / 64, characterRow = y % 64 / 8, pixelRow = y % 8;
    return third * 2048 + pixelRow * 256 + characterRow * 32 + x / 8;
}

QRgb Expected(const QByteArray& screen, int x, int y, bool flashSwapped)
{
    const auto attribute = static_cast<unsigned char>(screen[6144 + y / 8 * 32 + x / 8]);
    const auto bits = static_cast<unsigned char>(screen[BitmapOffset(x, y)]);
    const int level = attribute & 0x40 ? 0xFF : 0xD7;
    const auto colour = [level](int c) { return qRgb(c & 2 ? level : 0, c & 4 ? level : 0, c & 1 ? level : 0); };
    bool ink = bits >> (7 - x % 8) & 1;
    if (flashSwapped && (attribute & 0x80))
        ink = !ink;
    return colour(ink ? attribute & 7 : attribute >> 3 & 7);
}

// Every attribute byte, in each of the three thirds (cell n has attribute
// n mod 256), over a random bitmap.
QByteArray EveryAttribute()
{
    QByteArray screen(6912, Qt::Uninitialized);
    std::mt19937 random(18);
    for (int i = 0; i < 6144; ++i)
        screen[i] = static_cast<char>(random());
    for (int cell = 0; cell < 768; ++cell)
        screen[6144 + cell] = static_cast<char>(cell);
    return screen;
}

TEST(RenderScreen, EveryAttributeInEveryThirdInBothFlashPhases)
{
    const QByteArray screen = EveryAttribute();
    for (bool flashSwapped : {false, true}) {
        const QImage image = RenderScreen(screen, {flashSwapped});
        ASSERT_EQ(image.size(), QSize(256, 192));
        int wrong = 0;
        for (int y = 0; y < 192; ++y) {
            for (int x = 0; x < 256; ++x)
                wrong += image.pixel(x, y) != Expected(screen, x, y, flashSwapped);
        }
        EXPECT_EQ(wrong, 0) << "flash phase " << flashSwapped;
    }
    EXPECT_TRUE(ScreenHasFlash(screen));
}

TEST(RenderScreen, EachByteLightsItsOwnEightPixels)
{
    // Byte offset -> the pixel row its eight pixels are drawn on.
    const struct
    {
        int offset, x, y;
    } cases[] = {{0, 0, 0},       {1, 8, 0},        {31, 248, 0},     {32, 0, 8},
                 {256, 0, 1},     {0x0700, 0, 7},   {0x07E0, 0, 63},  {0x0800, 0, 64},
                 {0x1000, 0, 128}, {0x17FF, 248, 191}};
    for (const auto& c : cases) {
        QByteArray screen(6912, '\0');
        screen[6144 + c.y / 8 * 32 + c.x / 8] = static_cast<char>(0x4F);  // BRIGHT, paper 1, ink 7
        screen[c.offset] = static_cast<char>(0x81);                     // leftmost and rightmost
        const QImage image = RenderScreen(screen);
        SCOPED_TRACE(c.offset);
        for (int x = c.x; x < c.x + 8; ++x) {
            const bool lit = x == c.x || x == c.x + 7;
            EXPECT_EQ(image.pixel(x, c.y), lit ? qRgb(0xFF, 0xFF, 0xFF) : qRgb(0, 0, 0xFF));
        }
        // Nothing else of the picture shows the ink.
        int white = 0;
        for (int y = 0; y < 192; ++y) {
            for (int x = 0; x < 256; ++x)
                white += image.pixel(x, y) == qRgb(0xFF, 0xFF, 0xFF);
        }
        EXPECT_EQ(white, 2);
    }
}

TEST(RenderScreen, ZoomRepeatsPixelsAndBorderSurroundsThem)
{
    const QByteArray screen = EveryAttribute();
    const QImage plain = RenderScreen(screen);
    const QRgb borderColour = qRgb(1, 2, 3);
    for (const auto& [zoom, border] : {std::pair{2, 0}, std::pair{3, 4}, std::pair{4, 32}}) {
        const QImage image = RenderScreen(screen, {false, zoom, border, borderColour});
        ASSERT_EQ(image.size(), QSize((256 + 2 * border) * zoom, (192 + 2 * border) * zoom));
        int wrong = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int sx = x / zoom - border, sy = y / zoom - border;
                const bool inside = sx >= 0 && sx < 256 && sy >= 0 && sy < 192;
                wrong += image.pixel(x, y) != (inside ? plain.pixel(sx, sy) : borderColour);
            }
        }
        EXPECT_EQ(wrong, 0) << "zoom " << zoom << " border " << border;
    }
}

TEST(RenderScreen, MissingAttributesShowBlackOnWhite)
{
    QByteArray bitmap(6144, '\0');
    bitmap[BitmapOffset(8, 100)] = static_cast<char>(0x80);
    for (const QByteArray& screen : {bitmap, bitmap + QByteArray(100, '\x47')}) {
        const QImage image = RenderScreen(screen, {true});
        const bool coloured = screen.size() > 6144;
        EXPECT_EQ(image.pixel(8, 100), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(9, 100), qRgb(0xD7, 0xD7, 0xD7));
        // Cell 0 got attribute 0x47 (BRIGHT white ink on black) when given.
        EXPECT_EQ(image.pixel(0, 0), coloured ? qRgb(0, 0, 0) : qRgb(0xD7, 0xD7, 0xD7));
        EXPECT_FALSE(ScreenHasFlash(screen));
    }
    EXPECT_EQ(RenderScreen(QByteArray()).pixel(255, 191), qRgb(0xD7, 0xD7, 0xD7));
}

}  // namespace

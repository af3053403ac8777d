// Pictures made into screen memory: pictures drawn from screen memory come
// back as the bytes they were drawn from, other pictures as close as cells
// allow.
#include "screen_convert.h"
#include "screen_image.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

namespace {

// Screen memory in the converter's settled form, over every kind of cell:
// each pair of different colours (lower number as ink) with and without
// BRIGHT, with a random bitmap that shows both; each single colour as paper
// with ink 0 and an empty bitmap, BRIGHT only where the colour is not black.
QByteArray SettledScreen()
{
    struct Attribute
    {
        int ink, paper;
        bool bright, twoColours;
    };
    std::vector<Attribute> kinds;
    for (int bright = 0; bright < 2; ++bright) {
        for (int ink = 0; ink < 8; ++ink) {
            for (int paper = ink + 1; paper < 8; ++paper)
                kinds.push_back({ink, paper, bright != 0, true});
        }
        for (int colour = bright; colour < 8; ++colour)
            kinds.push_back({0, colour, bright != 0, false});
    }
    EXPECT_EQ(kinds.size(), 71u);

    QByteArray screen(6912, '\0');
    std::mt19937 random(14);
    for (int cell = 0; cell < 768; ++cell) {
        const Attribute& a = kinds[cell % kinds.size()];
        const int x = cell % 32 * 8, y = cell / 32 * 8;
        screen[ScreenAttributeOffset(x, y)] = static_cast<char>(a.bright << 6 | a.paper << 3 | a.ink);
        for (int row = 0; row < 8; ++row) {
            unsigned bits = a.twoColours ? random() & 0xFF : 0;
            if (a.twoColours && row == 0)
                bits = (bits | 0x01) & 0x7F;  // one ink and one paper pixel at least
            screen[ScreenBitmapOffset(x, y + row)] = static_cast<char>(bits);
        }
    }
    return screen;
}

TEST(PictureToScreen, PicturesDrawnFromSettledBytesComeBackExactly)
{
    const QByteArray screen = SettledScreen();
    const QImage picture = RenderScreen(screen);
    for (bool dither : {false, true}) {
        SCOPED_TRACE(dither ? "dithered" : "plain");
        EXPECT_EQ(PictureToScreen(picture, {PictureFit::Fit, dither}), screen);
        // A picture shown at twice the size scales back to the same bytes,
        // and a transparent one shows black where it is clear.
        EXPECT_EQ(PictureToScreen(RenderScreen(screen, {false, 2}), {PictureFit::Stretch, dither}), screen);
        EXPECT_EQ(PictureToScreen(picture.convertToFormat(QImage::Format_ARGB32), {PictureFit::Fit, dither}),
                  screen);
    }
}

TEST(PictureToScreen, AnyScreenComesBackAsTheSamePicture)
{
    QByteArray screen(6912, Qt::Uninitialized);
    std::mt19937 random(3);
    for (char& byte : screen)
        byte = static_cast<char>(random());
    const QImage picture = RenderScreen(screen);
    for (bool dither : {false, true})
        EXPECT_EQ(RenderScreen(PictureToScreen(picture, {PictureFit::Fit, dither})), picture) << dither;
}

TEST(PictureToScreen, ColoursBetweenThePaletteTakeTheClosestOrAMix)
{
    // Near normal red: every cell red paper, nothing set.
    QImage reddish(256, 192, QImage::Format_RGB32);
    reddish.fill(qRgb(200, 10, 10));
    EXPECT_EQ(PictureToScreen(reddish), QByteArray(6144, '\0') + QByteArray(768, '\x10'));

    // Half of normal white: black ink on white paper, dithered to half the
    // pixels of every cell.
    QImage grey(256, 192, QImage::Format_RGB32);
    grey.fill(qRgb(0x6B, 0x6B, 0x6B));
    const QByteArray dithered = PictureToScreen(grey, {PictureFit::Fit, true});
    EXPECT_EQ(dithered.mid(6144), QByteArray(768, '\x38'));
    for (int cell = 0; cell < 768; ++cell) {
        int ink = 0;
        for (int row = 0; row < 8; ++row)
            ink += std::popcount(static_cast<unsigned char>(dithered[ScreenBitmapOffset(cell % 32 * 8, cell / 32 * 8 + row)]));
        ASSERT_EQ(ink, 32) << "cell " << cell;
    }
}

TEST(PictureToScreen, OtherSizesAreFitted)
{
    // A bright green picture half the height: with Fit it fills the middle
    // twelve character rows and leaves black above and below; stretched,
    // it fills all; centred, 64 x 48 pixels of it fill 8 x 6 cells.
    QImage band(512, 192, QImage::Format_RGB32);
    band.fill(SpectrumColour(4, true));
    const QByteArray black(6144, '\0');
    const QByteArray greenRows(32 * 12, '\x60'), greenScreen(768, '\x60'), blackRows(32 * 6, '\0');
    EXPECT_EQ(PictureToScreen(band, {PictureFit::Fit}), black + blackRows + greenRows + blackRows);
    EXPECT_EQ(PictureToScreen(band, {PictureFit::Stretch}), black + greenScreen);
    EXPECT_EQ(PictureToScreen(band, {PictureFit::Fill}), black + greenScreen);

    const QByteArray centred = PictureToScreen(band.copy(0, 0, 64, 48), {PictureFit::Centre});
    int green = 0;
    for (int cell = 0; cell < 768; ++cell) {
        const bool inside = cell % 32 >= 12 && cell % 32 < 20 && cell / 32 >= 9 && cell / 32 < 15;
        green += inside && centred[6144 + cell] == '\x60';
        EXPECT_EQ(centred[6144 + cell], inside ? '\x60' : '\0') << cell;
    }
    EXPECT_EQ(green, 48);
    EXPECT_EQ(PictureToScreen(QImage()), QByteArray(6912, '\0'));
}

}  // namespace

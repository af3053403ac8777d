#pragma once

#include <QByteArray>
#include <QImage>

// Turning a picture into screen memory (see screen_image.h for the layout).

// How a picture of another size is brought to 256 x 192 pixels.
enum class PictureFit {
    Stretch,  // scaled to exactly 256 x 192, the proportions not kept
    Fit,      // scaled to fit whole, proportions kept, black around it
    Fill,     // scaled to cover all of 256 x 192, proportions kept, the overflow cut off
    Centre,   // not scaled: the middle 256 x 192, black around a smaller picture
};

struct ScreenConversionOptions
{
    PictureFit fit = PictureFit::Fit;
    // Mixes ink and paper inside a cell in an ordered 8 x 8 pattern to show
    // colours between them; without it each pixel takes the closer of the two.
    bool dither = false;
};

// The picture at 256 x 192 as PictureToScreen reads it, in RGB32: a picture
// of that size unchanged, others as `fit` says. Transparent parts show
// black; a null picture is all black.
QImage FitPicture(const QImage& picture, PictureFit fit);

// Makes 6912 bytes of screen memory (no header) that show the picture as
// closely as the Spectrum can: for each 8 x 8 cell the ink, paper and BRIGHT
// whose colours lie closest to the cell's pixels (colour differences weighted
// 3:4:2 for red, green and blue), then each pixel set to ink or paper.
//
// The bytes are in one settled form, so that a picture drawn by RenderScreen
// from bytes in that form (FLASH phase unswapped) converts back to exactly
// those bytes, with or without dithering:
//  - FLASH is never set;
//  - a cell showing two colours has the one with the lower number as ink;
//  - a cell showing one colour has it as paper, ink 0 (black) and no pixel set;
//  - a cell showing only black has BRIGHT clear.
// Any other screen memory still converts back to bytes that show the same
// picture.
QByteArray PictureToScreen(const QImage& picture, const ScreenConversionOptions& options = {});

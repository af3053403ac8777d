#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QRgb>

// The Spectrum's screen memory (a SCREEN$ file) as a picture.
//
// Screen memory is 6912 bytes: a bitmap of 256 x 192 pixels (6144 bytes), then
// one attribute byte for each 8 x 8 cell (32 columns x 24 rows, 768 bytes).
// The bitmap is in three thirds of 64 pixel rows; inside a third, the top
// pixel rows of its eight character rows come first, then their second pixel
// rows, and so on, 32 bytes to a pixel row. Bit 7 of a byte is the leftmost of
// its eight pixels; a set bit shows the cell's ink, a clear one its paper.
// An attribute byte holds FLASH (bit 7), BRIGHT (bit 6), the paper colour
// (bits 5-3) and the ink colour (bits 2-0). Colour numbers: 0 black, 1 blue,
// 2 red, 3 magenta, 4 green, 5 cyan, 6 yellow, 7 white (bit 0 blue, bit 1
// red, bit 2 green).

inline constexpr int kScreenWidth = 256;
inline constexpr int kScreenHeight = 192;
inline constexpr int kScreenColumns = 32;  // attribute cells across
inline constexpr int kScreenRows = 24;     // attribute cells down
inline constexpr int kScreenBitmapSize = 6144;
inline constexpr int kScreenAttributesSize = 768;
inline constexpr int kScreenSize = kScreenBitmapSize + kScreenAttributesSize;  // 6912

// The attribute of a cell that has none (a bare 6144-byte bitmap): black ink
// on white paper, as the Spectrum starts.
inline constexpr unsigned char kPlainAttribute = 0x38;

// FLASH cells swap ink and paper every 16 frames of 50 Hz.
inline constexpr int kFlashIntervalMs = 320;

inline constexpr int kMaxScreenZoom = 4;
inline constexpr int kMaxScreenBorder = 64;

// Offset in screen memory of the bitmap byte holding pixels x..x+7 of pixel
// row y (x is rounded down to a multiple of 8).
inline constexpr int ScreenBitmapOffset(int x, int y)
{
    return (y & 0xC0) << 5 | (y & 0x07) << 8 | (y & 0x38) << 2 | x >> 3;
}

// Offset in screen memory of the attribute of the cell holding pixel (x, y).
inline constexpr int ScreenAttributeOffset(int x, int y)
{
    return kScreenBitmapSize + (y >> 3) * kScreenColumns + (x >> 3);
}

// The colour the Spectrum shows for colour number `colour` (0..7): each of
// red, green and blue is 0 or, when the colour has it, 0xD7 (0xFF with
// BRIGHT). Black is black with or without BRIGHT.
QRgb SpectrumColour(int colour, bool bright);

struct ScreenRenderOptions
{
    // The FLASH phase: false shows every cell as its attribute says, true
    // shows the cells with FLASH set with ink and paper swapped.
    bool flashSwapped = false;
    // Every Spectrum pixel becomes zoom x zoom pixels of the same colour
    // (1..kMaxScreenZoom; other values are brought into that range).
    int zoom = 1;
    // Width of a border around the picture in Spectrum pixels, zoomed like
    // the picture (0..kMaxScreenBorder); 0 draws none.
    int border = 0;
    QRgb borderColour = qRgb(0, 0, 0);
};

// Draws screen memory as an RGB32 picture of (256 + 2 * border) * zoom by
// (192 + 2 * border) * zoom pixels. Fewer than 6912 bytes are read as far as
// they go: a missing bitmap byte is blank (all paper) and a missing attribute
// is kPlainAttribute, so a 6144-byte bitmap shows black on white. Bytes past
// 6912 are not read.
QImage RenderScreen(QByteArrayView screen, const ScreenRenderOptions& options = {});

// True when an attribute of `screen` has FLASH set: only then does the
// picture change with the FLASH phase.
bool ScreenHasFlash(QByteArrayView screen);

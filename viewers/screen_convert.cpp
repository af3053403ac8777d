#include "screen_convert.h"

#include "screen_image.h"

#include <QPainter>

#include <array>
#include <limits>

namespace {

constexpr int kPaletteSize = 16;  // normal colours 0..7, BRIGHT ones 8..15
constexpr int kCellPixels = 64;

// The ordered-dither thresholds of an 8 x 8 cell (0..63, each once).
constexpr int kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

struct Rgb
{
    int r, g, b;
};

// The weighted inner product colour differences are measured with: green
// counts most and blue least, roughly as the eye sees them.
constexpr qint64 Dot(Rgb a, Rgb b)
{
    return 3 * a.r * b.r + 4 * a.g * b.g + 2 * a.b * b.b;
}

constexpr Rgb Minus(Rgb a, Rgb b)
{
    return {a.r - b.r, a.g - b.g, a.b - b.b};
}

Rgb ToRgb(QRgb colour)
{
    return {qRed(colour), qGreen(colour), qBlue(colour)};
}

const std::array<Rgb, kPaletteSize>& Palette()
{
    static const std::array<Rgb, kPaletteSize> palette = [] {
        std::array<Rgb, kPaletteSize> colours{};
        for (int i = 0; i < kPaletteSize; ++i)
            colours[i] = ToRgb(SpectrumColour(i & 7, i >= 8));
        return colours;
    }();
    return palette;
}

// One cell's result: colour numbers, BRIGHT, and its eight bitmap bytes.
struct Cell
{
    int ink = 0;
    int paper = 0;
    bool bright = false;
    std::array<unsigned char, 8> bits{};
};

class CellChooser
{
public:
    explicit CellChooser(bool dither) : dither_(dither) {}

    Cell Choose(const std::array<Rgb, kCellPixels>& pixels) const
    {
        Cell best;
        double bestError = std::numeric_limits<double>::infinity();
        // Normal colours before BRIGHT ones, so that a tie keeps BRIGHT clear.
        for (int bright = 0; bright < 2; ++bright) {
            for (int ink = 0; ink < 8; ++ink) {
                for (int paper = ink; paper < 8; ++paper) {
                    const double error = PairError(pixels, bright * 8 + ink, bright * 8 + paper, bestError);
                    if (error < bestError) {
                        bestError = error;
                        best.ink = ink;
                        best.paper = paper;
                        best.bright = bright != 0;
                    }
                }
            }
        }
        SetBits(pixels, best);
        Settle(best);
        return best;
    }

private:
    // How far the cell's pixels are from what ink and paper can show: each
    // pixel's distance to the closer of the two colours, or with dithering
    // to the closest mix of them. Stops early once `limit` is reached.
    double PairError(const std::array<Rgb, kCellPixels>& pixels, int ink, int paper, double limit) const
    {
        const Rgb p = Palette()[paper];
        const Rgb i = Palette()[ink];
        const Rgb d = Minus(i, p);
        const qint64 dd = Dot(d, d);
        double error = 0;
        for (const Rgb& c : pixels) {
            const Rgb v = Minus(c, p);
            const qint64 vv = Dot(v, v);
            if (!dither_) {
                const Rgb w = Minus(c, i);
                error += static_cast<double>(std::min(vv, Dot(w, w)));
            } else {
                const qint64 vd = Dot(v, d);
                if (dd == 0 || vd <= 0) {
                    error += static_cast<double>(vv);
                } else if (vd >= dd) {
                    const Rgb w = Minus(c, i);
                    error += static_cast<double>(Dot(w, w));
                } else {
                    error += static_cast<double>(vv) - static_cast<double>(vd) * static_cast<double>(vd) /
                                                           static_cast<double>(dd);
                }
            }
            if (error >= limit)
                return error;
        }
        return error;
    }

    // Each pixel to ink or paper: the closer colour (a tie gives paper), or
    // with dithering ink where the pixel lies further from paper towards ink
    // than the pattern's threshold.
    void SetBits(const std::array<Rgb, kCellPixels>& pixels, Cell& cell) const
    {
        const int brightness = cell.bright ? 8 : 0;
        const Rgb p = Palette()[brightness + cell.paper];
        const Rgb i = Palette()[brightness + cell.ink];
        const Rgb d = Minus(i, p);
        const qint64 dd = Dot(d, d);
        for (int row = 0; row < 8; ++row) {
            unsigned bits = 0;
            for (int column = 0; column < 8; ++column) {
                const Rgb c = pixels[row * 8 + column];
                bool ink;
                if (dither_) {
                    // position along paper -> ink above (threshold + 0.5) / 64
                    ink = dd > 0 && 128 * Dot(Minus(c, p), d) > (2 * kBayer[row][column] + 1) * dd;
                } else {
                    const Rgb v = Minus(c, p);
                    const Rgb w = Minus(c, i);
                    ink = Dot(w, w) < Dot(v, v);
                }
                bits = bits << 1 | (ink ? 1 : 0);
            }
            cell.bits[row] = static_cast<unsigned char>(bits);
        }
    }

    // The one form of bytes among those showing the same cell.
    static void Settle(Cell& cell)
    {
        bool anyInk = false, anyPaper = false;
        for (unsigned char b : cell.bits) {
            anyInk |= b != 0;
            anyPaper |= b != 0xFF;
        }
        const auto swapInkAndPaper = [&cell] {
            std::swap(cell.ink, cell.paper);
            for (unsigned char& b : cell.bits)
                b = static_cast<unsigned char>(~b);
        };
        if (!anyPaper) {
            swapInkAndPaper();
            anyInk = false;
        }
        // Pairs are tried with ink <= paper, so a cell showing both has the
        // lower number as ink already.
        if (!anyInk || cell.ink == cell.paper) {
            cell.bits.fill(0);
            cell.ink = 0;
        }
        if (cell.ink == 0 && cell.paper == 0)
            cell.bright = false;
    }

    bool dither_;
};

}  // namespace

QImage FitPicture(const QImage& picture, PictureFit fit)
{
    const QSize target(kScreenWidth, kScreenHeight);
    if (picture.size() == target && !picture.hasAlphaChannel())
        return picture.convertToFormat(QImage::Format_RGB32);

    QImage canvas(target, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    if (picture.isNull())
        return canvas;
    QImage placed;
    switch (fit) {
    case PictureFit::Stretch:
        placed = picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        break;
    case PictureFit::Fit:
        placed = picture.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        break;
    case PictureFit::Fill:
        placed = picture.scaled(target, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        break;
    case PictureFit::Centre: placed = picture; break;
    }
    QPainter painter(&canvas);
    painter.drawImage(QPoint((kScreenWidth - placed.width()) / 2, (kScreenHeight - placed.height()) / 2),
                      placed);
    painter.end();
    return canvas;
}

QByteArray PictureToScreen(const QImage& picture, const ScreenConversionOptions& options)
{
    const QImage fitted = FitPicture(picture, options.fit);
    const CellChooser chooser(options.dither);
    QByteArray screen(kScreenSize, '\0');
    std::array<Rgb, kCellPixels> pixels{};
    for (int top = 0; top < kScreenHeight; top += 8) {
        for (int left = 0; left < kScreenWidth; left += 8) {
            for (int row = 0; row < 8; ++row) {
                const auto* line = reinterpret_cast<const QRgb*>(fitted.constScanLine(top + row)) + left;
                for (int column = 0; column < 8; ++column)
                    pixels[row * 8 + column] = ToRgb(line[column]);
            }
            const Cell cell = chooser.Choose(pixels);
            for (int row = 0; row < 8; ++row)
                screen[ScreenBitmapOffset(left, top + row)] = static_cast<char>(cell.bits[row]);
            screen[ScreenAttributeOffset(left, top)] =
                static_cast<char>((cell.bright ? 0x40 : 0) | cell.paper << 3 | cell.ink);
        }
    }
    return screen;
}

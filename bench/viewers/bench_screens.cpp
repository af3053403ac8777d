// Time of drawing screen memory as a picture and of making a picture into
// screen memory. Opening a SCREEN$ view must take at most 50 ms with the disk
// tool's run, and an icon view must show 100 screens as thumbnails within
// 1 s; the drawing is their share. Reports the median of repeated runs.
#include "screen_convert.h"
#include "screen_image.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <random>

namespace {

// Screen memory of random bytes: every cell's attribute differs, a quarter
// of them FLASH.
const QByteArray& Screen()
{
    static const QByteArray screen = [] {
        QByteArray bytes(kScreenSize, Qt::Uninitialized);
        std::mt19937 random(5);
        for (char& c : bytes)
            c = static_cast<char>(random());
        return bytes;
    }();
    return screen;
}

// A 640 x 480 photograph-like picture: smooth colour gradients with noise.
const QImage& Photo()
{
    static const QImage photo = [] {
        QImage image(640, 480, QImage::Format_RGB32);
        std::mt19937 random(9);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int noise = static_cast<int>(random() % 32);
                line[x] = qRgb(x * 255 / 640, y * 255 / 480, std::min(255, (x + y) * 255 / 1120 + noise));
            }
        }
        return image;
    }();
    return photo;
}

void BM_Render(benchmark::State& state)
{
    const ScreenRenderOptions options{state.range(0) != 0, static_cast<int>(state.range(1)),
                                      static_cast<int>(state.range(2)), qRgb(0, 0, 0xD7)};
    for (auto _ : state) {
        const QImage image = RenderScreen(Screen(), options);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// One icon view's worth of thumbnails: 100 screens drawn and scaled to 64 x 48.
void BM_Thumbnails100(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            const QImage thumbnail =
                RenderScreen(Screen()).scaled(64, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            benchmark::DoNotOptimize(thumbnail.constBits());
        }
    }
}

void BM_Convert(benchmark::State& state)
{
    const bool photo = state.range(0) != 0;
    const QImage picture = photo ? Photo() : RenderScreen(Screen());
    const ScreenConversionOptions options{PictureFit::Fit, state.range(1) != 0};
    for (auto _ : state) {
        const QByteArray screen = PictureToScreen(picture, options);
        benchmark::DoNotOptimize(screen.constData());
    }
}

#define HARNWICK_BENCH(...)                                                                    \
    BENCHMARK(__VA_ARGS__)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly()

HARNWICK_BENCH(BM_Render)->Args({0, 1, 0})->Name("RenderScreen/1x");
HARNWICK_BENCH(BM_Render)->Args({1, 1, 0})->Name("RenderScreen/1x/flash-swapped");
HARNWICK_BENCH(BM_Render)->Args({0, 4, 32})->Name("RenderScreen/4x+border");
HARNWICK_BENCH(BM_Thumbnails100)->Name("RenderScreen+scale/100-thumbnails");
HARNWICK_BENCH(BM_Convert)->Args({0, 0})->Name("PictureToScreen/drawn-screen");
HARNWICK_BENCH(BM_Convert)->Args({1, 0})->Name("PictureToScreen/photo-640x480");
HARNWICK_BENCH(BM_Convert)->Args({1, 1})->Name("PictureToScreen/photo-640x480/dithered");

}  // namespace

int main(int argc, char** argv)
{
    // Scaling and painting pictures want a GUI application (offscreen is enough).
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

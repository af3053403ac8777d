// Opening a large medium: a 64 GB sparse image against a 32 MB one, from
// OpenMedium until the partition tree is painted (the tool's showptable run
// included). Neither the tool nor the browser may read a medium whole, so
// both should take the same time; the ratio of the medians is printed last.
#include "formmain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

QTemporaryDir& Work()
{
    static QTemporaryDir dir;
    return dir;
}

QString Tool()
{
    static const QString tool = [] {
        const QString link = Work().filePath(QStringLiteral("3E.EXE"));
        QFile::link(QStringLiteral(HARNWICK_TOOL_EXE), link);
        return link;
    }();
    return tool;
}

bool RunTool(const QStringList& arguments)
{
    QProcess p;
    p.start(Tool(), arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A raw image of `size` ("32M", "64G") with two +3DOS partitions; empty when
// the tool cannot make it.
QString MakeImage(const QString& size)
{
    const QString image = Work().filePath(QStringLiteral("card-%1.img").arg(size));
    if (QFileInfo::exists(image))
        return image;
    if (!RunTool({image, QStringLiteral("create"), QStringLiteral("--size"), size, QStringLiteral("--raw")}) ||
        !RunTool({image, QStringLiteral("newpart"), QStringLiteral("GAMES"), QStringLiteral("8M")}) ||
        !RunTool({image, QStringLiteral("newpart"), QStringLiteral("UTILS"), QStringLiteral("4M")}))
        return {};
    return image;
}

std::map<QString, std::vector<double>> g_samples; // size -> milliseconds per open

// Opens the two images in turn (the order alternating), so that the load of
// a busy machine falls on both alike; each open is timed on its own.
void BM_OpenUntilTreePainted(benchmark::State& state)
{
    const QStringList sizes{QStringLiteral("32M"), QStringLiteral("64G")};
    QMap<QString, QString> images;
    for (const QString& size : sizes) {
        images[size] = MakeImage(size);
        if (images[size].isEmpty()) {
            state.SkipWithError("the tool could not make the images");
            for (auto _ : state) {
            }
            return;
        }
    }
    TFormMainOptions options;
    options.settingsFolder = Work().filePath(QStringLiteral("settings"));
    options.startFolder = Work().path();
    TFormMain form(options);
    form.ToolPath = Tool();
    form.CheckUpdatesAtStartup = false;
    form.resize(1024, 768);
    form.show();
    QApplication::processEvents();
    int round = 0;
    for (auto _ : state) {
        for (int i = 0; i < 2; ++i) {
            const QString& size = sizes[(i + round) % 2];
            QElapsedTimer timer;
            timer.start();
            form.OpenMedium(images[size]);
            form.TreeView()->viewport()->repaint();
            QApplication::processEvents();
            g_samples[size].push_back(timer.nsecsElapsed() / 1e6);
            if (form.TreeView()->topLevelItemCount() != 1 ||
                form.TreeView()->topLevelItem(0)->childCount() != 4)
                state.SkipWithError("the tree does not show the partitions");
        }
        ++round;
    }
}

BENCHMARK(BM_OpenUntilTreePainted)->Unit(benchmark::kMillisecond)->MinTime(5.0);

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double small = Median(g_samples[QStringLiteral("32M")]);
    const double large = Median(g_samples[QStringLiteral("64G")]);
    if (small > 0 && large > 0)
        std::printf("median open until painted (%zu opens each): 32 MB %.2f ms, 64 GB %.2f ms, ratio %.3f\n",
                    g_samples[QStringLiteral("32M")].size(), small, large, large / small);
    return 0;
}

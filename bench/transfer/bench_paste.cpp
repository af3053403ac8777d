// Pasting 100 files cut from one partition into another, through the main
// window, against the sum of the tool runs the move needs (get, put and del
// per file, each run alone through the same runner), and the paste's steps
// without the window. Each round starts from
// a fresh copy of one image; the two ways take turns, and the medians and
// their ratio are printed.
#include "command_builders.h"
#include "file_moves.h"
#include "browser_commands.h"
#include "formmain.h"
#include "process_runner.h"
#include "transfer_commands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kFiles = 100;
constexpr int kRounds = 11;

QString gTool;
QString gWork;

void Must(const QStringList& arguments)
{
    QProcess tool;
    tool.start(gTool, arguments);
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
        std::fprintf(stderr, "failed: %s: %s\n", qPrintable(arguments.join(' ')),
                     tool.readAllStandardError().constData());
        std::exit(1);
    }
}

QString Path(const QString& name)
{
    return QDir(gWork).filePath(name);
}

// The medium every round starts from: partitions A and B, 100 files in A.
QString MakeMaster()
{
    const QString image = Path("master.hdf");
    Must({image, "create", "--size", "32M"});
    Must({image, "newpart", "A", "4M"});
    Must({image, "newpart", "B", "4M"});
    QFile data(Path("data.bin"));
    data.open(QIODevice::WriteOnly);
    data.write(QByteArray(6912, 'x'));
    data.close();
    for (int i = 0; i < kFiles; ++i)
        Must({image, "putbin", data.fileName(), QStringLiteral("A:FILE%1.BIN").arg(i)});
    return image;
}

QString FreshCopy(const QString& master)
{
    const QString image = Path("round.hdf");
    QFile::remove(image);
    QFile::copy(master, image);
    return image;
}

double SumOfRuns(const QString& image)
{
    const QString folder = Path("local");
    QDir().mkpath(folder);
    const QString out = Path("3E.OUT");
    const QString err = Path("3E.ERR");
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kFiles; ++i) {
        const QString name = QStringLiteral("FILE%1.BIN").arg(i);
        RunRedirected(GetFileCommand(gTool, image, "A", name, folder), {}, out, err, {}, true);
        RunRedirected(PutRenamedCommand(gTool, image, folder, name, "B", name), {}, out, err, {},
                      true);
        RunRedirected(DelCommand(gTool, image, "A", name), {}, out, err, {}, true);
        QFile::remove(QDir(folder).filePath(name));
    }
    return timer.nsecsElapsed() / 1e6;
}

double PasteThroughWindow(const QString& image)
{
    TFormMainOptions options;
    options.settingsFolder = Path("settings");
    options.startFolder = Path("start");
    TFormMain form(options);
    form.OpenMedium(image);
    auto node = [&](const char* name) {
        return form.TreeView()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    };
    form.SelectNode(node("A"));
    form.Browser().selectAllFiles();
    form.Transfer().cutFiles();
    form.SelectNode(node("B"));
    QElapsedTimer timer;
    timer.start();
    form.Transfer().pasteFiles();
    const double ms = timer.nsecsElapsed() / 1e6;
    if (form.RowCount() != kFiles) {
        std::fprintf(stderr, "the paste left %d files in B\n", form.RowCount());
        std::exit(1);
    }
    return ms;
}

// The paste's own steps (get, put, one listing, del) without the window: what
// the window adds is the rest.
double PasteSteps(const QString& image)
{
    QList<PasteStep> steps;
    for (int i = 0; i < kFiles; ++i)
        steps << PlanPasteStep(QStringLiteral("A:FILE%1.BIN").arg(i), "B", true);
    QDir().mkpath(Path("local2"));
    QElapsedTimer timer;
    timer.start();
    PasteThroughLocalCopies({gTool, image, Path("3E.OUT"), Path("3E.ERR")}, Path("local2"), steps,
                            "B", {}, [](int) {});
    return timer.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir work;
    gWork = work.path();
    gTool = QStringLiteral(HARNWICK_TOOL_EXE);
    QDir().mkpath(Path("settings"));
    QDir().mkpath(Path("start"));
    QFile::link(gTool, Path("start/3E.EXE"));
    {
        QFile ini(Path("settings/3E Harnwick.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write("[General]\nCheck3EUpdates=0\n");
    }

    const QString master = MakeMaster();
    std::vector<double> runs;
    std::vector<double> pastes;
    std::vector<double> steps;
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        runs.push_back(SumOfRuns(FreshCopy(master)));
        pastes.push_back(PasteThroughWindow(FreshCopy(master)));
        steps.push_back(PasteSteps(FreshCopy(master)));
        ratios.push_back(pastes.back() / runs.back());
    }
    const double run = Median(runs);
    const double paste = Median(pastes);
    std::printf("cut and paste of %d files between partitions (median of %d rounds)\n", kFiles,
                kRounds);
    std::printf("  sum of the tool runs (get + put + del per file): %8.1f ms\n", run);
    std::printf("  paste through the main window:                   %8.1f ms\n", paste);
    std::printf("  the same steps without the window:               %8.1f ms\n", Median(steps));
    std::printf(
        "  ratio paste / runs: %.2f (median of the rounds' ratios %.2f; target at most 1.30)\n",
        paste / run, Median(ratios));
    return 0;
}

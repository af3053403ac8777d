// The file list's speed: selecting a partition of 512 files until the rows
// are painted (the tool's run included, and the browser's own part alone),
// and sorting 2,048 rows by each column.
//
// The whole-selection figures run a disk tool for every selection: the real
// tool on an image holding two partitions of 512 files each when the tool can
// put files, and always a minimal stand-in tool (a shell script that prints a
// prepared listing), which shows what process start-up alone costs.
#include "file_list_model.h"
#include "formmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QByteArray Listing(int files)
{
    QByteArray text = "Name,Size,Attr,VerMajor,VerMinor,HdSize,Type,RealSize,Start,Vars\r\n";
    for (int i = 0; i < files; ++i) {
        const int type = i % 4;
        text += QStringLiteral("F%1.BIN,%2,---,1,0,%3,%4,%5,%6,%7\r\n")
                    .arg(i, 4, 10, QLatin1Char('0'))
                    .arg(128 * (1 + (i * 7919) % 500))
                    .arg(1024 * (1 + (i * 104729) % 64))
                    .arg(type == 3 ? 255 : type)
                    .arg((i * 7919) % 60000)
                    .arg((i * 31) % 65536)
                    .arg((i * 17) % 40000)
                    .toLatin1();
    }
    return text;
}

const QByteArray kPartitionTable = "64,16,32\r\n4,60\r\n"
                                   "PLUSIDEDOS,1,,0,0,0,0,0,31,16384\r\n"
                                   "ONE,3,,0,1,4,0,32,2079,1048576\r\n"
                                   "TWO,3,,4,1,12,0,2080,6175,1048576\r\n";

// A work folder, a window and a tool. `medium` is opened.
struct Scene
{
    QTemporaryDir dir;
    std::unique_ptr<TFormMain> form;

    Scene(const QString& tool, const QString& medium)
    {
        TFormMainOptions options;
        options.settingsFolder = dir.filePath(QStringLiteral("settings"));
        options.startFolder = dir.path();
        form = std::make_unique<TFormMain>(options);
        form->ToolPath = tool;
        form->OutFile = QFileInfo(tool).absolutePath() + QStringLiteral("/3E.OUT");
        form->ErrFile = QFileInfo(tool).absolutePath() + QStringLiteral("/3E.ERR");
        form->resize(1024, 768);
        form->CheckUpdatesAtStartup = false;  // showing the window downloads nothing
        form->show();
        form->OpenMedium(medium);
        QApplication::processEvents();
    }

    void paint()
    {
        form->ListView()->reportView()->viewport()->repaint();
        QApplication::processEvents();
    }

    QTreeWidgetItem* node(int i) { return form->TreeView()->topLevelItem(0)->child(i); }
};

// A stand-in tool that prints the partition table or a 512-file listing.
QString WriteStandInTool(const QString& folder)
{
    QDir().mkpath(folder);
    QFile table(folder + QStringLiteral("/ptable.txt"));
    table.open(QIODevice::WriteOnly);
    table.write(kPartitionTable);
    table.close();
    QFile listing(folder + QStringLiteral("/dir.txt"));
    listing.open(QIODevice::WriteOnly);
    listing.write(Listing(512));
    listing.close();
    const QString tool = folder + QStringLiteral("/3E.EXE");
    QFile script(tool);
    script.open(QIODevice::WriteOnly);
    script.write(
        "#!/bin/sh\ncd \"$(dirname \"$0\")\"\n"
        "case \"$2\" in showptable) exec cat ptable.txt ;; dir) exec cat dir.txt ;; esac\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return tool;
}

bool RunTool(const QString& tool, const QStringList& arguments)
{
    QProcess p;
    p.start(tool, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The real tool in a folder of its own with an image of two partitions of
// 512 files; empty when the tool cannot make it.
QString MakeRealScene(const QString& folder, QString& image)
{
    QDir().mkpath(folder);
    const QString tool = folder + QStringLiteral("/3E.EXE");
    QFile::link(QStringLiteral(HARNWICK_TOOL_EXE), tool);
    image = folder + QStringLiteral("/bench.hdf");
    if (!RunTool(tool, {image, QStringLiteral("create"), QStringLiteral("--size"),
                        QStringLiteral("64M")}))
        return {};
    const QString data = folder + QStringLiteral("/data.bin");
    QFile bytes(data);
    bytes.open(QIODevice::WriteOnly);
    bytes.write(QByteArray(300, 'x'));
    bytes.close();
    for (const char* partition : {"ONE", "TWO"}) {
        if (!RunTool(tool, {image, QStringLiteral("newpart"), QLatin1String(partition),
                            QStringLiteral("16M")}))
            return {};
        for (int i = 0; i < 512; ++i) {
            const QString target = QStringLiteral("%1:F%2.BIN")
                                       .arg(QLatin1String(partition))
                                       .arg(i, 4, 10, QLatin1Char('0'));
            if (!RunTool(tool, {image, QStringLiteral("putbin"), data, target}))
                return {};
        }
    }
    return tool;
}

void SelectEachTime(benchmark::State& state, Scene& scene)
{
    int which = 1;
    for (auto _ : state) {
        which = which == 1 ? 2 : 1; // the other file partition each time
        scene.form->SelectNode(scene.node(which));
        scene.paint();
    }
    if (scene.form->RowCount() != 512)
        state.SkipWithError("the partition did not list 512 files");
}

void BM_SelectPartition512_StandInTool(benchmark::State& state)
{
    QTemporaryDir work;
    Scene scene(WriteStandInTool(work.filePath(QStringLiteral("tool"))),
                QStringLiteral("/bench.hdf"));
    SelectEachTime(state, scene);
}

void BM_SelectPartition512_RealTool(benchmark::State& state)
{
    static QTemporaryDir work;
    static QString image;
    static const QString tool = MakeRealScene(work.filePath(QStringLiteral("real")), image);
    if (tool.isEmpty()) {
        state.SkipWithError("the disk tool cannot put files yet");
        for (auto _ : state) {
        }
        return;
    }
    Scene scene(tool, image);
    SelectEachTime(state, scene);
}

// The browser's own part: reading the listing, filling the list, painting.
void BM_FillAndPaint512_InProcess(benchmark::State& state)
{
    QTemporaryDir work;
    Scene scene(WriteStandInTool(work.filePath(QStringLiteral("tool"))),
                QStringLiteral("/bench.hdf"));
    QFile out(scene.form->OutFile);
    out.open(QIODevice::WriteOnly);
    out.write(Listing(512));
    out.close();
    for (auto _ : state) {
        scene.form->FillFileList();
        scene.paint();
    }
}

void BM_Sort2048(benchmark::State& state)
{
    QTemporaryDir work;
    Scene scene(WriteStandInTool(work.filePath(QStringLiteral("tool"))),
                QStringLiteral("/bench.hdf"));
    QFile out(scene.form->OutFile);
    out.open(QIODevice::WriteOnly);
    out.write(Listing(2048));
    out.close();
    scene.form->FillFileList();
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state)
        scene.form->ListViewColumnClick(column); // each click sorts all rows, alternating direction
    state.SetLabel(scene.form->ListModel().columnCaption(column).toStdString());
}

BENCHMARK(BM_SelectPartition512_StandInTool)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SelectPartition512_RealTool)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FillAndPaint512_InProcess)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Sort2048)
    ->DenseRange(0, 10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The view command end to end: the disk tool's `get` into the local copy,
// the formatter, the window filled and shown. The targets: a 64 KB file
// with all lines in within 300 ms as List (65,536 lines) and 100 ms as a hex
// dump (a headerless 65,536-byte file), and a SCREEN$ (a Bytes file of 6912
// bytes) shown as a picture within 50 ms. The files are in a +3DOS
// partition of an image the tool made and filled.
#include "file_list_model.h"
#include "form_view.h"
#include "formmain.h"
#include "text_utils.h"
#include "view_commands.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

[[noreturn]] void Fail(const QString& what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

// Any question ends the run: the benchmark expects none.
class FailingPrompts : public Prompts
{
public:
    void error(const QString& text) override { Fail("error: " + text); }
    void information(const QString& text) override { Fail("information: " + text); }
    void message(const QString& text) override { Fail("message: " + text); }
    Answer confirm(const QString& text) override { Fail("confirm: " + text); }
    QStringList openFiles(const FileDialogRequest&) override { Fail("open files"); }
    QString saveFile(const FileDialogRequest&) override { Fail("save file"); }
    QString chooseFolder(const QString&, const QString&) override { Fail("choose folder"); }
    std::optional<QString> inputText(const InputRequest&) override { Fail("input"); }
    int execDialog(QDialog&) override { Fail("dialog"); }
};

// A main window showing the partition GAMES with the file BIG selected.
class Setup
{
public:
    Setup()
    {
        if (!m_dir.isValid())
            Fail("cannot create a temporary folder");
        const QString start = m_dir.filePath("start");
        QDir().mkpath(start);
        const QString tool = start + "/3E.EXE";
        QFile::link(HARNWICK_TOOL_EXE, tool);
        const QString image = m_dir.filePath("disk.hdf");
        const QString host = m_dir.filePath("big.bin");
        QByteArray data(65536, '\0');
        for (int i = 0; i < data.size(); ++i)
            data[i] = static_cast<char>(i * 7 + i / 256);
        QFile file(host);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            Fail("cannot write " + host);
        file.close();
        const QString screen = m_dir.filePath("screen.bin");
        QFile screenFile(screen);
        QByteArray screenBytes(6912, '\0');
        for (int i = 0; i < screenBytes.size(); ++i)
            screenBytes[i] = static_cast<char>(i < 6144 ? i * 13 : 0x38 | (i & 0x87));
        if (!screenFile.open(QIODevice::WriteOnly) || screenFile.write(screenBytes) != screenBytes.size())
            Fail("cannot write " + screen);
        screenFile.close();
        for (const QStringList& args : {QStringList{image, "create", "--size", "16M"},
                                        QStringList{image, "newpart", "GAMES", "1M"},
                                        QStringList{image, "put", host, "GAMES:BIG"},
                                        QStringList{image, "putbin", screen, "GAMES:SCREEN", "16384"}}) {
            if (QProcess::execute(tool, args) != 0)
                Fail("the tool failed: " + args.join(' '));
        }

        TFormMainOptions options;
        options.settingsFolder = m_dir.filePath("settings");
        options.startFolder = start;
        form = std::make_unique<TFormMain>(options);
        form->SetPrompts(std::make_unique<FailingPrompts>());
        form->OpenMedium(image);
        for (QTreeWidgetItem* node : form->TreeNodes()) {
            if (node->text(0) == "GAMES")
                form->SelectNode(node);
        }
        if (form->RowCount() != 2 || row("BIG") < 0 || row("SCREEN") < 0 ||
            GroupedToInt(form->ListModel().cell(row("BIG"), FileListModel::ColRealSize)) != 65536)
            Fail("the partition does not list the files");
    }

    int row(const QString& name) const
    {
        for (int r = 0; r < form->RowCount(); ++r) {
            if (form->ListModel().caption(r) == name)
                return r;
        }
        return -1;
    }

    void selectOnly(const QString& name)
    {
        for (int r = 0; r < form->RowCount(); ++r)
            form->ListView()->selectRow(r, false);
        form->ListView()->selectRow(row(name), true);
    }

    std::unique_ptr<TFormMain> form;

private:
    QTemporaryDir m_dir;
};

// Made in main, after the application object, and gone before it.
std::unique_ptr<Setup> g_setup;

Setup& Window()
{
    return *g_setup;
}

template <ViewMode Mode>
void BM_View(benchmark::State& state)
{
    TFormMain& form = *Window().form;
    Window().selectOnly("BIG");
    int lines = 0;
    for (auto _ : state) {
        form.Viewers().viewSelectedFile(Mode);
        QApplication::processEvents();  // the window's first paint
        state.PauseTiming();
        const QList<TFormView*> windows = form.findChildren<TFormView*>();
        if (windows.size() != 1)
            Fail("no view window");
        lines = windows.first()->Text().count('\n') + 1;
        delete windows.first();
        state.ResumeTiming();
    }
    state.counters["lines"] = lines;
}

// A SCREEN$ opened as a picture (the automatic choice for it).
void BM_ViewScreen(benchmark::State& state)
{
    TFormMain& form = *Window().form;
    Window().selectOnly("SCREEN");
    for (auto _ : state) {
        form.Viewers().viewSelectedFile(ViewMode::Automatic);
        QApplication::processEvents();  // the window's first paint
        state.PauseTiming();
        const QList<TFormView*> windows = form.findChildren<TFormView*>();
        if (windows.size() != 1 || !windows.first()->PictureView())
            Fail("no picture window");
        delete windows.first();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_ViewScreen)
    ->Name("View/Picture/SCREEN$")->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly()->Iterations(10);
BENCHMARK(BM_View<ViewMode::List>)
    ->Name("View/List/64K")->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly()->Iterations(3);
BENCHMARK(BM_View<ViewMode::Automatic>)
    ->Name("View/HexDump/64K")->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly()->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_setup = std::make_unique<Setup>();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_setup.reset();
    return 0;
}

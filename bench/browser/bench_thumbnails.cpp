// Thumbnails in the icon view: a partition of 100 screens listed in the
// large-icon style until every screen shows its picture, with the real disk
// tool getting each one in the background. The targets: all 100 within 1 s
// of selecting the partition, and no stall of the window's event loop longer
// than 50 ms while they load (measured as the longest gap between ticks of a
// 1 ms timer, from the moment the list is shown).
//
// Every iteration moves the image's modification time on, so every
// thumbnail is got afresh, as after a change to the medium.
#include "file_list_model.h"
#include "file_list_view.h"
#include "formmain.h"
#include "put_picture.h"
#include "thumbnail_loader.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kScreens = 100;

[[noreturn]] void Fail(const QString& what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

QByteArray Plus3Screen(int seed)
{
    QByteArray screen(6912, '\0');
    for (int i = 0; i < screen.size(); ++i)
        screen[i] = static_cast<char>(i < 6144 ? (i * (seed + 5)) ^ seed : (i + seed) & 0x7F);
    return ScreenFileBytes(screen);
}

// The longest gap between ticks of a 1 ms timer, from its start until now:
// how long the event loop was kept from running.
class StallWatch
{
public:
    explicit StallWatch(const QElapsedTimer& clock) : m_clock(clock), m_last(clock.elapsed())
    {
        m_tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            m_stall = std::max(m_stall, m_clock.elapsed() - m_last);
            m_last = m_clock.elapsed();
        });
        m_tick.start(1);
    }

    qint64 longest() const { return std::max(m_stall, m_clock.elapsed() - m_last); }

private:
    const QElapsedTimer& m_clock;
    qint64 m_last;
    qint64 m_stall = 0;
    QTimer m_tick;
};

TFormMain* g_form = nullptr;
QString g_image;

void BM_Thumbnails(benchmark::State& state)
{
    TFormMain& form = *g_form;
    QTreeWidgetItem* games = nullptr;
    QTreeWidgetItem* other = nullptr;
    for (QTreeWidgetItem* node : form.TreeNodes()) {
        if (node->text(0) == "GAMES")
            games = node;
        if (node->text(0) == "OTHER")
            other = node;
    }
    ThumbnailLoader& loader = *form.ListView()->thumbnails();
    double worstStall = 0;
    double listed = 0;
    int round = 0;
    for (auto _ : state) {
        form.SelectNode(other);
        QFile image(g_image);
        if (!image.open(QIODevice::ReadWrite) ||
            !image.setFileTime(QDateTime::currentDateTime().addSecs(++round), QFileDevice::FileModificationTime))
            Fail("cannot touch the image");
        image.close();

        QElapsedTimer clock;
        clock.start();
        form.SelectNode(games);
        const qint64 shown = clock.elapsed();
        if (form.RowCount() != kScreens)
            Fail("the partition does not list the screens");
        if (ThumbnailLoader::RowsInSight(form.ListView()->iconView(), kScreens).size() != kScreens)
            Fail("not all icons are in sight");
        // From here the window runs its event loop; a 1 ms timer ticks.
        const StallWatch watch(clock);
        const auto done = [&] {
            for (int r = 0; r < kScreens; ++r) {
                if (loader.thumbnail(r).isNull())
                    return false;
            }
            return true;
        };
        while (!done()) {
            if (clock.elapsed() > 30000)
                Fail("the thumbnails did not come");
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const qint64 all = clock.elapsed();
        const qint64 stall = watch.longest();
        state.SetIterationTime(static_cast<double>(all) / 1000.0);
        worstStall = std::max(worstStall, static_cast<double>(stall));
        listed = std::max(listed, static_cast<double>(shown));
    }
    state.counters["stall_ms"] = benchmark::Counter(worstStall, benchmark::Counter::kAvgThreads);
    state.counters["list_ms"] = benchmark::Counter(listed, benchmark::Counter::kAvgThreads);
}

// What the machine itself gives, for comparison: the longest gap between
// ticks of the same 1 ms timer over 2 s with nothing to do, and one `get`
// of a screen run on its own and waited for.
void BM_Baseline(benchmark::State& state)
{
    double stallMs = 0;
    double getMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const StallWatch watch(clock);
        while (clock.elapsed() < 2000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        stallMs = std::max(stallMs, static_cast<double>(watch.longest()));
        QTemporaryDir out;
        QElapsedTimer get;
        get.start();
        for (int i = 0; i < 10; ++i)
            QProcess::execute(g_form->ToolPath, {g_image, "get", "GAMES:S000.SCR", out.path() + "/"});
        getMs = static_cast<double>(get.elapsed()) / 10;
        state.SetIterationTime(2.0);
    }
    state.counters["idle_stall_ms"] = stallMs;
    state.counters["one_get_ms"] = getMs;
}

BENCHMARK(BM_Baseline)
    ->Name("Machine/idle event loop, one get")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK(BM_Thumbnails)
    ->Name("IconView/100 screens/all thumbnails")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir;
    const QString start = dir.filePath("start");
    QDir().mkpath(start);
    const QString tool = start + "/3E.EXE";
    QFile::link(HARNWICK_TOOL_EXE, tool);
    g_image = dir.filePath("screens.hdf");
    for (const QStringList& args : {QStringList{g_image, "create", "--size", "16M"},
                                    QStringList{g_image, "newpart", "GAMES", "2M"},
                                    QStringList{g_image, "newpart", "OTHER", "1M"}}) {
        if (QProcess::execute(tool, args) != 0)
            Fail("the tool failed: " + args.join(' '));
    }
    const QString host = dir.filePath("screen.bin");
    for (int i = 0; i < kScreens; ++i) {
        QFile file(host);
        if (!file.open(QIODevice::WriteOnly) || file.write(Plus3Screen(i)) != 128 + 6912)
            Fail("cannot write " + host);
        file.close();
        if (QProcess::execute(tool, {g_image, "put", host, QString("GAMES:S%1.SCR").arg(i, 3, 10, QChar('0'))}) != 0)
            Fail("cannot put screen " + QString::number(i));
    }

    {
        TFormMainOptions options;
        options.settingsFolder = dir.filePath("settings");
        options.startFolder = start;
        TFormMain form(options);
        form.CheckUpdatesAtStartup = false;
        // Large enough for all 100 icons to be in sight at once.
        form.resize(1600, 1000);
        form.show();
        form.OpenMedium(g_image);
        form.ListView()->setStyle(FileListView::Style::Icon);
        QApplication::processEvents();
        g_form = &form;
        benchmark::RunSpecifiedBenchmarks();
        g_form = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}

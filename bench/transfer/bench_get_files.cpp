// Getting every file of a 500-file partition through the main window,
// against the disk tool's own `get` runs for the same files, and gathering
// the 500 files into one tape through the command.
//
// Prints, over several rounds: the medians of the command's wall time and of
// the sum of the 500 tool runs alone, the median of the rounds' ratios and
// the ratio of the quickest round of each (the browser's overhead per file);
// the longest stretch in which the window handled no events (so could neither
// repaint nor take Escape); and for the tape, the wall time and how much the
// process's peak memory grew.
#include "command_builders.h"
#include "file_list_model.h"
#include "browser_commands.h"
#include "formmain.h"
#include "plus3dos_header.h"
#include "process_runner.h"
#include "transfer_commands.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFiles = 500;
constexpr int kRounds = 7;
const QString kPartition = QStringLiteral("GAMES");

// Answers the destination folder dialog with `folder` and the tape dialog
// with `tape`; nothing else is expected.
class BenchPrompts : public Prompts
{
public:
    QString folder;
    QString tape;

    void error(const QString& text) override { qFatal("error box: %s", qPrintable(text)); }
    void information(const QString&) override {}
    void message(const QString&) override {}
    Answer confirm(const QString&) override { return Answer::Yes; }
    QStringList openFiles(const FileDialogRequest&) override { return {}; }
    QString saveFile(const FileDialogRequest&) override { return tape; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QString> inputText(const InputRequest&) override { return std::nullopt; }
    int execDialog(QDialog& dialog) override
    {
        dialog.findChild<QLineEdit*>(QStringLiteral("DirectoryEdit1"))->setText(folder);
        dialog.findChild<QAbstractButton*>(QStringLiteral("BitBtn1"))->click();
        return dialog.result();
    }
};

void RunTool(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s %s failed: %s", qPrintable(tool), qPrintable(arguments.join(' ')),
               process.readAllStandardError().constData());
}

// A host file with a +3DOS header (type Bytes), of a size from a mix like a
// real collection: BASIC-sized files, screens and machine code.
QByteArray Plus3File(int i)
{
    const int size = (i % 5 == 0) ? 6912 : 200 + (i * 7919) % 15000;
    const QByteArray h = testfixture::Plus3DosHeader(3, quint16(size), 32768, 0);
    QByteArray data(size, Qt::Uninitialized);
    for (int b = 0; b < size; ++b)
        data[b] = static_cast<char>((b * 31 + i) & 0xFF);
    return h + data;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The longest time between two turns of the event loop while `work` runs.
template <class F> qint64 LongestEventGapMs(F&& work)
{
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    probe.start(0);
    clock.start();
    work();
    longest = std::max(longest, clock.elapsed() - last);
    return longest;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir work;
    const QDir dir(work.path());
    const QString tool = dir.filePath(QStringLiteral("3E.EXE"));
    QFile::link(QCoreApplication::applicationDirPath() + QStringLiteral("/3E.EXE"), tool);

    // A medium with one partition of 500 files.
    const QString image = dir.filePath(QStringLiteral("bench.hdf"));
    RunTool(tool,
            {image, QStringLiteral("create"), QStringLiteral("--size"), QStringLiteral("32M")});
    RunTool(tool, {image, QStringLiteral("newpart"), kPartition, QStringLiteral("16M")});
    QStringList names;
    for (int i = 0; i < kFiles; ++i) {
        const QString host = dir.filePath(QStringLiteral("host.bin"));
        QFile file(host);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(Plus3File(i)) < 0)
            qFatal("cannot write %s", qPrintable(host));
        file.close();
        names << QStringLiteral("F%1.BIN").arg(i, 3, 10, QLatin1Char('0'));
        RunTool(tool,
                {image, QStringLiteral("put"), host, kPartition + QLatin1Char(':') + names.last()});
    }

    // Settings of its own: no update check when the window is first shown.
    TFormMainOptions options;
    options.settingsFolder = dir.filePath(QStringLiteral("settings"));
    QSettings(QDir(options.settingsFolder).filePath(QStringLiteral("3E Harnwick.ini")),
              QSettings::IniFormat)
        .setValue(QStringLiteral("Check3EUpdates"), 0);
    options.startFolder = work.path();
    TFormMain form(options);
    auto owned = std::make_unique<BenchPrompts>();
    BenchPrompts* prompts = owned.get();
    form.SetPrompts(std::move(owned));
    form.show();
    QCoreApplication::processEvents(); // the window's first showing is done
    form.OpenMedium(image);
    const QList<QTreeWidgetItem*> found =
        form.TreeView()->findItems(kPartition, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty())
        qFatal("the medium shows no partition %s", qPrintable(kPartition));
    form.SelectNode(found.first());
    if (form.RowCount() != kFiles)
        qFatal("the list shows %d files, not %d", form.RowCount(), kFiles);

    // The two measurements alternate in order from round to round, and each
    // round gives its own ratio, so a busy machine skews both alike.
    std::vector<double> toolMs, commandMs, ratios, gapMs;
    for (int round = 0; round < kRounds; ++round) {
        const QString alone = dir.filePath(QStringLiteral("alone%1").arg(round));
        const QString got = dir.filePath(QStringLiteral("got%1").arg(round));
        dir.mkdir(alone);
        dir.mkdir(got);
        const auto toolAlone = [&] {
            QElapsedTimer clock;
            qint64 toolNs = 0;
            for (const QString& name : names) {
                clock.start();
                RunRedirected(GetFileCommand(tool, image, kPartition, name, alone), QString(),
                              form.OutFile, form.ErrFile, QString(), true);
                toolNs += clock.nsecsElapsed();
            }
            toolMs.push_back(toolNs / 1e6);
        };
        const auto command = [&] {
            prompts->folder = got;
            QElapsedTimer clock;
            clock.start();
            gapMs.push_back(static_cast<double>(
                LongestEventGapMs([&] { form.Transfer().getAllFilesFromPartition(); })));
            commandMs.push_back(clock.nsecsElapsed() / 1e6);
            if (QDir(got).entryList(QDir::Files).size() != kFiles ||
                form.StatusPanel(2) != QLatin1String("Copy completed"))
                qFatal("the command did not copy every file: %s", qPrintable(form.StatusPanel(2)));
        };
        if (round % 2 == 0) {
            toolAlone();
            command();
        } else {
            command();
            toolAlone();
        }
        ratios.push_back(commandMs.back() / toolMs.back());
    }
    const double ratio = Median(ratios);
    // The quickest round of each is the one least disturbed by other work on
    // the machine.
    const double bestRatio = *std::min_element(commandMs.begin(), commandMs.end()) /
                             *std::min_element(toolMs.begin(), toolMs.end());
    std::printf("get all files of a %d-file partition (median of %d rounds)\n", kFiles, kRounds);
    std::printf("  the tool's own get runs, summed  %9.1f ms\n", Median(toolMs));
    std::printf("  the command, start to end        %9.1f ms\n", Median(commandMs));
    std::printf("  ratio command / tool runs        %9.3f   (median of the rounds' ratios; target "
                "at most 1.3)\n",
                ratio);
    std::printf("  ratio of the quickest rounds     %9.3f\n", bestRatio);
    std::printf("  longest time without events      %9.1f ms\n", Median(gapMs));

    // All 500 files into one tape through the command.
    form.Browser().selectAllFiles();
    std::vector<double> tapeMs;
    long growth = 0;
    for (int round = 0; round < kRounds; ++round) {
        prompts->tape = dir.filePath(QStringLiteral("all%1.tzx").arg(round));
        const long before = PeakRssKb();
        QElapsedTimer clock;
        clock.start();
        form.Transfer().getSelectedFilesIntoTape();
        tapeMs.push_back(clock.nsecsElapsed() / 1e6);
        growth = std::max(growth, PeakRssKb() - before);
        if (form.StatusPanel(2) != QLatin1String("Copy completed"))
            qFatal("the tape was not written: %s", qPrintable(form.StatusPanel(2)));
    }
    std::printf("get %d files into one tape\n", kFiles);
    std::printf("  the command, start to end        %9.1f ms\n", Median(tapeMs));
    std::printf("  tape size                        %9lld bytes\n",
                static_cast<long long>(QFileInfo(prompts->tape).size()));
    std::printf("  peak memory growth               %9ld KB\n", growth);
    return 0;
}

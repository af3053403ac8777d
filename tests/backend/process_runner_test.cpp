#include <gtest/gtest.h>

#include "app_error.h"
#include "form_wait.h"
#include "process_runner.h"
#include "tool_command.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

// A folder with a fake tool (a shell script) and the tool's two output files.
class RunRedirectedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        out_ = dir_.filePath(QStringLiteral("3E.OUT"));
        err_ = dir_.filePath(QStringLiteral("3E.ERR"));
    }

    QString MakeTool(const QString& name, const QByteArray& body)
    {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        WriteFile(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }

    bool Run(const QString& commandLine, const QString& input = {})
    {
        return RunRedirected(commandLine, input, out_, err_, QString(), true);
    }

    QTemporaryDir dir_;
    QString out_;
    QString err_;
};

TEST_F(RunRedirectedTest, CapturesStandardOutputAndErrorExactly)
{
    const QString tool =
        MakeTool("3E.EXE", "printf 'rec1,2\\r\\n\\267\\251\\r\\n'\nprintf 'bad\\r\\n' >&2\n");
    ASSERT_TRUE(Run(tool + " scan -backend"));
    EXPECT_EQ(ReadAll(out_), QByteArray("rec1,2\r\n\xB7\xA9\r\n"));
    EXPECT_EQ(ReadAll(err_), QByteArray("bad\r\n"));
}

TEST_F(RunRedirectedTest, ArgumentsArriveSplitAndUnquoted)
{
    const QString tool = MakeTool("3E.EXE", "for a in \"$@\"; do printf '[%s]' \"$a\"; done\n");
    ASSERT_TRUE(Run(tool + R"( "/my image.hdf" get "P:F" "/out dir"/ say\"x)"));
    EXPECT_EQ(ReadAll(out_), QByteArray(R"([/my image.hdf][get][P:F][/out dir/][say"x])"));
}

TEST_F(RunRedirectedTest, LongCommandLinesArePassedWhole)
{
    const QString tool = MakeTool("3E.EXE", "printf '%s' \"$1\"\n");
    const QString longArg(1000, QLatin1Char('z'));
    ASSERT_TRUE(Run(tool + " \"" + longArg + "\""));
    EXPECT_EQ(ReadAll(out_), longArg.toLatin1());
}

TEST_F(RunRedirectedTest, ToolPathWithBlanks)
{
    const QString tool = MakeTool("my tools/3E.EXE", "printf '%s|' \"$0\" \"$@\"\n");
    ASSERT_TRUE(Run(tool + " scan"));
    EXPECT_EQ(ReadAll(out_), (tool + "|scan|").toUtf8());
}

TEST_F(RunRedirectedTest, StaleOutputIsEmptiedByTheNextRun)
{
    WriteFile(out_, "stale partition table\r\n");
    WriteFile(err_, "stale error\r\n");
    const QString quiet = MakeTool("quiet", "exit 3\n");
    ASSERT_TRUE(Run(quiet));
    EXPECT_EQ(ReadAll(out_), QByteArray());
    EXPECT_EQ(ReadAll(err_), QByteArray());

    // Also when the tool cannot be started: the files are emptied first.
    WriteFile(out_, "stale\r\n");
    EXPECT_THROW(Run(dir_.filePath("missing")), AppError);
    EXPECT_EQ(ReadAll(out_), QByteArray());
}

TEST_F(RunRedirectedTest, WithoutInputFileTheToolReadsNothing)
{
    const QString cat = MakeTool("cat", "cat\nprintf done\n");
    ASSERT_TRUE(Run(cat));
    EXPECT_EQ(ReadAll(out_), QByteArray("done"));
}

TEST_F(RunRedirectedTest, InputFileIsStandardInput)
{
    const QString cat = MakeTool("cat", "cat\n");
    const QString input = dir_.filePath("in.txt");
    WriteFile(input, "hello\n");
    ASSERT_TRUE(Run(cat, input));
    EXPECT_EQ(ReadAll(out_), QByteArray("hello\n"));
    EXPECT_EQ(ReadAll(input), QByteArray("hello\n"));
}

TEST_F(RunRedirectedTest, FailureTextsCarryTheContext)
{
    const QString tool = MakeTool("3E.EXE", "exit 0\n");
    const QString ctx = QStringLiteral("while listing");
    const QString noDir = dir_.filePath("no/such");
    const QString missingInput = dir_.filePath("absent.txt");

    EXPECT_EQ(ErrorOf([&] { RunRedirected(tool, missingInput, out_, err_, ctx, true); }),
              "Input file * " + missingInput + " *\ndoes not exist\n\n" + ctx);
    EXPECT_EQ(
        ErrorOf([&] { RunRedirected(tool, {}, noDir, err_, ctx, true); }),
        "WinApi function CreateFile returned an invalid handle value\nfor the output file * " +
            noDir + " *\n\n" + ctx);
    EXPECT_EQ(ErrorOf([&] { RunRedirected(tool, {}, out_, noDir, ctx, true); }),
              "WinApi function CreateFile returned an invalid handle value\nfor the error file * " +
                  noDir + " *\n\n" + ctx);
    EXPECT_EQ(ErrorOf([&] { RunRedirected(dir_.filePath("nothing"), {}, out_, err_, ctx, true); }),
              "Function failure\n\n" + ctx);
    EXPECT_EQ(ErrorOf([&] { RunRedirected(QString(), {}, out_, err_, QString(), true); }),
              QStringLiteral("Function failure\n\n"));
}

TEST_F(RunRedirectedTest, OutputFilesPlantedAsLinksAreNotFollowed)
{
    const QString tool = MakeTool("3E.EXE", "printf 'written'\nprintf 'oops' >&2\n");
    const QString victim = dir_.filePath("victim.txt");
    WriteFile(victim, "keep me");
    for (const QString& planted : {out_, err_}) {
        QFile::remove(out_);
        QFile::remove(err_);
        ASSERT_TRUE(QFile::link(victim, planted));
        EXPECT_THROW(Run(tool), AppError) << planted.toStdString();
        EXPECT_EQ(ReadAll(victim), QByteArray("keep me"));
    }
}

TEST_F(RunRedirectedTest, InputFileThatCannotBeOpenedIsRefused)
{
    const QString tool = MakeTool("3E.EXE", "exit 0\n");
    const QString input = dir_.filePath("a folder");
    ASSERT_TRUE(QDir().mkpath(input));
    EXPECT_EQ(ErrorOf([&] { RunRedirected(tool, input, out_, err_, QString(), true); }),
              "WinApi function CreateFile returned an invalid handle value\nfor the input file * " +
                  input + " *\n\n");
}

TEST_F(RunRedirectedTest, NonExecutableFileCannotBeStarted)
{
    const QString plain = dir_.filePath("3E.EXE");
    WriteFile(plain, "not a program");
    EXPECT_EQ(ErrorOf([&] { Run(plain); }), QStringLiteral("Function failure\n\n"));
}

// True while the process runs (a zombie no longer counts: it has ended and
// only waits for its parent).
bool ProcessAlive(const QString& pidFile)
{
    const QByteArray pid = ReadAll(pidFile).trimmed();
    if (pid.isEmpty() || pid == "<missing>")
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close > 0 && line.size() > close + 2 && line[close + 2] != 'Z';
}

int TopLevelBusyWindows()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += qobject_cast<TFormWait*>(w) && w->isVisible();
    return count;
}

// What happened during one tool run that took long: the window and timer
// events seen, when the busy window appeared, how the run ended.
struct SlowRun
{
    int ticks = 0;
    qint64 windowAfterMs = -1;
    qint64 stopSentAfterMs = -1;
    qint64 endedAfterMs = -1;
    int mostBusyWindows = 0;
    std::optional<ToolRunStopped> stopped;
};

enum class StopBy { Escape, Cancel, TimeLimit };

// Runs `run` while a timer ticks; stopBy is sent to the busy window once one
// is up and stopAfterMs have passed.
// Notes the moment a busy window is shown.
class ShowWatch : public QObject
{
public:
    ShowWatch(const QElapsedTimer& clock, qint64& shownAfterMs)
        : clock_(clock), shownAfterMs_(shownAfterMs)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && shownAfterMs_ < 0 && qobject_cast<TFormWait*>(watched))
            shownAfterMs_ = clock_.elapsed();
        return false;
    }

private:
    const QElapsedTimer& clock_;
    qint64& shownAfterMs_;
};

SlowRun WatchSlowRun(const std::function<void()>& run, StopBy stopBy, qint64 stopAfterMs = 0)
{
    SlowRun seen;
    QElapsedTimer clock;
    const ShowWatch showWatch(clock, seen.windowAfterMs);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++seen.ticks;
        seen.mostBusyWindows = std::max(seen.mostBusyWindows, TopLevelBusyWindows());
        TFormWait* window = TFormWait::Current();
        if (!window || !window->isVisible())
            return;
        if (stopBy == StopBy::TimeLimit || seen.stopSentAfterMs >= 0 ||
            clock.elapsed() < stopAfterMs)
            return;
        seen.stopSentAfterMs = clock.elapsed();
        if (stopBy == StopBy::Escape)
            QTest::keyRelease(window, Qt::Key_Escape);
        else
            window->BtnCancel->click();
    });
    tick.start(20);
    clock.start();
    try {
        run();
    } catch (const ToolRunStopped& e) {
        seen.stopped = e;
    }
    seen.endedAfterMs = clock.elapsed();
    return seen;
}

TEST_F(RunRedirectedTest, SlowToolIsStoppedAndLeavesNoProcess)
{
    // The tool and a program it started both sleep for 30 s.
    const QString tool = MakeTool(
        "3E.EXE", "echo $$ > \"$1/tool.pid\"\nsleep 30 &\necho $! > \"$1/child.pid\"\nwait\n");
    const QString line = tool + " \"" + dir_.path() + "\"";
    const struct
    {
        StopBy stopBy;
        const char* caption; // null: no command scope
        int limitMs;
        ToolRunStopped::Kind kind;
        const char* command;
    } cases[] = {
        {StopBy::Escape, nullptr, 0, ToolRunStopped::Kind::Cancelled, nullptr},
        {StopBy::Cancel, "Get selected file(s)", 20000, ToolRunStopped::Kind::Cancelled,
         "Get selected file(s)"},
        {StopBy::TimeLimit, "Import tape", 800, ToolRunStopped::Kind::TimedOut, "Import tape"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stopBy));
        std::optional<ToolCommandScope> scope;
        if (c.caption)
            scope.emplace(QString::fromLatin1(c.caption), c.limitMs);
        const SlowRun seen = WatchSlowRun([&] { Run(line); }, c.stopBy);

        ASSERT_TRUE(seen.stopped.has_value()) << "a stopped run is never a success";
        EXPECT_EQ(seen.stopped->kind(), c.kind);
        EXPECT_EQ(seen.stopped->command(), c.command ? QString::fromLatin1(c.command) : line);
        EXPECT_GE(seen.windowAfterMs, 250);
        EXPECT_LE(seen.windowAfterMs, 500);
        EXPECT_EQ(seen.mostBusyWindows, 1);
        EXPECT_GE(seen.ticks, 10) << "the event loop ran during the tool run";
        if (c.stopBy == StopBy::TimeLimit)
            EXPECT_LT(seen.endedAfterMs, c.limitMs + 2500);
        else
            EXPECT_LT(seen.endedAfterMs - seen.stopSentAfterMs, 2500);
        EXPECT_EQ(TFormWait::Current(), nullptr) << "the busy window went with the run";
        EXPECT_FALSE(ProcessAlive(dir_.filePath("tool.pid")));
        // The child may need a moment to be reaped by whoever adopted it.
        QElapsedTimer reap;
        reap.start();
        while (ProcessAlive(dir_.filePath("child.pid")) && reap.elapsed() < 1000)
            QTest::qWait(20);
        EXPECT_FALSE(ProcessAlive(dir_.filePath("child.pid")));
    }
}

TEST_F(RunRedirectedTest, FastToolNeverShowsTheBusyWindow)
{
    const QString tool = MakeTool("3E.EXE", "sleep 0.15\nprintf done\n");
    const SlowRun seen = WatchSlowRun([&] { ASSERT_TRUE(Run(tool)); }, StopBy::Escape);
    EXPECT_FALSE(seen.stopped.has_value());
    EXPECT_EQ(seen.windowAfterMs, -1);
    EXPECT_GE(seen.ticks, 3) << "the event loop ran during the tool run";
    EXPECT_EQ(ReadAll(out_), QByteArray("done"));
}

TEST_F(RunRedirectedTest, RunInsideALongCommandUsesItsBusyWindow)
{
    const QString tool = MakeTool("3E.EXE", "sleep 30\n");
    bool abortRequested = false;
    TFormWait commandWindow(&abortRequested);
    commandWindow.show();
    ToolCommandScope scope(QStringLiteral("Get all files from disk"));
    // Stopped after the delay at which a run's own window would have shown.
    const SlowRun seen = WatchSlowRun([&] { Run(tool); }, StopBy::Escape, 450);
    ASSERT_TRUE(seen.stopped.has_value());
    EXPECT_EQ(seen.stopped->kind(), ToolRunStopped::Kind::Cancelled);
    EXPECT_EQ(seen.stopped->command(), QStringLiteral("Get all files from disk"));
    EXPECT_LT(seen.endedAfterMs - seen.stopSentAfterMs, 2500);
    EXPECT_EQ(seen.mostBusyWindows, 1) << "no second busy window";
    EXPECT_TRUE(abortRequested) << "the command's own loop stops too";
    EXPECT_TRUE(commandWindow.isVisible());
}

} // namespace

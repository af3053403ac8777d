#include <gtest/gtest.h>

#include "app_error.h"
#include "process_runner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

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

} // namespace

#include <gtest/gtest.h>

#include "tool_location.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

void Touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(ToolLocation, DefaultIsStartFolderThenProgramFolderThenInstalledTool)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString start = root.filePath("home");
    const QString program = root.filePath("usr/bin");
    const QString installed = root.filePath("usr/libexec/3e-harnwick/3E.EXE");
    QDir().mkpath(start);
    QDir().mkpath(program);

    // Nothing anywhere: the installed tool, under the prefix of the program.
    EXPECT_EQ(InstalledToolPath(program), installed);
    EXPECT_EQ(DefaultToolPath(start, program), installed);
    // A folder named 3E.EXE is no tool.
    QDir().mkpath(start + "/3E.EXE");
    EXPECT_EQ(DefaultToolPath(start, program), installed);
    Touch(program + "/3E.EXE");
    EXPECT_EQ(DefaultToolPath(start, program), program + "/3E.EXE");
    QDir(start).rmdir("3E.EXE");
    Touch(start + "/3E.EXE");
    EXPECT_EQ(DefaultToolPath(start, program), start + "/3E.EXE");
}

TEST(ToolLocation, AStoredPathIsKeptOnlyWhileItExists)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString mine = root.filePath("my tools/3E.EXE");
    Touch(mine);
    const QString fallback = "/usr/libexec/3e-harnwick/3E.EXE";

    const ToolPathChoice none = ChooseToolPath(QString(), fallback);
    EXPECT_EQ(none.path, fallback);
    EXPECT_TRUE(none.report.isEmpty());

    const ToolPathChoice kept = ChooseToolPath(mine, fallback);
    EXPECT_EQ(kept.path, mine);
    EXPECT_TRUE(kept.report.isEmpty());

    QFile::remove(mine);
    const ToolPathChoice gone = ChooseToolPath(mine, fallback);
    EXPECT_EQ(gone.path, fallback);
    EXPECT_TRUE(gone.report.contains(mine)) << gone.report.toStdString();
    EXPECT_TRUE(gone.report.contains(fallback));
}

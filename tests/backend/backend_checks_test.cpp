#include <gtest/gtest.h>

#include "backend_checks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace {

class BackendChecksTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        err_ = dir_.filePath(QStringLiteral("3E.ERR"));
        panels_ = {{1, "file.bas"}, {2, "12 files"}};
    }

    void WriteErr(const QByteArray& bytes)
    {
        QFile f(err_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    bool Read()
    {
        return ReadBackendErrors(err_,
                                 [this](int panel, const QString& text) { panels_[panel] = text; });
    }

    QTemporaryDir dir_;
    QString err_;
    std::map<int, QString> panels_;
};

TEST_F(BackendChecksTest, EmptyErrorFileIsNoErrorAndClearsPanels)
{
    WriteErr("");
    EXPECT_FALSE(Read());
    EXPECT_EQ(panels_[1], QString());
    EXPECT_EQ(panels_[2], QString());
}

TEST_F(BackendChecksTest, JustCrLfIsAnError)
{
    WriteErr("\r\n");
    EXPECT_TRUE(Read());
    EXPECT_EQ(panels_[1], QString());
    EXPECT_EQ(panels_[2], QStringLiteral("Fatal Error: \r\n"));
}

TEST_F(BackendChecksTest, ErrorLinesEachEndInCrLf)
{
    WriteErr("Partition not found\nsee\r\nbad \xB7 name");
    EXPECT_TRUE(Read());
    EXPECT_EQ(panels_[2],
              QStringLiteral("Fatal Error: Partition not found\nsee\r\nbad \u00B7 name\r\n"));
}

TEST_F(BackendChecksTest, TextAfterCtrlZIsNotRead)
{
    WriteErr("\x1A"
             "ignored");
    EXPECT_FALSE(Read());
}

TEST_F(BackendChecksTest, RequireBackendSaysWhatIsWrongWithTheTool)
{
    QStringList shown;
    const ErrorDisplay record = [&](const QString& text) { shown << text; };
    const QString missing = QStringLiteral("3e program not present.\r\nPlease be sure to "
                                           "configure correct position in Preferences Dialog Box.");
    const QString tool = dir_.filePath(QStringLiteral("3E.EXE"));

    EXPECT_FALSE(RequireBackend(tool, record));
    // A folder of that name is no tool either, executable or not.
    ASSERT_TRUE(QDir().mkpath(tool));
    EXPECT_FALSE(RequireBackend(tool, record));
    EXPECT_EQ(shown, QStringList({missing, missing}));

    // A file that may not be run is named as such; once it may, it passes.
    const QString realTool = dir_.filePath(QStringLiteral("tool"));
    QFile f(realTool);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    shown.clear();
    EXPECT_FALSE(RequireBackend(realTool, record));
    EXPECT_EQ(shown, QStringList{"3e program not executable: " + realTool});
    ASSERT_TRUE(f.setPermissions(f.permissions() | QFile::ExeOwner));
    EXPECT_TRUE(RequireBackend(realTool, record));
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(BackendChecksTest, RequireBackendUsesTheInstalledDisplay)
{
    QStringList shown;
    const ErrorDisplay previous = SetErrorDisplay([&](const QString& text) { shown << text; });
    EXPECT_FALSE(RequireBackend(dir_.filePath(QStringLiteral("none"))));
    SetErrorDisplay(previous);
    EXPECT_EQ(shown.size(), 1);
}

} // namespace

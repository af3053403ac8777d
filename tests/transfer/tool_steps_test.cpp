// The tool steps that name conflicts rest on, against the real tool: which
// files a listing reports read-only, and copies pasted into their own
// partition, which must neither replace a file there nor each other.
#include "file_moves.h"
#include "test_paths.h"
#include "tool_steps.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class ToolStepsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        tool_.toolPath = QString::fromUtf8(testpaths::kToolExe);
        tool_.medium = dir_.filePath("disk.hdf");
        tool_.outFile = dir_.filePath("3E.OUT");
        tool_.errFile = dir_.filePath("3E.ERR");
        QDir().mkpath(dir_.filePath("copies"));
        run({tool_.medium, "create", "--size", "8M"});
        run({tool_.medium, "newpart", "A", "1M"});
    }

    void run(const QStringList& arguments)
    {
        QProcess process;
        process.start(tool_.toolPath, arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
    }

    void put(const QString& name, const QByteArray& content)
    {
        QFile host(dir_.filePath("host"));
        ASSERT_TRUE(host.open(QIODevice::WriteOnly | QIODevice::Truncate));
        host.write(content);
        host.close();
        run({tool_.medium, "put", host.fileName(), "A:" + name});
    }

    QByteArray contentOf(const QString& name)
    {
        const QString folder = dir_.filePath("got");
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        run({tool_.medium, "get", "A:" + name, folder + "/"});
        QFile file(folder + "/" + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Sets the read-only attribute (bit 7 of the type's first byte) of a
    // file's directory entry in the image.
    void makeReadOnly(const QByteArray& directoryName)
    {
        QFile image(tool_.medium);
        ASSERT_TRUE(image.open(QIODevice::ReadWrite));
        QByteArray bytes = image.readAll();
        const qsizetype at = bytes.indexOf(directoryName);
        ASSERT_GE(at, 0);
        bytes[at + 8] = static_cast<char>(bytes[at + 8] | 0x80);
        image.seek(0);
        image.write(bytes);
    }

    QTemporaryDir dir_;
    ToolRunner tool_;
};

TEST_F(ToolStepsTest, ListingTellsTheReadOnlyFiles)
{
    put("GAME.BAS", "g");
    put("OTHER", "o");
    makeReadOnly("GAME    BAS");
    QString error;
    QStringList readOnly{"stale"};
    EXPECT_EQ(ListPartitionFiles(tool_, "A", &error, &readOnly),
              (QStringList{"GAME.BAS", "OTHER"}));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(readOnly, QStringList{"GAME.BAS"});

    EXPECT_TRUE(ListPartitionFiles(tool_, "NONE", &error, &readOnly).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(readOnly.isEmpty());
}

TEST_F(ToolStepsTest, CopiesIntoTheirOwnPartitionReplaceNothing)
{
    put("PROG.BAS", "basic");
    put("PROG.SCR", "screen");
    put("PROG.$$$", "older copy");
    QList<PasteStep> steps{PlanPasteStep("A:PROG.BAS", "A", false),
                           PlanPasteStep("A:PROG.SCR", "A", false)};
    const PasteResult result = PasteThroughLocalCopies(
        tool_, dir_.filePath("copies"), steps, "A",
        [](const ConflictQuestion& question) {
            ADD_FAILURE() << "asked: " << question.text.toStdString();
            return ConflictReply{};
        },
        [](int) {});
    EXPECT_TRUE(result.failures.isEmpty());
    EXPECT_EQ(result.done, 2);
    QStringList names = ListPartitionFiles(tool_, "A", nullptr);
    names.sort();
    EXPECT_EQ(names, (QStringList{"PROG.$$$", "PROG.BAS", "PROG.SCR", "PROG1.$$$", "PROG2.$$$"}));
    EXPECT_EQ(contentOf("PROG.$$$"), "older copy");
    EXPECT_EQ(contentOf("PROG1.$$$"), "basic");
    EXPECT_EQ(contentOf("PROG2.$$$"), "screen");
}

} // namespace

#include "file_getter.h"
#include "transfer_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A fake disk tool whose `get` copies <medium>/<file> into the folder it is
// given, or complains on standard error when <medium>/<file>.err exists. It
// logs its arguments, one a line.
class FileGetterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkdir(QStringLiteral("medium"));
        QDir(dir.path()).mkdir(QStringLiteral("dest"));
        tool = at(QStringLiteral("3E.EXE"));
        Write(tool, "#!/bin/sh\n"
                    "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.log\"\n"
                    "file=\"${3#*:}\"\n"
                    "if [ -f \"$1/$file.err\" ]; then cat \"$1/$file.err\" >&2; exit 1; fi\n"
                    "if [ -f \"$1/$file\" ]; then cp \"$1/$file\" \"$4$file\"; fi\n");
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString at(const QString& name) const { return QDir(dir.path()).filePath(name); }
    ToolRun run() const
    {
        return {tool, at(QStringLiteral("medium")), at(QStringLiteral("3E.OUT")), at(QStringLiteral("3E.ERR"))};
    }

    QTemporaryDir dir;
    QString tool;
};

} // namespace

TEST_F(FileGetterTest, GetsIntoItsOwnFolderAndJudgesEachRun)
{
    Write(at(QStringLiteral("medium/RUN.BAS")), "program");
    Write(at(QStringLiteral("medium/BAD.BIN.err")), "bad sector\r\nat 12\r\n");
    // The user's own RUN.BAS and a file left by an earlier run must not make
    // a failed get look like a success.
    Write(at(QStringLiteral("dest/GONE.BIN")), "user's");
    FileGetter getter(run(), at(QStringLiteral("dest")));
    EXPECT_TRUE(getter.folder().startsWith(at(QStringLiteral("dest/.3e-harnwick-"))));

    const GotFile got = getter.get(QStringLiteral("GAMES"), QStringLiteral("RUN.BAS"));
    ASSERT_TRUE(got.ok()) << got.error.toStdString();
    EXPECT_EQ(got.path, QDir(getter.folder()).filePath(QStringLiteral("RUN.BAS")));
    EXPECT_EQ(Contents(got.path), "program");
    EXPECT_EQ(Contents(at(QStringLiteral("args.log"))),
              (at(QStringLiteral("medium")) + "\nget\nGAMES:RUN.BAS\n" + getter.folder() + "/\n").toUtf8());

    const GotFile bad = getter.get(QStringLiteral("GAMES"), QStringLiteral("BAD.BIN"));
    EXPECT_FALSE(bad.ok());
    EXPECT_EQ(bad.error.toStdString(), "Fatal Error: bad sector at 12");

    const GotFile gone = getter.get(QStringLiteral("GAMES"), QStringLiteral("GONE.BIN"));
    EXPECT_EQ(gone.error.toStdString(), "the disk tool wrote no file");

    // A staged file of the same name from before does not pass for a new get.
    Write(QDir(getter.folder()).filePath(QStringLiteral("GONE.BIN")), "stale");
    EXPECT_FALSE(getter.get(QStringLiteral("GAMES"), QStringLiteral("GONE.BIN")).ok());
    EXPECT_EQ(Contents(at(QStringLiteral("dest/GONE.BIN"))), "user's");
}

TEST_F(FileGetterTest, StagingFolderGoesWithTheGetterAndAMissingParentIsReported)
{
    QString staging;
    {
        FileGetter getter(run(), at(QStringLiteral("dest")));
        staging = getter.folder();
        ASSERT_TRUE(getter.get(QStringLiteral("P"), QStringLiteral("X")).error.size() > 0);
    }
    EXPECT_FALSE(QFileInfo::exists(staging));
    EXPECT_THROW(FileGetter(run(), at(QStringLiteral("no/such/folder"))), TransferError);
}

TEST_F(FileGetterTest, MoveReplacingReplacesTheTargetInOneStep)
{
    Write(at(QStringLiteral("a")), "new");
    Write(at(QStringLiteral("dest/a")), "old");
    EXPECT_TRUE(MoveReplacing(at(QStringLiteral("a")), at(QStringLiteral("dest/a"))).isEmpty());
    EXPECT_EQ(Contents(at(QStringLiteral("dest/a"))), "new");
    EXPECT_FALSE(QFileInfo::exists(at(QStringLiteral("a"))));
    EXPECT_TRUE(MoveReplacing(at(QStringLiteral("a")), at(QStringLiteral("dest/b")))
                    .startsWith(QStringLiteral("cannot move it to ")));
}

TEST(FolderNames, TrailingSeparatorAndPartitionFolders)
{
    const std::pair<const char*, const char*> folders[] = {
        {"/home/u/out/", "/home/u/out"}, {"/home/u/out", "/home/u/out"}, {"out//", "out/"}, {"/", "/"}, {"", ""}};
    for (const auto& [given, expected] : folders)
        EXPECT_EQ(WithoutTrailingSeparator(QString::fromLatin1(given)).toStdString(), expected) << given;

    const std::pair<const char*, const char*> partitions[] = {
        {"GAMES", "GAMES"}, {"My Disk ", "My Disk "}, {"a/b", "a_b"}, {"..", "__"}, {".", "_"}, {"", "_"}};
    for (const auto& [name, folder] : partitions)
        EXPECT_EQ(PartitionFolderName(QString::fromLatin1(name)).toStdString(), folder) << name;
}

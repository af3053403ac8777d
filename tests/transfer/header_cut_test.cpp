#include "header_cut.h"
#include "transfer_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Pattern(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

class HeaderCutTest : public ::testing::Test
{
protected:
    QString put(const QString& name, const QByteArray& bytes) const
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QByteArray contents(const QString& name) const
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }

    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(HeaderCutTest, KeepsEverythingAfterTheFirst128Bytes)
{
    // Exactly a header, one byte more, and sizes that fill and cross the buffer.
    for (qint64 size : {128, 129, 128 + 16000, 128 + 40001}) {
        const QByteArray bytes = Pattern(size);
        CutPlus3DosHeader(put("PROG.BAS", bytes));
        EXPECT_EQ(contents("PROG.BAS"), bytes.mid(128)) << size;
        EXPECT_EQ(files(), QStringList{"PROG.BAS"}) << size;
    }
}

TEST_F(HeaderCutTest, FileShorterThanAHeaderIsReportedAndLeftAsItIs)
{
    for (qint64 size : {0, 1, 127}) {
        const QByteArray bytes = Pattern(size);
        EXPECT_THROW(CutPlus3DosHeader(put("TINY", bytes)), TransferError) << size;
        EXPECT_EQ(contents("TINY"), bytes);
        EXPECT_EQ(files(), QStringList{"TINY"});
    }
}

TEST_F(HeaderCutTest, UsersOwnOutTmpIsLeftUntouched)
{
    const QByteArray users = "the user's own file";
    put("OUT.TMP", users);
    put("out.tmp", users);
    CutPlus3DosHeader(put("GAME", Pattern(1000)));
    EXPECT_EQ(contents("GAME"), Pattern(1000).mid(128));
    EXPECT_EQ(contents("OUT.TMP"), users);
    EXPECT_EQ(contents("out.tmp"), users);
    EXPECT_EQ(files(), (QStringList{"GAME", "OUT.TMP", "out.tmp"}));
}

TEST_F(HeaderCutTest, MissingFileIsReported)
{
    try {
        CutPlus3DosHeader(dir.filePath("GONE"));
        FAIL() << "no error";
    } catch (const TransferError& e) {
        EXPECT_TRUE(e.message().contains("GONE")) << e.message().toStdString();
    }
    EXPECT_TRUE(files().isEmpty());
}

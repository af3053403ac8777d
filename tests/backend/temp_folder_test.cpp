#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "temp_folder.h"

TEST(TempFolder, PrivateFolderLiesInsideTempAndIsNotTempItself)
{
    QTemporaryDir userTemp;
    ASSERT_TRUE(userTemp.isValid());
    const QByteArray saved = qgetenv("TEMP");
    qputenv("TEMP", (userTemp.path() + "/").toLocal8Bit());

    EXPECT_EQ(TempBaseFolder(), userTemp.path());
    const QString folder = PrivateTempFolder();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(folder).absolutePath(), QFileInfo(userTemp.path()).absoluteFilePath());
    EXPECT_NE(QDir(folder).absolutePath(), QDir(userTemp.path()).absolutePath());
    EXPECT_EQ(PrivateTempFolder(), folder) << "one folder for the whole run";
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFileInfo(folder).permissions() & (owner | others), owner)
        << "nobody else may read it or plant files in it";
    EXPECT_EQ(ToolOutputFolder(), folder + "/tool-output");
    EXPECT_TRUE(QFileInfo(ToolOutputFolder()).isDir());

    qputenv("TEMP", saved);
}

#include "file_getter.h"

#include <gtest/gtest.h>

TEST(FolderNames, TrailingSeparatorAndPartitionSubFolders)
{
    const std::pair<const char*, const char*> folders[] = {
        {"/home/u/out/", "/home/u/out"}, {"/home/u/out", "/home/u/out"}, {"out//", "out/"}, {"/", "/"}};
    for (const auto& [given, expected] : folders)
        EXPECT_EQ(WithoutTrailingSeparator(QString::fromLatin1(given)).toStdString(), expected) << given;

    const std::pair<const char*, const char*> partitions[] = {
        {"GAMES", "GAMES"}, {"My Disk ", "My Disk "}, {"a/b", "a_b"}, {"..", "__"}, {".", ""}, {"", ""}};
    for (const auto& [name, folder] : partitions)
        EXPECT_EQ(PartitionFolderName(QString::fromLatin1(name)).toStdString(), folder) << name;
}

#include "file_getter.h"

#include <gtest/gtest.h>

// One trailing separator is checked through the commands; here the rest.
TEST(FolderNames, RootAndPartitionSubFolders)
{
    EXPECT_EQ(WithoutTrailingSeparator(QStringLiteral("/")).toStdString(), "/");
    const std::pair<const char*, const char*> partitions[] = {
        {"GAMES", "GAMES"}, {"My Disk ", "My Disk "},
        {"a/b", "a_b"},     {"..", "__"},
        {".", ""},          {"", ""}};
    for (const auto& [name, folder] : partitions)
        EXPECT_EQ(PartitionFolderName(QString::fromLatin1(name)).toStdString(), folder) << name;
}

#include <gtest/gtest.h>

#include "tree_search.h"

#include <QTreeWidget>

namespace {

// A medium node with partitions under it, as the partition tree holds them.
class TreeSearchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        medium_ = new QTreeWidgetItem(&tree_, QStringList{"/img/disk.hdf"});
        for (const char* name : {"PLUSIDEDOS", "GAMES", "Work", "games"})
            new QTreeWidgetItem(medium_, QStringList{QString::fromLatin1(name)});
        second_ = new QTreeWidgetItem(&tree_, QStringList{"/img/other.hdf"});
        new QTreeWidgetItem(second_, QStringList{"TOOLS"});
    }

    QTreeWidget tree_;
    QTreeWidgetItem* medium_ = nullptr;
    QTreeWidgetItem* second_ = nullptr;
};

TEST_F(TreeSearchTest, FindsFirstNodeInPreOrderIgnoringCase)
{
    EXPECT_EQ(FindTreeNodeByText(&tree_, nullptr, "games"), medium_->child(1));
    EXPECT_EQ(FindTreeNodeByText(&tree_, nullptr, "WORK"), medium_->child(2));
    EXPECT_EQ(FindTreeNodeByText(&tree_, nullptr, "/IMG/DISK.HDF"), medium_);
    EXPECT_EQ(FindTreeNodeByText(&tree_, nullptr, "tools"), second_->child(0));
    EXPECT_EQ(FindTreeNodeByText(&tree_, nullptr, "GAME"), nullptr);
    EXPECT_EQ(FindTreeNodeByText(&tree_, nullptr, ""), nullptr);
}

TEST_F(TreeSearchTest, StartNodeCoversItsFollowingSiblingsOnly)
{
    EXPECT_EQ(FindTreeNodeByText(&tree_, medium_->child(2), "GAMES"), medium_->child(3));
    // The parent's later siblings are not part of the search.
    EXPECT_EQ(FindTreeNodeByText(&tree_, medium_->child(0), "TOOLS"), nullptr);
    EXPECT_EQ(FindTreeNodeByText(&tree_, second_, "tools"), second_->child(0));
    QTreeWidget empty;
    EXPECT_EQ(FindTreeNodeByText(&empty, nullptr, "x"), nullptr);
}

TEST_F(TreeSearchTest, ComparesWholeTexts)
{
    // A medium path of the length usual on Linux is found by its whole text,
    // and a text that only begins the same is no match.
    const QString path =
        QStringLiteral("/home/someone/projects/spectrum/media/disk-images/games.hdf");
    ASSERT_GT(path.size(), 49);
    QTreeWidgetItem* node = new QTreeWidgetItem(&tree_, QStringList{path});
    EXPECT_EQ(FindTreeNodeByText(&tree_, nullptr, path.toUpper()), node);
    EXPECT_EQ(FindTreeNodeByText(&tree_, nullptr, path.left(49)), nullptr);
    EXPECT_EQ(FindTreeNodeByText(&tree_, nullptr, path + u'x'), nullptr);
}

TEST(TextEqualsIgnoringCase, BeyondAscii)
{
    EXPECT_TRUE(
        TextEqualsIgnoringCase(QStringLiteral("\u00C9T\u00C9"), QStringLiteral("\u00E9t\u00E9")));
    EXPECT_FALSE(TextEqualsIgnoringCase(QStringLiteral("ete"), QStringLiteral("\u00E9t\u00E9")));
}

} // namespace

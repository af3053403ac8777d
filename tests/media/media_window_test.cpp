// The media commands in the main window, with the real disk tool: each test
// drives the dialogs through the scripted prompts and checks what the tree
// shows afterwards.
#include "gui_fixture.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidgetItem>

namespace {

class MediaWindowTest : public GuiTest
{
protected:
    // Queues the new-image dialog: the file chosen with Browse, a 32 MB card
    // and a first partition named `partition` (none when empty).
    void answerNewImage(const QString& image, const QString& partition)
    {
        prompts->answerDialog([partition](QDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("browse"))->click();
            dialog.findChild<QCheckBox*>(QStringLiteral("partition"))->setChecked(!partition.isEmpty());
            if (!partition.isEmpty())
                dialog.findChild<QLineEdit*>(QStringLiteral("partitionName"))->setText(partition);
            return int(QDialog::Accepted);
        });
        prompts->answerSaveFile(image);
    }
};

TEST_F(MediaWindowTest, NewImageOpensWithItsFirstPartitionSelected)
{
    makeForm();
    const QString image = path(QStringLiteral("card.hdf"));
    answerNewImage(image, QStringLiteral("GAMES"));
    TriggerEntry(*form, QStringLiteral("NewHardDiskImage1"));

    EXPECT_TRUE(prompts->errors().isEmpty()) << prompts->errors().join('\n').toStdString();
    EXPECT_TRUE(prompts->allAnswersUsed());
    EXPECT_EQ(treeTexts().mid(0, 3), (QStringList{image, "PLUSIDEDOS", "GAMES"}));
    EXPECT_EQ(form->SelectedNode(), treeNode(QStringLiteral("GAMES")));
    EXPECT_EQ(form->CurrentMedium, image);
    EXPECT_TRUE(form->RecentFiles().contains(image));

    // The same file again: the tool refuses to replace it, the refusal is
    // shown, and the image keeps its partition.
    answerNewImage(image, QString());
    TriggerEntry(*form, QStringLiteral("NewHardDiskImage1"));
    ASSERT_EQ(prompts->errors().size(), 1);
    EXPECT_TRUE(prompts->errors().first().contains(QStringLiteral("already exists")))
        << prompts->errors().first().toStdString();
    EXPECT_NE(treeNode(QStringLiteral("GAMES")), nullptr);
}

} // namespace

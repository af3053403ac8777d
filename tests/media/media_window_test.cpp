// The media commands in the main window, with the real disk tool: each test
// drives the dialogs through the scripted prompts and checks what the tree
// shows afterwards.
#include "form_new_partition.h"
#include "gui_fixture.h"
#include "partition_texts.h"
#include "test_paths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
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

// A medium with GAMES (mapped to drive C, one file) and free space behind
// it, open in a new window.
TEST_F(MediaWindowTest, NewPartitionIsSelectedAndDeletePartitionRemovesIt)
{
    const QString image = makeImage(QStringLiteral("m.hdf"), {QStringLiteral("GAMES")});
    runTool({image, QStringLiteral("drive"), QStringLiteral("GAMES"), QStringLiteral("C")});
    QFile host(path(QStringLiteral("HELLO.TXT")));
    ASSERT_TRUE(host.open(QIODevice::WriteOnly));
    host.write("hello\n");
    host.close();
    runTool({image, QStringLiteral("put"), host.fileName(), QStringLiteral("GAMES:HELLO.TXT")});
    makeForm().OpenMedium(image);

    // The dialog is told the names and letters in use: C is not offered,
    // and "games" is refused.
    QStringList offered;
    QString clash;
    prompts->answerDialog([&](QDialog& dialog) {
        auto* drive = dialog.findChild<QComboBox*>(QStringLiteral("drive"));
        for (int i = 0; i < drive->count(); ++i)
            offered << drive->itemText(i);
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("name"));
        name->setText(QStringLiteral("games"));
        clash = static_cast<TFormNewPartition&>(dialog).problem();
        name->setText(QStringLiteral("WORK"));
        dialog.findChild<QSpinBox*>(QStringLiteral("size"))->setValue(1);
        drive->setCurrentText(QStringLiteral("D:"));
        return int(QDialog::Accepted);
    });
    TriggerEntry(*form, QStringLiteral("Partition1/NewPartition1"));
    EXPECT_TRUE(prompts->errors().isEmpty()) << prompts->errors().join('\n').toStdString();
    EXPECT_TRUE(offered.contains(QStringLiteral("D:")));
    EXPECT_FALSE(offered.contains(QStringLiteral("C:")));
    EXPECT_FALSE(clash.isEmpty());
    ASSERT_NE(treeNode(QStringLiteral("WORK")), nullptr);
    EXPECT_EQ(form->SelectedNode(), treeNode(QStringLiteral("WORK")));

    // Delete GAMES from the tree's pop-up: the question names it and its
    // file; No keeps it, Yes removes it.
    form->SelectNode(treeNode(QStringLiteral("GAMES")));
    prompts->answerConfirm(Prompts::Answer::No).answerConfirm(Prompts::Answer::Yes);
    TriggerEntry(*form, QStringLiteral("PopupMenu1/DeletePartition1"));
    ASSERT_NE(treeNode(QStringLiteral("GAMES")), nullptr);
    form->SelectNode(treeNode(QStringLiteral("GAMES")));
    TriggerEntry(*form, QStringLiteral("PopupMenu1/DeletePartition1"));
    ASSERT_FALSE(prompts->records().isEmpty());
    EXPECT_EQ(prompts->records().last().text,
              QStringLiteral("Delete partition GAMES? It holds 1 file, which is lost. Its space becomes free space."));
    EXPECT_TRUE(prompts->errors().isEmpty()) << prompts->errors().join('\n').toStdString();
    EXPECT_EQ(treeNode(QStringLiteral("GAMES")), nullptr);
    EXPECT_NE(treeNode(QStringLiteral("WORK")), nullptr);
}

TEST_F(MediaWindowTest, RenameDriveLetterAndEmptyKeepThePartitionSelected)
{
    const QString image = makeImage(QStringLiteral("m.hdf"), {QStringLiteral("GAMES"), QStringLiteral("TOOLS")});
    runTool({image, QStringLiteral("drive"), QStringLiteral("TOOLS"), QStringLiteral("D")});
    QFile host(path(QStringLiteral("HELLO.TXT")));
    ASSERT_TRUE(host.open(QIODevice::WriteOnly));
    host.write("hello\n");
    host.close();
    for (const char* name : {"GAMES:ONE.TXT", "GAMES:TWO.TXT"})
        runTool({image, QStringLiteral("put"), host.fileName(), QLatin1String(name)});
    makeForm().OpenMedium(image);

    // A name in use (in another case) and a mapped letter are refused.
    form->SelectNode(treeNode(QStringLiteral("GAMES")));
    prompts->answerInput(QStringLiteral("tools")).answerInput(QStringLiteral("d"));
    TriggerEntry(*form, QStringLiteral("RenamePartition1"));
    TriggerEntry(*form, QStringLiteral("DriveLetter1"));
    EXPECT_EQ(prompts->errors().size(), 2);
    prompts->clearRecords();

    prompts->answerInput(QStringLiteral("ARCADE"));
    TriggerEntry(*form, QStringLiteral("RenamePartition1"));
    EXPECT_EQ(treeNode(QStringLiteral("GAMES")), nullptr);
    ASSERT_NE(treeNode(QStringLiteral("ARCADE")), nullptr);
    EXPECT_EQ(form->SelectedNode(), treeNode(QStringLiteral("ARCADE")));

    prompts->answerInput(QStringLiteral("e"));
    TriggerEntry(*form, QStringLiteral("DriveLetter1"));
    QProcess table;
    table.start(QString::fromUtf8(testpaths::kToolExe), {image, QStringLiteral("showptable"), QStringLiteral("-backend")});
    ASSERT_TRUE(table.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(table.readAllStandardOutput()).contains(QStringLiteral("ARCADE,3,E:")));

    EXPECT_EQ(form->RowCount(), 2);
    prompts->answerConfirm(Prompts::Answer::Yes);
    TriggerEntry(*form, QStringLiteral("EmptyPartition1"));
    EXPECT_EQ(prompts->records().last().text, QStringLiteral("Delete all 2 files of partition ARCADE?"));
    EXPECT_TRUE(prompts->errors().isEmpty()) << prompts->errors().join('\n').toStdString();
    EXPECT_EQ(form->SelectedNode(), treeNode(QStringLiteral("ARCADE")));
    EXPECT_EQ(form->RowCount(), 0);
}

TEST_F(MediaWindowTest, PartitionCommandsRefuseTheTableTheSystemPartitionAndFreeSpace)
{
    const QString image = makeImage(QStringLiteral("m.hdf"), {QStringLiteral("GAMES")});
    makeForm().OpenMedium(image);
    const QStringList before = treeTexts();
    const struct
    {
        QString node;
        const char* refusal;
    } cases[] = {{image, "partition table"}, {"PLUSIDEDOS", "system partition"}, {kFreeSpaceCaption, "Free space"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal);
        prompts->clearRecords();
        form->SelectNode(treeNode(c.node));
        TriggerEntry(*form, QStringLiteral("DeletePartition1"));
        ASSERT_EQ(prompts->errors().size(), 1);
        EXPECT_TRUE(prompts->errors().first().contains(QLatin1String(c.refusal)))
            << prompts->errors().first().toStdString();
        EXPECT_EQ(treeTexts(), before);
    }
}

TEST_F(MediaWindowTest, CheckMediumReportsACleanImage)
{
    const QString image = makeImage(QStringLiteral("m.hdf"), {QStringLiteral("GAMES")});
    makeForm().OpenMedium(image);
    QString report;
    prompts->answerDialog([&](QDialog& dialog) {
        report = dialog.findChild<QPlainTextEdit*>(QStringLiteral("report"))->toPlainText();
        return int(QDialog::Rejected);
    });
    TriggerEntry(*form, QStringLiteral("CheckMedium1"));
    EXPECT_TRUE(report.startsWith(QStringLiteral("No faults found."))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("GAMES"))) << report.toStdString();
}

} // namespace

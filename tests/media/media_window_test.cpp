// The media commands in the main window, with the real disk tool: each test
// drives the dialogs through the scripted prompts and checks what the tree
// shows afterwards.
#include "form_new_partition.h"
#include "gui_fixture.h"
#include "partition_texts.h"
#include "test_paths.h"
#include "tool_command.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidgetItem>

namespace {

class MediaWindowTest : public GuiTest
{
protected:
    // A window on screen (the in-place editor needs one), its start-up done.
    TFormMain& showForm()
    {
        makeForm().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QCoreApplication::processEvents();
        return *form;
    }
    // The editor commits after the key, and the rename runs after that: two
    // rounds of posted events; then the closed editor goes.
    static void endEdit()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
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

// The report window on a sound medium and on one whose directory was
// damaged behind the tool's back: the faults in words under their
// partition, the others sound.
TEST_F(MediaWindowTest, CheckMediumReportsEachFaultInWordsPerPartition)
{
    struct Case
    {
        const char* name;
        bool damaged;
        QStringList lines; // in this order in the report
    };
    const Case cases[] = {
        {"clean",
         false,
         {"No faults found.", "Partition table", "GAMES", "    No faults found.", "TOOLS"}},
        {"damaged",
         true,
         {"1 fault found.", "Partition table", "GAMES",
          "    File ONE.TXT of user 0 (directory entry 0): record count 129 is over 128.", "TOOLS",
          "    No faults found."}},
    };
    QFile host(path(QStringLiteral("HELLO.TXT")));
    ASSERT_TRUE(host.open(QIODevice::WriteOnly));
    host.write("hello\n");
    host.close();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A raw image: the partition's first sector is its place in the file.
        const QString image = path(QLatin1String(c.name) + QStringLiteral(".raw"));
        runTool({image, QStringLiteral("create"), QStringLiteral("--size"), QStringLiteral("16M")});
        for (const char* name : {"GAMES", "TOOLS"})
            runTool({image, QStringLiteral("newpart"), QLatin1String(name), QStringLiteral("1M")});
        for (const char* name : {"GAMES:ONE.TXT", "GAMES:TWO.TXT"})
            runTool({image, QStringLiteral("put"), host.fileName(), QLatin1String(name)});
        if (c.damaged) {
            // The record count of ONE.TXT's directory entry made 129.
            QProcess table;
            table.start(QString::fromUtf8(testpaths::kToolExe),
                        {image, QStringLiteral("showptable"), QStringLiteral("-backend")});
            ASSERT_TRUE(table.waitForFinished(30000));
            const QStringList games =
                QString::fromUtf8(table.readAllStandardOutput()).split('\n').value(3).split(',');
            ASSERT_EQ(games.value(0), QStringLiteral("GAMES"));
            QFile raw(image);
            ASSERT_TRUE(raw.open(QIODevice::ReadWrite));
            ASSERT_TRUE(raw.seek(games.value(7).toLongLong() * 512 + 15));
            raw.write(QByteArray(1, char(0x81)));
        }
        makeForm().OpenMedium(image);
        QString report;
        prompts->answerDialog([&](QDialog& dialog) {
            report = dialog.findChild<QPlainTextEdit*>(QStringLiteral("report"))->toPlainText();
            return int(QDialog::Rejected);
        });
        TriggerEntry(*form, QStringLiteral("CheckMedium1"));
        EXPECT_TRUE(report.startsWith(c.lines.first())) << report.toStdString();
        qsizetype at = 0;
        for (const QString& line : c.lines) {
            at = report.indexOf(line, at);
            EXPECT_GE(at, 0) << line.toStdString() << " in\n" << report.toStdString();
            if (at < 0)
                break;
        }
    }
}

// Every entry of the Partition menu (the tree's pop-up holds the same
// actions) and New hard disk image refuse while another command runs, and
// so does a rename in place whose edit ends meanwhile: nothing is asked,
// nothing runs, the medium stays as it was.
TEST_F(MediaWindowTest, MediaEntriesRefuseWhileAnotherCommandRuns)
{
    const QString image = makeImage(QStringLiteral("m.hdf"), {QStringLiteral("GAMES")});
    showForm().OpenMedium(image);
    form->SelectNode(treeNode(QStringLiteral("GAMES")));
    const QStringList tree = treeTexts();
    const auto bytes = [&image] {
        QFile file(image);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytes();
    const QStringList refusal{
        QStringLiteral("\"Get selected file(s)\" is still running. Try again when it has ended.")};

    QStringList entries{QStringLiteral("NewHardDiskImage1")};
    for (QAction* action : form->findChild<QMenu*>(QStringLiteral("Partition1"))->actions())
        if (!action->isSeparator())
            entries << QStringLiteral("Partition1/") + action->objectName();
    ASSERT_EQ(entries.size(), 7);
    // An in-place edit begun before the other command starts.
    form->TreeView()->setFocus();
    QTest::keyClick(form->TreeView(), Qt::Key_F2);
    auto* editor = form->TreeView()->findChild<QLineEdit*>(QStringLiteral("TreeCaptionEditor"));
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("ARCADE"));

    ToolCommandScope running(QStringLiteral("Get selected file(s)"));
    for (const QString& entry : entries) {
        SCOPED_TRACE(entry.toStdString());
        prompts->clearRecords();
        TriggerEntry(*form, entry);
        EXPECT_EQ(prompts->errors(), refusal);
        EXPECT_EQ(prompts->records().size(), 1);
    }
    prompts->clearRecords();
    QTest::keyClick(editor, Qt::Key_Return);
    endEdit();
    EXPECT_EQ(prompts->errors(), refusal);
    EXPECT_EQ(treeTexts(), tree);
    EXPECT_EQ(bytes(), before);
}

// F2 renames a partition node in place through the tool: the node
// re-read and selected under its new name; the menu entry's refusals for
// the table, the system partition, free space and bad names; Escape
// changes nothing.
TEST_F(MediaWindowTest, PartitionNodeIsRenamedInPlace)
{
    const QString image =
        makeImage(QStringLiteral("m.hdf"), {QStringLiteral("GAMES"), QStringLiteral("TOOLS")});
    showForm().OpenMedium(image);
    const auto editNode = [&](const QString& node) -> QLineEdit* {
        form->SelectNode(treeNode(node));
        form->TreeView()->setFocus();
        QTest::keyClick(form->TreeView(), Qt::Key_F2);
        return form->TreeView()->findChild<QLineEdit*>(QStringLiteral("TreeCaptionEditor"));
    };
    struct Case
    {
        QString node;
        QString typed;      // null: the edit must not open
        int key;            // what ends the edit
        QString refusal;    // part of the one error shown; empty for none
        QString afterwards; // the selected node's caption
    };
    const Case cases[] = {
        {image, {}, 0, "partition table", image},
        {"PLUSIDEDOS", {}, 0, "system partition", "PLUSIDEDOS"},
        {kFreeSpaceCaption, {}, 0, "Free space", kFreeSpaceCaption},
        {"GAMES", "tools", Qt::Key_Return, "already a partition called TOOLS", "GAMES"},
        {"GAMES", "", Qt::Key_Return, "Type a name", "GAMES"},
        {"GAMES", "GONE", Qt::Key_Escape, "", "GAMES"},
        {"GAMES", "Arcade Classics", Qt::Key_Return, "", "Arcade Classics"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.node + " " + c.typed).toStdString());
        prompts->clearRecords();
        QLineEdit* editor = editNode(c.node);
        if (c.typed.isNull()) {
            EXPECT_EQ(editor, nullptr);
        } else {
            ASSERT_NE(editor, nullptr);
            editor->setText(c.typed);
            QTest::keyClick(editor, Qt::Key(c.key));
            endEdit();
        }
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(prompts->errors().isEmpty()) << prompts->errors().join('\n').toStdString();
        } else {
            ASSERT_EQ(prompts->errors().size(), 1);
            EXPECT_TRUE(prompts->errors().first().contains(c.refusal))
                << prompts->errors().first().toStdString();
        }
        ASSERT_NE(form->SelectedNode(), nullptr);
        EXPECT_EQ(form->SelectedNode()->text(0), c.afterwards);
    }
    EXPECT_EQ(treeNode(QStringLiteral("GAMES")), nullptr);
    QProcess table;
    table.start(QString::fromUtf8(testpaths::kToolExe),
                {image, QStringLiteral("showptable"), QStringLiteral("-backend")});
    ASSERT_TRUE(table.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(table.readAllStandardOutput())
                    .contains(QStringLiteral("\nArcade Classics,3,")));
}

} // namespace

// Deleting files and renaming a file in place, against the real tool behind
// the logging wrapper.
#include "change_fixture.h"

#include "file_list_model.h"
#include "temp_folder.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace {

using DeleteRenameTest = ChangeTest;

const QList<QByteArray> kFive{"F1", "1", "F2", "22", "F3", "333", "F4", "4444", "F5", "55555"};

TEST_F(DeleteRenameTest, SelectedRowsAreDeletedInListOrderAfterOneConfirmation)
{
    openMedium({"ONE"}, kFive, "ONE");
    ASSERT_EQ(columnTexts(FileListModel::ColName), (QStringList{"F1", "F2", "F3", "F4", "F5"}));
    for (Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Cancel}) {
        selectRows({0, 2, 3});
        const QString status = form->StatusPanel(2);
        prompts->answerConfirm(answer);
        form->Transfer().deleteSelectedFiles();
        EXPECT_TRUE(runs().isEmpty());
        EXPECT_EQ(form->StatusPanel(2), status);
    }
    prompts->answerConfirm(Prompts::Answer::Yes);
    form->Transfer().deleteSelectedFiles();
    EXPECT_EQ(prompts->records().last().text, "Are you sure you want to delete selected file(s)?");
    EXPECT_EQ(runs(), (QStringList{"del|ONE:F1|", "del|ONE:F3|", "del|ONE:F4|"}));
    EXPECT_EQ(filesIn("ONE"), (QStringList{"F2", "F5"}));
    EXPECT_EQ(columnTexts(FileListModel::ColName), (QStringList{"F2", "F5"}));

    // A failed delete is named, never "Delete completed", and the list is read again.
    failRuns("del|ONE:F5|");
    selectRows({0, 1});
    prompts->answerConfirm(Prompts::Answer::Yes);
    form->Transfer().deleteSelectedFiles();
    EXPECT_EQ(form->StatusPanel(2), "Delete failed, 1 of 2 not deleted: ONE:F5: refused: del");
    EXPECT_EQ(prompts->errors(),
              QStringList{"These files were not deleted:\r\nONE:F5: refused: del"});
    EXPECT_EQ(columnTexts(FileListModel::ColName), QStringList{"F5"});
}

TEST_F(DeleteRenameTest, TheChecksOfDeleteRenameCutCopyAndPasteComeInTheirOrder)
{
    openMedium({"ONE", "TWO"}, kFive, "TWO");
    for (auto command : {&TransferCommands::deleteSelectedFiles, &TransferCommands::renameCurrentFile,
                         &TransferCommands::cutFiles, &TransferCommands::copyFiles})
        (form->Transfer().*command)();
    selectPartition("ONE");
    form->Transfer().deleteSelectedFiles();
    form->Transfer().cutFiles();
    selectRows({0, 1});
    form->Transfer().renameCurrentFile();
    form->SelectNode(form->TreeView()->topLevelItem(0)); // the partition table
    selectRows({0});
    for (auto command : {&TransferCommands::renameCurrentFile, &TransferCommands::cutFiles,
                         &TransferCommands::copyFiles, &TransferCommands::pasteFiles,
                         &TransferCommands::deleteSelectedFiles})
        (form->Transfer().*command)();
    EXPECT_FALSE(form->ListViewEditing(0));
    EXPECT_EQ(prompts->errors(),
              (QStringList{"No files in partition.", "No file selected.", "No files in partition.",
                           "No files in partition.", "No file selected.", "No file selected.",
                           "Only one file can be renamed at a time.", "Invalid operation.",
                           "Invalid operation.", "Invalid operation.", "Invalid operation.",
                           "Invalid operation."}));
    EXPECT_TRUE(form->Transfer().FileClipboard.isEmpty());
    EXPECT_TRUE(runs().isEmpty());
}

TEST_F(DeleteRenameTest, RenamingStoresTheTrimmedNameAndKeepsTheTypedCaption)
{
    openMedium({"ONE"}, {"GAME", "game data", "OTHER", "o"}, "ONE");
    const QString temp = PrivateTempFolder();
    // typed, runs, caption afterwards, error box
    const std::tuple<const char*, QStringList, const char*, QStringList> cases[] = {
        {"   ", {}, "GAME", {}},
        {"game", {}, "GAME", {}},
        {"other", {}, "GAME", {"A file named other already exists."}},
        {" GAME2 ",
         {"get|ONE:GAME|" + temp + "/|", "put|" + temp + "/GAME|ONE:GAME2|", "del|ONE:GAME|"},
         " GAME2 ",
         {}},
    };
    for (const auto& [typed, expectedRuns, caption, errors] : cases) {
        SCOPED_TRACE(typed);
        clearRuns();
        prompts->clearRecords();
        ASSERT_TRUE(form->ListViewEditing(0));
        form->ListViewEdited(0, typed);
        EXPECT_EQ(runs(), expectedRuns);
        EXPECT_EQ(form->ListModel().caption(0), caption);
        EXPECT_EQ(prompts->errors(), errors);
    }
    EXPECT_FALSE(QFileInfo::exists(temp + "/GAME")); // the local copy is gone
    EXPECT_EQ(filesIn("ONE"), (QStringList{"GAME2", "OTHER"}));
    EXPECT_EQ(contentOf("ONE", "GAME2").right(9), "game data");
    EXPECT_EQ(form->ListModel().cell(0, FileListModel::ColRealSize).trimmed(), "9");

    // F2 (the main menu's key) edits the caption in place; Enter renames.
    selectRows({0});
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form->ListView()->currentView(), Qt::Key_F2);
    auto* editor = form->ListView()->currentView()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "NEWNAME");
    QTest::keyClick(editor, Qt::Key_Return);
    // The rename runs once the editor has closed; on a loaded machine that
    // takes longer than a fixed pause.
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->ListModel().caption(0) == "NEWNAME"; }, 5000));
    EXPECT_EQ(filesIn("ONE"), (QStringList{"NEWNAME", "OTHER"}));
    EXPECT_EQ(form->ListModel().caption(0), "NEWNAME");
    // The status bar names the selected file by its new name.
    EXPECT_EQ(form->StatusPanel(1), QString("NEWNAME"));
}

TEST_F(DeleteRenameTest, AFailedPutKeepsTheOldFile)
{
    openMedium({"ONE"}, {"GAME", "game data"}, "ONE");
    failRuns("put|*", true); // no error text, but no file either
    ASSERT_TRUE(form->ListViewEditing(0));
    form->ListViewEdited(0, "GAME2");
    EXPECT_EQ(form->StatusPanel(2),
              "Rename failed: GAME: Copy not confirmed, source kept: GAME2 is not listed in ONE");
    failRuns("put|*");
    failRuns({}, true);
    clearRuns();
    ASSERT_TRUE(form->ListViewEditing(0));
    form->ListViewEdited(0, "GAME2");
    EXPECT_EQ(runs().size(), 2); // get and the refused put: no delete
    EXPECT_EQ(filesIn("ONE"), QStringList{"GAME"});
    EXPECT_EQ(columnTexts(FileListModel::ColName), QStringList{"GAME"});
    EXPECT_EQ(form->StatusPanel(2), "Rename failed: GAME: Put failed: refused: put");
    EXPECT_EQ(prompts->errors().size(), 2);
}

} // namespace

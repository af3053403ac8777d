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
        form->Deleteselectedfiles2Click();
        EXPECT_TRUE(runs().isEmpty());
        EXPECT_EQ(form->StatusPanel(2), status);
    }
    prompts->answerConfirm(Prompts::Answer::Yes);
    form->Deleteselectedfiles2Click();
    EXPECT_EQ(prompts->records().last().text, "Are you sure you want to delete selected file(s)?");
    EXPECT_EQ(runs(), (QStringList{"del|ONE:F1|", "del|ONE:F3|", "del|ONE:F4|"}));
    EXPECT_EQ(filesIn("ONE"), (QStringList{"F2", "F5"}));
    EXPECT_EQ(columnTexts(FileListModel::ColName), (QStringList{"F2", "F5"}));

    // A failed delete is named, never "Delete completed", and the list is read again.
    failRuns("del|ONE:F5|");
    selectRows({0, 1});
    prompts->answerConfirm(Prompts::Answer::Yes);
    form->Deleteselectedfiles2Click();
    EXPECT_EQ(form->StatusPanel(2), "Delete failed, 1 of 2 not deleted: ONE:F5: refused: del");
    EXPECT_EQ(prompts->errors(),
              QStringList{"These files were not deleted:\r\nONE:F5: refused: del"});
    EXPECT_EQ(columnTexts(FileListModel::ColName), QStringList{"F5"});
}

TEST_F(DeleteRenameTest, TheChecksOfDeleteAndRenameComeInTheirOrder)
{
    openMedium({"ONE", "TWO"}, kFive, "TWO");
    form->Deleteselectedfiles2Click();
    form->Rname1Click();
    selectPartition("ONE");
    form->Deleteselectedfiles2Click();
    selectRows({0, 1});
    form->Rname1Click();
    form->SelectNode(form->TreeView()->topLevelItem(0)); // the partition table
    selectRows({0});
    form->Rname1Click();
    EXPECT_FALSE(form->ListViewEditing(0));
    EXPECT_EQ(prompts->errors(),
              (QStringList{"No files in partition.", "No file selected.", "No file selected.",
                           "Only one file can be renamed at a time.", "Invalid operation."}));
    EXPECT_TRUE(runs().isEmpty());
}

TEST_F(DeleteRenameTest, RenamingStoresTheTrimmedNameAndKeepsTheTypedCaption)
{
    openMedium({"ONE"}, {"GAME", "game data", "OTHER", "o"}, "ONE");
    const QString temp = PrivateTempFolder();
    struct Case
    {
        const char* typed;
        QStringList runs;
        const char* caption;
        const char* error;
    };
    const Case cases[] = {
        {"   ", {}, "GAME", nullptr},
        {"game", {}, "GAME", nullptr},
        {"other", {}, "GAME", "A file named other already exists."},
        {" GAME2 ",
         {"get|ONE:GAME|" + temp + "/|", "put|" + temp + "/GAME|ONE:GAME2|", "del|ONE:GAME|"},
         " GAME2 ",
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        clearRuns();
        prompts->clearRecords();
        ASSERT_TRUE(form->ListViewEditing(0));
        form->ListViewEdited(0, c.typed);
        EXPECT_EQ(runs(), c.runs);
        EXPECT_EQ(form->ListModel().caption(0), c.caption);
        EXPECT_EQ(prompts->errors(), c.error ? QStringList{c.error} : QStringList());
    }
    EXPECT_FALSE(QFileInfo::exists(temp + "/GAME")); // the local copy is gone
    QStringList stored = filesIn("ONE");
    stored.sort();
    EXPECT_EQ(stored, (QStringList{"GAME2", "OTHER"}));
    EXPECT_EQ(contentOf("ONE", "GAME2").right(9), "game data");
    EXPECT_EQ(form->ListModel().cell(0, FileListModel::ColRealSize).trimmed(), "9");
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
    EXPECT_FALSE(QFileInfo::exists(PrivateTempFolder() + "/GAME"));
}

TEST_F(DeleteRenameTest, F2EditsTheCaptionInPlaceAndEnterRenames)
{
    openMedium({"ONE"}, {"GAME", "x"}, "ONE");
    form->show();
    selectRows({0});
    QTest::keyClick(form->ListView()->currentView(), Qt::Key_F2); // the main menu's F2
    auto* editor = form->ListView()->currentView()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "NEWNAME");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(20); // the rename runs once the editor has closed
    EXPECT_EQ(filesIn("ONE"), QStringList{"NEWNAME"});
    EXPECT_EQ(form->ListModel().caption(0), "NEWNAME");
}

} // namespace

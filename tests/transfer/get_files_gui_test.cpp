// The "Get ..." commands of the main window against a fake disk tool: what
// lands in the destination, the tape written, progress, status texts,
// Escape, failures, and the dialogs.
#include "get_files_fixture.h"

#include "form_select_dest_dir.h"
#include "tape_listing.h"

#include <QAction>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using GetFilesTest = GetFilesFixture;

TEST_F(GetFilesTest, TwoOfFourSelectedFilesComeOutWithProgressAndStatus)
{
    showFiles({{"A.BAS", "Program", Data(300, 1), 10, 300},
               {"B.BIN", "Bytes", Data(6912, 2), 16384},
               {"C.BIN", "Headerless", Data(500, 3)},
               {"D.BIN", "Bytes", Data(1000, 4), 32768}});
    select({1, 3});
    // The folder is typed with a trailing separator.
    answerDestDir(dest + "/");
    QStringList seen;
    onBusyWindow([&](TFormWait& wait) {
        QObject::connect(wait.ProgressBar1, &QProgressBar::valueChanged, &wait,
                         [&](int value) { seen << QString::number(value) + "% " + form->StatusPanel(2); });
    });
    form->Saveselectedfiles2Click();

    EXPECT_EQ(seen, (QStringList{"50% Copying GAMES\\B.BIN to " + dest, "100% Copying GAMES\\D.BIN to " + dest}));
    EXPECT_EQ(destFiles(), (QStringList{"B.BIN", "D.BIN"}));
    EXPECT_EQ(contents(dest + "/B.BIN"), stored("B.BIN"));
    EXPECT_EQ(contents(dest + "/D.BIN"), stored("D.BIN"));
    EXPECT_EQ(form->StatusPanel(1), "");
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
    EXPECT_EQ(form->LastDestDir, dest + "/");
    // The tool gets the folder with one trailing separator.
    ASSERT_EQ(getCalls().size(), 2);
    EXPECT_TRUE(getCalls()[0].startsWith("GAMES:B.BIN|" + dest + "/.3e-harnwick-"));
    EXPECT_TRUE(getCalls()[0].endsWith("/|"));
    EXPECT_TRUE(prompts->errors().isEmpty());
    EXPECT_EQ(form->findChild<TFormWait*>(), nullptr);
}

TEST_F(GetFilesTest, WithoutHeaderCutsExactly128BytesAndLeavesHeaderlessAndUsersFilesAlone)
{
    showFiles({{"A.BAS", "Program", Data(300, 1), 10, 300},
               {"H.BIN", "Headerless", Data(200, 2)},
               {"E.BIN", "Bytes", QByteArray()}});
    write(dest + "/OUT.TMP", "mine");
    write(dest + "/A.BAS", "older copy");
    select({0, 1, 2});
    answerDestDir(dest);
    form->Getselectedfileswithoutheader1Click();

    EXPECT_EQ(contents(dest + "/A.BAS"), Data(300, 1));
    EXPECT_EQ(contents(dest + "/H.BIN"), Data(200, 2));
    EXPECT_EQ(contents(dest + "/E.BIN"), QByteArray());
    EXPECT_EQ(contents(dest + "/OUT.TMP"), "mine");
    EXPECT_EQ(destFiles(), (QStringList{"A.BAS", "E.BIN", "H.BIN", "OUT.TMP"}));
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
    EXPECT_FALSE(form->GetWithoutHeader);
}

TEST_F(GetFilesTest, IntoTapeWritesABlockPairPerFileAndTouchesNothingBesideTheTape)
{
    showFiles({{"A.BAS", "Program", Data(300, 1), 10, 300},
               {"SCREEN", "Bytes", Data(6912, 2), 16384},
               {"H.BIN", "Headerless", Data(200, 3)}});
    write(dest + "/A.BAS", "mine");
    select({0, 1, 2});
    const QString tape = dest + "/GAMES.TZX";
    prompts->answerSaveFile(tape);
    form->GetselectedfilesintoTAP1Click();

    ASSERT_EQ(prompts->fileRequests().size(), 1);
    const FileDialogRequest request = prompts->fileRequests().first();
    EXPECT_EQ(request.filter, "Zx Spectrum Tape Files (*.tap)|*.tap|Zx Spectrum TZX Files (*.tzx)|*.tzx|"
                              "All Files (*.*)|*.*");
    EXPECT_EQ(request.defaultSuffix, "tap");
    EXPECT_EQ(request.fileName, "*.tap");
    EXPECT_FALSE(request.confirmOverwrite);
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
    EXPECT_FALSE(form->GetWithoutHeader || form->GetIntoTape);
    EXPECT_EQ(destFiles(), (QStringList{"A.BAS", "GAMES.TZX"}));
    EXPECT_EQ(contents(dest + "/A.BAS"), "mine");

    // A second run appends to the tape: one signature, six more blocks.
    prompts->answerSaveFile(tape);
    form->GetselectedfilesintoTAP1Click();
    const TapeListing listing = ListTape(tape);
    ASSERT_TRUE(listing.accepted) << listing.text.toStdString();
    ASSERT_EQ(listing.blocks.size(), 12);
    const QList<QByteArray> names{"A.BAS     ", "SCREEN    ", "H.BIN     "};
    const QList<int> lengths{302, 6914, 202};
    for (int i = 0; i < 12; ++i) {
        const ListedBlock& block = listing.blocks[i];
        EXPECT_EQ(block.type, 0x10);
        EXPECT_TRUE(block.checksumPass) << i;
        if (i % 2 == 0)
            EXPECT_EQ(block.name, names[(i / 2) % 3]) << i;
        else
            EXPECT_EQ(block.length, lengths[(i / 2) % 3]) << i;
    }
    EXPECT_EQ(contents(tape).left(10), QByteArray("ZXTape!\x1a\x01\x14"));
    EXPECT_EQ(form->LastTapeFolder, dest);
}

TEST_F(GetFilesTest, FilesThatDoNotComeOutAreReportedAndTheRestAreCopied)
{
    showFiles({{"A.BIN", "Bytes", Data(100, 1)},
               {"B.BIN", "Bytes", Data(100, 2)},
               {"C.BIN", "Bytes", Data(100, 3)},
               {"D.BIN", "Bytes", Data(100, 4)}});
    write(medium + "/B.BIN.err", "read error in block 7\r\n");
    QFile::remove(medium + "/C.BIN");
    write(dest + "/C.BIN", "user's");
    select({0, 1, 2, 3});
    answerDestDir(dest);
    form->Saveselectedfiles2Click();

    EXPECT_EQ(destFiles(), (QStringList{"A.BIN", "C.BIN", "D.BIN"}));
    EXPECT_EQ(contents(dest + "/C.BIN"), "user's");
    EXPECT_EQ(form->StatusPanel(2),
              "Copy incomplete, 2 of 4 not copied: GAMES\\B.BIN: Fatal Error: read error in block 7");
    EXPECT_EQ(prompts->errors(), (QStringList{"2 of 4 could not be copied:\r\n"
                                              "\r\nGAMES\\B.BIN: Fatal Error: read error in block 7"
                                              "\r\nGAMES\\C.BIN: the disk tool wrote no file"}));

    // On a tape, a file holding fewer bytes than its row's "Real Size" gets
    // no block: its length word would promise bytes that are not there.
    write(medium + "/A.BIN", Header() + Data(60, 1));
    select({0, 3});
    prompts->answerSaveFile(dest + "/short.tap");
    prompts->clearRecords();
    form->GetselectedfilesintoTAP1Click();
    const TapeListing listing = ListTape(dest + "/short.tap");
    ASSERT_TRUE(listing.accepted) << listing.text.toStdString();
    ASSERT_EQ(listing.blocks.size(), 2);
    EXPECT_EQ(listing.blocks[0].name, "D.BIN     ");
    EXPECT_TRUE(form->StatusPanel(2).startsWith("Copy incomplete, 1 of 2 not copied: GAMES\\A.BIN: A.BIN holds 60"));
    EXPECT_EQ(prompts->errors().size(), 1);
}

TEST_F(GetFilesTest, EscapeStopsAPartitionCopyAfterTheCurrentFile)
{
    showFiles({{"A.BIN", "Bytes", Data(100, 1)},
               {"B.BIN", "Bytes", Data(100, 2)},
               {"C.BIN", "Bytes", Data(100, 3)}});
    form->ListModel().setColumnCaption(FileListModel::ColStart, "CH Begin");
    answerDestDir(dest);
    onBusyWindow([](TFormWait& wait) { QTest::keyRelease(&wait, Qt::Key_Escape); });
    form->Getallfilesfromselectedpartition1Click();

    EXPECT_EQ(destFiles(), (QStringList{"A.BIN"}));
    EXPECT_EQ(form->StatusPanel(2), "Copy aborted");
    EXPECT_EQ(form->ListModel().columnCaption(FileListModel::ColStart), "Start");
    EXPECT_EQ(form->findChild<TFormWait*>(), nullptr);

    // All rows are copied, selected or not; a run not interrupted completes.
    select({1});
    answerDestDir(dest);
    form->Getallfilesfromselectedpartition1Click();
    EXPECT_EQ(destFiles(), (QStringList{"A.BIN", "B.BIN", "C.BIN"}));
    EXPECT_EQ(contents(dest + "/C.BIN"), stored("C.BIN"));
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
    EXPECT_TRUE(prompts->allAnswersUsed());
}

TEST_F(GetFilesTest, CancelledDialogsEndTheCommandsSilently)
{
    showFiles({{"A.BIN", "Bytes", Data(100, 1)}});
    select({0});
    form->LastDestDir = "/last";
    prompts->clickInDialog("BitBtn2");
    form->Saveselectedfiles2Click();
    prompts->answerDialog([](QDialog& dialog) {
        dialog.reject(); // closed by the window's close box or Escape
        return dialog.result();
    });
    form->Getallfilesfromselectedpartition1Click();
    prompts->answerSaveFile("");
    form->GetselectedfilesintoTAP1Click();

    EXPECT_TRUE(prompts->errors().isEmpty());
    EXPECT_TRUE(getCalls().isEmpty());
    EXPECT_TRUE(destFiles().isEmpty());
    EXPECT_EQ(form->LastDestDir, "/last");
    EXPECT_FALSE(form->GetWithoutHeader || form->GetIntoTape);
}

TEST_F(GetFilesTest, DestinationDialogShowsTheLastFolderAndItsBrowserReplacesIt)
{
    TFormSelectDestDir dialog(*prompts, "/last/folder");
    EXPECT_EQ(dialog.windowTitle(), "Select Destination Directory");
    EXPECT_EQ(dialog.size(), QSize(396, 81));
    EXPECT_EQ(dialog.DirectoryEdit1->text(), "/last/folder");
    EXPECT_EQ(dialog.BitBtn1->text(), "Select");

    prompts->answerFolder("");
    dialog.SpeedButton1->click();
    EXPECT_EQ(dialog.DirectoryEdit1->text(), "/last/folder");
    prompts->answerFolder("/made/new");
    dialog.SpeedButton1->click();
    EXPECT_EQ(dialog.DirectoryEdit1->text(), "/made/new");
    ASSERT_EQ(prompts->records().size(), 2);
    EXPECT_EQ(prompts->records()[1].caption, "Select Destination Directory");
    EXPECT_EQ(prompts->records()[1].text, "/last/folder"); // where the browser starts

    dialog.BitBtn1->click();
    EXPECT_EQ(dialog.SelectedFolder(), "/made/new");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(GetFilesTest, EveryEntryRunsItsCommandWhichChecksItsPreconditions)
{
    // Menu entries, pop-up entries and tool buttons, with no medium open.
    const std::pair<const char*, const char*> entries[] = {
        {"Getallfilesfromselectedpartition1", "No partition selected."},
        {"Getallfilesfromdisk2", "No compatible physical device found."},
        {"Saveselectedfiles2", "No partition selected."},
        {"Getselectedfileswithoutheader1", "No partition selected."},
        {"GetselectedfilesintoTAP1", "No partition selected."},
        {"Getallfilesfromselectedpartition2", "No partition selected."},
        {"Getallfilesfromdisk1", "No compatible physical device found."},
        {"Saveselectedfiles1", "No partition selected."},
        {"Getselectedfileswithoutheader2", "No partition selected."},
        {"GetselectedfilesintoTAP2", "No partition selected."},
        {"ToolButtonGetAllAction", "No compatible physical device found."},
        {"ToolButtonGetSelectedAction", "No partition selected."},
    };
    for (const auto& [name, message] : entries) {
        prompts->clearRecords();
        QAction* action = form->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
        EXPECT_EQ(prompts->errors(), QStringList{message}) << name;
    }

    // A partition without files, then files but none selected.
    showFiles({});
    const std::pair<void (TFormMain::*)(), QStringList> checks[] = {
        {&TFormMain::Saveselectedfiles2Click, {"No files in partition."}},
        {&TFormMain::GetselectedfilesintoTAP1Click, {"No files in partition."}},
    };
    for (const auto& [command, errors] : checks) {
        prompts->clearRecords();
        (form.get()->*command)();
        EXPECT_EQ(prompts->errors(), errors);
    }
    showFiles({{"A.BIN", "Bytes", Data(10, 1)}});
    prompts->clearRecords();
    form->Getselectedfileswithoutheader1Click();
    EXPECT_EQ(prompts->errors(), QStringList{"No file selected."});
    EXPECT_TRUE(getCalls().isEmpty());
}

// The "Get ..." commands of the main window against a fake disk tool: what
// lands in the destination, the tape written, progress, status texts,
// Escape, failures, and the dialogs.
#include "get_files_fixture.h"

#include "form_select_dest_dir.h"
#include "tape_listing.h"
#include "transfer_error.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>

using GetFilesTest = GetFilesFixture;

TEST_F(GetFilesTest, SelectedFilesComeOutWholeOrWithoutHeader)
{
    const QList<FakeFile> files{{"A.BAS", "Program", Data(300, 1), 10, 300}, {"B.BIN", "Bytes", Data(6912, 2), 16384},
                                {"H.BIN", "Headerless", Data(500, 3)}, {"E.BIN", "Bytes", {}, 32768}};
    showFiles(files);
    select({1, 3});
    answerDestDir(dest + "/"); // typed with a trailing separator
    QStringList seen;
    onBusyWindow([&](TFormWait& wait) {
        QObject::connect(wait.ProgressBar1, &QProgressBar::valueChanged, &wait,
                         [&](int value) { seen << QString::number(value) + "% " + form->StatusPanel(2); });
    });
    form->Saveselectedfiles2Click();
    EXPECT_EQ(seen, (QStringList{"50% Copying GAMES\\B.BIN to " + dest, "100% Copying GAMES\\E.BIN to " + dest}));
    EXPECT_EQ(destFiles(), (QStringList{"B.BIN", "E.BIN"}));
    EXPECT_EQ(Contents(dest + "/B.BIN"), Stored(files[1]));
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
    EXPECT_EQ(form->LastDestDir, dest + "/");
    ASSERT_EQ(getCalls().size(), 2); // the tool gets the folder with its separator
    EXPECT_TRUE(getCalls()[0].startsWith("GAMES:B.BIN|" + dest + "/.3e-harnwick-") && getCalls()[0].endsWith("/|"));
    EXPECT_EQ(form->findChild<TFormWait*>(), nullptr);

    // Without header: exactly 128 bytes go, Headerless stays whole, a file of
    // 128 bytes ends empty; the user's OUT.TMP is left alone.
    Write(dest + "/OUT.TMP", "mine");
    select({0, 2, 3});
    answerDestDir(dest);
    form->Getselectedfileswithoutheader1Click();
    EXPECT_EQ(Contents(dest + "/A.BAS"), Data(300, 1));
    EXPECT_EQ(Contents(dest + "/H.BIN"), Data(500, 3));
    EXPECT_EQ(QFileInfo(dest + "/E.BIN").size(), 0);
    EXPECT_EQ(Contents(dest + "/OUT.TMP"), "mine");
    EXPECT_EQ(destFiles(), (QStringList{"A.BAS", "B.BIN", "E.BIN", "H.BIN", "OUT.TMP"}));
    EXPECT_FALSE(form->GetWithoutHeader);
    EXPECT_TRUE(prompts->errors().isEmpty());
}

TEST_F(GetFilesTest, IntoTapeWritesABlockPairPerFileAndTouchesNothingBesideTheTape)
{
    showFiles({{"A.BAS", "Program", Data(300, 1), 10, 300}, {"SCREEN", "Bytes", Data(6912, 2), 16384},
               {"H.BIN", "Headerless", Data(200, 3)}});
    Write(dest + "/A.BAS", "mine");
    select({0, 1, 2});
    const QString tape = dest + "/GAMES.TZX";
    for (int run = 0; run < 2; ++run) { // the second run appends
        prompts->answerSaveFile(tape);
        form->GetselectedfilesintoTAP1Click();
    }
    const FileDialogRequest request = prompts->fileRequests().value(0);
    EXPECT_EQ(request.filter, "Zx Spectrum Tape Files (*.tap)|*.tap|Zx Spectrum TZX Files (*.tzx)|*.tzx|"
                              "All Files (*.*)|*.*");
    EXPECT_EQ(request.defaultSuffix + request.fileName, "tap*.tap");
    EXPECT_FALSE(request.confirmOverwrite);
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
    EXPECT_FALSE(form->GetWithoutHeader || form->GetIntoTape);
    EXPECT_EQ(destFiles(), (QStringList{"A.BAS", "GAMES.TZX"}));
    EXPECT_EQ(Contents(dest + "/A.BAS"), "mine");
    EXPECT_EQ(TapeSummary(tape), "A.BAS     :302 SCREEN    :6914 H.BIN     :202 A.BAS     :302 SCREEN    :6914 "
                                 "H.BIN     :202");
}

TEST_F(GetFilesTest, FilesThatDoNotComeOutAreReportedAndTheRestAreCopied)
{
    showFiles({{"A.BIN", "Bytes", Data(100, 1)}, {"B.BIN", "Bytes", Data(100, 2)},
               {"C.BIN", "Bytes", Data(100, 3)}, {"D.BIN", "Bytes", Data(100, 4)}});
    Write(medium + "/B.BIN.err", "read error in block 7\r\n");
    QFile::remove(medium + "/C.BIN");
    Write(dest + "/C.BIN", "user's");
    select({0, 1, 2, 3});
    answerDestDir(dest);
    form->Saveselectedfiles2Click();
    EXPECT_EQ(destFiles(), (QStringList{"A.BIN", "C.BIN", "D.BIN"}));
    EXPECT_EQ(Contents(dest + "/C.BIN"), "user's");
    EXPECT_EQ(form->StatusPanel(2),
              "Copy incomplete, 2 of 4 not copied: GAMES\\B.BIN: Fatal Error: read error in block 7");
    EXPECT_EQ(prompts->errors(), QStringList{"2 of 4 could not be copied:\r\n"
                                             "\r\nGAMES\\B.BIN: Fatal Error: read error in block 7"
                                             "\r\nGAMES\\C.BIN: the disk tool wrote no file"});

    // On a tape, a file holding fewer bytes than its "Real Size" gets no
    // block: its length word would promise bytes that are not there.
    Write(medium + "/A.BIN", Stored({"A.BIN", "Bytes", Data(60, 1)}));
    select({0, 3});
    prompts->answerSaveFile(dest + "/short.tap");
    form->GetselectedfilesintoTAP1Click();
    EXPECT_EQ(TapeSummary(dest + "/short.tap"), "D.BIN     :102");
    EXPECT_TRUE(form->StatusPanel(2).startsWith("Copy incomplete, 1 of 2 not copied: GAMES\\A.BIN: A.BIN holds 60"));
}

TEST_F(GetFilesTest, EscapeStopsAPartitionCopyAfterTheCurrentFile)
{
    showFiles({{"A.BIN", "Bytes", Data(100, 1)}, {"B.BIN", "Bytes", Data(100, 2)}, {"C.BIN", "Bytes", Data(100, 3)}});
    form->ListModel().setColumnCaption(FileListModel::ColStart, "CH Begin");
    answerDestDir(dest);
    onBusyWindow([](TFormWait& wait) { QTest::keyRelease(&wait, Qt::Key_Escape); });
    form->Getallfilesfromselectedpartition1Click();
    EXPECT_EQ(destFiles(), QStringList{"A.BIN"});
    EXPECT_EQ(form->StatusPanel(2), "Copy aborted");
    EXPECT_EQ(form->ListModel().columnCaption(FileListModel::ColStart), "Start");

    // Every row is copied, selected or not; a run not interrupted completes.
    select({1});
    answerDestDir(dest);
    form->Getallfilesfromselectedpartition1Click();
    EXPECT_EQ(destFiles(), (QStringList{"A.BIN", "B.BIN", "C.BIN"}));
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
}

TEST_F(GetFilesTest, DestinationDialogAndCancelledOrBadChoices)
{
    TFormSelectDestDir dialog(*prompts, "/last/folder");
    EXPECT_EQ(dialog.windowTitle() + dialog.DirectoryEdit1->text(), "Select Destination Directory/last/folder");
    EXPECT_EQ(dialog.size(), QSize(396, 81));
    for (const char* chosen : {"", "/made/new"}) { // cancelled, then confirmed
        prompts->answerFolder(chosen);
        dialog.SpeedButton1->click();
    }
    EXPECT_EQ(dialog.DirectoryEdit1->text(), "/made/new");
    EXPECT_EQ(prompts->records()[1].caption + prompts->records()[1].text, "Select Destination Directory/last/folder");

    showFiles({{"A.BIN", "Bytes", Data(100, 1)}});
    select({0});
    form->LastDestDir = "/last";
    prompts->clickInDialog("BitBtn2");
    form->Saveselectedfiles2Click();
    prompts->answerDialog([](QDialog& d) { d.reject(); return d.result(); }); // closed by the close box
    form->Getallfilesfromselectedpartition1Click();
    prompts->answerSaveFile("");
    form->GetselectedfilesintoTAP1Click();
    EXPECT_TRUE(getCalls().isEmpty() && destFiles().isEmpty() && prompts->errors().isEmpty());
    EXPECT_EQ(form->LastDestDir, "/last");

    answerDestDir(dest + "/missing");
    EXPECT_THROW(form->Saveselectedfiles2Click(), TransferError); // shown in the error box
}

TEST_F(GetFilesTest, EveryEntryRunsItsCommandWhichChecksItsPreconditions)
{
    // Menu entries, pop-up entries and tool buttons, with no medium open.
    const char* noPartition = "No partition selected.";
    const char* noDevice = "No compatible physical device found.";
    const std::pair<const char*, const char*> entries[] = {
        {"Getallfilesfromselectedpartition1", noPartition}, {"Getallfilesfromdisk2", noDevice},
        {"Saveselectedfiles2", noPartition}, {"Getselectedfileswithoutheader1", noPartition},
        {"GetselectedfilesintoTAP1", noPartition}, {"Getallfilesfromselectedpartition2", noPartition},
        {"Getallfilesfromdisk1", noDevice}, {"Saveselectedfiles1", noPartition},
        {"Getselectedfileswithoutheader2", noPartition}, {"GetselectedfilesintoTAP2", noPartition},
        {"ToolButtonGetAllAction", noDevice}, {"ToolButtonGetSelectedAction", noPartition}};
    for (const auto& [name, message] : entries) {
        prompts->clearRecords();
        form->findChild<QAction*>(name)->trigger();
        EXPECT_EQ(prompts->errors(), QStringList{message}) << name;
    }
    showFiles({});
    form->GetselectedfilesintoTAP1Click();
    showFiles({{"A.BIN", "Bytes", Data(10, 1)}});
    form->Getselectedfileswithoutheader1Click();
    EXPECT_EQ(prompts->errors(), (QStringList{noPartition, "No files in partition.", "No file selected."}));
}

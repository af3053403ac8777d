// The "Get ..." commands of the main window, end to end against the disk tool
// on images made here: what lands in the destination, the tapes written,
// progress, status texts, Escape, failures, and the dialogs.
#include "get_files_fixture.h"

#include "form_select_dest_dir.h"

#include <QAction>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>

using GetFilesTest = GetFilesFixture;

namespace {

const FakeFile kProgram{"RUN.BAS", "Program", Data(234, 1), 10, 200};
const FakeFile kScreen{"SCREEN", "Bytes", Data(6912, 2), 16384};
const FakeFile kHeaderless{"H.BIN", "Headerless", Data(500, 3)};
const FakeFile kEmpty{"E.BIN", "Bytes", {}, 32768};

} // namespace

TEST_F(GetFilesTest, SelectedFilesComeOutWholeOrWithoutHeader)
{
    openImage({{"GAMES", {kProgram, kScreen, kHeaderless, kEmpty}}});
    select({"SCREEN", "E.BIN"});
    answerDestDir(dest + "/"); // typed with a trailing separator
    QStringList seen;
    onBusyWindow([&](TFormWait& wait) {
        QObject::connect(wait.ProgressBar1, &QProgressBar::valueChanged, &wait, [&](int value) {
            seen << QString::number(value) + "% " + form->StatusPanel(2);
        });
    });
    form->Transfer().getSelectedFiles();
    EXPECT_EQ(seen, (QStringList{"50% Copying GAMES\\SCREEN to " + dest,
                                 "100% Copying GAMES\\E.BIN to " + dest}));
    EXPECT_EQ(destFiles(), (QStringList{"E.BIN", "SCREEN"}));
    EXPECT_EQ(Contents(dest + "/SCREEN"), Stored(kScreen));
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
    EXPECT_EQ(form->Transfer().LastDestDir, dest + "/");

    // Without header: exactly 128 bytes go, Headerless stays whole, a file of
    // 128 bytes ends empty; the user's OUT.TMP is left alone.
    Write(dest + "/OUT.TMP", "mine");
    select({"RUN.BAS", "H.BIN", "E.BIN"});
    answerDestDir(dest);
    form->Transfer().getSelectedFilesWithoutHeader();
    EXPECT_TRUE(Contents(dest + "/RUN.BAS") == kProgram.data &&
                Contents(dest + "/H.BIN") == kHeaderless.data);
    EXPECT_TRUE(QFileInfo(dest + "/E.BIN").size() == 0 && Contents(dest + "/OUT.TMP") == "mine");
    EXPECT_EQ(destFiles(), (QStringList{"E.BIN", "H.BIN", "OUT.TMP", "RUN.BAS", "SCREEN"}));
    EXPECT_FALSE(form->Transfer().GetWithoutHeader);
    EXPECT_TRUE(prompts->errors().isEmpty());
    EXPECT_EQ(form->findChild<TFormWait*>(), nullptr);
}

TEST_F(GetFilesTest, FilesGotIntoATapeComeBackThroughPuttap)
{
    openImage({{"GAMES", {kProgram, kScreen, {"NUMS", "Number Array", Data(50, 4), 0x8100}}},
               {"TOOLS", {}}});
    Write(dest + "/RUN.BAS", "mine"); // beside the tape, under a name got into it
    const QString tape = dest + "/GAMES.TZX";
    for (int run = 0; run < 2; ++run) { // the second run appends
        select({"RUN.BAS", "SCREEN", "NUMS"});
        prompts->answerSaveFile(tape);
        form->Transfer().getSelectedFilesIntoTape();
    }
    const FileDialogRequest request = prompts->fileRequests().value(0);
    EXPECT_EQ(request.filter + request.defaultSuffix + request.fileName,
              "Zx Spectrum Tape Files (*.tap)|*.tap|Zx Spectrum TZX Files (*.tzx)|*.tzx|All Files "
              "(*.*)|*.*tap*.tap");
    EXPECT_FALSE(request.confirmOverwrite);
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
    EXPECT_FALSE(form->Transfer().GetWithoutHeader || form->Transfer().GetIntoTape);
    EXPECT_EQ(destFiles(), (QStringList{"GAMES.TZX", "RUN.BAS"}));
    EXPECT_EQ(Contents(dest + "/RUN.BAS"), "mine");
    EXPECT_EQ(TapeSummary(tape),
              QString("RUN.BAS   :236 SCREEN    :6914 NUMS      :52 ").repeated(2).trimmed());

    // Put back into another partition, the files have their types, numbers
    // and bytes again; a tape name that is a whole +3DOS name comes back as
    // that name, others get a type from the tape header.
    const auto facts = [this](int copies) {
        QStringList columns;
        for (int c : {5, 6, 7, 8}) // Type, Real Size, Start, Vars
            columns << QStringList(copies, columnTexts(c).join('|')).join('|');
        return columns;
    };
    const QStringList games = facts(2);
    runTool({image, "puttap", tape, "TOOLS"});
    form->SelectNode(treeNode("TOOLS"));
    EXPECT_EQ(facts(1), games);
    EXPECT_EQ(columnTexts(0), (QStringList{"RUN.BAS", "SCREEN.SCR", "NUMS.NUM", // the tape twice
                                           "RUN1.BAS", "SCREEN1.SCR", "NUMS1.NUM"}));
    select({"RUN.BAS", "SCREEN.SCR"});
    answerDestDir(path("back"));
    QDir().mkpath(path("back"));
    form->Transfer().getSelectedFilesWithoutHeader();
    EXPECT_TRUE(Contents(path("back/RUN.BAS")) == kProgram.data &&
                Contents(path("back/SCREEN.SCR")) == kScreen.data);
}

TEST_F(GetFilesTest, WholeMediumGoesIntoOneSubFolderPerPartition)
{
    openImage({{"GAMES", {kProgram, kScreen}}, {"LOST", {}}, {"TOOLS", {kHeaderless}}});
    // The first partition node stands for the whole medium: asked first.
    form->SelectNode(treeNode("PLUSIDEDOS"));
    answerDestDir(dest);
    prompts->answerConfirm(Prompts::Answer::No);
    form->Transfer().getAllFilesFromPartition();
    EXPECT_EQ(prompts->records().last().text,
              "Are you sure you want to copy all files of all 3 partitions of " + image + "?");
    EXPECT_TRUE(destFiles().isEmpty());

    QDir().mkpath(dest + "/TOOLS"); // an existing sub-folder with a file of the user's
    Write(dest + "/TOOLS/MINE.TXT", "mine");
    answerDestDir(dest);
    prompts->answerConfirm(Prompts::Answer::Yes);
    TriggerEntry(*form, "ToolButtonGetAll");
    QStringList got;
    for (QDirIterator it(dest, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        got << QDir(dest).relativeFilePath(it.next());
    got.sort();
    EXPECT_EQ(got, (QStringList{"GAMES", "GAMES/RUN.BAS", "GAMES/SCREEN", "LOST", "PLUSIDEDOS",
                                "TOOLS", "TOOLS/H.BIN", "TOOLS/MINE.TXT"}));
    EXPECT_TRUE(Contents(dest + "/GAMES/SCREEN") == Stored(kScreen) &&
                Contents(dest + "/TOOLS/MINE.TXT") == "mine");
    // Only the +3DOS partition that could not be listed is a failure, not
    // the system partition or the free space, which the tool never lists.
    EXPECT_EQ(form->StatusPanel(2),
              "Copy incomplete, 1 of 4 not copied: LOST: unreadable directory");
    EXPECT_EQ(prompts->errors(),
              QStringList{"1 of 4 could not be copied:\r\nLOST: unreadable directory"});
    EXPECT_EQ(form->SelectedNode(), form->TreeNodes().last());
    EXPECT_EQ(columnCaptions().mid(7, 2), (QStringList{"Start", "Vars"}));
}

TEST_F(GetFilesTest, EscapeStopsAPartitionCopyAfterTheCurrentFile)
{
    openImage({{"GAMES", {kProgram, kScreen, kHeaderless}}});
    answerDestDir(dest);
    onBusyWindow([](TFormWait& wait) { QTest::keyRelease(&wait, Qt::Key_Escape); });
    form->Transfer().getAllFilesFromPartition();
    EXPECT_EQ(destFiles(), QStringList{"RUN.BAS"});
    EXPECT_EQ(form->StatusPanel(2), "Copy aborted");

    // Every row is copied, selected or not; a run not interrupted completes.
    select({"SCREEN"});
    answerDestDir(dest);
    form->Transfer().getAllFilesFromPartition();
    EXPECT_EQ(destFiles(), (QStringList{"H.BIN", "RUN.BAS", "SCREEN"}));
    EXPECT_EQ(form->StatusPanel(2), "Copy completed");
}

TEST_F(GetFilesTest, FilesThatDoNotComeOutAreReportedAndTheRestAreCopied)
{
    const FakeFile a{"A.BIN", "Bytes", Data(100, 1)}, gone{"GONE.BIN", "Bytes", Data(100, 2)},
        silent{"SILENT.BIN", "Bytes", Data(100, 3)}, shortFile{"SHORT.BIN", "Bytes", Data(100, 4)};
    openImage({{"GAMES", {a, gone, silent, shortFile}}, {"BAD", {}}});
    runTool({image, "del", "GAMES:GONE.BIN"}); // gone since the list was filled
    Write(dest + "/SILENT.BIN", "user's");
    select({"A.BIN", "GONE.BIN", "SILENT.BIN"});
    answerDestDir(dest);
    form->Transfer().getSelectedFiles();
    EXPECT_EQ(destFiles(), (QStringList{"A.BIN", "SILENT.BIN"}));
    EXPECT_EQ(Contents(dest + "/SILENT.BIN"), "user's");
    const QString missing = "GAMES\\GONE.BIN: no file named";
    EXPECT_TRUE(form->StatusPanel(2).startsWith("Copy incomplete, 2 of 3 not copied: " + missing));
    const QString listed = prompts->errors().value(0);
    EXPECT_TRUE(listed.startsWith("2 of 3 could not be copied:\r\n" + missing) &&
                listed.endsWith("\r\nGAMES\\SILENT.BIN: the disk tool wrote no file"))
        << listed.toStdString();

    // On a tape, a file holding fewer bytes than its "Real Size" gets no
    // block: its length word would promise bytes that are not there.
    select({"A.BIN", "SHORT.BIN"});
    prompts->answerSaveFile(dest + "/short.tap");
    form->Transfer().getSelectedFilesIntoTape();
    EXPECT_EQ(TapeSummary(dest + "/short.tap"), "A.BIN     :102");
    EXPECT_TRUE(form->StatusPanel(2).startsWith(
        "Copy incomplete, 1 of 2 not copied: GAMES\\SHORT.BIN: SHORT.BIN holds 60"));

    // A failure that ends the command takes the busy window with it.
    answerDestDir(dest);
    prompts->answerConfirm(Prompts::Answer::Yes).clearRecords();
    form->findChild<QAction*>("Getallfilesfromdisk2")->trigger();
    EXPECT_TRUE(prompts->errors().last().startsWith("'many' is not a valid"))
        << prompts->errors().join('\n').toStdString();
    EXPECT_EQ(form->findChild<TFormWait*>(), nullptr);
}

TEST_F(GetFilesTest, DestinationDialogAndCancelledOrBadChoices)
{
    TFormSelectDestDir dialog(*prompts, "/last/folder");
    EXPECT_EQ(dialog.DirectoryEdit1->text(), "/last/folder");
    for (const char* chosen : {"", "/made/new"}) { // cancelled, then confirmed
        prompts->answerFolder(chosen);
        dialog.SpeedButton1->click();
    }
    EXPECT_EQ(dialog.DirectoryEdit1->text(), "/made/new");
    EXPECT_EQ(prompts->records()[1].caption + prompts->records()[1].text,
              "Select Destination Directory/last/folder");

    openImage({{"GAMES", {kProgram}}});
    select({"RUN.BAS"});
    form->Transfer().LastDestDir = "/last";
    prompts->clickInDialog("BitBtn2");
    form->Transfer().getSelectedFiles();
    prompts->answerDialog([](QDialog& d) {
        d.reject();
        return d.result();
    }); // closed by the close box
    form->Transfer().getAllFilesFromPartition();
    prompts->answerSaveFile("");
    form->Transfer().getSelectedFilesIntoTape();
    EXPECT_TRUE(destFiles().isEmpty() && prompts->errors().isEmpty());
    EXPECT_EQ(form->Transfer().LastDestDir, "/last");

    answerDestDir(dest + "/missing");
    form->findChild<QAction*>("Saveselectedfiles2")->trigger();
    EXPECT_TRUE(
        prompts->errors().value(0).startsWith("Cannot write into the folder " + dest + "/missing"));
}

TEST_F(GetFilesTest, EveryEntryRunsItsCommandWhichChecksItsPreconditions)
{
    // Menu entries, pop-up entries and tool buttons, with no medium open.
    const char* noPartition = "No partition selected.";
    const char* noDevice = "No compatible physical device found.";
    const std::pair<const char*, const char*> entries[] = {
        {"Getallfilesfromselectedpartition1", noPartition},
        {"Getallfilesfromdisk2", noDevice},
        {"Saveselectedfiles2", noPartition},
        {"Getselectedfileswithoutheader1", noPartition},
        {"GetselectedfilesintoTAP1", noPartition},
        {"PopupMenu1/Getallfilesfromselectedpartition1", noPartition},
        {"PopupMenu1/Getallfilesfromdisk2", noDevice},
        {"PopupMenu2/Saveselectedfiles2", noPartition},
        {"PopupMenu2/Getselectedfileswithoutheader1", noPartition},
        {"PopupMenu2/GetselectedfilesintoTAP1", noPartition},
        {"ToolButtonGetAll", noDevice},
        {"ToolButtonGetSelected", noPartition}};
    for (const auto& [name, message] : entries) {
        prompts->clearRecords();
        TriggerEntry(*form, name);
        EXPECT_EQ(prompts->errors(), QStringList{message}) << name;
    }
    openImage({{"EMPTY", {}}, {"GAMES", {kProgram}}});
    form->Transfer().getSelectedFilesIntoTape();
    form->SelectNode(treeNode("GAMES"));
    form->Transfer().getSelectedFilesWithoutHeader();
    EXPECT_EQ(prompts->errors(),
              (QStringList{noPartition, "No files in partition.", "No file selected."}));
}

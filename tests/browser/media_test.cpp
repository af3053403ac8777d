// Opening media, the partition tree, the partition table report and the file
// list, driven through the window's commands against the real disk tool on
// images made here, and against small fake tools for exact records and for
// failures.
#include "gui_fixture.h"

#include "file_list_model.h"
#include "form_view.h"
#include "test_paths.h"
#include "tree_search.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <QTreeWidget>

namespace {

int GroupedToIntForTest(QString text)
{
    return text.remove(',').trimmed().toInt();
}

class MediaTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        // Grouped numbers with "," as in the English-speaking locales.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void trigger(const char* action)
    {
        QAction* a = form->findChild<QAction*>(action);
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }

    // Opens `medium` through "Open hard disk image".
    void openImage(const QString& medium)
    {
        prompts->answerOpenFiles({medium});
        trigger("OpenHDFFile1");
    }

    void select(const QString& nodeText)
    {
        QTreeWidgetItem* node = treeNode(nodeText);
        ASSERT_NE(node, nullptr) << nodeText.toStdString();
        form->SelectNode(node);
    }

    QList<int> icons() const
    {
        QList<int> out;
        for (const FileListRow& row : form->ListModel().rows())
            out << row.icon;
        return out;
    }

    // A fake tool answering showptable, dir and scan with the given record
    // lines (CR LF is added to each).
    QString fakeTool(const QStringList& ptable, const QStringList& dir,
                     const QStringList& scan = {})
    {
        auto lines = [](const QStringList& list) {
            QString out;
            for (const QString& l : list)
                out += QString(l).replace("'", "'\\''") + "\\r\\n";
            return out;
        };
        return writeFakeTool("records", QString("case \"$2\" in\n"
                                                "  showptable) printf '%1' ;;\n"
                                                "  dir) printf '%2' ;;\n"
                                                "esac\n"
                                                "[ \"$1\" = scan ] && printf '%3'\n"
                                                "exit 0")
                                            .arg(lines(ptable), lines(dir), lines(scan)));
    }
    QString useTool(const QString& tool)
    {
        form->ToolPath = tool;
        form->OutFile = QFileInfo(tool).absolutePath() + "/3E.OUT";
        form->ErrFile = QFileInfo(tool).absolutePath() + "/3E.ERR";
        return tool;
    }

    const QStringList kPtable{"1024,16,63", "3,5", "PLUSIDEDOS,1,,0,0,0,0,0,63,32256",
                              "GAMES,3,C:,0,1,64,0,64,131071,67076096",
                              "WORK,3,,64,1,1087,0,131072,1114111,1073741824"};
};

TEST_F(MediaTest, OpeningAnImageShowsItsTreeAndPartitionTable)
{
    const QString image = makeImage("disk.hdf", {"GAMES", "Utils"});
    makeForm();
    openImage(image);

    ASSERT_EQ(prompts->fileRequests().size(), 1);
    const FileDialogRequest request = prompts->fileRequests()[0];
    EXPECT_EQ(request.title, QString("Open hard disk image"));
    EXPECT_EQ(request.defaultSuffix, QString("hdf"));
    EXPECT_EQ(request.fileName, QString("*.hdf"));
    EXPECT_EQ(request.filter,
              QString("Hard disk Image Files (*.hdf)|*.hdf|Raw Image Files (*.raw)|*.raw|"
                      "All Files (*.*)|*.*"));

    EXPECT_EQ(form->windowTitle(), "3e Harnwick - a Zx Spectrum +3e File Browser - " + image);
    EXPECT_EQ(form->CurrentMedium, image);
    EXPECT_EQ(treeTexts(), (QStringList{image, "PLUSIDEDOS", "GAMES", "Utils", "(free space)"}));
    EXPECT_EQ(form->SelectedNode(), form->TreeView()->topLevelItem(0));
    EXPECT_TRUE(form->TreeView()->topLevelItem(0)->isExpanded());

    EXPECT_EQ(form->StatusPanel(0), image);
    EXPECT_EQ(form->StatusPanel(2),
              QString("Disk geometry (C/H/S): 64/16/32 (16,777,216 bytes) - Partitions: "
                      "4 used, 60 free, 64 total"));
    EXPECT_TRUE(form->ListShowsPartitions());
    EXPECT_EQ(columnTexts(0), (QStringList{"PLUSIDEDOS", "GAMES", "Utils", ""}));
    EXPECT_EQ(columnTexts(1), (QStringList{"16,384", "1,048,576", "1,048,576", "14,663,680"}));
    EXPECT_EQ(columnTexts(4), (QStringList{"0 MB", "1 MB", "1 MB", "13 MB"}));
    EXPECT_EQ(columnTexts(5), (QStringList{"System", "+3DOS", "+3DOS", "Free"}));
    EXPECT_EQ(columnTexts(7), (QStringList{"0/0", "0/1", "4/1", "8/1"}));
    EXPECT_EQ(columnTexts(8), (QStringList{"0/0", "4/0", "8/0", "63/15"}));
    EXPECT_EQ(columnTexts(9), (QStringList{"0", "32", "2080", "4128"}));
    EXPECT_EQ(columnTexts(10), (QStringList{"31", "2079", "4127", "32767"}));
    EXPECT_EQ(icons(), (QList<int>{9, 1, 1, 11}));
    EXPECT_EQ(columnCaptions(),
              (QStringList{"Partition Name", "Size", "Attr", "Ver", "HD Size", "Type", "Real Size",
                           "CH Begin", "CH End", "LBA Begin", "LBA End"}));
    const FileListModel& model = form->ListModel();
    EXPECT_EQ(model.columnWidth(3), 0);
    EXPECT_EQ(model.columnWidth(6), 0);
    EXPECT_EQ(model.columnWidth(9), 70);
    EXPECT_TRUE(form->ListView()->reportView()->isColumnHidden(6));

    EXPECT_EQ(form->LastDiskImage, image);
    EXPECT_EQ(form->RecentFiles(), QStringList{image});
    EXPECT_TRUE(prompts->errors().isEmpty());
}

TEST_F(MediaTest, SelectingNodesListsFilesOrThePartitionTable)
{
    const QString image = makeImage("disk.hdf", {"GAMES", "Utils"});
    makeForm();
    openImage(image);
    select("GAMES");
    EXPECT_EQ(form->StatusPanel(0), QString("GAMES"));
    EXPECT_EQ(form->RowCount(), 0);
    EXPECT_EQ(form->StatusPanel(2), QString("0 files, total 0 bytes, 0 allocated"));
    EXPECT_EQ(columnCaptions().mid(7, 2), (QStringList{"Start", "Vars"}));
    EXPECT_EQ(form->ListModel().columnWidth(3), 30);
    EXPECT_EQ(form->ListModel().columnWidth(6), 60);
    EXPECT_EQ(form->ListModel().columnWidth(9), 0);
    EXPECT_EQ(columnCaptions()[0], QString("File Name"));
    // The selected partition shows the open folder, the others the closed one.
    EXPECT_EQ(treeNode("GAMES")->icon(0).cacheKey(), form->ListModel().picture(12).cacheKey());
    EXPECT_EQ(treeNode("Utils")->icon(0).cacheKey(), form->ListModel().picture(13).cacheKey());

    // The first partition under the medium stands for the partition table.
    select("PLUSIDEDOS");
    EXPECT_EQ(form->StatusPanel(0), QString("PLUSIDEDOS"));
    EXPECT_TRUE(form->ListShowsPartitions());
    EXPECT_EQ(form->RowCount(), 4);
    EXPECT_EQ(treeNode("GAMES")->icon(0).cacheKey(), form->ListModel().picture(13).cacheKey());
}

TEST_F(MediaTest, ARealPartitionListsItsFilesWithPicturesAndTotals)
{
    const QString image = makeImage("disk.hdf", {"GAMES"});
    // A BASIC program from zmakebas, a screen, a code file and a file without
    // a header, put with the tool.
    QFile basic(path("prog.bas"));
    ASSERT_TRUE(basic.open(QIODevice::WriteOnly));
    basic.write("10 PRINT \"HELLO\"\n20 GOTO 10\n");
    basic.close();
    QProcess zmakebas;
    zmakebas.start("zmakebas",
                   {"-a", "10", "-n", "HELLO", "-o", path("prog.tap"), path("prog.bas")});
    ASSERT_TRUE(zmakebas.waitForFinished(10000));
    ASSERT_EQ(zmakebas.exitCode(), 0);
    auto hostFile = [&](const QString& name, int size) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, '\x5a'));
        return path(name);
    };
    runTool({image, "puttap", path("prog.tap"), "GAMES"});
    runTool({image, "putbin", hostFile("scr.bin", 6912), "GAMES:SCREEN"});
    runTool({image, "putbin", hostFile("code.bin", 300), "GAMES:CODE", "40000"});
    runTool({image, "put", hostFile("notes.txt", 1000), "GAMES:NOTES.TXT"});
    ASSERT_FALSE(HasFatalFailure());

    makeForm();
    openImage(image);
    select("GAMES");
    ASSERT_EQ(form->RowCount(), 4);
    EXPECT_EQ(columnTexts(0), (QStringList{"HELLO.BAS", "SCREEN", "CODE", "NOTES.TXT"}));
    EXPECT_EQ(columnTexts(5), (QStringList{"Program", "Bytes", "Bytes", "Headerless"}));
    EXPECT_EQ(icons(), (QList<int>{15, 20, 18, 19}));
    EXPECT_EQ(columnTexts(6).mid(1), (QStringList{"6,912", "  300", "1,000"}));
    EXPECT_EQ(columnTexts(7).mid(1, 2), (QStringList{"16,384", "40,000"}));
    EXPECT_EQ(columnTexts(7).first(), QString("   10"));
    auto sum = [&](int column) {
        int total = 0;
        for (const QString& cell : columnTexts(column))
            total += GroupedToIntForTest(cell);
        return QLocale().toString(total);
    };
    EXPECT_EQ(form->StatusPanel(2),
              "4 files, total " + sum(6) + " bytes, " + sum(1) + " allocated");
}

TEST_F(MediaTest, TheDemoMediumHoldsEveryKindOfFile)
{
    QProcess script;
    script.start("bash", {QString(testpaths::kSourceDir) + "/scripts/make-demo.sh", realToolPath(),
                          path("demo")});
    ASSERT_TRUE(script.waitForFinished(60000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    const QString demo = path("demo/demo.hdf");
    ASSERT_TRUE(QFile::exists(demo)) << script.readAllStandardError().toStdString();

    makeForm();
    openImage(demo);
    EXPECT_EQ(treeTexts().mid(1, 4), (QStringList{"PLUSIDEDOS", "GAMES", "UTILS", "NOTES"}));
    QStringList types;
    for (const char* partition : {"GAMES", "UTILS", "NOTES"}) {
        select(partition);
        types += columnTexts(5);
    }
    for (const char* type : {"Program", "Bytes", "Number Array", "Character Array", "Headerless"})
        EXPECT_TRUE(types.contains(type)) << type;
    EXPECT_TRUE(icons().contains(19)); // the headerless file of NOTES
    select("GAMES");
    EXPECT_TRUE(icons().contains(20)); // the SCREEN$
}

TEST_F(MediaTest, AFileListShowsEveryTypeWithItsPictureAndTheTotals)
{
    makeForm();
    useTool(fakeTool(
        kPtable, {"Name,Size,Attr,VerMajor,VerMinor,HdSize,Type,RealSize,Start,Vars",
                  "  PROG    ,256,---,1,0,1024,0,128,10,100", "NUMS,128,R--,1,0,1024,1,18,33024,0",
                  "CHARS,128,---,1,0,1024,2,13,49408,0", "SCREEN,7040,---,1,0,8192,3,6912,16384,0",
                  "CODE,1152,---,1,0,2048,3,1000,32768,0", "RAW,1024,---,0,0,1024,255,1000,0,0",
                  "ODD,128,---,1,0,1024,7,1,0,0", "WEIRD,128,---,1,0,1024,x,1.5,0,0",
                  "NOTSCR,7040,---,1,0,8192,3,6912, 16384,0,extra"}));
    openImage("/media/fake.hdf");
    select("GAMES");

    EXPECT_EQ(columnTexts(0), (QStringList{"PROG", "NUMS", "CHARS", "SCREEN", "CODE", "RAW", "ODD",
                                           "WEIRD", "NOTSCR"}));
    EXPECT_EQ(columnTexts(5),
              (QStringList{"Program", "Number Array", "Character Array", "Bytes", "Bytes",
                           "Headerless", "Unknown (7)", "Program", "Bytes"}));
    EXPECT_EQ(icons(), (QList<int>{15, 16, 17, 20, 18, 19, 22, 19, 18}));
    const FileListRow& prog = form->ListModel().row(0);
    EXPECT_EQ(prog.cells[1], QString("  256"));
    EXPECT_EQ(prog.cells[2], QString("---"));
    EXPECT_EQ(prog.cells[3], QString("1.0"));
    EXPECT_EQ(prog.cells[4], QString("1,024"));
    EXPECT_EQ(prog.cells[6], QString("  128"));
    EXPECT_EQ(prog.cells[7], QString("   10"));
    EXPECT_EQ(prog.cells[8], QString("  100"));
    EXPECT_EQ(form->ListModel().row(3).cells[7], QString("16,384"));
    EXPECT_TRUE(prog.cells[9].isEmpty());
    EXPECT_FALSE(form->ListShowsPartitions());
    // A RealSize of 1.5 is shown rounded and counts 0 in the byte total.
    EXPECT_EQ(form->ListModel().row(7).cells[6], QString("    2"));
    EXPECT_EQ(form->StatusPanel(2), QString("9 files, total 15,984 bytes, 17,024 allocated"));
    EXPECT_EQ(form->StatusPanel(1), QString());
    EXPECT_EQ(form->SortDirection, -1);
}

TEST_F(MediaTest, ColumnClicksSortAscendingThenDescending)
{
    makeForm();
    useTool(
        fakeTool(kPtable, {"header", "B,1024,---,1,0,1024,3,9,0,0", "A,128,---,1,0,1024,0,10,0,0",
                           "C,10240,---,1,0,10240,255,1000,0,0", "D,256,---,1,0,1024,1,5,0,0"}));
    openImage("/media/fake.hdf");
    select("GAMES");
    auto header = [&](int column) {
        form->ListView()->reportView()->horizontalHeader()->sectionClicked(column);
    };

    header(1); // Size
    EXPECT_EQ(columnTexts(0), (QStringList{"A", "D", "B", "C"}));
    header(1);
    EXPECT_EQ(columnTexts(0), (QStringList{"C", "B", "D", "A"}));
    header(5); // Type, by text
    EXPECT_EQ(columnTexts(5), (QStringList{"Bytes", "Headerless", "Number Array", "Program"}));
    header(5);
    EXPECT_EQ(columnTexts(5), (QStringList{"Program", "Number Array", "Headerless", "Bytes"}));
    header(6); // Real Size, by number: 10 after 9
    EXPECT_EQ(columnTexts(0), (QStringList{"D", "B", "A", "C"}));
    header(0); // caption
    EXPECT_EQ(columnTexts(0), (QStringList{"A", "B", "C", "D"}));
    EXPECT_LT(form->ListViewCompare(0, 1), 0);
    header(0);
    EXPECT_EQ(columnTexts(0), (QStringList{"D", "C", "B", "A"}));

    // A refill leaves the direction at -1: the next click on the same column
    // sorts ascending.
    select("WORK");
    select("GAMES");
    header(0);
    EXPECT_EQ(columnTexts(0), (QStringList{"A", "B", "C", "D"}));
}

TEST_F(MediaTest, PartitionRowsSortByMegabytesAndCylinders)
{
    makeForm();
    useTool(fakeTool({"1,1,1", "3,0", "BIG,3,,12,3,99,0,1,2,1072693248",
                      "SMALL,3,,1,0,11,0,3,4,67108864", "MID,3,,2,0,3,0,5,6,1073741824"},
                     {"header"}));
    openImage("/media/fake.hdf");
    auto header = [&](int column) {
        form->ListView()->reportView()->horizontalHeader()->sectionClicked(column);
    };
    EXPECT_EQ(columnTexts(4), (QStringList{"1023 MB", "64 MB", "1024 MB"}));
    header(4);
    EXPECT_EQ(columnTexts(0), (QStringList{"SMALL", "BIG", "MID"}));
    header(7); // CH Begin: 1/0, 2/0, 12/3 by cylinder
    EXPECT_EQ(columnTexts(0), (QStringList{"SMALL", "MID", "BIG"}));
    header(2); // Attr: all empty; equal keys keep their order
    EXPECT_EQ(columnTexts(0), (QStringList{"SMALL", "MID", "BIG"}));
}

TEST_F(MediaTest, SelectAllInvertAndTheSummary)
{
    makeForm();
    useTool(
        fakeTool(kPtable, {"header", "ONE,128,---,1,0,1024,3,1000,0,0",
                           "TWO,128,---,1,0,1024,3,2000,0,0", "THREE,128,---,1,0,1024,3,500,0,0"}));
    openImage("/media/fake.hdf");
    select("GAMES");
    trigger("Selectallfiles1");
    EXPECT_EQ(form->SelectedRows(), (QList<int>{0, 1, 2}));
    EXPECT_EQ(form->StatusPanel(2), QString("3 file(s) selected, 3 total, 3,500 bytes"));
    EXPECT_EQ(form->StatusPanel(1), QString());

    form->ListView()->selectRow(0, false);
    form->ListView()->selectRow(2, false);
    EXPECT_EQ(form->StatusPanel(1), QString("TWO"));
    trigger("Invertselection1");
    EXPECT_EQ(form->SelectedRows(), (QList<int>{0, 2}));
    EXPECT_EQ(form->StatusPanel(2), QString("2 file(s) selected, 3 total, 1,500 bytes"));
    EXPECT_EQ(form->StatusPanel(1), QString());

    // In the partition layout a selection leaves the status bar alone.
    select("PLUSIDEDOS");
    const QString geometry = form->StatusPanel(2);
    trigger("Selectallfiles1");
    EXPECT_EQ(form->SelectedCount(), 3);
    EXPECT_EQ(form->StatusPanel(2), geometry);
}

TEST_F(MediaTest, SearchFindsPartitionsWithoutRegardToCase)
{
    const QString image = makeImage("disk.hdf", {"GAMES", "Utils"});
    makeForm();
    openImage(image);
    prompts->answerInput("games");
    trigger("Search1");
    ASSERT_EQ(prompts->inputRequests().size(), 1);
    EXPECT_EQ(prompts->inputRequests()[0].caption, QString("Search"));
    EXPECT_EQ(prompts->inputRequests()[0].prompt, QString("Type a partition name to search"));
    EXPECT_EQ(prompts->inputRequests()[0].maxLength, 255);
    EXPECT_EQ(form->SelectedNode(), treeNode("GAMES"));
    EXPECT_EQ(form->StatusPanel(0), QString("GAMES"));

    prompts->answerInput(image.toUpper());
    trigger("Search1");
    EXPECT_EQ(form->SelectedNode(), form->TreeView()->topLevelItem(0));
    EXPECT_TRUE(form->ListShowsPartitions());

    prompts->answerInput("nothing");
    trigger("Search1");
    EXPECT_EQ(prompts->errors(), QStringList{"No partition selected."});
    prompts->cancelInput();
    trigger("Search1");
    EXPECT_EQ(prompts->errors().size(), 1);
}

TEST_F(MediaTest, SortingTheTreeKeepsTheSelectionAndRunsNothing)
{
    const QString image = makeImage("disk.hdf", {"ZETA", "ALPHA", "BETA"});
    makeForm();
    openImage(image);
    select("BETA");
    form->SetStatusPanel(2, "unchanged");
    trigger("Sortpartitiontree1");
    EXPECT_EQ(treeTexts(),
              (QStringList{image, "(free space)", "ALPHA", "BETA", "PLUSIDEDOS", "ZETA"}));
    EXPECT_EQ(form->SelectedNode(), treeNode("BETA"));
    EXPECT_EQ(form->StatusPanel(2), QString("unchanged"));
    EXPECT_TRUE(treeNode("ZETA")->parent()->isExpanded());
    // What a node stands for goes with the node, not with its place: the
    // free space that now sorts first is no partition table.
    select("(free space)");
    EXPECT_FALSE(form->ListShowsPartitions());
    EXPECT_EQ(form->StatusPanel(2), QString("Free space: 13,615,104 bytes"));
    select("PLUSIDEDOS");
    EXPECT_TRUE(form->ListShowsPartitions());
    EXPECT_EQ(form->RowCount(), 5);
}

TEST_F(MediaTest, NodesWithoutPlus3FilesSayWhatTheyHoldWithoutAnError)
{
    const QString image = makeImage("disk.hdf", {"GAMES"});
    runTool({image, "newpart", "SWAPSPACE", "1M", "--type", "swap"});
    makeForm();
    openImage(image);
    const struct
    {
        const char* node;
        const char* status;
    } cases[] = {
        {"(free space)", "Free space: 14,663,680 bytes"},
        {"SWAPSPACE", "SWAPSPACE is a swap partition; it holds no files."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        select("GAMES");
        select(c.node);
        EXPECT_EQ(form->StatusPanel(0), QString(c.node));
        EXPECT_EQ(form->StatusPanel(2), QString(c.status));
        EXPECT_FALSE(form->StatusPanel(2).contains("Fatal Error"));
        EXPECT_FALSE(form->ListShowsPartitions());
        EXPECT_EQ(form->RowCount(), 0);
    }
    // Its details are its size, told without asking the tool.
    select("(free space)");
    trigger("Showpartitiondetails1");
    const QList<TFormView*> windows = form->findChildren<TFormView*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->windowTitle() + "=" + windows[0]->Text(),
              "Show Partitition Details ((free space))=Free space: 14,663,680 bytes\n"
              "This part of the medium holds no partition.\n");
    EXPECT_EQ(form->StatusPanel(2), QString("Free space: 14,663,680 bytes"));
    EXPECT_TRUE(prompts->errors().isEmpty());
    // The free-space row of the partition table leads to its node.
    select(image);
    form->ListView()->selectRow(3, true);
    form->ListViewDblClick();
    EXPECT_EQ(form->SelectedNode(), treeNode("(free space)"));
    EXPECT_TRUE(prompts->errors().isEmpty());
}

TEST_F(MediaTest, RecentFilesKeepFourImagesWithoutDuplicates)
{
    makeForm();
    useTool(fakeTool(kPtable, {"header"}));
    for (const char* name : {"/m/1.hdf", "/m/2.hdf", "/m/3.hdf", "/m/4.hdf", "/m/2.hdf"})
        openImage(name);
    EXPECT_EQ(form->RecentFiles(), (QStringList{"/m/1.hdf", "/m/2.hdf", "/m/3.hdf", "/m/4.hdf"}));
    openImage("/m/5.hdf");
    EXPECT_EQ(form->RecentFiles(), (QStringList{"/m/2.hdf", "/m/3.hdf", "/m/4.hdf", "/m/5.hdf"}));
    // Choosing an entry opens it without changing the menu.
    form->RecentFilesMenu()->actions()[1]->trigger();
    EXPECT_EQ(form->CurrentMedium, QString("/m/3.hdf"));
    EXPECT_EQ(form->RecentFiles(), (QStringList{"/m/2.hdf", "/m/3.hdf", "/m/4.hdf", "/m/5.hdf"}));
}

TEST_F(MediaTest, DevicesArePickedAndJoinRecentFilesByTheirOwnRule)
{
    makeForm();
    useTool(fakeTool(kPtable, {"header"}, {"2", "/dev/sdb,1,2,3", "/dev/sdc,4,5,6"}));
    for (const char* name : {"/m/1.hdf", "/m/2.hdf", "/m/3.hdf"})
        openImage(name);

    prompts->pickDevice("/dev/sdc");
    trigger("OpenPhysicalDevice1");
    EXPECT_EQ(form->CurrentMedium, QString("/dev/sdc"));
    EXPECT_EQ(treeTexts().first(), QString("/dev/sdc"));
    EXPECT_EQ(form->RecentFiles(), (QStringList{"/m/1.hdf", "/m/2.hdf", "/m/3.hdf", "/dev/sdc"}));

    // The list shows the partition table under its own captions.
    EXPECT_TRUE(form->ListShowsPartitions());
    EXPECT_EQ(form->ListModel().columnCaption(FileListModel::ColStart), QString("CH Begin"));
    EXPECT_EQ(form->ListModel().columnCaption(FileListModel::ColVars), QString("CH End"));

    // A device already listed in a full menu changes nothing; a new one
    // makes room by taking the oldest entry out.
    prompts->pickDevice("/dev/sdc");
    trigger("OpenPhysicalDevice1");
    EXPECT_EQ(form->RecentFiles(), (QStringList{"/m/1.hdf", "/m/2.hdf", "/m/3.hdf", "/dev/sdc"}));
    prompts->pickDevice("/dev/sdb");
    trigger("OpenPhysicalDevice1");
    EXPECT_EQ(form->RecentFiles(), (QStringList{"/m/2.hdf", "/m/3.hdf", "/dev/sdc", "/dev/sdb"}));
    EXPECT_EQ(form->RecentFilesMenu()->actions().size(), 4);

    // Cancel in the picker opens nothing.
    prompts->clickInDialog("CmdCancel");
    trigger("OpenPhysicalDevice1");
    EXPECT_EQ(form->CurrentMedium, QString("/dev/sdb"));
    const auto& records = prompts->records();
    EXPECT_EQ(records.last().caption, QString("Select physical device"));
}

TEST_F(MediaTest, TheScanReportDecodesUtf8PathsAndOtherBytesAsWindows1252)
{
    makeForm();
    useTool(fakeTool(kPtable, {"header"}, {"/media/J\u00fcrgen/card.img", "old \\351"}));
    trigger("Scanallcompatibledevices1");
    EXPECT_EQ(prompts->informations(),
              QStringList{"/media/J\u00fcrgen/card.img\r\nold \u00e9\r\n"});
}

TEST_F(MediaTest, AScanCountOfZeroMeansNoDevice)
{
    makeForm();
    useTool(fakeTool(kPtable, {"header"}, {"0", "/dev/sdb,1,2,3"}));
    trigger("OpenPhysicalDevice1");
    EXPECT_EQ(prompts->errors(), QStringList{"No compatible physical device found."});
    EXPECT_TRUE(form->CurrentMedium.isEmpty());
}

TEST_F(MediaTest, ARealImageIsFoundAsADeviceAndReported)
{
    const QString image = makeImage("card.img", {"GAMES"});
    qputenv("HARNWICK_SCAN_EXTRA", image.toUtf8());
    makeForm();
    prompts->pickDevice(image);
    trigger("OpenPhysicalDevice1");
    EXPECT_EQ(treeTexts(), (QStringList{image, "PLUSIDEDOS", "GAMES", "(free space)"}));

    trigger("Scanallcompatibledevices1");
    ASSERT_EQ(prompts->informations().size(), 1);
    EXPECT_TRUE(prompts->informations()[0].contains(image));
    EXPECT_TRUE(prompts->informations()[0].endsWith("\r\n"));
    qunsetenv("HARNWICK_SCAN_EXTRA");
}

TEST_F(MediaTest, BackendErrorTextIsShownAndLeavesTheTreeEmpty)
{
    const QString image = makeImage("disk.hdf", {"GAMES"});
    makeForm();
    openImage(image);
    select("GAMES");
    const QString missing = path("missing.hdf");
    openImage(missing);
    // No panel names a partition of the medium that was open before.
    EXPECT_EQ(form->StatusPanel(0), missing);
    EXPECT_EQ(form->StatusPanel(1), QString());
    EXPECT_TRUE(form->StatusPanel(2).startsWith("Fatal Error: "));
    EXPECT_TRUE(form->StatusPanel(2).endsWith("\r\n"));
    EXPECT_EQ(form->TreeView()->topLevelItemCount(), 0);
    // The caption and the medium take the new name all the same.
    EXPECT_EQ(form->CurrentMedium, missing);
    EXPECT_TRUE(form->windowTitle().endsWith(" - " + missing));
    EXPECT_EQ(form->LastDiskImage, image);
    EXPECT_EQ(form->RecentFiles(), (QStringList{image, missing}));
}

TEST_F(MediaTest, ADirectoryErrorLeavesTheListEmpty)
{
    makeForm();
    useTool(writeFakeTool(
        "direrror",
        "case \"$2\" in\n"
        "  showptable) printf "
        "'1,1,1\\r\\n2,0\\r\\nSYS,1,,0,0,0,0,0,0,1\\r\\nP,3,,0,0,0,0,0,0,1\\r\\n' ;;\n"
        "  dir) printf 'header\\r\\nA,1,,1,0,1,0,1,0,0\\r\\n'; printf 'cannot read P' >&2 ;;\n"
        "esac"));
    openImage("/media/fake.hdf");
    select("P");
    EXPECT_EQ(form->StatusPanel(2), QString("Fatal Error: cannot read P\r\n"));
    EXPECT_EQ(form->RowCount(), 0);
}

TEST_F(MediaTest, ABadNumberStopsTheFillWithTheConversionMessage)
{
    makeForm();
    useTool(fakeTool(kPtable, {"header", "GOOD,128,---,1,0,1024,3,5,0,0",
                               "BAD,abc,---,1,0,1024,3,5,0,0", "LATER,128,---,1,0,1024,3,5,0,0"}));
    openImage("/media/fake.hdf");
    EXPECT_EQ(form->StatusPanel(2),
              QString("Disk geometry (C/H/S): 1024/16/63 (528,482,304 bytes) - "
                      "Partitions: 3 used, 5 free, 8 total"));
    select("GAMES");
    EXPECT_EQ(prompts->errors(), QStringList{"'abc' is not a valid floating point value"});
    EXPECT_EQ(columnTexts(0), QStringList{"GOOD"});
    // The status line is not written: it stays as the tool run left it.
    EXPECT_EQ(form->StatusPanel(2), QString());
}

TEST_F(MediaTest, AMissingToolIsReportedAndNothingChanges)
{
    makeForm();
    useTool(fakeTool(kPtable, {"header"}));
    openImage("/media/fake.hdf");
    const QStringList before = treeTexts();
    form->ToolPath = path("nowhere/3E.EXE");
    for (const char* command :
         {"OpenPhysicalDevice1", "Scanallcompatibledevices1", "Showpartitiontable1"}) {
        prompts->clearRecords();
        trigger(command);
        EXPECT_EQ(prompts->errors(),
                  QStringList{
                      "3e program not present.\r\nPlease be sure to configure correct position in "
                      "Preferences Dialog Box."})
            << command;
    }
    prompts->clearRecords();
    openImage("/media/other.hdf");
    EXPECT_EQ(prompts->errors().size(), 1);
    EXPECT_EQ(treeTexts(), before);
    EXPECT_EQ(form->CurrentMedium, QString("/media/fake.hdf"));
}

TEST_F(MediaTest, WithNoMediumThePartitionTableSaysNoDevice)
{
    makeForm();
    trigger("Showpartitiontable1");
    EXPECT_EQ(prompts->errors(), QStringList{"No compatible physical device found."});
}

TEST_F(MediaTest, TheFirstShowingOpensTheLastMedium)
{
    const QString image = makeImage("disk.hdf", {"GAMES"});
    writeSettings({{"LastDiskImage", image}, {"Specfont", 0}, {"Check3EUpdates", 0}});
    makeForm();
    EXPECT_EQ(form->TreeView()->topLevelItemCount(), 0);
    form->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->TreeView()->topLevelItemCount() == 1; }));
    EXPECT_EQ(treeTexts(), (QStringList{image, "PLUSIDEDOS", "GAMES", "(free space)"}));
    EXPECT_TRUE(form->ListShowsPartitions());
}

TEST_F(MediaTest, AMediumGivenOnTheCommandLineIsOpenedInsteadOfTheLast)
{
    const QString last = makeImage("last.hdf", {"OLD"});
    const QString given = makeImage("given.hdf", {"NEW", "MORE"});
    writeSettings({{"LastDiskImage", last}, {"Specfont", 0}, {"Check3EUpdates", 0}});
    commandLineMedium = given;
    makeForm();
    form->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->TreeView()->topLevelItemCount() == 1; }));
    EXPECT_EQ(treeTexts(), (QStringList{given, "PLUSIDEDOS", "NEW", "MORE", "(free space)"}));
    EXPECT_EQ(form->LastDiskImage, given);
}

TEST_F(MediaTest, EnterAndDoubleClickOnAPartitionRowSelectItsNode)
{
    const QString image = makeImage("disk.hdf", {"GAMES", "Utils"});
    makeForm();
    openImage(image);
    form->ListView()->selectRow(2, true); // Utils
    form->ListViewKeyUp(Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(form->SelectedNode(), treeNode("Utils"));
    EXPECT_EQ(form->RowCount(), 0);

    // Plain Enter in the file layout or in an empty list does nothing.
    form->ListViewKeyUp(Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(form->SelectedNode(), treeNode("Utils"));
    EXPECT_TRUE(prompts->errors().isEmpty());
}

TEST_F(MediaTest, APartitionRowMissingFromTheTreeIsAnInvalidOperation)
{
    // A name longer than 49 characters is found whole; a row whose node has
    // gone from the tree is refused.
    const QString longName(60, 'L');
    makeForm();
    useTool(fakeTool({"1,1,1", "2,0", "SYS,1,,0,0,0,0,0,0,1", longName + ",3,,0,0,0,0,0,0,1"},
                     {"header"}));
    openImage("/media/fake.hdf");
    QTreeWidgetItem* node = FindTreeNodeByText(form->TreeView(), nullptr, longName);
    ASSERT_NE(node, nullptr);
    delete node;
    form->ListView()->selectRow(1, true);
    form->ListViewDblClick();
    EXPECT_EQ(prompts->errors(), QStringList{"Invalid operation."});
}

TEST_F(MediaTest, FocusSelectsTheFirstNodeAndTheFirstRow)
{
    const QString image = makeImage("disk.hdf", {"GAMES"});
    makeForm();
    openImage(image);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QWidget* report = form->ListView()->reportView();

    // The tree gains the focus with nodes and none selected: the medium's
    // node is selected, which lists the partition table.
    report->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return report->hasFocus(); }));
    form->TreeView()->clearSelection();
    form->ListModel().clear();
    form->TreeView()->setFocus();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return form->SelectedNode() == form->TreeView()->topLevelItem(0); }));
    EXPECT_TRUE(form->ListShowsPartitions());

    // The list gains the focus with rows and none selected: the first row.
    form->ListView()->selectionModel()->clearSelection();
    report->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->SelectedRows() == QList<int>{0}; }));

    // Keys reach the commands: F3 asks for an image, Ctrl+T shows the table.
    prompts->answerOpenFiles({});
    QTest::keyClick(form.get(), Qt::Key_F3);
    EXPECT_EQ(prompts->fileRequests().size(), 2);
    select("GAMES");
    QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(form->ListShowsPartitions());
}

TEST_F(MediaTest, PartitionUsageAddsTheFilesOfAPartition)
{
    makeForm();
    useTool(
        fakeTool(kPtable, {"header", "A,128,---,1,0,1024,3,5,0,0", "B,128,---,1,0,3072,3,5,0,0"}));
    const auto [used, free] = form->PartitionUsage("/media/fake.hdf", "GAMES");
    EXPECT_EQ(used, 4096.0);
    EXPECT_EQ(free, 67076096.0 - 4096.0);
    const auto [usedX, freeX] = form->PartitionUsage("/media/fake.hdf", "games");
    EXPECT_EQ(freeX, -usedX);
}

} // namespace

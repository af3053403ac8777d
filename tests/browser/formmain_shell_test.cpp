// The main window's frame: menus, tool bar, pop-up menus, View menu,
// settings at start-up and shut-down, Preferences and About.
#include "gui_fixture.h"
#include "transfer_commands.h"

#include "browser_commands.h"
#include "file_list_model.h"
#include "form_about.h"
#include "form_pref.h"
#include "temp_folder.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

namespace {

// A menu's entries as "caption|shortcut", "-" for a separator and
// "caption>" for a submenu.
QStringList Entries(const QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            out << "-";
        else if (a->menu())
            out << a->text() + ">";
        else
            out << a->text() + "|" + a->shortcut().toString();
    }
    return out;
}

QMenu* TopMenu(TFormMain& form, const QString& title)
{
    for (QAction* a : form.menuBar()->actions()) {
        if (a->text() == title)
            return a->menu();
    }
    return nullptr;
}

using ShellTest = GuiTest;

TEST_F(ShellTest, TheWindowHasItsCaptionSizeAndControls)
{
    TFormMain& f = makeForm();
    EXPECT_EQ(f.windowTitle(), QString("3e Harnwick - a Zx Spectrum +3e File Browser"));
    // As high as before; as wide as the list's columns need, within the
    // screen.
    EXPECT_EQ(f.height(), 589);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(f.geometry()));
    int columns = 0;
    for (int c = 0; c < FileListModel::ColLbaBegin; ++c)
        columns += f.ListView()->reportView()->columnWidth(c);
    EXPECT_GE(f.width(), std::min(193 + columns, area.width() - 8));
    for (const char* name :
         {"TreeView", "ListView", "StatusBar", "ToolBar", "Splitter1", "MainMenu"})
        EXPECT_NE(f.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(f.Splitter1()->sizes().first(), 193);
    EXPECT_EQ(f.Splitter1()->handleWidth(), 2);
    EXPECT_EQ(f.findChild<QLabel*>("StatusPanel0")->width(), 193);
    EXPECT_EQ(f.findChild<QLabel*>("StatusPanel1")->width(), 100);
    EXPECT_EQ(f.ToolBar()->iconSize(), QSize(20, 20));
    EXPECT_EQ(f.ToolBar()->height(), 33);
}

TEST_F(ShellTest, TheMenuBarHoldsEveryEntryWithItsKeysAndSeparators)
{
    TFormMain& f = makeForm();
    QStringList titles;
    for (QAction* a : f.menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles,
              (QStringList{"&File", "&Edit", "&View", "&Device", "&Partition", "&Items", "&Tools"}));

    EXPECT_EQ(Entries(TopMenu(f, "&File")),
              (QStringList{"&New hard disk image...|Ctrl+N", "Open &hard disk image|F3",
                           "Open &physical device|F4",
                           "&Scan all compatible devices|", "-", "&Recent Files>", "-",
                           "&About...|", "&Exit|Ctrl+Q"}));
    EXPECT_EQ(Entries(TopMenu(f, "&Edit")),
              (QStringList{"C&ut|Ctrl+X", "&Copy|Ctrl+C", "&Paste|Ctrl+V", "-",
                           "&Select all files|Ctrl+A", "&Invert selection|"}));
    EXPECT_EQ(Entries(TopMenu(f, "&View")),
              (QStringList{"&Toolbar|", "Status &Bar|", "-", "&Lock windows|", "-", "&Icon View|",
                           "&Small Icon View|", "&List View|", "&Report View|"}));
    EXPECT_EQ(Entries(TopMenu(f, "&Device")),
              (QStringList{"Show partition &table|Ctrl+T", "Show partition &details|Ctrl+P", "-",
                           "&Search|Ctrl+F", "-", "&Eject|"}));
    EXPECT_EQ(Entries(TopMenu(f, "&Partition")),
              (QStringList{"&New partition...|", "&Rename partition...|", "Drive &letter...|",
                           "&Delete partition|", "&Empty partition|", "-", "&Check medium|"}));
    EXPECT_EQ(
        Entries(TopMenu(f, "&Items")),
        (QStringList{"Get all files from selected &partition|",
                     "Get all files from disk &image/device|", "Get selected &file(s)|Ctrl+G",
                     "Get selected file(s) without &header|", "Get selected file(s) into &Tape |",
                     "-", "&Rename current file|F2", "&Delete selected file(s)|Del", "-",
                     "&View selected file>", "-", "&Put file(s) in binary mode (no header)|",
                     "Put file(s) with +3DOS header|Ctrl+Ins", "Put file(s) to a specific address|",
                     "Put TAP contents|", "Put &floppy disk image contents|",
                     "Put BASIC te&xt...|", "Put picture as &SCREEN$...|", "-",
                     "Edit BASIC pro&gram...|Shift+F4"}));
    EXPECT_EQ(Entries(f.findChild<QMenu*>("Viewselectedfile1")),
              (QStringList{"Automatic format|", "as Zx BASIC|", "as Hexadecimal dump|",
                           "as Binary/Text|", "as List|", "as Zx Basic DATA|", "as Picture|"}));
    EXPECT_EQ(Entries(TopMenu(f, "&Tools")),
              (QStringList{"&Preferences|", "Check for 3E.EXE updates|"}));

    // No entry is ever disabled or hidden.
    QList<QAction*> entries =
        f.ToolBar()->actions() + f.PopupMenu1()->actions() + f.PopupMenu2()->actions();
    for (QAction* top : f.menuBar()->actions()) {
        entries << top;
        for (QAction* a : top->menu()->actions())
            entries << a << (a->menu() ? a->menu()->actions() : QList<QAction*>());
    }
    for (QAction* a : entries) {
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
        EXPECT_TRUE(a->isVisible()) << a->text().toStdString();
    }
}

TEST_F(ShellTest, TheToolBarShowsItsButtonsInOrderWithHints)
{
    TFormMain& f = makeForm();
    QStringList hints;
    for (QAction* a : f.ToolBar()->actions())
        hints << (a->isSeparator() ? QString("|") : a->toolTip());
    EXPECT_EQ(hints, (QStringList{"|", "Open hard disk image", "Open physical device", "|",
                                  "Show partition table", "|", "Copy", "Paste", "Delete", "|",
                                  "View selected file (Automatic format)", "|",
                                  "Get all files from disk image/device", "Get selected file(s)",
                                  "Put file(s) in binary mode", "Put tape contents", "|", "Exit"}));
    for (const char* name : {"ToolButton9", "ToolButton11", "ToolButton14"})
        EXPECT_NE(f.ToolBar()->findChild<QWidget*>(name), nullptr) << name;
}

// A pop-up menu's entries as they show while it is open.
QStringList ShownEntries(QMenu* popup)
{
    popup->popup(QPoint(0, 0));
    const QStringList entries = Entries(popup);
    popup->hide();
    return entries;
}

TEST_F(ShellTest, ThePopUpMenusHoldTheirEntries)
{
    TFormMain& f = makeForm();
    EXPECT_EQ(ShownEntries(f.PopupMenu1()),
              (QStringList{"Show partition details|", "-", "Get all files from selected partition|",
                           "Get all files from disk image/device|", "-", "Sort partition tree|", "-",
                           "New partition...|", "Rename partition...|", "Drive letter...|",
                           "Delete partition|", "Empty partition|", "-", "Check medium|"}));
    EXPECT_EQ(ShownEntries(f.PopupMenu2()),
              (QStringList{"Get selected file(s)|",
                           "Get selected file(s) without header|",
                           "Get selected file(s) into Tape|",
                           "-",
                           "Rename current file|F2",
                           "Delete selected file(s)|Del",
                           "-",
                           "View selected file (Automatic format)|Ctrl+Return",
                           "Edit BASIC program...|Shift+F4",
                           "-",
                           "Put file(s) in binary mode (no header)|",
                           "Put file(s) with +3DOS header|",
                           "Put file(s) to a specific address|",
                           "Put TAP contents|",
                           "Put floppy disk image contents|",
                           "-",
                           "Cut|",
                           "Copy|",
                           "Paste|",
                           "-",
                           "Select all files|",
                           "-",
                           "Properties|Alt+Return"}));
    // Each entry is the command's one action: once the pop-up has gone, the
    // menu bar shows it as before.
    EXPECT_EQ(Entries(f.findChild<QMenu*>("Viewselectedfile1")).first(), "Automatic format|");
    EXPECT_EQ(f.PopupMenu2()->actions().first(), f.findChild<QAction*>("Saveselectedfiles2"));
    EXPECT_EQ(f.findChild<QAction*>("Putfile3DOS1")->shortcut().toString(), "Ctrl+Ins");
}

TEST_F(ShellTest, TheViewMenuTogglesBarsAndSetsOneListStyle)
{
    TFormMain& f = makeForm();
    f.show();
    auto action = [&](const char* name) { return f.findChild<QAction*>(name); };

    EXPECT_TRUE(action("Toolbar1")->isChecked());
    EXPECT_TRUE(action("StatusBar1")->isChecked());
    action("Toolbar1")->trigger();
    EXPECT_FALSE(action("Toolbar1")->isChecked());
    EXPECT_FALSE(f.ToolBar()->isVisible());
    action("StatusBar1")->trigger();
    EXPECT_FALSE(f.statusBar()->isVisible());
    action("Toolbar1")->trigger();
    action("StatusBar1")->trigger();
    EXPECT_TRUE(f.ToolBar()->isVisible());
    EXPECT_TRUE(f.statusBar()->isVisible());

    const std::pair<const char*, FileListView::Style> styles[] = {
        {"IconView1", FileListView::Style::Icon},
        {"SmallIconView1", FileListView::Style::SmallIcon},
        {"ListView1", FileListView::Style::List},
        {"ReportView1", FileListView::Style::Report},
    };
    EXPECT_TRUE(action("ReportView1")->isChecked());
    for (const auto& [name, style] : styles) {
        action(name)->trigger();
        EXPECT_EQ(f.ListView()->style(), style) << name;
        for (const auto& [other, unused] : styles)
            EXPECT_EQ(action(other)->isChecked(), QString(other) == name) << name << " " << other;
    }
}

TEST_F(ShellTest, LockingTheWindowsHidesTheDividerAndKeepsTheTreeWidth)
{
    TFormMain& f = makeForm();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.Splitter1()->setSizes({250, 500});
    const int treeWidth = f.TreeView()->width();
    f.findChild<QAction*>("Lockwindows1")->trigger();
    EXPECT_TRUE(f.findChild<QAction*>("Lockwindows1")->isChecked());
    EXPECT_FALSE(f.Splitter1()->handle(1)->isVisible());
    f.resize(900, 600);
    QApplication::processEvents();
    EXPECT_EQ(f.TreeView()->width(), treeWidth);
    f.findChild<QAction*>("Lockwindows1")->trigger();
    EXPECT_TRUE(f.Splitter1()->handle(1)->isVisible());
}

TEST_F(ShellTest, FirstStartUsesTheDefaults)
{
    TFormMain& f = makeForm();
    EXPECT_EQ(f.ToolPath, startFolder() + "/3E.EXE");
    EXPECT_EQ(f.StartFolder, startFolder());
    // The tool's output files live in the run's private folder, not beside
    // the tool (an installed tool's folder is not writable).
    EXPECT_EQ(f.OutFile, ToolOutputFolder() + "/3E.OUT");
    EXPECT_EQ(f.ErrFile, ToolOutputFolder() + "/3E.ERR");
    EXPECT_TRUE(f.CheckUpdatesAtStartup);
    EXPECT_FALSE(f.UseSpectrumFont);
    EXPECT_TRUE(f.LastDiskImage.isEmpty());
    EXPECT_TRUE(f.RecentFilesMenu()->actions().isEmpty());
    EXPECT_EQ(f.Transfer().ClipboardMode, TransferCommands::ClipboardModes::None);
    EXPECT_FALSE(f.Transfer().GetWithoutHeader);
    EXPECT_FALSE(f.Transfer().GetIntoTape);
}

TEST_F(ShellTest, SettingsAreWrittenAtShutDownAndReadAtTheNextStart)
{
    const QString elsewhere = path("elsewhere/3E.EXE");
    QDir().mkpath(path("elsewhere"));
    QFile(elsewhere).open(QIODevice::WriteOnly);
    TFormMain& f = makeForm();
    f.ToolPath = elsewhere;
    f.UseSpectrumFont = true;
    f.CheckUpdatesAtStartup = false;
    f.LastDiskImage = "/images/last.hdf";
    for (const char* name : {"/a.hdf", "/b.hdf", "/c.hdf", "/d.hdf", "/e.hdf"})
        f.AddRecentFile(name);
    // Nothing reaches the store before shut-down.
    EXPECT_FALSE(QFile::exists(settingsFile()));
    closeForm();

    EXPECT_EQ(storedSetting("SpecFont").toString(), QString("1"));
    EXPECT_EQ(storedSetting("Check3EUpdates").toString(), QString("0"));
    TFormMain& g = makeForm();
    EXPECT_EQ(g.ToolPath, elsewhere);
    // The output files stay in the private folder whatever the tool.
    EXPECT_EQ(g.OutFile, ToolOutputFolder() + "/3E.OUT");
    EXPECT_TRUE(g.UseSpectrumFont);
    EXPECT_FALSE(g.CheckUpdatesAtStartup);
    EXPECT_EQ(g.LastDiskImage, QString("/images/last.hdf"));
    EXPECT_EQ(g.RecentFiles(), (QStringList{"/b.hdf", "/c.hdf", "/d.hdf", "/e.hdf"}));
    QStringList shown;
    for (QAction* a : g.RecentFilesMenu()->actions())
        shown << a->text();
    EXPECT_EQ(shown, g.RecentFiles());
}

TEST_F(ShellTest, TheDefaultToolIsNotStoredAndAVanishedChoiceIsReportedOnce)
{
    // Started from a folder without the tool, the default tool is found
    // again at each start and never written as "3ePos".
    makeForm();
    closeForm();
    EXPECT_EQ(storedSetting("3ePos").toString(), QString());

    const QString chosen = path("mine/3E.EXE");
    QDir().mkpath(path("mine"));
    QFile(chosen).open(QIODevice::WriteOnly);
    writeSettings({{"3ePos", chosen}, {"Specfont", 0}, {"Check3EUpdates", 0}});
    EXPECT_EQ(makeForm().ToolPath, chosen);
    closeForm();
    EXPECT_EQ(storedSetting("3ePos").toString(), chosen);

    QFile::remove(chosen);
    TFormMain& g = makeForm();
    EXPECT_EQ(g.ToolPath, realToolPath());
    g.FormShow();
    ASSERT_EQ(prompts->records().size(), 1);
    EXPECT_EQ(prompts->records()[0].kind, ScriptedPrompts::Kind::Information);
    EXPECT_TRUE(prompts->records()[0].text.contains(chosen));
    closeForm();
    EXPECT_EQ(storedSetting("3ePos").toString(), QString());
    makeForm().FormShow();
    EXPECT_TRUE(prompts->records().isEmpty()) << "reported once";
}

TEST_F(ShellTest, PreferencesOkTakesThePathWithoutQuotesAndTheCheckBoxes)
{
    TFormMain& f = makeForm();
    const QString outBefore = f.OutFile;
    prompts->answerDialog([](QDialog& d) {
        auto& pref = static_cast<TFormPref&>(d);
        EXPECT_TRUE(pref.TxtFileName->isReadOnly());
        pref.TxtFileName->setText("\"/my tools/3E.EXE\"");
        pref.ChkSpectrum->setChecked(true);
        pref.Chk3EUpdates->setChecked(false);
        pref.CmdOK->click();
        return d.result();
    });
    f.Browser().showPreferences();
    EXPECT_EQ(f.ToolPath, QString("/my tools/3E.EXE"));
    EXPECT_TRUE(f.UseSpectrumFont);
    EXPECT_FALSE(f.CheckUpdatesAtStartup);
    EXPECT_EQ(f.OutFile, outBefore);

    prompts->answerDialog([](QDialog& d) {
        auto& pref = static_cast<TFormPref&>(d);
        EXPECT_EQ(pref.TxtFileName->text(), QString("/my tools/3E.EXE"));
        EXPECT_TRUE(pref.ChkSpectrum->isChecked());
        pref.ChkSpectrum->setChecked(false);
        pref.CmdCancel->click();
        return d.result();
    });
    f.Browser().showPreferences();
    EXPECT_TRUE(f.UseSpectrumFont);
    EXPECT_EQ(f.windowTitle(), QString("3e Harnwick - a Zx Spectrum +3e File Browser"));
}

TEST_F(ShellTest, ThePathButtonOffersExecutablesAndTakesTheChosenFile)
{
    TFormMain& f = makeForm();
    prompts->answerDialog([](QDialog& d) {
        auto& pref = static_cast<TFormPref&>(d);
        pref.BtnBrowse->click();
        EXPECT_EQ(pref.TxtFileName->text(), QString("/opt/3E.EXE"));
        pref.CmdOK->click();
        return d.result();
    });
    prompts->answerOpenFiles({"/opt/3E.EXE"});
    f.Browser().showPreferences();
    EXPECT_EQ(f.ToolPath, QString("/opt/3E.EXE"));
    ASSERT_EQ(prompts->fileRequests().size(), 1);
    EXPECT_EQ(prompts->fileRequests()[0].filter,
              QString("Executable Files (*.exe)|*.exe|All files (*.*)|*.*"));
}

TEST_F(ShellTest, ResetAsksAndEmptiesThePathUntilTheNextStart)
{
    const QString custom = path("custom/3E.EXE");
    QDir().mkpath(path("custom"));
    QFile(custom).open(QIODevice::WriteOnly);
    writeSettings({{"3ePos", custom}, {"Specfont", 1}, {"Check3EUpdates", 0}});
    TFormMain& f = makeForm();
    ASSERT_EQ(f.ToolPath, custom);

    // No: the dialog closes and nothing changes.
    prompts->clickInDialog("CmdReset").answerConfirm(Prompts::Answer::No);
    f.Browser().showPreferences();
    EXPECT_EQ(f.ToolPath, custom);

    prompts->clickInDialog("CmdReset").answerConfirm(Prompts::Answer::Yes);
    f.Browser().showPreferences();
    EXPECT_EQ(prompts->records()[2].kind, ScriptedPrompts::Kind::Dialog);
    EXPECT_EQ(prompts->records()[3].text, QString("Are you sure you want to reset configuration?"));
    EXPECT_EQ(prompts->records()[3].caption, QString("Confirm"));
    EXPECT_TRUE(f.ToolPath.isEmpty());
    EXPECT_FALSE(f.UseSpectrumFont);
    EXPECT_TRUE(f.CheckUpdatesAtStartup);

    // With no tool every command that needs it says so.
    f.Browser().showPartitionTable();
    ASSERT_EQ(prompts->errors().size(), 1);
    EXPECT_EQ(prompts->errors()[0], QString("3e program not present.\r\nPlease be sure to "
                                            "configure correct position in Preferences "
                                            "Dialog Box."));

    closeForm();
    TFormMain& g = makeForm();
    EXPECT_EQ(g.ToolPath, startFolder() + "/3E.EXE");
    EXPECT_TRUE(g.CheckUpdatesAtStartup);
}

TEST_F(ShellTest, AboutShowsTheProgramAndCloses)
{
    TFormMain& f = makeForm();
    prompts->answerDialog([](QDialog& d) {
        auto& about = static_cast<TFormAbout&>(d);
        EXPECT_EQ(about.windowTitle(), QString("About..."));
        EXPECT_EQ(about.LblTitle->text(), QString("3e Harnwick\r\na Zx Spectrum +3e File Browser"));
        EXPECT_EQ(about.LblVersion->text(), QString("version 1.064"));
        EXPECT_EQ(about.LblDate->text(), QString("Last Update: January 16th, 2010"));
        EXPECT_GE(about.width(), 510);
        for (QLabel* label : about.findChildren<QLabel*>())
            EXPECT_GE(label->width(), label->minimumSizeHint().width()) << label->objectName().toStdString();
        EXPECT_TRUE(about.CmdOK->isDefault());
        QTest::keyClick(&about, Qt::Key_Escape);
        EXPECT_FALSE(about.isVisible());
        return d.result();
    });
    f.Browser().showAbout();
    EXPECT_TRUE(prompts->allAnswersUsed());
}

TEST_F(ShellTest, StatusPanelsKeepTheTextAsSetAndShowOneLine)
{
    TFormMain& f = makeForm();
    f.SetStatusPanel(2, "Fatal Error: bad\r\n");
    EXPECT_EQ(f.StatusPanel(2), QString("Fatal Error: bad\r\n"));
    EXPECT_EQ(f.findChild<QLabel*>("StatusPanel2")->text(), QString("Fatal Error: bad"));
}

} // namespace

// The main window's places for commands: the menu bar, the tool bar and the
// two pop-up menus, laid out from the action registry by command id. No
// entry is ever disabled or hidden: each command checks its own
// preconditions.
#include "formmain.h"

#include "basic_commands.h"
#include "browser_commands.h"
#include "command_registry.h"
#include "drop_offers.h"
#include "media_commands.h"
#include "put_picture.h"
#include "transfer_commands.h"
#include "update_commands.h"
#include "view_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

void TFormMain::RegisterCommands()
{
    m_commands = new CommandRegistry(this, [this](const std::function<void()>& command) {
        RunGuarded(command);
    });
    m_browser = std::make_unique<BrowserCommands>(*this);
    m_browser->registerCommands(*m_commands);
    m_transfer = std::make_unique<TransferCommands>(*this);
    m_transfer->registerCommands(*m_commands);
    m_viewers = std::make_unique<ViewCommands>(*this);
    m_viewers->registerCommands(*m_commands);
    m_update = std::make_unique<UpdateCommands>(*this);
    m_update->registerCommands(*m_commands);
    m_media = std::make_unique<MediaCommands>(*this);
    m_media->registerCommands(*m_commands);
    m_basic = std::make_unique<BasicCommands>(*this);
    m_basic->registerCommands(*m_commands);
    RegisterDropOffers();

    // The bars are shown and the report style is chosen at start (setListStyle
    // keeps the four style entries checked as one choice).
    m_commands->action(QStringLiteral("Toolbar1"))->setChecked(true);
    m_commands->action(QStringLiteral("StatusBar1"))->setChecked(true);
    m_commands->action(QStringLiteral("ReportView1"))->setChecked(true);

    // Alt+Enter as well as Alt+Return, while the list (or a view in it) has
    // the focus.
    QAction* properties = m_commands->action(QStringLiteral("Properties1"));
    properties->setShortcuts(
        {QKeySequence(QStringLiteral("Alt+Return")), QKeySequence(QStringLiteral("Alt+Enter"))});
    properties->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_list->addAction(properties);
}

void TFormMain::RegisterDropOffers()
{
    m_drops = std::make_unique<DropRouter>(this);
    m_drops->addOffer({.id = QStringLiteral("BasicText"),
                       .kind = tr("Dropped BASIC text files"),
                       .takeCaption = tr("As a &BASIC program"),
                       .plainCaption = tr("As the &file it is"),
                       .question =
                           [](const QString& file) {
                               return tr("Put %1 as a BASIC program (tokenised) or as the file it is?")
                                   .arg(file);
                           },
                       .matches = &LooksLikeBasicText,
                       .take = [this](const QStringList& files) { m_basic->putBasicTextFiles(files); }});
    m_drops->addOffer({.id = QStringLiteral("Picture"),
                       .kind = tr("Dropped pictures"),
                       .takeCaption = tr("As a &SCREEN$"),
                       .plainCaption = tr("As the &file it is"),
                       .question =
                           [](const QString& file) {
                               return tr("Put %1 as a SCREEN$ (converted to screen memory) or as the file it is?")
                                   .arg(file);
                           },
                       .matches = &LooksLikePicture,
                       .take = [this](const QStringList& files) { m_viewers->putPictures(files); }});
}

void TFormMain::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    const CommandRegistry& c = *m_commands;

    QMenu* file = bar->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("File1"));
    c.fillMenu(file, {"NewHardDiskImage1", "OpenHDFFile1", "OpenPhysicalDevice1", "Scanallcompatibledevices1", "-"});
    m_recentMenu = file->addMenu(tr("&Recent Files"));
    m_recentMenu->setObjectName(QStringLiteral("RecentFiles1"));
    m_recentMenu->menuAction()->setObjectName(QStringLiteral("RecentFiles1Action"));
    RebuildRecentMenu();
    c.fillMenu(file, {"-", "About1", "Exit1"});

    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    c.fillMenu(edit, {"Cut1", "Copy1", "Paste1", "-", "Selectallfiles1", "Invertselection1"});

    QMenu* view = bar->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("View1"));
    c.fillMenu(view, {"Toolbar1", "StatusBar1", "-", "Lockwindows1", "-", "IconView1",
                      "SmallIconView1", "ListView1", "ReportView1"});

    QMenu* device = bar->addMenu(tr("&Device"));
    device->setObjectName(QStringLiteral("Device1"));
    c.fillMenu(device, {"Showpartitiontable1", "Showpartitiondetails1", "-", "Search1", "-", "Eject1"});

    QMenu* partition = bar->addMenu(tr("&Partition"));
    partition->setObjectName(QStringLiteral("Partition1"));
    c.fillMenu(partition, {"NewPartition1", "RenamePartition1", "DriveLetter1", "DeletePartition1",
                           "EmptyPartition1", "-", "CheckMedium1"});

    QMenu* items = bar->addMenu(tr("&Items"));
    items->setObjectName(QStringLiteral("Items1"));
    c.fillMenu(items, {"Getallfilesfromselectedpartition1", "Getallfilesfromdisk2",
                       "Saveselectedfiles2", "Getselectedfileswithoutheader1",
                       "GetselectedfilesintoTAP1", "-", "Rname1", "Deleteselectedfiles2", "-"});
    QMenu* viewFile = items->addMenu(tr("&View selected file"));
    viewFile->setObjectName(QStringLiteral("Viewselectedfile1"));
    c.fillMenu(viewFile,
               {"ViewBASICcode1", "AsBASIC1", "AsBinary1", "AsText1", "AsList1", "AsData1", "AsPicture1"});
    c.fillMenu(items, {"-", "Putfilestandard1", "Putfile3DOS1",
                       "Putfilesinstandardmodetoaspecificaddress1", "Putalltapecontents1",
                       "Putalldiskcontents1", "PutBASICtext1", "PutPictureAsScreen1", "-",
                       "EditBASICprogram1"});

    QMenu* tools = bar->addMenu(tr("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    c.fillMenu(tools, {"Preferences1", "Check3Eupdates1"});
}

void TFormMain::BuildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("ToolBar"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->setFixedHeight(33);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    m_commands->fillToolBar(m_toolBar,
                            {
                                {"-", ""},
                                {"OpenHDFFile1", "ToolButtonOpenImage"},
                                {"OpenPhysicalDevice1", "ToolButtonOpenDevice"},
                                {"-", ""},
                                {"Showpartitiontable1", "ToolButtonPartitionTable"},
                                {"-", ""},
                                {"Copy1", "ToolButton9"},
                                {"Paste1", "ToolButton11"},
                                {"Deleteselectedfiles2", "ToolButtonDelete"},
                                {"-", ""},
                                {"ViewBASICcode1", "ToolButton14"},
                                {"-", ""},
                                {"Getallfilesfromdisk2", "ToolButtonGetAll"},
                                {"Saveselectedfiles2", "ToolButtonGetSelected"},
                                {"Putfilestandard1", "ToolButtonPutBinary"},
                                {"Putalltapecontents1", "ToolButtonPutTape"},
                                {"-", ""},
                                {"Exit1", "ToolButtonExit"},
                            });
}

void TFormMain::BuildPopupMenus()
{
    m_popupTree = new QMenu(this);
    m_popupTree->setObjectName(QStringLiteral("PopupMenu1"));
    // The entry "Get all files from disk image/device" runs the command of the
    // same caption.
    m_commands->fillPopup(m_popupTree,
                          {"Showpartitiondetails1", "-", "Getallfilesfromselectedpartition1",
                           "Getallfilesfromdisk2", "-", "Sortpartitiontree1", "-",
                           "NewPartition1", "RenamePartition1", "DriveLetter1", "DeletePartition1",
                           "EmptyPartition1", "-", "CheckMedium1"});

    m_popupList = new QMenu(this);
    m_popupList->setObjectName(QStringLiteral("PopupMenu2"));
    m_commands->fillPopup(
        m_popupList,
        {"Saveselectedfiles2", "Getselectedfileswithoutheader1", "GetselectedfilesintoTAP1", "-",
         "Rname1", "Deleteselectedfiles2", "-", "ViewBASICcode1", "EditBASICprogram1", "-",
         "Putfilestandard1",
         "Putfile3DOS1", "Putfilesinstandardmodetoaspecificaddress1", "Putalltapecontents1",
         "Putalldiskcontents1", "-", "Cut1", "Copy1", "Paste1", "-", "Selectallfiles1", "-",
         "Properties1"});
}

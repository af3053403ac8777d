// The main window's menu bar, tool bar and pop-up menus. No entry is ever
// disabled or hidden: each command checks its own preconditions.
#include "formmain.h"

#include "pictures.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

using Handler = void (TFormMain::*)();

struct Entry
{
    const char* name;     // object name of the action ("" for a separator)
    const char* caption;  // "&" marks the access key
    const char* shortcut; // QKeySequence text, or ""
    Handler handler;      // nullptr: a check entry handled by its own code
};

const Entry kSeparator{"", "", "", nullptr};

} // namespace

QAction* TFormMain::AddCommand(QWidget* menu, const char* name, const QString& caption,
                               const QKeySequence& shortcut, void (TFormMain::*handler)())
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler] { RunCommand(handler); });
    menu->addAction(action);
    return action;
}

void TFormMain::RunCommand(void (TFormMain::*handler)())
{
    RunGuarded([this, handler] { (this->*handler)(); });
}

void TFormMain::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    auto fill = [this](QMenu* menu, std::initializer_list<Entry> entries) {
        for (const Entry& e : entries) {
            if (*e.name == '\0')
                menu->addSeparator();
            else
                AddCommand(menu, e.name, QString::fromLatin1(e.caption),
                           QKeySequence(QLatin1String(e.shortcut)), e.handler);
        }
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    fill(file, {
                   {"OpenHDFFile1", "Open &hard disk image", "F3", &TFormMain::OpenHDFFile1Click},
                   {"OpenPhysicalDevice1", "Open &physical device", "F4",
                    &TFormMain::OpenPhysicalDevice1Click},
                   {"Scanallcompatibledevices1", "&Scan all compatible devices", "",
                    &TFormMain::Scanallcompatibledevices1Click},
                   kSeparator,
               });
    m_recentMenu = file->addMenu(QStringLiteral("&Recent Files"));
    m_recentMenu->setObjectName(QStringLiteral("RecentFiles1"));
    m_recentMenu->menuAction()->setObjectName(QStringLiteral("RecentFiles1Action"));
    RebuildRecentMenu();
    fill(file, {
                   kSeparator,
                   {"About1", "&About...", "", &TFormMain::About1Click},
                   {"Exit1", "&Exit", "Ctrl+Q", &TFormMain::Exit1Click},
               });

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    fill(edit,
         {
             {"Cut1", "C&ut", "Ctrl+X", &TFormMain::Cut1Click},
             {"Copy1", "&Copy", "Ctrl+C", &TFormMain::Copy1Click},
             {"Paste1", "&Paste", "Ctrl+V", &TFormMain::Paste1Click},
             kSeparator,
             {"Selectallfiles1", "&Select all files", "Ctrl+A", &TFormMain::Selectallfiles1Click},
             {"Invertselection1", "&Invert selection", "", &TFormMain::Invertselection1Click},
         });

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    fill(view, {
                   {"Toolbar1", "&Toolbar", "", &TFormMain::Toolbar1Click},
                   {"StatusBar1", "Status &Bar", "", &TFormMain::StatusBar1Click},
                   kSeparator,
                   {"Lockwindows1", "&Lock windows", "", &TFormMain::Lockwindows1Click},
                   kSeparator,
                   {"IconView1", "&Icon View", "", &TFormMain::IconView1Click},
                   {"SmallIconView1", "&Small Icon View", "", &TFormMain::SmallIconView1Click},
                   {"ListView1", "&List View", "", &TFormMain::ListView1Click},
                   {"ReportView1", "&Report View", "", &TFormMain::ReportView1Click},
               });
    for (const char* name : {"Toolbar1", "StatusBar1", "Lockwindows1", "IconView1",
                             "SmallIconView1", "ListView1", "ReportView1"}) {
        findChild<QAction*>(QLatin1String(name))->setCheckable(true);
    }
    findChild<QAction*>(QStringLiteral("Toolbar1"))->setChecked(true);
    findChild<QAction*>(QStringLiteral("StatusBar1"))->setChecked(true);
    findChild<QAction*>(QStringLiteral("ReportView1"))->setChecked(true);

    QMenu* device = bar->addMenu(QStringLiteral("&Device"));
    device->setObjectName(QStringLiteral("Device1"));
    fill(device, {
                     {"Showpartitiontable1", "Show partition &table", "Ctrl+T",
                      &TFormMain::Showpartitiontable1Click},
                     {"Showpartitiondetails1", "Show partition &details", "Ctrl+P",
                      &TFormMain::Showpartitiondetails1Click},
                     kSeparator,
                     {"Search1", "&Search", "Ctrl+F", &TFormMain::Search1Click},
                 });

    QMenu* items = bar->addMenu(QStringLiteral("&Items"));
    items->setObjectName(QStringLiteral("Items1"));
    fill(items, {
                    {"Getallfilesfromselectedpartition1", "Get all files from selected &partition",
                     "", &TFormMain::Getallfilesfromselectedpartition1Click},
                    {"Getallfilesfromdisk2", "Get all files from disk &image/device", "",
                     &TFormMain::Getallfilesfromdisk2Click},
                    {"Saveselectedfiles2", "Get selected &file(s)", "Ctrl+G",
                     &TFormMain::Saveselectedfiles2Click},
                    {"Getselectedfileswithoutheader1", "Get selected file(s) without &header", "",
                     &TFormMain::Getselectedfileswithoutheader1Click},
                    {"GetselectedfilesintoTAP1", "Get selected file(s) into &Tape ", "",
                     &TFormMain::GetselectedfilesintoTAP1Click},
                    kSeparator,
                    {"Rname1", "&Rename current file", "F2", &TFormMain::Rname1Click},
                    {"Deleteselectedfiles2", "&Delete selected file(s)", "Del",
                     &TFormMain::Deleteselectedfiles2Click},
                    kSeparator,
                });
    QMenu* viewFile = items->addMenu(QStringLiteral("&View selected file"));
    viewFile->setObjectName(QStringLiteral("Viewselectedfile1"));
    fill(viewFile, {
                       {"ViewBASICcode1", "Automatic format", "", &TFormMain::ViewBASICcode1Click},
                       {"AsBASIC1", "as Zx BASIC", "", &TFormMain::AsBASIC1Click},
                       {"AsBinary1", "as Hexadecimal dump", "", &TFormMain::AsBinary1Click},
                       {"AsText1", "as Binary/Text", "", &TFormMain::AsText1Click},
                       {"AsList1", "as List", "", &TFormMain::AsList1Click},
                       {"AsData1", "as Zx Basic DATA", "", &TFormMain::AsData1Click},
                   });
    fill(items,
         {
             kSeparator,
             {"Putfilestandard1", "&Put file(s) in binary mode (no header)", "",
              &TFormMain::Putfilestandard1Click},
             {"Putfile3DOS1", "Put file(s) with +3DOS header", "Ctrl+Ins",
              &TFormMain::Putfile3DOS1Click},
             {"Putfilesinstandardmodetoaspecificaddress1", "Put file(s) to a specific address", "",
              &TFormMain::Putfilesinstandardmodetoaspecificaddress1Click},
             {"Putalltapecontents1", "Put TAP contents", "", &TFormMain::Putalltapecontents1Click},
             {"Putalldiskcontents1", "Put &floppy disk image contents", "",
              &TFormMain::Putalldiskcontents1Click},
         });

    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    fill(tools,
         {
             {"Preferences1", "&Preferences", "", &TFormMain::Preferences1Click},
             {"Check3Eupdates1", "Check for 3E.EXE updates", "", &TFormMain::Check3Eupdates1Click},
         });
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

    struct Button
    {
        const char* name; // "" for a gap
        const char* hint;
        Handler handler;
    };
    const Button buttons[] = {
        {"", "", nullptr},
        {"ToolButtonOpenImage", "Open hard disk image", &TFormMain::OpenHDFFile1Click},
        {"ToolButtonOpenDevice", "Open physical device", &TFormMain::OpenPhysicalDevice1Click},
        {"", "", nullptr},
        {"ToolButtonPartitionTable", "Show partition table", &TFormMain::Showpartitiontable1Click},
        {"", "", nullptr},
        {"ToolButton9", "Copy", &TFormMain::Copy1Click},
        {"ToolButton11", "Paste", &TFormMain::Paste1Click},
        {"ToolButtonDelete", "Delete", &TFormMain::Deleteselectedfiles2Click},
        {"", "", nullptr},
        {"ToolButton14", "View selected file (Automatic format)", &TFormMain::ViewBASICcode1Click},
        {"", "", nullptr},
        {"ToolButtonGetAll", "Get all files from disk image/device",
         &TFormMain::Getallfilesfromdisk2Click},
        {"ToolButtonGetSelected", "Get selected file(s)", &TFormMain::Saveselectedfiles2Click},
        {"ToolButtonPutBinary", "Put file(s) in binary mode", &TFormMain::Putfilestandard1Click},
        {"ToolButtonPutTape", "Put tape contents", &TFormMain::Putalltapecontents1Click},
        {"", "", nullptr},
        {"ToolButtonExit", "Exit", &TFormMain::Exit1Click},
    };
    for (const Button& b : buttons) {
        if (*b.name == '\0') {
            m_toolBar->addSeparator();
            continue;
        }
        const QString name = QLatin1String(b.name);
        QAction* action = AddCommand(m_toolBar, b.name, QString::fromLatin1(b.hint), {}, b.handler);
        action->setObjectName(name + QLatin1String("Action"));
        action->setToolTip(QString::fromLatin1(b.hint));
        action->setStatusTip(QString::fromLatin1(b.hint));
        action->setIcon(pictures::ToolButton(name));
        if (QWidget* button = m_toolBar->widgetForAction(action)) {
            button->setObjectName(name);
            if (auto* tool = qobject_cast<QToolButton*>(button))
                tool->setAutoRaise(true);
        }
    }
}

void TFormMain::BuildPopupMenus()
{
    // Shortcuts are shown in the pop-up menus as the menus of the window show
    // them. The keys themselves are taken by the main menu (F2, Del), by the
    // list's key handler (Ctrl+Enter) and by the list's own action (Alt+Enter).
    auto add = [this](QMenu* menu, const char* name, const char* caption, const char* shortcutShown,
                      Handler h) {
        QAction* action = AddCommand(menu, name, QString::fromLatin1(caption), {}, h);
        if (*shortcutShown) {
            action->setShortcut(QKeySequence(QLatin1String(shortcutShown)));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        return action;
    };

    m_popupTree = new QMenu(this);
    m_popupTree->setObjectName(QStringLiteral("PopupMenu1"));
    add(m_popupTree, "Showpartitiondetails2", "Show partition details", "",
        &TFormMain::Showpartitiondetails1Click);
    m_popupTree->addSeparator();
    add(m_popupTree, "Getallfilesfromselectedpartition2", "Get all files from selected partition",
        "", &TFormMain::Getallfilesfromselectedpartition1Click);
    add(m_popupTree, "Getallfilesfromdisk1", "Get all files from disk image/device", "",
        &TFormMain::Getallfilesfromdisk2Click);
    m_popupTree->addSeparator();
    add(m_popupTree, "Sortpartitiontree1", "Sort partition tree", "",
        &TFormMain::SortPartitionTree1Click);

    m_popupList = new QMenu(this);
    m_popupList->setObjectName(QStringLiteral("PopupMenu2"));
    QMenu* p = m_popupList;
    add(p, "Saveselectedfiles1", "Get selected file(s)", "", &TFormMain::Saveselectedfiles2Click);
    add(p, "Getselectedfileswithoutheader2", "Get selected file(s) without header", "",
        &TFormMain::Getselectedfileswithoutheader1Click);
    add(p, "GetselectedfilesintoTAP2", "Get selected file(s) into Tape", "",
        &TFormMain::GetselectedfilesintoTAP1Click);
    p->addSeparator();
    add(p, "Rname2", "Rename current file", "F2", &TFormMain::Rname1Click);
    add(p, "Deleteselectedfiles1", "Delete selected file(s)", "Del",
        &TFormMain::Deleteselectedfiles2Click);
    p->addSeparator();
    add(p, "ViewBASICcode2", "View selected file (Automatic format)", "Ctrl+Return",
        &TFormMain::ViewBASICcode1Click);
    p->addSeparator();
    add(p, "Putfilestandard2", "Put file(s) in binary mode (no header)", "",
        &TFormMain::Putfilestandard1Click);
    add(p, "Putfile3DOS2", "Put file(s) with +3DOS header", "", &TFormMain::Putfile3DOS1Click);
    add(p, "Putfilesinstandardmodetoaspecificaddress2", "Put file(s) to a specific address", "",
        &TFormMain::Putfilesinstandardmodetoaspecificaddress1Click);
    add(p, "Putalltapecontents2", "Put TAP contents", "", &TFormMain::Putalltapecontents1Click);
    add(p, "Putalldiskcontents2", "Put floppy disk image contents", "",
        &TFormMain::Putalldiskcontents1Click);
    p->addSeparator();
    add(p, "Cut2", "Cut", "", &TFormMain::Cut1Click);
    add(p, "Copy2", "Copy", "", &TFormMain::Copy1Click);
    add(p, "Paste2", "Paste", "", &TFormMain::Paste1Click);
    p->addSeparator();
    add(p, "Selectallfiles2", "Select all files", "", &TFormMain::Selectallfiles1Click);
    p->addSeparator();
    add(p, "Properties1", "Properties", "Alt+Return", &TFormMain::Properties1Click);

    // Alt+Enter opens the properties while the list has the focus.
    auto* properties = new QAction(m_list);
    properties->setObjectName(QStringLiteral("PropertiesShortcut"));
    properties->setShortcuts(
        {QKeySequence(QStringLiteral("Alt+Return")), QKeySequence(QStringLiteral("Alt+Enter"))});
    properties->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(properties, &QAction::triggered, this,
            [this] { RunCommand(&TFormMain::Properties1Click); });
    m_list->addAction(properties);
}

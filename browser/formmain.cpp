#include "formmain.h"

#include "basic_commands.h"
#include "browser_commands.h"
#include "command_registry.h"
#include "desktop_file_list.h"
#include "drop_offers.h"
#include "file_list_model.h"
#include "media_commands.h"
#include "media_rules.h"
#include "pictures.h"
#include "settings_store.h"
#include "temp_folder.h"
#include "tool_command.h"
#include "tool_location.h"
#include "transfer_commands.h"
#include "tree_caption_delegate.h"
#include "update_address.h"
#include "update_commands.h"
#include "view_commands.h"
#include "window_place.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace {

const char* const kBaseCaption = QT_TRANSLATE_NOOP("TFormMain", "3e Harnwick - a Zx Spectrum +3e File Browser");
constexpr int kTreeWidth = 193;
constexpr std::array<int, 3> kPanelWidths{193, 100, 50};
// What the status panels must show whole, in characters of the window's
// font: a partition name of 16, a file name of 8.3.
constexpr std::array<int, 2> kPanelChars{18, 13};
// The longest status text in everyday use: the partition table's summary of
// a large card. The first window shows it whole.
const char* const kLongStatusSample =
    "Disk geometry (C/H/S): 1024/16/63 (528,482,304 bytes) - Partitions: 15 used, 49 free, 64 total";
// The first window's height: enough for the tree and some twenty rows.
constexpr int kFirstHeight = 589;

} // namespace

TFormMain::TFormMain(QWidget* parent) : TFormMain(TFormMainOptions{}, parent) {}

TFormMain::TFormMain(const TFormMainOptions& options, QWidget* parent)
    : QMainWindow(parent), m_options(options), m_prompts(std::make_unique<QtPrompts>(this))
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(tr(kBaseCaption));
    setWindowIcon(pictures::AppIcon());

    // Errors raised below the commands are shown through the prompts, a
    // cancelled tool run in status panel 2.
    m_previousErrorDisplay =
        SetErrorDisplay([this](const QString& text) { prompts().error(text); });
    SetStatusDisplay(this, [this](const QString& text) { SetStatusPanel(2, text); });

    BuildControls();
    RegisterCommands();
    BuildMenus();
    BuildToolBar();
    BuildPopupMenus();

    // Start-up: the start folder, the settings, then the tool's output and
    // error files in the run's private folder (the tool's own folder may not
    // be writable, and two running windows must not share the files). The
    // transfer and clipboard state starts empty with the transfer module.
    StartFolder = m_options.startFolder.isEmpty() ? QDir::currentPath() : m_options.startFolder;
    ReadSettings();
    PlaceWindow();
    OutFile = QDir(ToolOutputFolder()).filePath(QStringLiteral("3E.OUT"));
    ErrFile = QDir(ToolOutputFolder()).filePath(QStringLiteral("3E.ERR"));
}

TFormMain::~TFormMain()
{
    SetErrorDisplay(m_previousErrorDisplay);
}

void TFormMain::RunGuarded(const std::function<void()>& command)
{
    GuardedCall(command);
}

void TFormMain::SetPrompts(std::unique_ptr<Prompts> prompts)
{
    m_prompts = prompts ? std::move(prompts) : std::make_unique<QtPrompts>(this);
}

void TFormMain::BuildControls()
{
    m_model = new FileListModel(this);
    m_model->setPictures(pictures::ImageList());
    m_model->setEditingHook([this](int row) { return ListViewEditing(row); });
    connect(m_model, &FileListModel::captionEdited, this, [this](int row, const QString& text) {
        RunGuarded([this, row, text] { ListViewEdited(row, text); });
    });
    // A caption changed in place (a rename) shows in panel 1 when its row is
    // the one selected.
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                if (from.column() > FileListModel::ColName || to.column() < FileListModel::ColName ||
                    ListShowsPartitions())
                    return;
                const QList<int> selected = SelectedRows();
                if (selected.size() == 1 && selected.first() >= from.row() &&
                    selected.first() <= to.row())
                    SetStatusPanel(1, m_model->caption(selected.first()));
            });

    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("TreeView"));
    m_tree->setAccessibleName(tr("Medium and partitions"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    // F2 or a slow click renames a partition node in place (only those
    // nodes are editable; F2 elsewhere is answered by the eventFilter).
    m_tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    auto* captions = new TreeCaptionDelegate(
        m_tree, [this](QTreeWidgetItem* node) { return m_media->renameInPlaceStarting(node); },
        kMaxPartitionNameLength);
    m_tree->setItemDelegate(captions);
    // The rename runs once the editor has closed: it reads the tree again.
    // It is a command of its own, so that an edit ended by another command
    // taking the focus is refused while that one runs.
    connect(
        captions, &TreeCaptionDelegate::captionEdited, this,
        [this](const QString& caption, const QString& text) {
            RunGuarded([this, caption, text] {
                ToolCommandScope scope(QStringLiteral("Rename partition"));
                m_media->renameInPlaceEnded(caption, text);
            });
        },
        Qt::QueuedConnection);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setUniformRowHeights(true);
    m_tree->setItemsExpandable(false);
    m_tree->setRootIsDecorated(false);
    // Long medium names are shown whole, with a horizontal scroll bar.
    m_tree->setTextElideMode(Qt::ElideNone);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->installEventFilter(this);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &TFormMain::OnTreeSelectionChanged);
    connect(m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        m_popupTree->popup(m_tree->viewport()->mapToGlobal(pos));
    });

    // The list uses the desktop's font.
    m_list = new FileListView(m_model);
    m_list->reportView()->setAccessibleName(tr("Files"));
    m_list->iconView()->setAccessibleName(tr("Files"));
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { RunGuarded([this] { ListViewSelectItem(); }); });
    connect(m_list, &FileListView::columnClicked, this,
            [this](int column) { RunGuarded([this, column] { ListViewColumnClick(column); }); });
    connect(m_list, &FileListView::keyReleased, this, [this](int key, Qt::KeyboardModifiers mods) {
        RunGuarded([this, key, mods] { ListViewKeyUp(key, mods); });
    });
    connect(m_list, &FileListView::doubleClicked, this,
            [this] { RunGuarded([this] { ListViewDblClick(); }); });
    connect(m_list, &FileListView::entered, this,
            [this] { RunGuarded([this] { ListViewEnter(); }); });
    connect(m_list, &FileListView::contextMenuRequested, this,
            [this](const QPoint& globalPos) { m_popupList->popup(globalPos); });
    // Selected files drag out as local copies, got before the drag begins.
    m_list->setDragSource([this]() -> QMimeData* {
        QStringList files;
        RunGuarded([this, &files] { files = m_transfer->getSelectedFilesForDrag(); });
        return files.isEmpty() ? nullptr : MakeFileListMimeData(files);
    });
    connect(m_list, &FileListView::filesDropped, this, [this](const QStringList& files) {
        // The window comes to the front on a drop; only files are put.
        raise();
        activateWindow();
        if (!files.isEmpty())
            RunGuarded([this, files] { PJCtrlDropFilesDropFiles(files); });
    });

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setHandleWidth(2);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_list);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kTreeWidth, FileColumnsWidth()});
    setCentralWidget(m_splitter);

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    for (size_t i = 0; i < m_panels.size(); ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        const int width = PanelWidth(panel, i);
        if (i + 1 < m_panels.size()) {
            panel->setFixedWidth(width);
            bar->addWidget(panel, 0);
        } else {
            panel->setMinimumWidth(kPanelWidths[i]);
            bar->addWidget(panel, 1);
        }
        m_panels[i] = panel;
    }
}

int TFormMain::PanelWidth(const QLabel* panel, size_t index)
{
    const int chars = index < kPanelChars.size()
                          ? panel->fontMetrics().averageCharWidth() * kPanelChars[index]
                          : panel->fontMetrics().horizontalAdvance(QLatin1String(kLongStatusSample));
    return std::max(kPanelWidths[index], chars + 2 * panel->frameWidth() + 8);
}

int TFormMain::FileColumnsWidth() const
{
    // The list shows either the files of a partition or the partition table,
    // with captions and widths of their own; every column of either must be
    // in view.
    struct Column
    {
        const char* caption;
        int width;
    };
    static const Column files[] = {{"File Name", 150}, {"Size", 90},     {"Attr", 50},
                                   {"Ver", 30},        {"HD Size", 70},  {"Type", 120},
                                   {"Real Size", 60},  {"Start", 60},    {"Vars", 60}};
    static const Column partitions[] = {{"Partition Name", 150}, {"Size", 90},    {"Attr", 50},
                                        {"HD Size", 70},         {"Type", 120},   {"CH Begin", 60},
                                        {"CH End", 60},          {"LBA Begin", 70}, {"LBA End", 70}};
    const auto sum = [this](const auto& columns) {
        int total = 0;
        for (const Column& column : columns)
            total += m_list->displayedColumnWidth(QString::fromLatin1(column.caption), column.width);
        return total;
    };
    const QTableView* report = m_list->reportView();
    return std::max(sum(files), sum(partitions)) +
           report->verticalScrollBar()->sizeHint().width() + 2 * report->frameWidth() + 2;
}

QSize TFormMain::FirstClientSize() const
{
    const int list = kTreeWidth + m_splitter->handleWidth() + FileColumnsWidth();
    int status = 0;
    for (size_t i = 0; i < m_panels.size(); ++i)
        status += std::max(PanelWidth(m_panels[i], i), m_panels[i]->minimumWidth()) + 6;
    const int grip = style()->pixelMetric(QStyle::PM_SizeGripSize, nullptr, this);
    const int width = std::max(list, status + grip);
    const int height = std::max(kFirstHeight, sizeHint().height());
    return {width, height};
}

void TFormMain::PlaceWindow()
{
    window_place::Request request;
    request.wanted = FirstClientSize();
    request.saved = m_savedGeometry;
    // The frame is not known before the window manager has framed the
    // window; a title bar and thin borders are assumed.
    const int border = 4;
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + border;
    request.frame = QMargins(border, title, border, border);
    if (QScreen* primary = QGuiApplication::primaryScreen())
        request.screens << primary->availableGeometry();
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            request.screens << screen->availableGeometry();
    }
    setGeometry(window_place::Place(request));
    if (m_savedMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

QString TFormMain::StatusPanel(int panel) const
{
    return m_panelTexts.at(static_cast<size_t>(panel));
}

void TFormMain::SetStatusPanel(int panel, const QString& text)
{
    m_panelTexts.at(static_cast<size_t>(panel)) = text;
    // The panel shows one line: line ends (the tool's error text ends in CR
    // LF) are shown as blanks; the whole text is the tool tip.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String(" "));
    shown.replace(QLatin1Char('\r'), QLatin1Char(' '));
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QLabel* label = m_panels.at(static_cast<size_t>(panel));
    label->setText(shown.trimmed());
    label->setToolTip(shown != text ||
                              label->fontMetrics().horizontalAdvance(shown) > label->width()
                          ? text
                          : QString());
    label->repaint();
}

QString TFormMain::SettingsFilePath() const
{
    return SettingsStore(m_options.settingsFolder).filePath();
}

void TFormMain::ReadSettings()
{
    HarnwickSettings settings;
    m_defaultToolPath = DefaultToolPath(StartFolder, QCoreApplication::applicationDirPath());
    SettingsStore(m_options.settingsFolder).read(settings, QString());
    const ToolPathChoice tool = ChooseToolPath(settings.toolPath, m_defaultToolPath);
    ToolPath = tool.path;
    m_toolPathReport = tool.report;
    UseSpectrumFont = settings.useSpectrumFont;
    CheckUpdatesAtStartup = settings.checkUpdatesAtStartup;
    LastDiskImage = settings.lastDiskImage;
    m_recentFiles = settings.recentFiles;
    m_savedGeometry = settings.windowGeometry;
    m_savedMaximized = settings.windowMaximized;
    RebuildRecentMenu();
    for (auto it = settings.dropChoices.cbegin(); it != settings.dropChoices.cend(); ++it)
        m_drops->setChoice(it.key(), DropChoiceFromName(it.value()));
}

void TFormMain::FormShow()
{
    if (!m_toolPathReport.isEmpty())
        prompts().information(std::exchange(m_toolPathReport, QString()));
    // Without an address to download from (the default, and the package's
    // case) the check at start-up does nothing.
    if (CheckUpdatesAtStartup && update::updateAddressConfigured())
        m_update->checkForUpdates();
    const QString first = m_options.medium.isEmpty() ? LastDiskImage : m_options.medium;
    if (!first.isEmpty())
        OpenMedium(first);
}

void TFormMain::FormClose()
{
    HarnwickSettings settings;
    settings.recentFiles = m_recentFiles;
    // The default tool is found again at each start; only a choice of the
    // user's is kept.
    settings.toolPath = ToolPath == m_defaultToolPath ? QString() : ToolPath;
    settings.useSpectrumFont = UseSpectrumFont;
    settings.checkUpdatesAtStartup = CheckUpdatesAtStartup;
    settings.lastDiskImage = LastDiskImage;
    // Where the user left the window, for the next start.
    settings.windowGeometry = normalGeometry().isValid() ? normalGeometry() : geometry();
    settings.windowMaximized = isMaximized();
    // Every offer's choice, "ask" included, so one reset in Preferences is
    // kept too.
    for (const DropOffer& offer : m_drops->offers())
        settings.dropChoices.insert(offer.id, DropChoiceName(m_drops->choice(offer.id)));
    const QString problem = SettingsStore(m_options.settingsFolder).write(settings);
    if (!problem.isEmpty())
        prompts().error(problem);
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // After the window has been painted once.
    QTimer::singleShot(0, this, [this] { RunGuarded([this] { FormShow(); }); });
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    // Our own windows close first: one holding unsaved work (a program in the
    // editor) asks, and a Cancel there keeps the program running.
    for (QWidget* window : findChildren<QWidget*>()) {
        if (window->isWindow() && window->isVisible() && !window->close()) {
            event->ignore();
            return;
        }
    }
    FormClose();
    event->accept();
}

// ---- Recent Files ----

void TFormMain::openMedium(const QString& name, bool remember)
{
    OpenMedium(name);
    if (remember && !m_recentFiles.contains(name, Qt::CaseSensitive))
        AddRecentFile(name);
}

void TFormMain::AddRecentFile(const QString& name)
{
    if (m_recentFiles.size() >= 4)
        m_recentFiles.removeFirst();
    m_recentFiles << name;
    RebuildRecentMenu();
}

void TFormMain::RebuildRecentMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    for (const QString& name : std::as_const(m_recentFiles)) {
        // "&" in a path is shown as it is, not as an access key.
        QAction* entry =
            m_recentMenu->addAction(QString(name).replace(QLatin1Char('&'), QLatin1String("&&")));
        entry->setData(name);
        connect(entry, &QAction::triggered, this,
                [this, name] { RunGuarded([this, name] { m_browser->openRecentFile(name); }); });
    }
}

// ---- Tree helpers ----

QTreeWidgetItem* TFormMain::SelectedNode() const
{
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QList<QTreeWidgetItem*> TFormMain::TreeNodes() const
{
    QList<QTreeWidgetItem*> nodes;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* node) {
        nodes << node;
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        walk(m_tree->topLevelItem(i));
    return nodes;
}

void TFormMain::SelectNode(QTreeWidgetItem* node)
{
    if (!node)
        return;
    m_tree->setCurrentItem(node);
    if (!node->isSelected())
        node->setSelected(true);
}

int TFormMain::RowCount() const
{
    return m_model->count();
}

// ---- Focus ----

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree && event->type() == QEvent::FocusIn)
        RunGuarded([this] { TreeViewEnter(); });
    // F2 in the tree renames the node, not the current file of the list
    // (the window-wide shortcut of "Rename current file").
    if (watched == m_tree && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2 &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        event->accept();
        return true;
    }
    // F2 on a node that cannot be renamed says why.
    if (watched == m_tree && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
        QTreeWidgetItem* node = SelectedNode();
        if (node && !(node->flags() & Qt::ItemIsEditable)) {
            RunGuarded([this, node] { m_media->renameInPlaceStarting(node); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::TreeViewEnter()
{
    if (m_tree->topLevelItemCount() > 0 && !SelectedNode())
        SelectNode(m_tree->topLevelItem(0));
}

void TFormMain::ListViewEnter()
{
    if (RowCount() > 0 && SelectedCount() == 0) {
        m_list->selectRow(0, true);
        m_list->currentView()->setCurrentIndex(m_model->index(0, 0));
    }
}

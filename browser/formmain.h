#pragma once

#include "app_error.h"
#include "command_context.h"
#include "file_list_view.h"
#include "prompts.h"
#include "tool_runner.h"

#include <QMainWindow>
#include <QRect>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class BasicCommands;
class HeldDevice;
class BrowserCommands;
class CommandRegistry;
class DropRouter;
class FileListModel;
class MediaCommands;
class TransferCommands;
class UpdateCommands;
class ViewCommands;
class QAction;
class QKeySequence;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

// How the main window is set up. The defaults are those of a normal start.
struct TFormMainOptions
{
    // The folder of the settings file; empty: the user's configuration folder
    // (or HARNWICK_SETTINGS_DIR when set).
    QString settingsFolder;
    // The start folder; empty: the current directory.
    QString startFolder;
    // The image or device to open at the first showing instead of the last
    // one (given on the command line); empty: the last one.
    QString medium;
};

// The program's one main window: partition tree, file list, menus, tool bar
// and status bar. It owns the window's state and puts the window together:
// it registers its own commands (BrowserCommands: opening media, the tree,
// the list, the View menu, properties) and those of the command modules of
// transfer/, viewers/, update/ and media/, which see the window only as a
// CommandContext, and lays the registered actions out into its menus, tool
// bar and pop-ups. The list and tree events stay its own members.
class TFormMain : public QMainWindow, public CommandContext
{
    Q_OBJECT

public:
    explicit TFormMain(QWidget* parent = nullptr);
    explicit TFormMain(const TFormMainOptions& options, QWidget* parent = nullptr);
    ~TFormMain() override;

    // ---- State (kept in plain fields, as the commands read and write it) ----
    QString StartFolder;
    QString ToolPath;
    QString OutFile; // "3E.OUT" in the run's private folder, fixed at start-up
    QString ErrFile; // "3E.ERR" in the run's private folder, fixed at start-up
    bool UseSpectrumFont = false;
    bool CheckUpdatesAtStartup = true;
    QString LastDiskImage;
    QString CurrentMedium;
    int SortSubItem = 0;
    int SortDirection = -1;
    // The folder the shared file-open dialog starts in (the folder of the file
    // chosen last).
    QString OpenDialogFolder;

    // ---- Prompts: every modal question goes through these ----
    Prompts& prompts() override { return *m_prompts; }
    void SetPrompts(std::unique_ptr<Prompts> prompts);

    // ---- Controls ----
    QTreeWidget* TreeView() const { return m_tree; }
    FileListView* ListView() const { return m_list; }
    FileListModel& ListModel() const { return *m_model; }
    QStatusBar* StatusBar() const { return statusBar(); }
    QToolBar* ToolBar() const { return m_toolBar; }
    QSplitter* Splitter1() const { return m_splitter; }
    QMenu* PopupMenu1() const { return m_popupTree; }
    QMenu* PopupMenu2() const { return m_popupList; }
    QMenu* RecentFilesMenu() const { return m_recentMenu; }
    // The action registry: one QAction per command, by id.
    CommandRegistry& Commands() const { return *m_commands; }
    // The window's own commands and the command modules.
    BrowserCommands& Browser() const { return *m_browser; }
    TransferCommands& Transfer() const { return *m_transfer; }
    ViewCommands& Viewers() const { return *m_viewers; }
    UpdateCommands& Update() const { return *m_update; }
    MediaCommands& Media() const { return *m_media; }
    BasicCommands& Basic() const { return *m_basic; }
    // Sorts dropped host files between the offers (BASIC text, ...) and the
    // plain put; it keeps the remembered choices.
    DropRouter& Drops() const { return *m_drops; }
    // The text of status panel 0, 1 or 2, exactly as set.
    QString StatusPanel(int panel) const;
    void SetStatusPanel(int panel, const QString& text);

    // ---- Tree and list helpers for the commands ----
    QTreeWidgetItem* SelectedNode() const;
    // Every node of the tree in depth-first order (the root first).
    QList<QTreeWidgetItem*> TreeNodes() const;
    void SelectNode(QTreeWidgetItem* node);
    QList<int> SelectedRows() const { return m_list->selectedRows(); }
    int SelectedCount() const { return m_list->selectedCount(); }
    int RowCount() const;
    QStringList RecentFiles() const { return m_recentFiles; }
    void AddRecentFile(const QString& name); // used by the device rule too

    // ---- Tool runs, for every command that runs the disk tool ----
    // RequireBackend for ToolPath, its error box shown through the prompts.
    bool CheckBackend();
    // ReadBackendErrors for ErrFile into the status panels.
    bool BackendReportedErrors();
    // The tool runner of the open medium: ToolPath, CurrentMedium, OutFile
    // and ErrFile. Every tool run of the commands goes through one. A device
    // held open through the device service is given to the tool as
    // /dev/fd/3 (runner's medium) while CurrentMedium keeps its path.
    ToolRunner Tool() const;
    // The device held open through the device service; null when the
    // medium is opened directly.
    const std::shared_ptr<HeldDevice>& HeldMedium() const { return m_heldDevice; }
    // Closes the medium: tree, list and captions emptied, a held device let go.
    void CloseMedium();

    // ---- Start-up and shut-down ----
    void FormShow();  // the first showing: update check, then the last medium
    void FormClose(); // writes the settings to the store
    QString SettingsFilePath() const;

    // ---- Opening media and the tree ----
    void OpenMedium(const QString& name);
    void TreeViewChange();
    void TreeViewEnter();

    // ---- File list ----
    void FillFileList();
    bool ListShowsPartitions() const;
    void ListViewSelectItem();
    void ListViewColumnClick(int column);
    // <0, 0 or >0 as row `a` sorts before, with or after row `b`.
    int ListViewCompare(int a, int b) const;
    void ListViewKeyUp(int key, Qt::KeyboardModifiers shift);
    void ListViewDblClick();
    void ListViewEnter();

    // ---- Partition usage: used and free bytes of a partition ----
    std::pair<double, double> PartitionUsage(const QString& medium, const QString& partitionName);

    // ---- List events the transfer module answers ----
    // Host files dropped on the list are put into the selected partition:
    // those an offer matches the way the user chooses (Drops()), the rest as
    // the files they are.
    void PJCtrlDropFilesDropFiles(const QStringList& files);
    // In-place editing of a row's caption (the rename): asked when an edit
    // starts (false refuses it), told the typed text when it ends (not when
    // cancelled).
    bool ListViewEditing(int row);
    void ListViewEdited(int row, const QString& text);

    // ---- CommandContext: what the command modules see of the window ----
    QWidget* dialogParent() override { return this; }
    QString statusPanel(int panel) const override { return StatusPanel(panel); }
    void setStatusPanel(int panel, const QString& text) override { SetStatusPanel(panel, text); }
    ToolRunner tool() const override { return Tool(); }
    bool checkTool() override { return CheckBackend(); }
    bool reportToolErrors() override { return BackendReportedErrors(); }
    QTreeWidget* tree() const override { return m_tree; }
    QTreeWidgetItem* selectedNode() const override { return SelectedNode(); }
    QList<QTreeWidgetItem*> treeNodes() const override { return TreeNodes(); }
    void selectNode(QTreeWidgetItem* node) override { SelectNode(node); }
    FileListModel& rows() const override { return *m_model; }
    QList<int> selectedRows() const override { return SelectedRows(); }
    bool listShowsPartitions() const override { return ListShowsPartitions(); }
    void fillFileList() override { FillFileList(); }
    void listPartitionAgain() override { TreeViewChange(); }
    void openMedium(const QString& name, bool remember) override;
    void editRowCaption(int row) override;
    bool editingRowCaption(int row) const override;
    QString startFolder() const override { return StartFolder; }
    bool useSpectrumFont() const override { return UseSpectrumFont; }
    QString& openDialogFolder() override { return OpenDialogFolder; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's own commands work on its controls and state directly.
    friend class BrowserCommands;

    // The one guarded entry point of every command and list or tree event:
    // an error raised below it ends the command and is shown in the error box.
    void RunGuarded(const std::function<void()>& command);
    void BuildControls();
    void RegisterCommands();
    // The offers made for dropped files, one addOffer each.
    void RegisterDropOffers();
    void BuildMenus();
    void BuildToolBar();
    void BuildPopupMenus();
    void ReadSettings();
    // Opens the window where the user left it, else at a size that shows
    // every column of the list and the status texts, on screen either way.
    void PlaceWindow();
    QSize FirstClientSize() const;
    int FileColumnsWidth() const;
    static int PanelWidth(const QLabel* panel, size_t index);
    void RebuildRecentMenu();
    void OnTreeSelectionChanged();

    TFormMainOptions m_options;
    std::unique_ptr<Prompts> m_prompts;
    CommandRegistry* m_commands = nullptr;
    std::unique_ptr<BrowserCommands> m_browser;
    std::unique_ptr<TransferCommands> m_transfer;
    std::unique_ptr<ViewCommands> m_viewers;
    std::unique_ptr<UpdateCommands> m_update;
    std::unique_ptr<MediaCommands> m_media;
    std::unique_ptr<BasicCommands> m_basic;
    std::unique_ptr<DropRouter> m_drops;
    FileListModel* m_model = nullptr;
    QTreeWidget* m_tree = nullptr;
    FileListView* m_list = nullptr;
    QSplitter* m_splitter = nullptr;
    QToolBar* m_toolBar = nullptr;
    std::array<QLabel*, 3> m_panels{};
    std::array<QString, 3> m_panelTexts;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_popupTree = nullptr;
    QMenu* m_popupList = nullptr;
    QStringList m_recentFiles;
    std::optional<QRect> m_savedGeometry; // from the settings
    bool m_savedMaximized = false;
    QTreeWidgetItem* m_selectedNode = nullptr; // for the open/closed folder pictures
    bool m_rebuildingTree = false;
    bool m_shownOnce = false;
    // The tool used when the user has chosen none; "3ePos" is stored only
    // when ToolPath differs from it.
    QString m_defaultToolPath;
    // Why a stored tool path was given up; shown once at the first showing.
    QString m_toolPathReport;
    ErrorDisplay m_previousErrorDisplay;
    std::shared_ptr<HeldDevice> m_heldDevice;
};

#pragma once

#include "app_error.h"
#include "file_list_view.h"
#include "prompts.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <utility>

class FileListModel;
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
// and status bar. It owns the program's state; its handlers are the commands.
// Handlers of the transfer, viewer and update commands are defined in the
// files of those folders.
class TFormMain : public QMainWindow
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
    // Transfer and clipboard state, reset at start-up.
    bool GetWithoutHeader = false;
    bool GetIntoTape = false;
    bool AbortRequested = false;
    enum class ClipboardModes { None, Cut, Copy };
    ClipboardModes ClipboardMode = ClipboardModes::None;
    QStringList FileClipboard;
    QString LastDestDir;
    // The folder the shared file-open dialog starts in (the folder of the file
    // chosen last).
    QString OpenDialogFolder;

    // ---- Prompts: every modal question goes through these ----
    Prompts& prompts() { return *m_prompts; }
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
    // RunRedirected with OutFile and ErrFile, no input, waiting for the end.
    void RunBackend(const QString& commandLine);

    // ---- Start-up and shut-down ----
    void FormShow();  // the first showing: update check, then the last medium
    void FormClose(); // writes the settings to the store
    QString SettingsFilePath() const;

    // ---- File menu ----
    void OpenHDFFile1Click();
    void OpenPhysicalDevice1Click();
    void Scanallcompatibledevices1Click();
    void RecentFileClick(const QString& name);
    void About1Click();
    void Exit1Click();
    // ---- Edit menu ----
    void Selectallfiles1Click();
    void Invertselection1Click();
    // ---- View menu ----
    void Toolbar1Click();
    void StatusBar1Click();
    void Lockwindows1Click();
    void IconView1Click();
    void SmallIconView1Click();
    void ListView1Click();
    void ReportView1Click();
    // ---- Device menu and tree ----
    void Showpartitiontable1Click();
    void Search1Click();
    void SortPartitionTree1Click();
    // ---- Tools menu ----
    void Preferences1Click();

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

    // ---- Commands built in other folders (empty until then) ----
    void Showpartitiondetails1Click();
    void Getallfilesfromselectedpartition1Click();
    void Getallfilesfromdisk2Click();
    void Saveselectedfiles2Click();
    void Getselectedfileswithoutheader1Click();
    void GetselectedfilesintoTAP1Click();
    void Rname1Click();
    void Deleteselectedfiles2Click();
    void ViewBASICcode1Click();
    void AsBASIC1Click();
    void AsBinary1Click();
    void AsText1Click();
    void AsList1Click();
    void AsData1Click();
    void Putfilestandard1Click();
    void Putfile3DOS1Click();
    void Putfilesinstandardmodetoaspecificaddress1Click();
    void Putalltapecontents1Click();
    void Putalldiskcontents1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Properties1Click();
    void Check3Eupdates1Click();
    void PJCtrlDropFilesDropFiles(const QStringList& files);
    // In-place editing of a row's caption: asked when an edit starts (false
    // refuses it), told the typed text when it ends (not when cancelled).
    bool ListViewEditing(int row);
    void ListViewEdited(int row, const QString& text);

    // ---- Getting files (transfer/get_files.cpp) ----
    // The folder the tape file dialog starts in: that of the tape chosen last.
    QString LastTapeFolder;

    // ---- Renaming (transfer/rename_file.cpp) ----
    // The caption of the row as it was when its in-place editing began.
    QString RenameOldName;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* AddCommand(QWidget* menu, const char* name, const QString& caption,
                        const QKeySequence& shortcut, void (TFormMain::*handler)());
    // Runs a command; an error raised below it ends the command and is shown
    // in the error box.
    void RunCommand(void (TFormMain::*handler)());
    void RunGuarded(const std::function<void()>& command);
    void BuildControls();
    void BuildMenus();
    void BuildToolBar();
    void BuildPopupMenus();
    void ReadSettings();
    void RebuildRecentMenu();
    void SetListStyle(FileListView::Style style);
    void OnTreeSelectionChanged();

    TFormMainOptions m_options;
    std::unique_ptr<Prompts> m_prompts;
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
    QTreeWidgetItem* m_selectedNode = nullptr; // for the open/closed folder pictures
    bool m_rebuildingTree = false;
    bool m_shownOnce = false;
    // The tool used when the user has chosen none; "3ePos" is stored only
    // when ToolPath differs from it.
    QString m_defaultToolPath;
    // Why a stored tool path was given up; shown once at the first showing.
    QString m_toolPathReport;
    ErrorDisplay m_previousErrorDisplay;
};

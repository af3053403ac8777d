#pragma once

#include "file_list_view.h"

#include <QString>

class CommandRegistry;
class TFormMain;

// The main window's own commands: opening media, the Edit selection entries,
// the View menu, the partition table, search and sort of the tree,
// preferences, partition details and properties. Each is declared once in
// registerCommands (its id is the QAction's objectName) and implemented by
// the method of the same meaning. Unlike the command modules of the other
// folders these commands work on the window's own controls, so they see
// TFormMain itself.
class BrowserCommands
{
public:
    explicit BrowserCommands(TFormMain& form);

    void registerCommands(CommandRegistry& registry);

    // ---- File menu ----
    void openImageFile();
    void openPhysicalDevice();
    void scanDevices();
    void openRecentFile(const QString& name);
    void showAbout();
    void exitProgram();
    // ---- Edit menu ----
    void selectAllFiles();
    void invertSelection();
    // ---- View menu ----
    void toggleToolBar();
    void toggleStatusBar();
    void toggleLockWindows();
    void setListStyle(FileListView::Style style);
    // ---- Device menu and tree pop-up ----
    void showPartitionTable();
    void showPartitionDetails();
    void searchPartition();
    void sortPartitionTree();
    // ---- List pop-up ----
    void showProperties();
    // ---- Tools menu ----
    void showPreferences();

private:
    TFormMain& m_form;
};

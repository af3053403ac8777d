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
    // Opens the device chosen in the picker (nothing when empty) and adds it
    // to Recent Files by the device rule.
    void openPickedDevice(const QString& device);
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
    // Closes the open device and ejects it through the device service.
    void ejectDevice();
    // ---- List pop-up ----
    void showProperties();
    // ---- Tools menu ----
    void showPreferences();

private:
    TFormMain& m_form;
};

#pragma once

#include "tool_runner.h"

#include <QList>
#include <QString>

class FileListModel;
class Prompts;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// What a command module sees of the main window. The commands of transfer/,
// viewers/ and update/ (and the window's own) reach the window only through
// this: its questions, its status panels, the tool runner, the selection in
// the tree and the list, and the few settings they read. The main window
// implements it; a command module never includes the main window.
class CommandContext
{
public:
    virtual ~CommandContext() = default;

    // The window: parent of the commands' dialogs and windows.
    virtual QWidget* dialogParent() = 0;
    // Every modal question goes through these.
    virtual Prompts& prompts() = 0;

    // Status panels 0, 1 and 2: the text exactly as set.
    virtual QString statusPanel(int panel) const = 0;
    virtual void setStatusPanel(int panel, const QString& text) = 0;

    // The disk tool for the open medium (tool().medium, empty when none).
    virtual ToolRunner tool() const = 0;
    // True when the tool is there; otherwise the error box says it is
    // missing (RequireBackend).
    virtual bool checkTool() = 0;
    // After a run: the tool's error text into the status panels; true when
    // there was any (ReadBackendErrors).
    virtual bool reportToolErrors() = 0;

    // The partition tree: its selected node (null when none), every node
    // depth first, and selecting a node (which lists the partition).
    virtual QTreeWidget* tree() const = 0;
    virtual QTreeWidgetItem* selectedNode() const = 0;
    virtual QList<QTreeWidgetItem*> treeNodes() const = 0;
    virtual void selectNode(QTreeWidgetItem* node) = 0;

    // The file list: its rows, the selected rows in order, whether it shows
    // the partition table rather than files.
    virtual FileListModel& rows() const = 0;
    virtual QList<int> selectedRows() const = 0;
    virtual bool listShowsPartitions() const = 0;
    // Lists the tool's output (a `dir` run) in the file list.
    virtual void fillFileList() = 0;
    // Lists the selected partition again, as selecting it does.
    virtual void listPartitionAgain() = 0;
    // Opens an image or device afresh: the tree is built again from the
    // tool's partition table and its root selected. `remember` adds it to
    // Recent Files as File > Open does.
    virtual void openMedium(const QString& name, bool remember) = 0;
    // Starts the in-place editing of a row's caption; whether its editor is
    // still open.
    virtual void editRowCaption(int row) = 0;
    virtual bool editingRowCaption(int row) const = 0;

    // Settings the commands read.
    virtual QString startFolder() const = 0;
    virtual bool useSpectrumFont() const = 0;
    // The folder the shared file-open dialog starts in (that of the file
    // chosen last); the commands that open host files update it.
    virtual QString& openDialogFolder() = 0;
};

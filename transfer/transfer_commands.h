#pragma once

#include <QString>
#include <QStringList>

class CommandContext;
class CommandRegistry;

// The transfer commands: getting files (into a folder or a tape), putting
// host files, tapes and floppy images, deleting, renaming, and cut, copy and
// paste. They reach the window only through the CommandContext; their own
// state (the file clipboard, the folders chosen last) lives here.
class TransferCommands
{
public:
    explicit TransferCommands(CommandContext& context);

    // Declares the commands in the registry, each with its function.
    void registerCommands(CommandRegistry& registry);

    // ---- Getting files (get_files.cpp) ----
    void getSelectedFiles();
    void getSelectedFilesWithoutHeader();
    void getSelectedFilesIntoTape();
    void getAllFilesFromPartition();
    void getAllFilesFromMedium();

    // ---- Dragging files out of the list (drag_out.cpp) ----
    // Gets the selected files into a new local folder for a drag, in the
    // mode DragWithoutHeader says, and returns their paths. Empty when there
    // is nothing to drag or any file failed (the failures are reported).
    QStringList getSelectedFilesForDrag();

    // ---- Putting files (put_files.cpp) ----
    void putFilesBinary();
    void putFilesWithHeader();
    void putFilesAtAddress();
    void putTapeContents();
    void putFloppyContents();
    // Host files dropped on the list.
    void putDroppedFiles(const QStringList& files);

    // ---- Deleting and renaming (delete_files.cpp, rename_file.cpp) ----
    void deleteSelectedFiles();
    void renameCurrentFile();
    // The in-place editing of a row's caption: asked when an edit starts
    // (false refuses it), told the typed text when it ends.
    bool renameEditStarting(int row);
    void renameEdited(int row, const QString& text);

    // ---- The file clipboard (clipboard_commands.cpp) ----
    void cutFiles();
    void copyFiles();
    void pasteFiles();

    // ---- State, reset at start-up ----
    // The two modes of the get of selected files, set for one run.
    bool GetWithoutHeader = false;
    bool GetIntoTape = false;
    // How dragged files come out: as the get of selected files into a folder
    // chosen last from the menus left them (with or without their header).
    bool DragWithoutHeader = false;
    // Set by Escape in the busy window of a get of all files.
    bool AbortRequested = false;
    enum class ClipboardModes { None, Cut, Copy };
    ClipboardModes ClipboardMode = ClipboardModes::None;
    QStringList FileClipboard;
    // The folder the destination dialog shows next.
    QString LastDestDir;
    // The folder the tape file dialog starts in: that of the tape chosen last.
    QString LastTapeFolder;
    // The caption of the row as it was when its in-place editing began.
    QString RenameOldName;

private:
    void getSelected(bool withoutHeader, bool intoTape);

    CommandContext& m_ctx;
};

#pragma once

#include <QString>

class CommandContext;
class CommandRegistry;
class QTreeWidgetItem;
struct SelectedPartition;

// The commands that make and change media: File > New hard disk image and
// the Partition menu. Each change is one or more runs of the disk tool on
// the open medium; afterwards the medium is opened again so that the tree
// and the list show what the tool left, with the new or changed partition
// selected.
class MediaCommands
{
public:
    explicit MediaCommands(CommandContext& context);

    // Declares "New hard disk image..." and the entries of the Partition menu.
    void registerCommands(CommandRegistry& registry);

    // The new-image dialog, then create (and newpart for a first partition);
    // the new image is opened when the tool made it.
    void newImage();

    // The Partition menu. Those that change a partition work on the selected
    // tree node and refuse the partition table, the system partition and
    // free space with a message.
    void newPartition();
    void deletePartition();
    void renamePartition();
    // The in-place rename of a partition node in the tree (F2, or a slow
    // click on the selected node). Starting: whether the edit may open on
    // `node`; the table, the system partition and free space are refused
    // with the messages of the menu entry, as is a start while another
    // command runs. Ended: the node captioned `caption` was given `typed`
    // (never after Escape); the same checks and renpart run as for "Rename
    // partition...", and the renamed node is selected.
    bool renameInPlaceStarting(QTreeWidgetItem* node);
    void renameInPlaceEnded(const QString& caption, const QString& typed);
    // Maps, changes or clears the drive letter of a +3DOS partition.
    void driveLetter();
    // Deletes every file of a +3DOS partition.
    void emptyPartition();
    // The tool's check of the whole medium, shown in a report window.
    void checkMedium();

private:
    // The name checks and the renpart run both renames share.
    void renameTo(const SelectedPartition& selected, const QString& typed);
    // Opens the medium again and selects the partition called `name` (the
    // root when empty or gone).
    void reopen(const QString& medium, const QString& name);

    CommandContext& m_ctx;
};

#pragma once

class CommandContext;
class CommandRegistry;

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

private:
    CommandContext& m_ctx;
};

#pragma once

class CommandContext;
class CommandRegistry;

// The update command: download the disk tool's archive, install the tool
// from it and report, with the busy window up exactly as long as the
// download runs.
class UpdateCommands
{
public:
    explicit UpdateCommands(CommandContext& context);

    // Declares "Check for 3E.EXE updates".
    void registerCommands(CommandRegistry& registry);

    // The check; also run when the window first shows (when switched on).
    void checkForUpdates();

private:
    CommandContext& m_ctx;
};

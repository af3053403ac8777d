#pragma once

class CommandContext;
class CommandRegistry;

// The BASIC-as-text commands: putting program texts written on the host
// into the selected partition, and editing a program of the list as text in
// an editor window of its own.
class BasicCommands
{
public:
    explicit BasicCommands(CommandContext& context);

    // Declares "Put BASIC text..." and "Edit BASIC program..." (Shift+F4).
    void registerCommands(CommandRegistry& registry);

    void putBasicText();
    void editBasicProgram();

private:
    CommandContext& m_ctx;
};

#pragma once

#include <QStringList>

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
    // Puts each text file as a BASIC program into the selected partition,
    // asking for its +3DOS name and autostart line (as "Put BASIC text..."
    // does after its file dialog); the dropped text files the user wants
    // tokenised come here.
    void putBasicTextFiles(const QStringList& files);
    void editBasicProgram();

private:
    CommandContext& m_ctx;
};

// True for a host file that is likely a program written as text: a name
// ending in .bas (any case), or text whose first line other than blank and
// "#" lines starts with a line number and a statement keyword ("10 PRINT",
// "20 goto 10"). Only the first 4 KB are read; a file holding bytes no text
// holds (NUL and other control codes) is no program text, whatever its name
// (a tokenised program with its +3DOS header, say).
bool LooksLikeBasicText(const QString& path);

#pragma once

#include <QString>
#include <QStringList>

#include <exception>
#include <string>

// The command a disk tool run belongs to, and how a run ends when it is not
// allowed to finish.
//
// A command that runs the tool names itself and its time limit with a
// ToolCommandScope for as long as it runs:
//
//     ToolCommandScope scope(QStringLiteral("Get selected file(s)"));
//     ... RunRedirected(...) as often as the command needs ...
//
// Every run waited for (RunRedirected with wait) may take at most the limit
// of the innermost scope, 60 s when no scope is open. A run that the user
// cancels (Escape or Cancel in the busy window) or that passes its limit is
// killed and raises ToolRunStopped, which unwinds the whole command; the
// command guard (app_error.h) reports it: "Cancelled" in the status bar, or
// an error box naming the command and the limit.

// Raised by a tool run that was stopped before the tool ended on its own.
// Never a success: the tool's output files are incomplete.
class ToolRunStopped : public std::exception
{
public:
    enum class Kind {
        Cancelled, // the user stopped it
        TimedOut,  // the tool did not end within the command's limit
    };

    // command: the command's caption (or, outside any scope, the command
    // line); limitMs: the limit that applied to the run.
    ToolRunStopped(Kind kind, QString command, int limitMs);

    Kind kind() const noexcept { return kind_; }
    const QString& command() const noexcept { return command_; }
    int limitMs() const noexcept { return limitMs_; }

    // "Cancelled", or for a timeout the text of the error box:
    // "The disk tool did not answer within 60 seconds.\nThe command \"<command>\" was
    // stopped."
    QString message() const;
    const char* what() const noexcept override { return what_.c_str(); }

private:
    Kind kind_;
    QString command_;
    int limitMs_;
    std::string what_;
};

// Names the command whose tool runs follow and sets their time limit, until
// the scope ends. Scopes nest: the innermost one counts, and the one outside
// it counts again when it ends. Used on the GUI thread only.
class ToolCommandScope
{
public:
    static constexpr int kDefaultLimitMs = 60 * 1000;

    // caption: the command as the user knows it ("Get selected file(s)");
    // limitMs: the longest one tool run of the command may take (more for a
    // tape or floppy import than for a single file).
    explicit ToolCommandScope(QString caption, int limitMs = kDefaultLimitMs);
    ~ToolCommandScope();
    ToolCommandScope(const ToolCommandScope&) = delete;
    ToolCommandScope& operator=(const ToolCommandScope&) = delete;

    // The innermost scope's caption; empty when no scope is open.
    static QString CurrentCaption();
    // The captions of every open scope, the innermost first.
    static QStringList OpenCaptions();
    // The innermost scope's limit; kDefaultLimitMs when no scope is open.
    static int CurrentLimitMs();
    // The caption of the scope around the innermost one: the command that
    // was already running when the innermost began (a command started from
    // another's question or wait, or an in-place edit ending meanwhile);
    // empty when there is none.
    static QString EnclosingCaption();

private:
    QString caption_;
    int limitMs_;
    ToolCommandScope* outer_;
};

#pragma once

#include <QString>

// Runs the disk tool with its standard output and error captured in files.
//
// RunRedirected(commandLine, inputFile, outFile, errFile, contextText, wait):
//   commandLine  the whole command line, the tool's path first. It is split
//                by our own splitter (command_line.h; no shell is involved)
//                and the program is the longest run of leading words that
//                names an existing file (ResolveCommandLine).
//   inputFile    file given to the tool as standard input; empty for none,
//                in which case the tool reads from /dev/null.
//   outFile      receives standard output; emptied (created anew) first.
//   errFile      receives standard error; emptied (created anew) first.
//   contextText  appended to every failure message; may be empty.
//   wait         return only when the tool has ended. On the GUI thread the
//                run is waited for in a local event loop: windows repaint and
//                timers run, the user's keys and clicks wait in the queue
//                until the run is over. After 300 ms the busy window
//                (TFormWait) shows, unless a long command's busy window
//                serves already; its Escape or Cancel stops the run. A run
//                may take at most the limit of the current ToolCommandScope
//                (tool_command.h; 60 s by default). A stopped run kills the
//                tool's process group (SIGTERM, SIGKILL 2 s later) and
//                raises ToolRunStopped (Cancelled or TimedOut), never a
//                success. Off the GUI thread, or without an application
//                object, the call simply blocks, with no limit.
//                Without wait the tool runs on and is reaped in the
//                background.
//
// Returns true when the tool was started. The tool's exit code is not read:
// callers judge a run by the contents of errFile and outFile.
//
// Failures raise AppError with these messages (each followed by the context
// text; %s is the path):
//   "Input file * %s *\ndoes not exist\n\n"
//   "WinApi function CreateFile returned an invalid handle value\nfor the input file * %s *\n\n"
//   "...for the output file * %s *\n\n", "...for the error file * %s *\n\n"
//   "Function failure\n\n"  (the tool could not be started)
// Files opened before a failure are closed; the output and error files stay
// emptied.
//
// mediumFd     a descriptor of this program the tool gets as its descriptor
//              3 (kPassedMediumFd, medium_descriptor.h): the medium passed
//              as /dev/fd/3. -1 for none.
//
// Length: no limit applies. Linux takes command lines and paths far longer
// than 260 characters, so they are passed whole; nothing is truncated.
//
// The arguments reach the tool in the local 8-bit encoding of file names
// (UTF-8), as host paths must. The tool's environment and current directory
// are those of this program; no other descriptor of this program is passed
// on. The tool leads a process group of its own.
bool RunRedirected(const QString& commandLine, const QString& inputFile, const QString& outFile,
                   const QString& errFile, const QString& contextText, bool wait,
                   int mediumFd = -1);

// True while a tool run is waited for in the event loop (a command is under
// way); commands that must not start meanwhile refuse.
bool ToolRunInProgress();

// How many runs RunRedirected is waiting for on the GUI thread right now
// (more than one while a run's event loop starts another command's run).
// Work of the window's own that runs the tool in the background (the file
// list's thumbnails) starts no run while this is above 0, so it never runs
// alongside a command of the user's. May be read from any thread.
int ToolRunsWaitedFor();

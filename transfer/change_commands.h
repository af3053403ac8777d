#pragma once

// Steps shared by the commands that change a partition (putting, deleting,
// renaming, pasting): the partition check, tool runs judged by their error
// text, and the end of a command that ran the tool for several files.

#include "command_guards.h"
#include "tool_steps.h"

#include <QString>
#include <QStringList>

#include <functional>

class FailureList;
class CommandContext;
class QTreeWidgetItem;

// The file name a list row stands for: its caption without leading and
// trailing blanks and control characters. A renamed row shows the name as
// it was typed, blanks and all, until the list is read again; the tool knows
// the file by the trimmed name.
QString TrimmedName(const QString& text);
QString RowFileName(const CommandContext& ctx, int row);

// Lets pending window events be handled between two runs of the tool (user
// input waits until the command has ended).
void LetEventsRun();

// The end of a command that ran the tool once per item: with no failure,
// status panel 1 is cleared, panel 2 says `completedText` (when not empty)
// and the partition is listed again; otherwise the partition is listed
// again first (so the list shows what it now holds), then panel 2 names the
// first failure (FailureList::statusText with `failedWord` and `doneWord`)
// and an error box lists them all under `heading`.
struct CommandEnd
{
    const char* noun; // "Copy", for the texts of EndAskedCommand
    const char* completedText;
    const char* failedWord;
    const char* doneWord;
    const char* heading;
};
void EndChangeCommand(CommandContext& ctx, const FailureList& failures, int total,
                      const CommandEnd& texts);

// The texts of the copying commands and of deleting.
inline constexpr CommandEnd kCopyEnd{"Copy", "Copy completed", "Copy failed", "copied",
                                     "These files were not copied:"};
// Pasting says nothing when it worked: the fresh list shows the result.
inline constexpr CommandEnd kPasteEnd{"Paste", "", "Paste failed", "pasted",
                                      "These files were not pasted:"};
inline constexpr CommandEnd kExternalPasteEnd{"Copy", "", "Copy failed", "copied",
                                              "These files were not copied:"};
inline constexpr CommandEnd kDeleteEnd{"Delete", "Delete completed", "Delete failed", "deleted",
                                       "These files were not deleted:"};

// What became of the files of a command that asked before it put a file
// under a taken name.
struct AskedTally
{
    int total = 0;   // files the command was given
    int done = 0;    // files it ran the tool for
    int skipped = 0; // files left out on an answer Skip
    bool cancelled = false;
};

// EndChangeCommand for such a command, with `done` as the total. When
// nothing failed but files were skipped or the command was cancelled, panel 2
// then says so over the fresh listing: "Copy completed: 3 file(s) copied,
// 2 skipped", "Copy cancelled: 1 of 4 file(s) copied" (with the noun and the
// done word of `texts`).
void EndAskedCommand(CommandContext& ctx, const FailureList& failures, const AskedTally& tally,
                     const CommandEnd& texts);

// The command line that puts one host file under the name it is given.
using PutLine =
    std::function<QString(const QString& hostFile, const QString& partition, const QString& name)>;

// Puts host files into a partition in order, one run each, showing which
// file is copied. The files get short names unique in the batch and in the
// partition (UniqueShortNames); a name that is still taken is put only after
// the user has answered the question (Replace, Skip, Keep both under the
// next free name, or Cancel, which stops the command there). Without a
// listing of the partition nothing is put. Ends with EndAskedCommand.
void PutHostFiles(CommandContext& ctx, const QStringList& files, const QString& partition,
                  const PutLine& line, const CommandEnd& texts);

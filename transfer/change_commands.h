#pragma once

// Steps shared by the commands that change a partition (putting, deleting,
// renaming, pasting): the partition check, tool runs judged by their error
// text, and the end of a command that ran the tool for several files.

#include "command_guards.h"
#include "tool_steps.h"

#include <QString>

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
    const char* completedText;
    const char* failedWord;
    const char* doneWord;
    const char* heading;
};
void EndChangeCommand(CommandContext& ctx, const FailureList& failures, int total,
                      const CommandEnd& texts);

// The texts of the copying commands and of deleting.
inline constexpr CommandEnd kCopyEnd{"Copy completed", "Copy failed", "copied",
                                     "These files were not copied:"};
// Pasting says nothing when it worked: the fresh list shows the result.
inline constexpr CommandEnd kPasteEnd{"", "Paste failed", "pasted", "These files were not pasted:"};
inline constexpr CommandEnd kExternalPasteEnd{"", "Copy failed", "copied",
                                              "These files were not copied:"};
inline constexpr CommandEnd kDeleteEnd{"Delete completed", "Delete failed", "deleted",
                                       "These files were not deleted:"};

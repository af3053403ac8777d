#pragma once

#include "failure_list.h"
#include "file_clipboard.h"
#include "name_conflicts.h"
#include "tool_steps.h"

#include <QList>
#include <QString>

#include <functional>

// Renaming a file and pasting clipboard entries. The tool can neither rename
// nor copy between partitions, so both pass each file through a local copy:
// `get` it into a folder of ours, `put` the copy under the target name, and
// only then `del` the source where the command moves the file. A source is
// deleted only when its put worked: the tool wrote no error text, and a
// listing of the target partition run afterwards shows the file. Local
// copies are removed in every case.
//
// `folder` is the program's private folder for local copies (no user file
// lies there). Failures are told in one sentence naming the step that
// failed, with the first line of the tool's text.

// Renames partition:oldName to newName; an empty text when it worked. The
// caller has made sure that the two names differ (not only in case) and
// that newName is not taken.
QString RenameThroughLocalCopy(const ToolRunner& tool, const QString& folder,
                               const QString& partition, const QString& oldName,
                               const QString& newName);

// What became of the entries of a paste.
struct PasteResult
{
    FailureList failures; // by entry
    int done = 0;         // entries got and put (or tried)
    int skipped = 0;      // left out on an answer Skip: the source stays
    bool cancelled = false;
};

// Pastes the entries of `steps` into targetPartition, in order, calling
// `afterEntry` with the number of entries dealt with after each one. The
// target is listed first; without that listing nothing is pasted. An entry
// whose name is taken there is pasted only after `ask` has been answered
// (NameConflicts: Replace, Skip, Keep both under the next free name, Cancel
// to stop before it); a Cut pasted into its own partition is not asked about,
// as the name it takes is its own. The sources of a Cut are deleted after all
// entries have been dealt with, once one listing of the target shows their
// copies: a skipped entry keeps its source, one kept under a new name loses
// it; a source whose copy a later entry of the same name replaced is kept.
// Copies into their own partition get names unique in the partition and the
// batch (MakeCopyNamesUnique).
PasteResult PasteThroughLocalCopies(const ToolRunner& tool, const QString& folder,
                                    const QList<PasteStep>& steps, const QString& targetPartition,
                                    const ConflictAsker& ask,
                                    const std::function<void(int done)>& afterEntry);

#pragma once

#include "failure_list.h"
#include "file_clipboard.h"
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
QString RenameThroughLocalCopy(const ToolContext& tool, const QString& folder,
                               const QString& partition, const QString& oldName,
                               const QString& newName);

// Pastes the entries of `steps` into targetPartition, in order, calling
// `afterEntry` with the number of entries done after each one's get and put.
// The sources of a Cut are deleted after all entries have been copied, once
// one listing of the target shows their copies; a source whose copy a later
// entry of the same name replaced is kept. Copies into their own partition
// get names unique in the partition and the batch (MakeCopyNamesUnique, after
// one listing of the partition). Returns what failed, by entry.
FailureList PasteThroughLocalCopies(const ToolContext& tool, const QString& folder,
                                    const QList<PasteStep>& steps, const QString& targetPartition,
                                    const std::function<void(int done)>& afterEntry);

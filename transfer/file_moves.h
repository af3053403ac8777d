#pragma once

#include "tool_steps.h"

#include <QString>

struct PasteStep;

// Renaming a file and pasting a clipboard entry. The tool can neither rename
// nor copy between partitions, so both pass the file through a local copy:
// `get` it into a folder of ours, `put` the copy under the target name, and
// only then, when the put worked, `del` the source where the command moves
// the file. A put "worked" when the tool wrote no error text and the target
// partition now lists the file; otherwise the source is kept. The local
// copy is removed in every case.
//
// `folder` is the program's private folder for local copies (no user file
// lies there). Each function returns an empty text when everything worked,
// otherwise one sentence naming the step that failed, with the tool's text.

// Renames partition:oldName to newName. The caller has made sure that the
// two names differ (not only in case) and that newName is not taken.
QString RenameThroughLocalCopy(const ToolContext& tool, const QString& folder,
                               const QString& partition, const QString& oldName,
                               const QString& newName);

// Pastes one clipboard entry into targetPartition as `step` plans it.
QString PasteThroughLocalCopy(const ToolContext& tool, const QString& folder, const PasteStep& step,
                              const QString& targetPartition);

#pragma once

#include "form_basic_editor.h"
#include "tool_steps.h"

#include <QString>

#include <optional>

// The runs of the disk tool behind "Put BASIC text..." and "Edit BASIC
// program...", on top of ToolRunner::runForErrors (backend/tool_runner.h): each returns
// the tool's error text, empty when the run worked.

// listbas: the program partition:file as text (see BasicTextFromListing) in
// *text. On a failure *text is empty and the error text is returned.
QString ListBasicProgram(const ToolRunner& tool, const QString& partition, const QString& file,
                         QString* text);

// putbas: writes `text` to the host file textFile (BasicTextFileBytes) and
// stores it as partition:name, with the autostart line when given. A text
// file that cannot be written gives an error text and no run.
QString PutBasicText(const ToolRunner& tool, const QString& textFile, const QString& text,
                     const QString& partition, const QString& name,
                     std::optional<int> autostart = std::nullopt);

// The editor's store function: PutBasicText into `partition` through
// textFile (a file in the command's temporary folder). A run that cannot
// start or is stopped (AppError, ToolRunStopped) is turned into its message,
// so the editor keeps the text unsaved and shows why, instead of the error
// leaving the window's handler.
TFormBasicEditor::StoreFunction PutBasicStore(const ToolRunner& tool, const QString& partition,
                                              const QString& textFile);

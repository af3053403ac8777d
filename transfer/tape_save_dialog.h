#pragma once

#include <QString>

class Prompts;
struct FileDialogRequest;

// The file-save dialog that asks for the tape image the selected files are
// gathered into: .tap or .tzx (the extension decides the format), "tap"
// added to a name typed without one. Choosing an existing tape appends to it,
// so the dialog does not warn about it.
FileDialogRequest TapeSaveRequest(const QString& startFolder);

// Asks for the tape file; empty when the user cancelled.
QString AskTapeFile(Prompts& prompts, const QString& startFolder);

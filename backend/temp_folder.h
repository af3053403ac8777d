#pragma once

#include <QString>

// The program's private folder for local copies of files got from a medium.
// It is made once per run inside "TEMP" (when set and not empty) or else the
// system's temporary folder, so no file of the user's in TEMP is ever
// overwritten or deleted by a command. It is readable and writable by the
// user alone (0700). The folder and what is left in it are removed when the
// program ends. Returns the path without a trailing separator; raises
// AppError when the folder cannot be made.
QString PrivateTempFolder();

// The folder of the tool's output and error files ("3E.OUT", "3E.ERR"):
// "tool-output" inside the private folder, made on first use. A folder of
// its own, so that a file got from a medium into the private folder (a
// +3DOS file may be called 3E.OUT) never meets them; a lower-case name, so
// that no +3DOS name is ever the same.
QString ToolOutputFolder();

// The folder the private folder is made in: "TEMP" when set and not empty,
// else the system's temporary folder; one trailing separator removed.
QString TempBaseFolder();

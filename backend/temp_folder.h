#pragma once

#include <QString>

// The program's private folder for local copies of files got from a medium.
// It is made once per run inside "TEMP" (when set and not empty) or else the
// system's temporary folder, so no file of the user's in TEMP is ever
// overwritten or deleted by a command. The folder and what is left in it are
// removed when the program ends. Returns the path without a trailing
// separator; raises AppError when the folder cannot be made.
QString PrivateTempFolder();

// The folder the private folder is made in: "TEMP" when set and not empty,
// else the system's temporary folder; one trailing separator removed.
QString TempBaseFolder();

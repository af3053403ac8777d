#pragma once

#include <QString>

#include <functional>

#include "app_error.h"

// The two checks around a tool run: is the tool there, and did it complain.

// Sets the text of one status-bar panel (0, 1 or 2) of the main window.
using StatusPanelSetter = std::function<void(int panel, const QString& text)>;

// The error text of the last run: every line of errFile (read by
// TextLineReader, shown by ToolTextToQString: host paths as UTF-8, other
// bytes as Windows-1252) followed by CR LF. Empty when the
// file is empty. So an errFile of zero bytes gives "" and one holding just
// CR LF gives "\r\n". Raises AppError when errFile cannot be opened.
QString BackendErrorText(const QString& errFile);

// After a run: clears status panels 1 and 2; when the tool wrote any error
// text, sets panel 2 to "Fatal Error: " followed by that text and returns
// true; otherwise returns false.
bool ReadBackendErrors(const QString& errFile, const StatusPanelSetter& setPanel);

// The text of the error box shown when the tool is missing.
inline constexpr const char* kBackendMissingText =
    "3e program not present.\r\nPlease be sure to configure correct position in Preferences "
    "Dialog Box.";

// The text of the error box shown when a file is at the tool's place but may
// not be run; the path follows it.
inline constexpr const char* kBackendNotExecutableText = "3e program not executable: ";

// What is wrong with the tool at toolPath: kBackendMissingText when no file
// is there (a folder is no program), kBackendNotExecutableText + the path when
// the file may not be run, empty when it can be run.
QString BackendProblem(const QString& toolPath);

// True when the tool at toolPath can be run. Otherwise shows BackendProblem in
// an error box (through `showError`, or the installed error display when it
// is empty) and returns false.
bool RequireBackend(const QString& toolPath, const ErrorDisplay& showError = {});

#pragma once

#include <QString>

#include <memory>

class MediumDescriptor;

// The one way the commands run the disk tool. A runner names the tool, the
// open medium and the two files that receive the tool's standard output and
// error; every run goes through RunRedirected (process_runner.h) with no
// input and waits for the tool's end, so its contract holds for every
// command: the command line is split by our own splitter, OutFile and
// ErrFile are emptied first, and a tool that cannot be started raises
// AppError with one of the runner's failure texts. Commands take a runner
// from their context; the main window makes it from its settings.
struct ToolRunner
{
    QString toolPath;
    // The medium as the tool is given it in command lines: the path of an
    // image or device, or PassedMediumName() when `passed` holds it open.
    QString medium;
    QString outFile;
    QString errFile;
    // The medium as the user knows it (window caption, Recent Files, opening
    // it again); the same as `medium` unless the medium is passed.
    QString mediumName;
    // The medium held open by this program; a run whose medium argument is
    // PassedMediumName() gets its descriptor as descriptor 3, one open for
    // writing when the command writes.
    std::shared_ptr<MediumDescriptor> passed;

    // The name to show and to open the medium by again.
    QString shownMedium() const { return mediumName.isEmpty() ? medium : mediumName; }

    // Runs one command line (built by command_builders.h). What the tool
    // wrote is left in outFile and errFile for the caller to judge.
    void run(const QString& commandLine) const;

    // Runs one command line and returns the tool's error text: every line it
    // wrote to standard error followed by CR LF, empty when it wrote nothing.
    // A passed medium is named there by mediumName, not /dev/fd/3.
    QString runForErrors(const QString& commandLine) const;
};

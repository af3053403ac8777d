#pragma once

#include "update_progress.h"

#include <QObject>
#include <QString>

// The whole update check of the disk tool: download the archive, install
// its "3E.EXE" and report, as texts for the main window.
//
// The window drives it like this (the busy window lives exactly as long as
// run()):
//
//     auto* wait = new TFormWait(...); wait->show();
//     update::UpdateCheck check(downloadFolder, ToolPath);
//     connect(&check, &UpdateCheck::statusText, ...);    // status panel 2
//     connect(&check, &UpdateCheck::progress, ...);      // ProgressBar1, LblPercent
//     connect(&check, &UpdateCheck::errorMessage, ...);  // error box
//     check.run();
//     delete wait;
//
// Status texts in order: "Host Resolved", "Connected", then
// "Check for 3E update (r/t)" per piece of the body, then either "" (just
// before the install; pending events are handled right after it, so the
// cleared panel is painted) followed by "3E.EXE updated (MM/DD/YYYY, HH.MM)"
// or "No 3E.EXE update available", or one of "Invalid host" and
// "Connection Failed". A tool the user cannot replace (its file or folder is
// not writable, as for a tool installed by the package manager) is left
// alone: the one status is "3E.EXE is managed by the system package" and
// nothing is downloaded. An archive that cannot be read, or a tool or
// download file that cannot be written, ends in errorMessage instead of a
// report; the download then stays in the start folder.
namespace update {

class HttpDownload;

class UpdateCheck : public QObject
{
    Q_OBJECT

public:
    // downloadFolder: where "3E.ZIP" is downloaded; toolPath: the configured
    // tool, whose folder receives "3E.EXE". The address is
    // updateDownloadUrl(), read when run() starts.
    UpdateCheck(const QString& downloadFolder, const QString& toolPath, QObject* parent = nullptr);
    ~UpdateCheck() override;

    // Runs the check and returns when it is over; the signals arrive
    // meanwhile on this thread. Returns false, doing nothing, when another
    // check of this program is still running.
    bool run();

    // Stops a running download (for instance from an Escape key); the check
    // then ends without a report.
    void abort();

signals:
    void statusText(const QString& text);
    // Body progress for the busy window: ProgressBar1 := percent (when
    // known), LblPercent := percentText() (empty when the total is unknown).
    void progress(const update::UpdateProgress& progress);
    // A message for an error box.
    void errorMessage(const QString& text);

private:
    void install();

    QString m_downloadFolder;
    QString m_toolPath;
    HttpDownload* m_download = nullptr;
};

} // namespace update

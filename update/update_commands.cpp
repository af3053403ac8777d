// The main window's update command: download the disk tool's archive,
// install the tool from it and report, with the busy window up exactly as
// long as the download runs.
#include "formmain.h"

#include "form_wait.h"
#include "update_address.h"
#include "update_check.h"
#include "update_texts.h"

#include <QLabel>
#include <QProgressBar>

namespace {

// One piece of download progress in the busy window: the percentage when the
// server gave the size, else a moving bar and no percentage (the bytes
// received are in the status bar).
void ShowDownloadProgress(TFormWait& wait, const update::UpdateProgress& progress)
{
    if (progress.percent) {
        wait.ProgressBar1->setRange(0, 100);
        wait.SetPercent(*progress.percent);
        return;
    }
    wait.ProgressBar1->setRange(0, 0);
    wait.LblPercent->setText(progress.percentText());
    wait.repaint();
}

} // namespace

void TFormMain::Check3Eupdates1Click()
{
    if (!update::updateAddressConfigured()) {
        prompts().information(QString::fromLatin1(update::kNoUpdateAddressText));
        return;
    }
    update::UpdateCheck check(StartFolder, ToolPath);
    {
        // The download handles window events while it runs; the busy window
        // is modal so that no other command (nor a second check, nor closing
        // the window) starts meanwhile. Escape in it stops the download.
        TFormWait wait(nullptr, this);
        wait.setWindowModality(Qt::ApplicationModal);
        connect(&check, &update::UpdateCheck::statusText, this,
                [this](const QString& text) { SetStatusPanel(2, text); });
        connect(&check, &update::UpdateCheck::progress, &wait,
                [&wait](const update::UpdateProgress& progress) {
                    ShowDownloadProgress(wait, progress);
                });
        connect(&check, &update::UpdateCheck::errorMessage, this,
                [this](const QString& text) { prompts().error(text); });
        connect(&wait, &TFormWait::escapeReleased, &check, &update::UpdateCheck::abort);
        wait.show();
        // false: another check is running; this one does nothing and its busy
        // window goes before it was ever painted.
        check.run();
    }
    // The busy window had the focus; give it back to the main window.
    if (isVisible())
        activateWindow();
}

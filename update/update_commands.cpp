// The update command: download the disk tool's archive,
// install the tool from it and report, with the busy window up exactly as
// long as the download runs.
#include "update_commands.h"

#include "app_error.h"
#include "command_context.h"
#include "command_registry.h"
#include "form_wait.h"
#include "prompts.h"
#include "temp_folder.h"
#include "update_address.h"
#include "update_check.h"
#include "update_texts.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace {

// The archive is downloaded into a folder of its own inside this run's
// private folder: the start folder may not be writable (a program started
// from the desktop's menu starts in the home folder), two running windows
// must not share the file, and a file got from a medium (a +3DOS file may be
// called 3E.ZIP) never meets it. A lower-case name, which no +3DOS name is.
QString DownloadFolder()
{
    const QString folder = PrivateTempFolder() + QStringLiteral("/update");
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder))
        throw AppError(QStringLiteral("Cannot create the folder %1").arg(folder));
    return folder;
}

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

UpdateCommands::UpdateCommands(CommandContext& context) : m_ctx(context) {}

void UpdateCommands::registerCommands(CommandRegistry& registry)
{
    registry.add({"Check3Eupdates1", QT_TRANSLATE_NOOP("Commands", "Check for 3E.EXE updates")}, [this] { checkForUpdates(); });
}

void UpdateCommands::checkForUpdates()
{
    if (!update::updateAddressConfigured()) {
        m_ctx.prompts().information(update::updateText(update::kNoUpdateAddressText));
        return;
    }
    update::UpdateCheck check(DownloadFolder(), m_ctx.tool().toolPath);
    {
        // The download handles window events while it runs; the busy window
        // is modal so that no other command (nor a second check, nor closing
        // the window) starts meanwhile. Escape in it stops the download.
        TFormWait wait(nullptr, m_ctx.dialogParent());
        wait.setWindowModality(Qt::ApplicationModal);
        QObject::connect(&check, &update::UpdateCheck::statusText, m_ctx.dialogParent(),
                [this](const QString& text) { m_ctx.setStatusPanel(2, text); });
        QObject::connect(&check, &update::UpdateCheck::progress, &wait,
                [&wait](const update::UpdateProgress& progress) {
                    ShowDownloadProgress(wait, progress);
                });
        QObject::connect(&check, &update::UpdateCheck::errorMessage, m_ctx.dialogParent(),
                [this](const QString& text) { m_ctx.prompts().error(text); });
        QObject::connect(&wait, &TFormWait::escapeReleased, &check, &update::UpdateCheck::abort);
        wait.show();
        // false: another check is running; this one does nothing and its busy
        // window goes before it was ever painted.
        check.run();
    }
    // The busy window had the focus; give it back to the main window.
    if (m_ctx.dialogParent()->isVisible())
        m_ctx.dialogParent()->activateWindow();
}

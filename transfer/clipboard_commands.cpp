// Cut, Copy and Paste: the file clipboard of the main window, and the
// desktop's clipboard for files copied to and from other programs.
#include "transfer_commands.h"

#include "app_error.h"
#include "change_commands.h"
#include "clipboard_cache.h"
#include "command_builders.h"
#include "command_context.h"
#include "command_guards.h"
#include "conflict_dialog.h"
#include "desktop_file_list.h"
#include "failure_list.h"
#include "file_clipboard.h"
#include "file_list_model.h"
#include "file_moves.h"
#include "form_copy_operation.h"
#include "form_wait.h"
#include "guard_texts.h"
#include "prompts.h"
#include "short_name.h"
#include "temp_folder.h"
#include "tool_command.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QTreeWidgetItem>

#include <exception>

namespace {

// The checks of Cut and Copy. They record files, so a list showing the
// partition table has nothing they could take.
QTreeWidgetItem* StartCutOrCopy(CommandContext& ctx)
{
    if (!RequireRows(ctx) || !RequireSelection(ctx) || !RequireFileList(ctx))
        return nullptr;
    return RequirePartitionNode(ctx);
}

QStringList SelectedNames(const CommandContext& ctx)
{
    QStringList names;
    for (int row : ctx.selectedRows())
        names << RowFileName(ctx, row);
    return names;
}

// A new folder for the local copies one Copy places on the desktop
// clipboard. It lies in the user's cache folder, so the copies outlive the
// program for a paste elsewhere; a later start removes it once no clipboard
// names it.
QString NewClipboardFolder()
{
    return NewClipboardCacheFolder(ClipboardCacheRoot());
}

// How often a long paste repaints its busy window.
constexpr qint64 kFrameMs = 40;

void EmptyDesktopClipboard()
{
    QGuiApplication::clipboard()->clear();
}

// Empties the desktop clipboard when a paste ends, however it ends: what it
// held has been dealt with (or, after a cancel, must not be pasted again
// half done).
class EmptyDesktopClipboardAtEnd
{
public:
    EmptyDesktopClipboardAtEnd() = default;
    ~EmptyDesktopClipboardAtEnd() { EmptyDesktopClipboard(); }
    EmptyDesktopClipboardAtEnd(const EmptyDesktopClipboardAtEnd&) = delete;
    EmptyDesktopClipboardAtEnd& operator=(const EmptyDesktopClipboardAtEnd&) = delete;
};

// Pastes the recorded entries: each one got, put into the partition and,
// after a Cut into another partition, deleted at its source, with progress
// in the busy window.
void InternalPaste(CommandContext& ctx, TransferCommands& commands, const QString& partition)
{
    // The entries are consumed whatever the outcome, so none is ever pasted
    // twice.
    const QStringList entries = std::exchange(commands.FileClipboard, {});
    const bool cut = commands.ClipboardMode == TransferCommands::ClipboardModes::Cut;
    commands.ClipboardMode = TransferCommands::ClipboardModes::None;
    const EmptyDesktopClipboardAtEnd emptyAtEnd;

    QList<PasteStep> steps;
    for (const QString& entry : entries)
        steps << PlanPasteStep(entry, partition, cut);
    PasteResult result;
    std::exception_ptr stopped;
    {
        TFormWait wait(nullptr, ctx.dialogParent());
        wait.ShowDelayed();
        // The bar and the percentage follow every entry. Pending events are
        // handled and the window repainted at most once a frame, and after
        // the last entry: a person sees no difference, and a paste of many
        // small files does not spend a good part of its time painting.
        QElapsedTimer sinceFrame;
        sinceFrame.start();
        const auto count = static_cast<int>(steps.size());
        try {
            // The busy window is application modal: it goes while a name
            // question is open, or it would come up over the question and
            // take its clicks.
            const ConflictAsker dialogAsk = DialogConflictAsker(ctx.prompts(), ctx.dialogParent());
            const ConflictAsker ask = [&](const ConflictQuestion& question) {
                wait.hide();
                const ConflictReply reply = dialogAsk(question);
                wait.ShowDelayed();
                return reply;
            };
            result = PasteThroughLocalCopies(
                ctx.tool(), PrivateTempFolder(), steps, partition, ask, [&](int done) {
                    const int percent = TFormWait::ProgressPercent(done, count);
                    wait.ProgressBar1->setValue(percent);
                    wait.LblPercent->setText(QString::number(percent) + QLatin1Char('%'));
                    if (done == count || sinceFrame.elapsed() >= kFrameMs) {
                        LetEventsRun();
                        wait.SetPercent(percent);
                        sinceFrame.restart();
                    }
                });
        } catch (const ToolRunStopped&) {
            // Sources of a Cut are deleted only once every copy is confirmed,
            // so a stop leaves each file at least where it was.
            stopped = std::current_exception();
        }
    }
    if (stopped) {
        ctx.listPartitionAgain();
        std::rethrow_exception(stopped);
    }
    ctx.setStatusPanel(1, QString());
    AskedTally tally;
    tally.total = static_cast<int>(entries.size());
    tally.done = result.done;
    tally.skipped = result.skipped;
    tally.cancelled = result.cancelled;
    EndAskedCommand(ctx, result.failures, tally, kPasteEnd);
}

// Puts the files another program placed on the desktop clipboard, asking
// how (binary mode, or +3DOS with an address).
void ExternalPaste(CommandContext& ctx, const QString& partition, const QStringList& files)
{
    ctx.setStatusPanel(1, QString());
    if (files.isEmpty()) {
        EmptyDesktopClipboard();
        ctx.listPartitionAgain();
        return;
    }
    TFormCopyOperation dialog(ctx.prompts(), ctx.dialogParent());
    ctx.prompts().execDialog(dialog);
    if (dialog.Command.isEmpty()) {
        EmptyDesktopClipboard();
        return;
    }
    const EmptyDesktopClipboardAtEnd emptyAtEnd;
    PutHostFiles(
        ctx, files, partition,
        [&](const QString& file, const QString& target, const QString& name) {
            return PutModeCommand(ctx.tool().toolPath, ctx.tool().medium, dialog.Command, file,
                                  target, name, dialog.Address);
        },
        kExternalPasteEnd);
}

} // namespace

void TransferCommands::cutFiles()
{
    QTreeWidgetItem* node = StartCutOrCopy(m_ctx);
    if (!node)
        return;
    ClipboardMode = ClipboardModes::Cut;
    for (const QString& name : SelectedNames(m_ctx))
        FileClipboard << ClipboardEntry(node->text(0), name);
}

void TransferCommands::copyFiles()
{
    QTreeWidgetItem* node = StartCutOrCopy(m_ctx);
    if (!node)
        return;
    ClipboardMode = ClipboardModes::Copy;
    const QString partition = node->text(0);
    const QStringList names = SelectedNames(m_ctx);
    const QString folder = NewClipboardFolder();
    const ToolRunner tool = m_ctx.tool();
    QStringList localCopies;
    FailureList failures;
    for (const QString& name : names) {
        FileClipboard << ClipboardEntry(partition, name);
        const QString problem =
            tool.runForErrors(GetFileCommand(m_ctx.tool().toolPath, m_ctx.tool().medium, partition, name, folder));
        const QString copy = QDir(folder).filePath(name);
        if (!problem.isEmpty())
            failures.add(ClipboardEntry(partition, name), problem);
        else if (!QFileInfo(copy).isFile())
            failures.add(ClipboardEntry(partition, name),
                         QStringLiteral("the disk tool wrote no local copy"));
        else
            localCopies << copy;
        LetEventsRun();
    }
    if (!localCopies.isEmpty())
        QGuiApplication::clipboard()->setMimeData(MakeFileListMimeData(localCopies));
    if (!failures.isEmpty())
        m_ctx.prompts().error(failures.boxText(
            QStringLiteral("These files could not be copied to the desktop clipboard:")));
}

void TransferCommands::pasteFiles()
{
    if (!m_ctx.checkTool())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(m_ctx);
    if (!node)
        return;
    if (m_ctx.rows().count() > 0 && m_ctx.listShowsPartitions()) {
        m_ctx.prompts().error(QString::fromLatin1(guard::kInvalidOperation));
        return;
    }
    if (!FileClipboard.isEmpty()) {
        InternalPaste(m_ctx, *this, node->text(0));
        return;
    }
    const QMimeData* desktop = QGuiApplication::clipboard()->mimeData();
    if (desktop && desktop->hasUrls())
        ExternalPaste(m_ctx, node->text(0), LocalFilesIn(desktop));
}

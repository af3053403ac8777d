// Cut, Copy and Paste: the file clipboard of the main window, and the
// desktop's clipboard for files copied to and from other programs.
#include "app_error.h"
#include "change_commands.h"
#include "command_builders.h"
#include "desktop_file_list.h"
#include "failure_list.h"
#include "file_clipboard.h"
#include "file_list_model.h"
#include "file_moves.h"
#include "form_copy_operation.h"
#include "form_wait.h"
#include "formmain.h"
#include "short_name.h"
#include "temp_folder.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QTreeWidgetItem>

namespace {

// The checks of Cut and Copy. They record files, so a list showing the
// partition table has nothing they could take.
QTreeWidgetItem* StartCutOrCopy(TFormMain& form)
{
    if (form.RowCount() == 0) {
        form.prompts().error(QStringLiteral("No files in partition."));
        return nullptr;
    }
    if (form.SelectedCount() == 0) {
        form.prompts().error(QStringLiteral("No file selected."));
        return nullptr;
    }
    if (form.ListShowsPartitions()) {
        form.prompts().error(QStringLiteral("Invalid operation."));
        return nullptr;
    }
    return RequirePartitionNode(form);
}

QStringList SelectedNames(const TFormMain& form)
{
    QStringList names;
    for (int row : form.SelectedRows())
        names << RowFileName(form, row);
    return names;
}

// A new folder for the local copies one Copy places on the desktop
// clipboard. They stay there for other programs to paste until the program
// ends, so later commands never overwrite or delete them.
QString NewClipboardFolder()
{
    const QDir base(PrivateTempFolder());
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("clipboard-%1").arg(n);
        if (!base.exists(name)) {
            if (!base.mkdir(name))
                throw AppError(
                    QStringLiteral("Cannot create the folder %1").arg(base.filePath(name)));
            return base.filePath(name);
        }
    }
}

// How often a long paste repaints its busy window.
constexpr qint64 kFrameMs = 40;

void EmptyDesktopClipboard()
{
    QGuiApplication::clipboard()->clear();
}

// Pastes the recorded entries: each one got, put into the partition and,
// after a Cut into another partition, deleted at its source, with progress
// in the busy window.
void InternalPaste(TFormMain& form, const QString& partition)
{
    // The entries are consumed whatever the outcome, so none is ever pasted
    // twice.
    const QStringList entries = std::exchange(form.FileClipboard, {});
    const bool cut = form.ClipboardMode == TFormMain::ClipboardModes::Cut;
    form.ClipboardMode = TFormMain::ClipboardModes::None;

    QList<PasteStep> steps;
    for (const QString& entry : entries)
        steps << PlanPasteStep(entry, partition, cut);
    FailureList failures;
    {
        TFormWait wait(nullptr, &form);
        wait.ShowDelayed();
        // The bar and the percentage follow every entry. Pending events are
        // handled and the window repainted at most once a frame, and after
        // the last entry: a person sees no difference, and a paste of many
        // small files does not spend a good part of its time painting.
        QElapsedTimer sinceFrame;
        sinceFrame.start();
        const auto count = static_cast<int>(steps.size());
        failures = PasteThroughLocalCopies(
            ToolOf(form), PrivateTempFolder(), steps, partition, [&](int done) {
                const int percent = TFormWait::ProgressPercent(done, count);
                wait.ProgressBar1->setValue(percent);
                wait.LblPercent->setText(QString::number(percent) + QLatin1Char('%'));
                if (done == count || sinceFrame.elapsed() >= kFrameMs) {
                    LetEventsRun();
                    wait.SetPercent(percent);
                    sinceFrame.restart();
                }
            });
    }
    form.SetStatusPanel(1, QString());
    EndChangeCommand(form, failures, static_cast<int>(entries.size()), kPasteEnd);
    EmptyDesktopClipboard();
}

// Puts the files another program placed on the desktop clipboard, asking
// how (binary mode, or +3DOS with an address).
void ExternalPaste(TFormMain& form, const QString& partition, const QStringList& files)
{
    form.SetStatusPanel(1, QString());
    if (files.isEmpty()) {
        EmptyDesktopClipboard();
        form.TreeViewChange();
        return;
    }
    TFormCopyOperation dialog(form.prompts(), &form);
    form.prompts().execDialog(dialog);
    if (dialog.Command.isEmpty()) {
        EmptyDesktopClipboard();
        return;
    }
    const ToolContext tool = ToolOf(form);
    FailureList failures;
    for (const QString& file : files) {
        form.SetStatusPanel(2,
                            QStringLiteral("Copying ") + file + QStringLiteral(" to ") + partition);
        const QString line = PutModeCommand(form.ToolPath, form.CurrentMedium, dialog.Command, file,
                                            partition, ShortName(file), dialog.Address);
        const QString problem = RunToolStep(tool, line);
        if (!problem.isEmpty())
            failures.add(file, problem);
        LetEventsRun();
    }
    EmptyDesktopClipboard();
    form.SetStatusPanel(1, QString());
    EndChangeCommand(form, failures, static_cast<int>(files.size()), kExternalPasteEnd);
}

} // namespace

void TFormMain::Cut1Click()
{
    QTreeWidgetItem* node = StartCutOrCopy(*this);
    if (!node)
        return;
    ClipboardMode = ClipboardModes::Cut;
    for (const QString& name : SelectedNames(*this))
        FileClipboard << ClipboardEntry(node->text(0), name);
}

void TFormMain::Copy1Click()
{
    QTreeWidgetItem* node = StartCutOrCopy(*this);
    if (!node)
        return;
    ClipboardMode = ClipboardModes::Copy;
    const QString partition = node->text(0);
    const QStringList names = SelectedNames(*this);
    const QString folder = NewClipboardFolder();
    const ToolContext tool = ToolOf(*this);
    QStringList localCopies;
    FailureList failures;
    for (const QString& name : names) {
        FileClipboard << ClipboardEntry(partition, name);
        const QString problem =
            RunToolStep(tool, GetFileCommand(ToolPath, CurrentMedium, partition, name, folder));
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
        prompts().error(failures.boxText(
            QStringLiteral("These files could not be copied to the desktop clipboard:")));
}

void TFormMain::Paste1Click()
{
    if (!CheckBackend())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(*this);
    if (!node)
        return;
    if (RowCount() > 0 && ListShowsPartitions()) {
        prompts().error(QStringLiteral("Invalid operation."));
        return;
    }
    if (!FileClipboard.isEmpty()) {
        InternalPaste(*this, node->text(0));
        return;
    }
    const QMimeData* desktop = QGuiApplication::clipboard()->mimeData();
    if (desktop && desktop->hasUrls())
        ExternalPaste(*this, node->text(0), LocalFilesIn(desktop));
}

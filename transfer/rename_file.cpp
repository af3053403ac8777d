// Renaming a file in place: the row's caption is edited in the list, and the
// file is got, put back under the new name and deleted under the old one.
#include "transfer_commands.h"

#include "app_error.h"
#include "change_commands.h"
#include "command_context.h"
#include "command_guards.h"
#include "file_list_model.h"
#include "file_moves.h"
#include "prompts.h"
#include "temp_folder.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QTimer>
#include <QTreeWidgetItem>

namespace {

// Whether another row than `row` is named `name`.
bool NameTakenByOtherRow(const FileListModel& list, int row, const QString& name)
{
    for (int r = 0; r < list.count(); ++r) {
        if (r != row && SameFileName(TrimmedName(list.caption(r)), name))
            return true;
    }
    return false;
}

// The rename itself. The row still shows the old name (the list leaves an
// edited caption alone); it shows the typed text only when the rename worked.
void RenameRow(CommandContext& ctx, const QString& renameOldName, int row, const QString& typed)
{
    const QString oldName = TrimmedName(renameOldName);
    const QString newName = TrimmedName(typed);
    // An empty name, or the same name (the tool takes names without regard
    // to case), changes nothing: the old caption stays and nothing runs.
    if (newName.isEmpty() || SameFileName(newName, oldName))
        return;
    // Putting the copy under a name another file has would replace that file.
    if (NameTakenByOtherRow(ctx.rows(), row, newName)) {
        ctx.prompts().error(
            QCoreApplication::translate("RenameFile", "A file named %1 already exists.")
                .arg(newName));
        return;
    }
    QTreeWidgetItem* node = RequirePartitionNode(ctx);
    if (!node)
        return;
    const QString problem =
        RenameThroughLocalCopy(ctx.tool(), PrivateTempFolder(), node->text(0), oldName, newName);
    if (!problem.isEmpty()) {
        // The list is read again so that it shows what the partition holds.
        ctx.listPartitionAgain();
        ctx.setStatusPanel(2, QCoreApplication::translate("RenameFile", "Rename failed: %1: %2")
                                  .arg(oldName, FirstLine(problem)));
        ctx.prompts().error(
            QCoreApplication::translate("RenameFile", "%1 was not renamed to %2.\r\n%3")
                .arg(oldName, newName, problem));
        return;
    }
    // The caption as typed; the other cells stay until the list is read again.
    ctx.rows().setCaption(row, typed);
}

} // namespace

void TransferCommands::renameCurrentFile()
{
    if (!RequireSelection(m_ctx) || !RequireFileList(m_ctx))
        return;
    if (m_ctx.selectedRows().size() > 1) {
        m_ctx.prompts().error(
            QCoreApplication::translate("RenameFile", "Only one file can be renamed at a time."));
        return;
    }
    m_ctx.editRowCaption(m_ctx.selectedRows().first());
}

bool TransferCommands::renameEditStarting(int row)
{
    RenameOldName = m_ctx.rows().caption(row);
    return !m_ctx.listShowsPartitions();
}

void TransferCommands::renameEdited(int row, const QString& text)
{
    // While the in-place editor is handing over its text it is still open:
    // the tool runs, message boxes and a refresh of the list wait until it
    // has closed.
    if (!m_ctx.editingRowCaption(row)) {
        RenameRow(m_ctx, RenameOldName, row, text);
        return;
    }
    const QString oldName = RenameOldName;
    QTimer::singleShot(0, m_ctx.dialogParent(), [this, row, text, oldName] {
        if (row >= m_ctx.rows().count() || m_ctx.rows().caption(row) != oldName)
            return; // the list was filled anew meanwhile
        RenameOldName = oldName;
        GuardedCall([&] { RenameRow(m_ctx, RenameOldName, row, text); });
    });
}

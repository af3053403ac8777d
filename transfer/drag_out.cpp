// Dragging selected files out of the list: the files are got into a folder
// of their own in the program's private folder, in the mode of the get of
// selected files chosen last, and the drag then carries them as local files.
#include "transfer_commands.h"

#include "command_context.h"
#include "failure_list.h"
#include "file_getter.h"
#include "file_list_model.h"
#include "form_wait.h"
#include "header_cut.h"
#include "prompts.h"
#include "records.h"
#include "temp_folder.h"
#include "tool_command.h"
#include "transfer_error.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include <exception>

namespace {

// A new folder for the files of one drag. The drop target may read them at
// any time until the program ends (a file manager copies in the background),
// so they stay there and go with the private folder.
QString NewDragFolder()
{
    QTemporaryDir folder(PrivateTempFolder() + QStringLiteral("/drag-XXXXXX"));
    if (!folder.isValid())
        throw TransferError(QStringLiteral("Cannot create a folder in %1: %2")
                                .arg(PrivateTempFolder(), folder.errorString()));
    folder.setAutoRemove(false);
    return folder.path();
}

} // namespace

QStringList TransferCommands::getSelectedFilesForDrag()
{
    // A drag is no command the user asked to be told about: with nothing to
    // drag it simply does not start.
    QTreeWidgetItem* node = m_ctx.selectedNode();
    const QList<int> rows = m_ctx.selectedRows();
    if (!node || rows.isEmpty() || m_ctx.listShowsPartitions() || !m_ctx.checkTool())
        return {};
    const QString partition = node->text(0);
    QStringList names;
    QStringList types;
    for (int row : rows) {
        names << m_ctx.rows().caption(row);
        types << m_ctx.rows().cell(row, FileListModel::ColType);
    }

    const QString folder = NewDragFolder();
    QStringList files;
    FailureList failures;
    std::exception_ptr stopped;
    {
        FileGetter getter(m_ctx.tool(), folder);
        bool abortRequested = false;
        TFormWait wait(&abortRequested, m_ctx.dialogParent());
        wait.setWindowModality(Qt::ApplicationModal);
        wait.ShowDelayed();
        try {
            for (qsizetype i = 0; i < names.size() && !abortRequested; ++i) {
                const GotFile got = getter.get(partition, names[i]);
                QString problem = got.error;
                if (problem.isEmpty() && DragWithoutHeader &&
                    types[i] != QLatin1String(kTypeHeaderless)) {
                    try {
                        CutPlus3DosHeader(got.path);
                    } catch (const TransferError& error) {
                        problem = error.message();
                    }
                }
                const QString target = QDir(folder).filePath(names[i]);
                if (problem.isEmpty())
                    problem = MoveReplacing(got.path, target);
                if (problem.isEmpty())
                    files << target;
                else
                    failures.add(partition + QLatin1Char('\\') + names[i], problem);
                wait.SetProgress(i + 1, names.size());
                TFormWait::ProcessPendingEvents();
            }
        } catch (const ToolRunStopped&) {
            stopped = std::current_exception();
        }
        if (abortRequested && !stopped)
            failures.add(partition, QStringLiteral("the copy was stopped"));
    }
    // A drag that would carry fewer files than were chosen is not started:
    // the user is told what failed and may drag again.
    if (stopped || !failures.isEmpty()) {
        QDir(folder).removeRecursively();
        if (stopped)
            std::rethrow_exception(stopped);
        m_ctx.prompts().error(failures.boxText(QStringLiteral("%1 of %2 could not be copied:")
                                                    .arg(failures.count())
                                                    .arg(names.size())));
        return {};
    }
    return files;
}

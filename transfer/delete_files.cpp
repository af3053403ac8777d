// Deleting the selected files of a partition, after one confirmation.
#include "transfer_commands.h"

#include "change_commands.h"
#include "command_builders.h"
#include "command_context.h"
#include "command_guards.h"
#include "failure_list.h"
#include "file_list_model.h"
#include "form_wait.h"
#include "prompts.h"
#include "tool_command.h"

#include <QCoreApplication>
#include <QTreeWidgetItem>

#include <exception>

void TransferCommands::deleteSelectedFiles()
{
    if (!m_ctx.checkTool())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(m_ctx);
    if (!node)
        return;
    // The rows of the partition table are no files.
    if (!RequireRows(m_ctx) || !RequireSelection(m_ctx) || !RequireFileList(m_ctx))
        return;
    if (m_ctx.prompts().confirm(QCoreApplication::translate(
            "DeleteFiles", "Are you sure you want to delete selected file(s)?")) !=
        Prompts::Answer::Yes)
        return;

    // The names are taken before the first run: the list stays as it is
    // until the refresh at the end.
    const QString partition = node->text(0);
    QStringList files;
    for (int row : m_ctx.selectedRows())
        files << RowFileName(m_ctx, row);
    const ToolRunner tool = m_ctx.tool();
    FailureList failures;
    std::exception_ptr stopped;
    {
        // One busy window for the whole command (the runs use it rather than
        // each opening its own), with progress after every file. Escape while
        // a run waits stops the run; Escape between two runs stops before
        // the next one. Either way the command ends as cancelled and the
        // files not yet reached stay.
        bool abortRequested = false;
        TFormWait wait(&abortRequested, m_ctx.dialogParent());
        wait.ShowDelayed();
        const auto count = static_cast<qint64>(files.size());
        try {
            for (qint64 i = 0; i < count; ++i) {
                const QString& file = files[i];
                m_ctx.setStatusPanel(1, QString());
                m_ctx.setStatusPanel(2, QCoreApplication::translate("DeleteFiles", "Deleting %1:%2")
                                            .arg(partition, file));
                const QString problem =
                    tool.runForErrors(DelCommand(tool.toolPath, tool.medium, partition, file));
                if (!problem.isEmpty())
                    failures.add(partition + QLatin1Char(':') + file, problem);
                wait.SetProgress(i + 1, count);
                TFormWait::ProcessPendingEvents();
                if (abortRequested && i + 1 < count)
                    throw ToolRunStopped(ToolRunStopped::Kind::Cancelled,
                                         ToolCommandScope::CurrentCaption(),
                                         ToolCommandScope::CurrentLimitMs());
            }
        } catch (const ToolRunStopped&) {
            stopped = std::current_exception();
        }
    }
    if (stopped) {
        // The list shows what is left; the guard reports the stop.
        m_ctx.listPartitionAgain();
        std::rethrow_exception(stopped);
    }
    EndChangeCommand(m_ctx, failures, static_cast<int>(files.size()), kDeleteEnd);
}

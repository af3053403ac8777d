// Deleting the selected files of a partition, after one confirmation.
#include "transfer_commands.h"

#include "change_commands.h"
#include "command_builders.h"
#include "command_context.h"
#include "command_guards.h"
#include "failure_list.h"
#include "file_list_model.h"
#include "prompts.h"

#include <QTreeWidgetItem>

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
    if (m_ctx.prompts().confirm(QStringLiteral("Are you sure you want to delete selected file(s)?")) !=
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
    for (const QString& file : std::as_const(files)) {
        m_ctx.setStatusPanel(1, QString());
        m_ctx.setStatusPanel(2, QStringLiteral("Deleting ") + partition + QLatin1Char(':') + file);
        const QString problem =
            tool.runForErrors(DelCommand(m_ctx.tool().toolPath, m_ctx.tool().medium, partition, file));
        if (!problem.isEmpty())
            failures.add(partition + QLatin1Char(':') + file, problem);
        LetEventsRun();
    }
    EndChangeCommand(m_ctx, failures, static_cast<int>(files.size()), kDeleteEnd);
}

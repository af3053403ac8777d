// Deleting the selected files of a partition, after one confirmation.
#include "change_commands.h"
#include "command_builders.h"
#include "failure_list.h"
#include "file_list_model.h"
#include "formmain.h"
#include "guard_texts.h"

#include <QTreeWidgetItem>

void TFormMain::Deleteselectedfiles2Click()
{
    if (!CheckBackend())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(*this);
    if (!node)
        return;
    if (RowCount() == 0) {
        prompts().error(QString::fromLatin1(guard::kNoFilesInPartition));
        return;
    }
    if (SelectedCount() == 0) {
        prompts().error(QString::fromLatin1(guard::kNoFileSelected));
        return;
    }
    // The rows of the partition table are no files.
    if (ListShowsPartitions()) {
        prompts().error(QString::fromLatin1(guard::kInvalidOperation));
        return;
    }
    if (prompts().confirm(QStringLiteral("Are you sure you want to delete selected file(s)?")) !=
        Prompts::Answer::Yes)
        return;

    // The names are taken before the first run: the list stays as it is
    // until the refresh at the end.
    const QString partition = node->text(0);
    QStringList files;
    for (int row : SelectedRows())
        files << RowFileName(*this, row);
    const ToolRunner tool = Tool();
    FailureList failures;
    for (const QString& file : std::as_const(files)) {
        SetStatusPanel(1, QString());
        SetStatusPanel(2, QStringLiteral("Deleting ") + partition + QLatin1Char(':') + file);
        const QString problem =
            tool.runForErrors(DelCommand(ToolPath, CurrentMedium, partition, file));
        if (!problem.isEmpty())
            failures.add(partition + QLatin1Char(':') + file, problem);
        LetEventsRun();
    }
    EndChangeCommand(*this, failures, static_cast<int>(files.size()), kDeleteEnd);
}

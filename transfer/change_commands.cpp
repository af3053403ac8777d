#include "change_commands.h"

#include "command_context.h"
#include "failure_list.h"
#include "file_list_model.h"
#include "guard_texts.h"
#include "prompts.h"
#include "text_utils.h"

#include <QCoreApplication>
#include <QTreeWidgetItem>

QString TrimmedName(const QString& text)
{
    return TrimBlanksAndControls(text);
}

QString RowFileName(const CommandContext& ctx, int row)
{
    return TrimmedName(ctx.rows().caption(row));
}

void LetEventsRun()
{
    // Windows repaint; the user's keys and clicks wait until the command has
    // ended, so no second command starts in the middle of this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void EndChangeCommand(CommandContext& ctx, const FailureList& failures, int total,
                      const CommandEnd& texts)
{
    if (failures.isEmpty()) {
        if (*texts.completedText) {
            ctx.setStatusPanel(1, QString());
            ctx.setStatusPanel(2, QLatin1String(texts.completedText));
        }
        ctx.listPartitionAgain();
        return;
    }
    ctx.listPartitionAgain();
    ctx.setStatusPanel(2, failures.statusText(QLatin1String(texts.failedWord),
                                               QLatin1String(texts.doneWord), total));
    ctx.prompts().error(failures.boxText(QLatin1String(texts.heading)));
}

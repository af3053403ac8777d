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

void EndAskedCommand(CommandContext& ctx, const FailureList& failures, const AskedTally& tally,
                     const CommandEnd& texts)
{
    EndChangeCommand(ctx, failures, tally.done, texts);
    if (!failures.isEmpty() || (!tally.cancelled && tally.skipped == 0))
        return;
    const QString noun = QLatin1String(texts.noun);
    const QString doneWord = QLatin1String(texts.doneWord);
    QString text =
        tally.cancelled
            ? QStringLiteral("%1 cancelled: %2 of %3 file(s) %4")
                  .arg(noun)
                  .arg(tally.done)
                  .arg(tally.total)
                  .arg(doneWord)
            : QStringLiteral("%1 completed: %2 file(s) %3").arg(noun).arg(tally.done).arg(doneWord);
    if (tally.skipped > 0)
        text += QStringLiteral(", %1 skipped").arg(tally.skipped);
    ctx.setStatusPanel(2, text);
}

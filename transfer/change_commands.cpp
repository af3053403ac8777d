#include "change_commands.h"

#include "failure_list.h"
#include "file_list_model.h"
#include "formmain.h"
#include "guard_texts.h"
#include "text_utils.h"

#include <QCoreApplication>
#include <QTreeWidgetItem>

QTreeWidgetItem* RequirePartitionNode(TFormMain& form)
{
    QTreeWidgetItem* node = form.SelectedNode();
    if (!node)
        form.prompts().error(QString::fromLatin1(guard::kNoPartitionSelected));
    return node;
}

QString TrimmedName(const QString& text)
{
    return TrimBlanksAndControls(text);
}

QString RowFileName(const TFormMain& form, int row)
{
    return TrimmedName(form.ListModel().caption(row));
}

void LetEventsRun()
{
    // Windows repaint; the user's keys and clicks wait until the command has
    // ended, so no second command starts in the middle of this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void EndChangeCommand(TFormMain& form, const FailureList& failures, int total,
                      const CommandEnd& texts)
{
    if (failures.isEmpty()) {
        if (*texts.completedText) {
            form.SetStatusPanel(1, QString());
            form.SetStatusPanel(2, QLatin1String(texts.completedText));
        }
        form.TreeViewChange();
        return;
    }
    form.TreeViewChange();
    form.SetStatusPanel(2, failures.statusText(QLatin1String(texts.failedWord),
                                               QLatin1String(texts.doneWord), total));
    form.prompts().error(failures.boxText(QLatin1String(texts.heading)));
}

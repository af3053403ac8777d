#include "command_guards.h"

#include "command_context.h"
#include "file_list_model.h"
#include "guard_texts.h"
#include "prompts.h"
#include "tool_command.h"

namespace {

bool Check(CommandContext& ctx, bool holds, const char* text)
{
    if (!holds)
        ctx.prompts().error(QString::fromLatin1(text));
    return holds;
}

} // namespace

QTreeWidgetItem* RequirePartitionNode(CommandContext& ctx)
{
    QTreeWidgetItem* node = ctx.selectedNode();
    Check(ctx, node != nullptr, guard::kNoPartitionSelected);
    return node;
}

bool RequireRows(CommandContext& ctx)
{
    return Check(ctx, ctx.rows().count() > 0, guard::kNoFilesInPartition);
}

bool RequireSelection(CommandContext& ctx)
{
    return Check(ctx, !ctx.selectedRows().isEmpty(), guard::kNoFileSelected);
}

bool RequireFileList(CommandContext& ctx)
{
    return Check(ctx, !ctx.listShowsPartitions(), guard::kInvalidOperation);
}

bool RequireNoOtherCommand(CommandContext& ctx)
{
    const QString running = ToolCommandScope::EnclosingCaption();
    if (running.isEmpty())
        return true;
    ctx.prompts().error(QString::fromLatin1(guard::kCommandRunning).arg(running));
    return false;
}

#pragma once

class CommandContext;
class QTreeWidgetItem;

// The checks commands begin with. Each shows its guard text (guard_texts.h)
// in the error box when it fails; commands chain them in the order the
// command checks, so the first failing check is the one the user is told.

// The selected tree node; null after "No partition selected.".
QTreeWidgetItem* RequirePartitionNode(CommandContext& ctx);
// The list has rows; else "No files in partition.".
bool RequireRows(CommandContext& ctx);
// At least one row is selected; else "No file selected.".
bool RequireSelection(CommandContext& ctx);
// The list shows files, not the partition table; else "Invalid operation.".
bool RequireFileList(CommandContext& ctx);
// No command other than the one checking is running (see
// ToolCommandScope::EnclosingCaption); else the error box names the running
// one. For commands that change the medium under another's feet.
bool RequireNoOtherCommand(CommandContext& ctx);

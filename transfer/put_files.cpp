// Putting host files into the selected partition: in binary mode, with a
// +3DOS header, with a header and a typed load address, the contents of a
// tape or floppy disk image, and files dropped on the list.
#include "transfer_commands.h"

#include "change_commands.h"
#include "command_builders.h"
#include "command_context.h"
#include "conflict_dialog.h"
#include "failure_list.h"
#include "form_copy_operation.h"
#include "name_conflicts.h"
#include "prompts.h"
#include "short_name.h"
#include "tool_steps.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTreeWidgetItem>

#include <functional>

namespace {

// The shared file-open dialog, set up for one command. Several files may be
// chosen; the folder of the first becomes the dialog's starting folder.
QStringList ChooseHostFiles(CommandContext& ctx, const char* title, const char* defaultSuffix,
                            const char* fileName, const char* filter)
{
    FileDialogRequest request;
    request.title = QLatin1String(title);
    request.defaultSuffix = QLatin1String(defaultSuffix);
    request.fileName = QLatin1String(fileName);
    request.filter = QLatin1String(filter);
    request.folder = ctx.openDialogFolder();
    request.multiple = true;
    const QStringList files = ctx.prompts().openFiles(request);
    if (!files.isEmpty())
        ctx.openDialogFolder() = QFileInfo(files.first()).absolutePath();
    return files;
}

// The checks every put command starts with: the tool, then a partition.
QTreeWidgetItem* StartPut(CommandContext& ctx)
{
    if (!ctx.checkTool())
        return nullptr;
    return RequirePartitionNode(ctx);
}

enum class PutKind { Binary, Plus3Dos, Plus3DosAtAddress };

void PutFiles(CommandContext& ctx, PutKind kind)
{
    QTreeWidgetItem* node = StartPut(ctx);
    if (!node)
        return;
    const QStringList files =
        ChooseHostFiles(ctx, "Put files to transfer", "", "*.*", "All Files (*.*)|*.*");
    if (files.isEmpty())
        return;
    QString address;
    if (kind == PutKind::Plus3DosAtAddress) {
        // One address for every file, passed on as typed: the tool judges it.
        InputRequest request;
        request.caption = QStringLiteral("3eHarnwick");
        request.prompt = QStringLiteral("Please type the start address for all files");
        const std::optional<QString> typed = ctx.prompts().inputText(request);
        if (!typed)
            return;
        address = *typed;
    }
    const QString tool = ctx.tool().toolPath;
    const QString medium = ctx.tool().medium;
    PutHostFiles(
        ctx, files, node->text(0),
        [&](const QString& file, const QString& partition, const QString& name) {
            switch (kind) {
            case PutKind::Binary:
                return PutCommand(tool, medium, file, partition, name);
            case PutKind::Plus3Dos:
                return PutBinCommand(tool, medium, file, partition, name);
            case PutKind::Plus3DosAtAddress:
                break;
            }
            return PutBinAtCommand(tool, medium, file, partition, name, address);
        },
        kCopyEnd);
}

// The lines the tool wrote to its output file, without blank ones.
QStringList OutputLines(const ToolRunner& tool)
{
    QFile out(tool.outFile);
    if (!out.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(out.readAll())
        .split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
}

// Puts the whole contents of one image. The tool first lists the names the
// image's files ask for; a name taken in the partition is asked about as for
// host files, and one more run stores the files under the names decided (a
// skipped file, and every file from a Cancel on, is left out). A tool error
// stays in the status bar and the list is left as it was.
void PutImage(CommandContext& ctx, const char* title, const char* defaultSuffix, const char* fileName,
              const char* filter,
              QString (*commandLine)(const QString&, const QString&, const QString&,
                                     const QString&))
{
    QTreeWidgetItem* node = StartPut(ctx);
    if (!node)
        return;
    const QStringList files = ChooseHostFiles(ctx, title, defaultSuffix, fileName, filter);
    if (files.isEmpty())
        return;
    const QString partition = node->text(0);
    const ToolRunner tool = ctx.tool();
    const QString importLine = commandLine(tool.toolPath, tool.medium, files.first(), partition);
    QString listError;
    QStringList readOnly;
    const QStringList existing = ListPartitionFiles(tool, partition, &listError, &readOnly);
    if (!listError.isEmpty() || !tool.runForErrors(ImportListCommand(importLine)).isEmpty()) {
        ctx.reportToolErrors();
        return;
    }
    const QStringList wanted = OutputLines(tool);
    NameConflicts conflicts(partition, existing, readOnly,
                            DialogConflictAsker(ctx.prompts(), ctx.dialogParent()));
    QStringList names;
    AskedTally tally;
    tally.total = static_cast<int>(wanted.size());
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const PutDecision decision = conflicts.Decide(PutRequest{wanted[i], wanted[i]},
                                                      static_cast<int>(wanted.size() - i - 1));
        if (decision.kind == PutDecision::Cancel) {
            tally.cancelled = true;
            break;
        }
        if (decision.kind == PutDecision::Skip) {
            ++tally.skipped;
            names << QString();
            continue;
        }
        ++tally.done;
        names << decision.targetName;
    }
    if (tally.done > 0) {
        ctx.setStatusPanel(1, QString());
        ctx.setStatusPanel(2, QStringLiteral("Copying ") + files.first() + QStringLiteral(" to ") +
                                  partition);
        tool.runForErrors(ImportNamesCommand(importLine, names));
        if (ctx.reportToolErrors())
            return;
    }
    EndAskedCommand(ctx, FailureList(), tally, kCopyEnd);
}

} // namespace

void PutHostFiles(CommandContext& ctx, const QStringList& files, const QString& partition,
                  const PutLine& line, const CommandEnd& texts)
{
    const ToolRunner tool = ctx.tool();
    QString listError;
    QStringList readOnly;
    const QStringList existing = ListPartitionFiles(tool, partition, &listError, &readOnly);
    if (!listError.isEmpty()) {
        // Without the listing no name can be checked: nothing is put.
        ctx.reportToolErrors();
        return;
    }
    const QStringList names = UniqueShortNames(files, existing);
    NameConflicts conflicts(partition, existing, readOnly,
                            DialogConflictAsker(ctx.prompts(), ctx.dialogParent()));
    FailureList failures;
    AskedTally tally;
    tally.total = static_cast<int>(files.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& file = files[i];
        const PutDecision decision =
            conflicts.Decide(PutRequest{file, names[i]}, static_cast<int>(files.size() - i - 1));
        if (decision.kind == PutDecision::Cancel) {
            tally.cancelled = true;
            break;
        }
        if (decision.kind == PutDecision::Skip) {
            ++tally.skipped;
            continue;
        }
        ctx.setStatusPanel(1, QString());
        ctx.setStatusPanel(2,
                           QStringLiteral("Copying ") + file + QStringLiteral(" to ") + partition);
        ++tally.done;
        const QString problem = tool.runForErrors(line(file, partition, decision.targetName));
        if (!problem.isEmpty())
            failures.add(file, problem);
        LetEventsRun();
    }
    EndAskedCommand(ctx, failures, tally, texts);
}

void TransferCommands::putFilesBinary()
{
    PutFiles(m_ctx, PutKind::Binary);
}

void TransferCommands::putFilesWithHeader()
{
    PutFiles(m_ctx, PutKind::Plus3Dos);
}

void TransferCommands::putFilesAtAddress()
{
    PutFiles(m_ctx, PutKind::Plus3DosAtAddress);
}

void TransferCommands::putTapeContents()
{
    PutImage(m_ctx, "Open tape image", "tap", "*.tap",
             "Zx Spectrum Tape Files (*.tap)|*.tap|All Files (*.*)|*.*", &PutTapCommand);
}

void TransferCommands::putFloppyContents()
{
    PutImage(m_ctx, "Open disk image", "dsk", "*.dsk",
             "Zx Spectrum Disk Images (*.dsk)|*.dsk|All Files (*.*)|*.*", &PutDskCommand);
}

void TransferCommands::putDroppedFiles(const QStringList& files)
{
    QTreeWidgetItem* node = StartPut(m_ctx);
    if (!node)
        return;
    m_ctx.setStatusPanel(1, QString());
    TFormCopyOperation dialog(m_ctx.prompts(), m_ctx.dialogParent());
    m_ctx.prompts().execDialog(dialog);
    if (dialog.Command.isEmpty())
        return;
    PutHostFiles(
        m_ctx, files, node->text(0),
        [&](const QString& file, const QString& partition, const QString& name) {
            return PutModeCommand(m_ctx.tool().toolPath, m_ctx.tool().medium, dialog.Command, file,
                                  partition, name, dialog.Address);
        },
        kCopyEnd);
}

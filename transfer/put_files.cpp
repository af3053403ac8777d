// Putting host files into the selected partition: in binary mode, with a
// +3DOS header, with a header and a typed load address, the contents of a
// tape or floppy disk image, and files dropped on the list.
#include "transfer_commands.h"

#include "change_commands.h"
#include "command_builders.h"
#include "command_context.h"
#include "failure_list.h"
#include "form_copy_operation.h"
#include "prompts.h"
#include "short_name.h"

#include <QFileInfo>
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

// The command line that puts one host file under its short name.
using PutLine = std::function<QString(const QString& hostFile, const QString& partition,
                                      const QString& shortName)>;

// Puts every file in order, one run each, showing which file is copied, and
// ends the command: "Copy completed" and the refreshed list, or the failures.
void PutEach(CommandContext& ctx, const QStringList& files, const QString& partition,
             const PutLine& line)
{
    const ToolRunner tool = ctx.tool();
    FailureList failures;
    for (const QString& file : files) {
        ctx.setStatusPanel(1, QString());
        ctx.setStatusPanel(2,
                            QStringLiteral("Copying ") + file + QStringLiteral(" to ") + partition);
        const QString problem = tool.runForErrors(line(file, partition, ShortName(file)));
        if (!problem.isEmpty())
            failures.add(file, problem);
        LetEventsRun();
    }
    EndChangeCommand(ctx, failures, static_cast<int>(files.size()), kCopyEnd);
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
    PutEach(ctx, files, node->text(0),
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
            });
}

// Puts the whole contents of one image; the tool's error text, if any, stays
// in the status bar and the list is left as it was.
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
    ctx.tool().runForErrors(
        commandLine(ctx.tool().toolPath, ctx.tool().medium, files.first(), node->text(0)));
    if (!ctx.reportToolErrors())
        ctx.listPartitionAgain();
}

} // namespace

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
    PutEach(m_ctx, files, node->text(0),
            [&](const QString& file, const QString& partition, const QString& name) {
                return PutModeCommand(m_ctx.tool().toolPath, m_ctx.tool().medium, dialog.Command, file, partition,
                                      name, dialog.Address);
            });
}

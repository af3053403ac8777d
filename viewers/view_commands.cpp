// The view command: one file of the selected partition shown in a view window
// of its own, in the format its type calls for or in the one the user chose.
#include "view_commands.h"

#include "app_error.h"
#include "command_builders.h"
#include "command_context.h"
#include "command_guards.h"
#include "command_registry.h"
#include "file_list_model.h"
#include "form_view.h"
#include "prompts.h"
#include "temp_folder.h"
#include "text_utils.h"
#include "view_choice.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include <memory>

namespace {

// A folder of its own inside the private temporary folder for one local
// copy. It is removed with what it holds on every way out of the command,
// also when a formatter fails, and the copy never meets a file of the same
// name that another command keeps there.
class LocalCopyFolder
{
public:
    LocalCopyFolder() : m_dir(PrivateTempFolder() + QStringLiteral("/view-XXXXXX"))
    {
        if (!m_dir.isValid())
            throw AppError(QStringLiteral("Cannot create a temporary folder in %1: %2")
                               .arg(PrivateTempFolder(), m_dir.errorString()));
    }
    QString path() const { return m_dir.path(); }

    // The copy the tool wrote: the file named as the +3DOS file, or else the
    // one file the tool left in the folder (a name the host stores
    // differently). When there is none, the named path, which the formatter
    // reports as not found.
    QString copyOf(const QString& fileName) const
    {
        const QString named = QDir(path()).filePath(fileName);
        if (QFileInfo(named).isFile())
            return named;
        const QFileInfoList files = QDir(path()).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        return files.size() == 1 ? files.first().filePath() : named;
    }

private:
    QTemporaryDir m_dir;
};

void ViewSelectedFile(CommandContext& ctx, ViewMode mode)
{
    if (!ctx.checkTool())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(ctx);
    if (!node || !RequireRows(ctx) || !RequireSelection(ctx) || !RequireFileList(ctx))
        return;
    if (ctx.selectedRows().size() > 1) {
        ctx.prompts().error(QStringLiteral("Only one file can be viewed at a time."));
        return;
    }

    const FileListModel& list = ctx.rows();
    const int row = ctx.selectedRows().first();
    const QString typeName = list.cell(row, FileListModel::ColType);
    // The size check and the BASIC refusal come before the tool runs, so a
    // refused view leaves nothing behind.
    const ViewChoice choice = ChooseView(mode, typeName, GroupedToInt(list.cell(row, FileListModel::ColRealSize)),
                                         GroupedToInt(list.cell(row, FileListModel::ColVars)));
    if (!choice.refusal.isEmpty()) {
        ctx.prompts().error(choice.refusal);
        return;
    }

    const QString partition = node->text(0);
    const QString fileName = list.caption(row);
    const LocalCopyFolder folder;
    // The tool's error output is not read: a missing or short copy is
    // reported by the formatter.
    ctx.tool().run(GetFileCommand(ctx.tool().toolPath, ctx.tool().medium, partition, fileName, folder.path()));
    // The window is owned here until it shows: a copy that cannot be read
    // raises before that and leaves no hidden window behind.
    auto window = std::make_unique<TFormView>(ctx.dialogParent());
    window->setWindowTitle(QStringLiteral("File View - ") + partition + QLatin1Char(':') + fileName);
    window->SetView(choice, folder.copyOf(fileName), typeName);
    if (ctx.useSpectrumFont())
        window->UseSpectrumFont();
    window->ShowText();
    window.release(); // its parent owns it from here on, as before
}

}  // namespace

ViewCommands::ViewCommands(CommandContext& context) : m_ctx(context) {}

void ViewCommands::registerCommands(CommandRegistry& registry)
{
    const auto add = [&](const Command& command, ViewMode mode) {
        registry.add(command, [this, mode] { viewSelectedFile(mode); });
    };
    // The key Ctrl+Enter is the list's own; the list's pop-up shows it.
    add({.id = "ViewBASICcode1",
         .caption = QT_TRANSLATE_NOOP("Commands", "Automatic format"),
         .hint = QT_TRANSLATE_NOOP("Commands", "View selected file (Automatic format)"),
         .picture = ToolbarPicture::ViewSelectedFile,
         .popupCaption = QT_TRANSLATE_NOOP("Commands", "View selected file (Automatic format)"),
         .popupShortcut = "Ctrl+Return"},
        ViewMode::Automatic);
    add({"AsBASIC1", QT_TRANSLATE_NOOP("Commands", "as Zx BASIC")}, ViewMode::Basic);
    add({"AsBinary1", QT_TRANSLATE_NOOP("Commands", "as Hexadecimal dump")}, ViewMode::HexDump);
    add({"AsText1", QT_TRANSLATE_NOOP("Commands", "as Binary/Text")}, ViewMode::Text);
    add({"AsList1", QT_TRANSLATE_NOOP("Commands", "as List")}, ViewMode::List);
    add({"AsData1", QT_TRANSLATE_NOOP("Commands", "as Zx Basic DATA")}, ViewMode::Data);
    add({"AsPicture1", QT_TRANSLATE_NOOP("Commands", "as Picture")}, ViewMode::Picture);
}

void ViewCommands::viewSelectedFile(ViewMode mode)
{
    ViewSelectedFile(m_ctx, mode);
}

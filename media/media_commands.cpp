// File > New hard disk image and the Partition menu: the dialogs of this
// folder, their command lines run through the window's tool runner, and the
// medium opened again to show the result.
#include "media_commands.h"

#include "command_context.h"
#include "command_registry.h"
#include "form_new_image.h"
#include "prompts.h"

#include <QDialog>
#include <QFileInfo>
#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace {

// The partition node of the open medium's tree called `name`; null when
// there is none.
QTreeWidgetItem* PartitionNodeNamed(CommandContext& ctx, const QString& name)
{
    for (QTreeWidgetItem* node : ctx.treeNodes())
        if (node->parent() && node->text(0) == name)
            return node;
    return nullptr;
}

// Creating a large image writes its whole size; allow it more than the usual
// limit of one tool run.
constexpr int kCreateLimitMs = 10 * 60 * 1000;

} // namespace

MediaCommands::MediaCommands(CommandContext& context) : m_ctx(context) {}

void MediaCommands::registerCommands(CommandRegistry& registry)
{
    registry.add({.id = "NewHardDiskImage1",
                  .caption = "&New hard disk image...",
                  .shortcut = "Ctrl+N",
                  .toolLimitMs = kCreateLimitMs},
                 [this] { newImage(); });
}

void MediaCommands::newImage()
{
    if (!m_ctx.checkTool())
        return;
    TFormNewImage form(m_ctx.startFolder(), m_ctx.dialogParent());
    form.setSaveFileFunction([this](QWidget*, const QString& current) {
        FileDialogRequest request;
        request.title = QStringLiteral("New hard disk image");
        request.defaultSuffix = QStringLiteral("hdf");
        request.fileName = QFileInfo(current).fileName();
        request.folder = QFileInfo(current).absolutePath();
        request.filter = QStringLiteral("Hard disk Image Files (*.hdf)|*.hdf|Raw Image Files (*.img, "
                                        "*.raw)|*.img;*.raw|All Files (*.*)|*.*");
        // The tool never replaces an existing file; it says so instead.
        request.confirmOverwrite = false;
        return m_ctx.prompts().saveFile(request);
    });
    if (m_ctx.prompts().execDialog(form) != QDialog::Accepted)
        return;
    const NewImageResult result = form.result();

    ToolRunner runner = m_ctx.tool();
    runner.medium = result.path;
    const QStringList lines = NewImageCommandLines(runner.toolPath, result);
    bool made = false;
    for (const QString& line : lines) {
        const QString error = runner.runForErrors(line).trimmed();
        if (!error.isEmpty()) {
            m_ctx.prompts().error(error);
            // An image made before a later run failed is opened all the same,
            // so that what the tool did is in view.
            if (made)
                m_ctx.openMedium(result.path, true);
            return;
        }
        made = true;
    }
    m_ctx.openMedium(result.path, true);
    if (!result.partitionName.isEmpty())
        if (QTreeWidgetItem* node = PartitionNodeNamed(m_ctx, result.partitionName))
            m_ctx.selectNode(node);
}

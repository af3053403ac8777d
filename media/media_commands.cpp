// File > New hard disk image and the Partition menu: the dialogs of this
// folder, their command lines run through the window's tool runner, and the
// medium opened again to show the result.
#include "media_commands.h"

#include "check_report.h"
#include "command_builders.h"
#include "command_context.h"
#include "command_guards.h"
#include "command_registry.h"
#include "form_check_report.h"
#include "form_new_image.h"
#include "form_new_partition.h"
#include "media_rules.h"
#include "partition_texts.h"
#include "prompts.h"
#include "records.h"
#include "text_reader.h"
#include "tree_search.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include <optional>
#include <vector>

// A partition a command may change, and the table it is in.
struct SelectedPartition
{
    PartitionRecord record;
    std::vector<PartitionRecord> table;
};

namespace {

// The type code of the system partition, which holds the partition table.
constexpr qint64 kSystemTypeCode = 1;

// Creating a large image writes its whole size; allow it more than the usual
// limit of one tool run.
constexpr int kCreateLimitMs = 10 * 60 * 1000;

// The partition node of the open medium's tree called `name`; null when
// there is none.
QTreeWidgetItem* PartitionNodeNamed(CommandContext& ctx, const QString& name)
{
    for (QTreeWidgetItem* node : ctx.treeNodes())
        if (node->parent() && node->text(0) == name)
            return node;
    return nullptr;
}

// Runs one command line on the open medium; a refusal of the tool is shown
// in the error box. True when the tool wrote no error.
bool RunShowingErrors(CommandContext& ctx, const QString& line)
{
    const QString error = ctx.tool().runForErrors(line).trimmed();
    if (!error.isEmpty())
        ctx.prompts().error(error);
    return error.isEmpty();
}

bool RequireMedium(CommandContext& ctx)
{
    if (!RequireNoOtherCommand(ctx) || !ctx.checkTool())
        return false;
    if (ctx.tool().medium.isEmpty()) {
        ctx.prompts().error(QStringLiteral("No medium is open."));
        return false;
    }
    return true;
}

// The open medium's partition table, free space included; nothing after an
// error the tool reported (shown).
std::optional<std::vector<PartitionRecord>> ReadPartitionTable(CommandContext& ctx)
{
    const ToolRunner tool = ctx.tool();
    if (!RunShowingErrors(ctx, ShowPTableCommand(tool.toolPath, tool.medium)))
        return std::nullopt;
    QFile out(tool.outFile);
    OpenTextFile(out, tool.outFile);
    RecordReader reader(out, kWideSlots);
    reader.Next(); // the geometry
    reader.Next(); // the entry counts
    std::vector<PartitionRecord> records;
    while (reader.Next())
        records.push_back(PartitionRecord::FromFields(reader.Fields()));
    return records;
}

qint64 TypeCode(const PartitionRecord& record)
{
    return record.typeCode.trimmed().toLongLong();
}

const QString kTableRefusal =
    QStringLiteral("The partition table is not a partition; select a partition.");
const QString kFreeSpaceRefusal =
    QStringLiteral("Free space is not a partition; select a partition.");

QString SystemPartitionRefusal(const QString& name)
{
    return QStringLiteral(
               "%1 is the system partition; it holds the partition table and cannot be changed.")
        .arg(name);
}

// The partition of tree node `node` when a command may change it; else the
// refusal is shown and nothing is returned.
std::optional<SelectedPartition> RequireChangeablePartition(CommandContext& ctx,
                                                            QTreeWidgetItem* node)
{
    if (!node->parent()) {
        ctx.prompts().error(kTableRefusal);
        return std::nullopt;
    }
    const auto table = ReadPartitionTable(ctx);
    if (!table)
        return std::nullopt;
    for (const PartitionRecord& record : *table) {
        // The tree shows a record by its caption: free space as "(free space)".
        if (PartitionTreeCaption(record) != node->text(0))
            continue;
        if (IsFreeSpace(record)) {
            ctx.prompts().error(kFreeSpaceRefusal);
            return std::nullopt;
        }
        if (TypeCode(record) == kSystemTypeCode) {
            ctx.prompts().error(SystemPartitionRefusal(record.name));
            return std::nullopt;
        }
        return SelectedPartition{record, *table};
    }
    ctx.prompts().error(QStringLiteral("The partition %1 is no longer on the medium.").arg(node->text(0)));
    return std::nullopt;
}

// The same for the selected tree node.
std::optional<SelectedPartition> RequireChangeablePartition(CommandContext& ctx)
{
    if (!RequireMedium(ctx))
        return std::nullopt;
    QTreeWidgetItem* node = RequirePartitionNode(ctx);
    if (!node)
        return std::nullopt;
    return RequireChangeablePartition(ctx, node);
}

// The number of files a +3DOS partition lists (0 for other types); nothing
// after an error of the tool (shown).
std::optional<int> FileCount(CommandContext& ctx, const PartitionRecord& record)
{
    if (TypeCode(record) != kPlus3DosTypeCode)
        return 0;
    const ToolRunner tool = ctx.tool();
    if (!RunShowingErrors(ctx, DirCommand(tool.toolPath, tool.medium, record.name)))
        return std::nullopt;
    QFile out(tool.outFile);
    OpenTextFile(out, tool.outFile);
    RecordReader reader(out, kWideSlots);
    reader.Next(); // the header
    int count = 0;
    while (reader.Next())
        ++count;
    return count;
}

// Refuses a partition of another type than +3DOS for a command on its files
// or its drive.
bool RequirePlus3Dos(CommandContext& ctx, const PartitionRecord& record)
{
    if (TypeCode(record) == kPlus3DosTypeCode)
        return true;
    ctx.prompts().error(QStringLiteral("%1 is not a +3DOS partition.").arg(record.name));
    return false;
}

QString FilesHeldText(int count)
{
    if (count == 0)
        return QStringLiteral("It holds no files.");
    if (count == 1)
        return QStringLiteral("It holds 1 file, which is lost.");
    return QStringLiteral("It holds %1 files, which are lost.").arg(count);
}

// The drive letter of a partition table record: Attr is "C:" for a
// partition mapped to drive C.
QChar DriveLetterOf(const PartitionRecord& record)
{
    const QString attr = record.attr.trimmed();
    if (attr.size() == 2 && attr[1] == QLatin1Char(':') && attr[0].isLetter())
        return attr[0].toUpper();
    return {};
}

} // namespace

MediaCommands::MediaCommands(CommandContext& context) : m_ctx(context) {}

void MediaCommands::registerCommands(CommandRegistry& registry)
{
    registry.add({.id = "NewHardDiskImage1",
                  .caption = QT_TRANSLATE_NOOP("Commands", "&New hard disk image..."),
                  .shortcut = "Ctrl+N",
                  .toolLimitMs = kCreateLimitMs},
                 [this] { newImage(); });
    registry.add({.id = "NewPartition1", .caption = QT_TRANSLATE_NOOP("Commands", "&New partition...")}, [this] { newPartition(); });
    registry.add({.id = "DeletePartition1", .caption = QT_TRANSLATE_NOOP("Commands", "&Delete partition")}, [this] { deletePartition(); });
    registry.add({.id = "RenamePartition1", .caption = QT_TRANSLATE_NOOP("Commands", "&Rename partition...")}, [this] { renamePartition(); });
    registry.add({.id = "DriveLetter1", .caption = QT_TRANSLATE_NOOP("Commands", "Drive &letter...")}, [this] { driveLetter(); });
    registry.add({.id = "EmptyPartition1", .caption = QT_TRANSLATE_NOOP("Commands", "&Empty partition")}, [this] { emptyPartition(); });
    registry.add({.id = "CheckMedium1", .caption = QT_TRANSLATE_NOOP("Commands", "&Check medium")}, [this] { checkMedium(); });
}

void MediaCommands::reopen(const QString& medium, const QString& name)
{
    m_ctx.openMedium(medium, false);
    if (name.isEmpty())
        return;
    if (QTreeWidgetItem* node = PartitionNodeNamed(m_ctx, name))
        m_ctx.selectNode(node);
}

void MediaCommands::newImage()
{
    if (!RequireNoOtherCommand(m_ctx) || !m_ctx.checkTool())
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

void MediaCommands::newPartition()
{
    if (!RequireMedium(m_ctx))
        return;
    const auto table = ReadPartitionTable(m_ctx);
    if (!table)
        return;
    NewPartitionContext known;
    for (const PartitionRecord& record : *table) {
        if (IsFreeSpace(record))
            continue;
        known.existingNames << record.name;
        if (const QChar letter = DriveLetterOf(record); !letter.isNull())
            known.mappedLetters += letter;
    }
    TFormNewPartition form(known, m_ctx.dialogParent());
    if (m_ctx.prompts().execDialog(form) != QDialog::Accepted)
        return;
    const NewPartitionResult result = form.result();
    const ToolRunner tool = m_ctx.tool();
    if (!RunShowingErrors(m_ctx, NewPartitionCommandLine(tool.toolPath, tool.medium, result)))
        return;
    reopen(tool.shownMedium(), result.name);
}

void MediaCommands::deletePartition()
{
    const auto selected = RequireChangeablePartition(m_ctx);
    if (!selected)
        return;
    const PartitionRecord* record = &selected->record;
    const auto files = FileCount(m_ctx, *record);
    if (!files)
        return;
    const QString question = QStringLiteral("Delete partition %1? %2 Its space becomes free space.")
                                 .arg(record->name, FilesHeldText(*files));
    if (m_ctx.prompts().confirm(question) != Prompts::Answer::Yes)
        return;
    const ToolRunner tool = m_ctx.tool();
    const bool deleted = RunShowingErrors(m_ctx, DelPartCommand(tool.toolPath, tool.medium, record->name));
    // Also after a refusal: the tree shows what the medium now holds.
    reopen(tool.shownMedium(), deleted ? QString() : record->name);
}

void MediaCommands::renamePartition()
{
    const auto selected = RequireChangeablePartition(m_ctx);
    if (!selected)
        return;
    InputRequest request;
    request.caption = QStringLiteral("Rename partition");
    request.prompt = QStringLiteral("New name of partition %1:").arg(selected->record.name);
    request.initial = selected->record.name;
    request.maxLength = kMaxPartitionNameLength;
    const std::optional<QString> typed = m_ctx.prompts().inputText(request);
    if (typed)
        renameTo(*selected, *typed);
}

bool MediaCommands::renameInPlaceStarting(QTreeWidgetItem* node)
{
    if (!node || !RequireNoOtherCommand(m_ctx))
        return false;
    // What the node stands for is known without a run of the tool; the
    // rest is checked when the edit ends.
    const PartitionNodeFacts facts = PartitionNodeFactsOf(node);
    if (!node->parent()) {
        m_ctx.prompts().error(kTableRefusal);
        return false;
    }
    if (facts.table || facts.typeCode == kSystemTypeCode) {
        m_ctx.prompts().error(SystemPartitionRefusal(node->text(0)));
        return false;
    }
    if (facts.typeCode == kFreeSpaceTypeCode) {
        m_ctx.prompts().error(kFreeSpaceRefusal);
        return false;
    }
    return true;
}

void MediaCommands::renameInPlaceEnded(const QString& caption, const QString& typed)
{
    if (!RequireMedium(m_ctx))
        return;
    QTreeWidgetItem* node = PartitionNodeNamed(m_ctx, caption);
    if (!node) {
        m_ctx.prompts().error(
            QStringLiteral("The partition %1 is no longer on the medium.").arg(caption));
        return;
    }
    if (const auto partition = RequireChangeablePartition(m_ctx, node))
        renameTo(*partition, typed);
}

void MediaCommands::renameTo(const SelectedPartition& selected, const QString& typed)
{
    const QString oldName = selected.record.name;
    QString newName = typed;
    while (newName.endsWith(QLatin1Char(' ')))
        newName.chop(1);
    if (newName == oldName)
        return;
    // The partition's own name does not count: a change of case is allowed.
    QStringList others;
    for (const PartitionRecord& record : selected.table)
        if (!IsFreeSpace(record) && record.name != oldName)
            others << record.name;
    if (const QString problem = PartitionNameProblem(newName, others); !problem.isEmpty()) {
        m_ctx.prompts().error(problem);
        return;
    }
    const ToolRunner tool = m_ctx.tool();
    const bool renamed = RunShowingErrors(m_ctx, RenPartCommand(tool.toolPath, tool.medium, oldName, newName));
    reopen(tool.shownMedium(), renamed ? newName : oldName);
}

void MediaCommands::driveLetter()
{
    const auto selected = RequireChangeablePartition(m_ctx);
    if (!selected || !RequirePlus3Dos(m_ctx, selected->record))
        return;
    const PartitionRecord& record = selected->record;
    const QChar current = DriveLetterOf(record);
    InputRequest request;
    request.caption = QStringLiteral("Drive letter");
    request.prompt = QStringLiteral("Drive letter of partition %1 (A to P, or - for none):").arg(record.name);
    request.initial = current.isNull() ? QStringLiteral("-") : QString(current);
    request.maxLength = 1;
    const std::optional<QString> typed = m_ctx.prompts().inputText(request);
    if (!typed)
        return;
    const QString text = typed->trimmed().toUpper();
    QChar letter;
    if (!text.isEmpty() && text != QLatin1String("-")) {
        if (text.size() != 1 || text[0] < QLatin1Char('A') || text[0] > QLatin1Char('P')) {
            m_ctx.prompts().error(QStringLiteral("A drive letter is one of A to P, or - for none."));
            return;
        }
        letter = text[0];
        for (const PartitionRecord& other : selected->table)
            if (other.name != record.name && DriveLetterOf(other) == letter) {
                m_ctx.prompts().error(
                    QStringLiteral("Drive %1 is already mapped to %2.").arg(letter).arg(other.name));
                return;
            }
    }
    if (letter == current)
        return;
    const ToolRunner tool = m_ctx.tool();
    RunShowingErrors(m_ctx, DriveCommand(tool.toolPath, tool.medium, record.name, letter));
    reopen(tool.shownMedium(), record.name);
}

void MediaCommands::emptyPartition()
{
    const auto selected = RequireChangeablePartition(m_ctx);
    if (!selected || !RequirePlus3Dos(m_ctx, selected->record))
        return;
    const PartitionRecord& record = selected->record;
    const auto files = FileCount(m_ctx, record);
    if (!files)
        return;
    if (*files == 0) {
        m_ctx.prompts().information(QStringLiteral("%1 holds no files.").arg(record.name));
        return;
    }
    const QString question = *files == 1
                                 ? QStringLiteral("Delete the 1 file of partition %1?").arg(record.name)
                                 : QStringLiteral("Delete all %1 files of partition %2?").arg(*files).arg(record.name);
    if (m_ctx.prompts().confirm(question) != Prompts::Answer::Yes)
        return;
    const ToolRunner tool = m_ctx.tool();
    RunShowingErrors(m_ctx, EmptyCommand(tool.toolPath, tool.medium, record.name));
    reopen(tool.shownMedium(), record.name);
}

void MediaCommands::checkMedium()
{
    if (!RequireMedium(m_ctx))
        return;
    const ToolRunner tool = m_ctx.tool();
    const QString errors = tool.runForErrors(CheckCommand(tool.toolPath, tool.medium));
    QString output;
    for (const QByteArray& line : ReadTextFileLines(tool.outFile))
        output += QString::fromUtf8(line) + QLatin1Char('\n');
    // The runner keeps no exit code; the tool's own conventions give it back:
    // no findings at all means it could not check (exit 1), findings with a
    // count on standard error mean faults (exit 3), findings alone none.
    const int exitCode = output.trimmed().isEmpty() ? 1 : errors.trimmed().isEmpty() ? 0 : 3;
    const CheckReport report = ParseCheckOutput(output, exitCode, errors);
    TFormCheckReport window(tool.shownMedium(), report, m_ctx.dialogParent());
    m_ctx.prompts().execDialog(window);
}

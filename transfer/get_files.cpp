// The "Get ..." commands of the main window: the selected files into a host
// folder (as the medium holds them, or without their +3DOS header) or into a
// tape image, and every file of a partition, or of the whole medium into one
// sub-folder per partition.
//
// Each file is got with one run of the disk tool into a staging folder
// (FileGetter) and only then moved to its place or written to the tape, so a
// file that did not come out is noticed and reported, and no file of the
// user's is touched except the one a got file replaces.
#include "transfer_commands.h"

#include "backend_checks.h"
#include "command_builders.h"
#include "command_context.h"
#include "command_guards.h"
#include "failure_list.h"
#include "file_getter.h"
#include "file_list_model.h"
#include "form_select_dest_dir.h"
#include "form_wait.h"
#include "guard_texts.h"
#include "header_cut.h"
#include "partition_texts.h"
#include "prompts.h"
#include "records.h"
#include "tape_save_dialog.h"
#include "tape_writer.h"
#include "temp_folder.h"
#include "text_utils.h"
#include "tool_command.h"
#include "transfer_error.h"
#include "tree_search.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTreeWidget>

#include <exception>
#include <memory>

namespace {

// The question before the whole medium is copied: it names the medium and
// how many partitions (the table and free space not counted) it copies.
QString ConfirmCopyMediumText(const CommandContext& ctx)
{
    int partitions = 0;
    for (const QTreeWidgetItem* node : ctx.treeNodes()) {
        const PartitionNodeFacts facts = PartitionNodeFactsOf(node);
        if (!facts.table && facts.typeCode != kFreeSpaceTypeCode)
            ++partitions;
    }
    const QString medium = ctx.tool().medium;
    if (partitions == 1)
        return QStringLiteral(
                   "Are you sure you want to copy all files of the only partition of %1?")
            .arg(medium);
    return QStringLiteral("Are you sure you want to copy all files of all %1 partitions of %2?")
        .arg(partitions)
        .arg(medium);
}

// The two mode flags, set for one run of the get of selected files and
// cleared afterwards however the run ends.
class GetModeScope
{
public:
    GetModeScope(TransferCommands& commands, bool withoutHeader, bool intoTape)
        : commands_(commands)
    {
        commands_.GetWithoutHeader = withoutHeader;
        commands_.GetIntoTape = intoTape;
    }
    ~GetModeScope()
    {
        commands_.GetWithoutHeader = false;
        commands_.GetIntoTape = false;
    }
    GetModeScope(const GetModeScope&) = delete;
    GetModeScope& operator=(const GetModeScope&) = delete;

private:
    TransferCommands& commands_;
};

// What became of the files of one copy run.
struct CopyTally
{
    FailureList failures;
    int copied = 0;

    void failed(const QString& item, const QString& reason) { failures.add(item, reason); }
    int total() const { return copied + failures.count(); }
};

// A file's facts as its list row shows them. The rows are read before a copy
// begins, so whatever happens to the list meanwhile, the copy works on what
// the user chose.
TapeFileFacts RowFacts(const FileListModel& model, int row)
{
    TapeFileFacts facts;
    facts.name = model.caption(row);
    facts.type = model.cell(row, FileListModel::ColType);
    facts.length = GroupedToInt(model.cell(row, FileListModel::ColRealSize));
    facts.start = GroupedToInt(model.cell(row, FileListModel::ColStart));
    facts.vars = GroupedToInt(model.cell(row, FileListModel::ColVars));
    return facts;
}

QList<TapeFileFacts> AllRows(const FileListModel& model)
{
    QList<TapeFileFacts> files;
    for (int row = 0; row < model.count(); ++row)
        files << RowFacts(model, row);
    return files;
}

// "PART\FILE": a file of a partition, as the status bar and the reports name it.
QString ItemName(const QString& partition, const QString& file)
{
    return partition + QLatin1Char('\\') + file;
}

void ShowCopying(CommandContext& ctx, const QString& partition, const QString& file,
                 const QString& folder)
{
    if (!ctx.statusPanel(1).isEmpty())
        ctx.setStatusPanel(1, QString());
    ctx.setStatusPanel(2, QStringLiteral("Copying ") + ItemName(partition, file) +
                               QStringLiteral(" to ") + QDir::toNativeSeparators(folder));
}

// The destination folder dialog; empty when the user cancelled. "Select"
// makes the folder the one the dialog shows next time.
QString SelectDestinationFolder(CommandContext& ctx, QString& lastDestDir)
{
    TFormSelectDestDir dialog(ctx.prompts(), lastDestDir, ctx.dialogParent());
    if (ctx.prompts().execDialog(dialog) != QDialog::Accepted)
        return QString();
    lastDestDir = dialog.SelectedFolder();
    return dialog.SelectedFolder();
}

// The busy window of one copy, fed at a pace that costs the files little.
// Window events are let through after the first file and then whenever a
// frame's time has passed, so the window repaints and takes Escape
// throughout. The status bar's "Copying ..." and the progress are repainted
// at most once a frame, and always for the last file; the progress only when
// its percentage has changed. While the window is up the main window takes
// no input, so no other command can change the list or the tree the copy
// walks.
class BusyWindow
{
public:
    // Escape in the window sets `abortRequested`.
    BusyWindow(CommandContext& ctx, bool* abortRequested)
        : form_(ctx), wait_(abortRequested, ctx.dialogParent())
    {
        wait_.setWindowModality(Qt::ApplicationModal);
        wait_.ShowDelayed();
    }

    void copying(const QString& partition, const QString& file, const QString& folder, bool last)
    {
        if (!last && sinceStatus_.isValid() && sinceStatus_.elapsed() < kFrameMs)
            return;
        ShowCopying(form_, partition, file, folder);
        sinceStatus_.start();
    }

    void afterFile()
    {
        if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kFrameMs)
            return;
        TFormWait::ProcessPendingEvents();
        sinceEvents_.start();
    }

    void progress(qint64 item, qint64 count)
    {
        const int percent = TFormWait::ProgressPercent(item, count);
        if (percent == shown_ ||
            (item < count && sincePainted_.isValid() && sincePainted_.elapsed() < kFrameMs))
            return;
        wait_.SetProgress(item, count);
        shown_ = percent;
        sincePainted_.start();
    }

private:
    static constexpr qint64 kFrameMs = 15;
    CommandContext& form_;
    TFormWait wait_;
    QElapsedTimer sinceStatus_;
    QElapsedTimer sinceEvents_;
    QElapsedTimer sincePainted_;
    int shown_ = -1;
};

// "Copy completed" or "Copy aborted" when every file came out; otherwise
// the count and the first failure, and an error box listing the failures.
void FinishCopy(CommandContext& ctx, const CopyTally& tally, bool aborted)
{
    ctx.setStatusPanel(1, QString());
    if (tally.failures.isEmpty()) {
        ctx.setStatusPanel(2, aborted ? QStringLiteral("Copy aborted")
                                       : QStringLiteral("Copy completed"));
        return;
    }
    ctx.setStatusPanel(2, tally.failures.statusText(aborted ? QStringLiteral("Copy aborted")
                                                             : QStringLiteral("Copy incomplete"),
                                                     QStringLiteral("copied"), tally.total()));
    ctx.prompts().error(tally.failures.boxText(QStringLiteral("%1 of %2 could not be copied:")
                                                    .arg(tally.failures.count())
                                                    .arg(tally.total())));
}

// Cuts the +3DOS header off a staged file unless the file has none. Returns
// the reason when it could not be cut.
QString CutHeaderUnlessHeaderless(const QString& path, const TapeFileFacts& file)
{
    if (file.type == QLatin1String(kTypeHeaderless))
        return QString();
    try {
        CutPlus3DosHeader(path);
    } catch (const TransferError& error) {
        return error.message();
    }
    return QString();
}

// Gets one file into `folder`, its header cut first when asked.
void GetIntoFolder(FileGetter& getter, const QString& partition, const TapeFileFacts& file,
                   bool cutHeader, const QString& folder, CopyTally& tally)
{
    const QString item = ItemName(partition, file.name);
    const GotFile got = getter.get(partition, file.name);
    QString problem = got.error;
    if (problem.isEmpty() && cutHeader)
        problem = CutHeaderUnlessHeaderless(got.path, file);
    if (problem.isEmpty())
        problem = MoveReplacing(got.path, QDir(folder).filePath(file.name));
    if (problem.isEmpty())
        ++tally.copied;
    else
        tally.failed(item, problem);
}

// Gets one file, cuts its header and appends it to the tape. A file whose
// bytes do not match its row gets no block. A failure to write the tape
// itself ends the command (TransferError).
void AppendToTape(FileGetter& getter, const QString& partition, const TapeFileFacts& file,
                  TapeWriter& tape, CopyTally& tally)
{
    const QString item = ItemName(partition, file.name);
    const GotFile got = getter.get(partition, file.name);
    if (!got.ok()) {
        tally.failed(item, got.error);
        return;
    }
    // The header is skipped as the block is written rather than cut off
    // first: the got file is a private copy that is removed right after.
    const qint64 headerBytes =
        file.type == QLatin1String(kTypeHeaderless) ? 0 : kPlus3DosHeaderSize;
    const TapeAppendResult appended = tape.append(file, got.path, headerBytes);
    QFile::remove(got.path);
    if (appended.written())
        ++tally.copied;
    else
        tally.failed(item, appended.message);
}

void CopyPartition(CommandContext& ctx, FileGetter& getter, const QString& partition,
                   const QString& folder, BusyWindow& busy, CopyTally& tally,
                   const bool& aborted)
{
    const QList<TapeFileFacts> files = AllRows(ctx.rows());
    for (qsizetype i = 0; i < files.size(); ++i) {
        busy.copying(partition, files[i].name, folder, i + 1 == files.size());
        GetIntoFolder(getter, partition, files[i], false, folder, tally);
        busy.afterFile();
        busy.progress(i + 1, files.size());
        if (aborted)
            return;
    }
}

// The partition types the list shows while it holds the partition table,
// by partition name; empty when it shows something else.
QHash<QString, QString> PartitionTypesShown(const CommandContext& ctx)
{
    QHash<QString, QString> types;
    if (ctx.rows().count() == 0 || !ctx.listShowsPartitions())
        return types;
    const FileListModel& model = ctx.rows();
    for (int row = 0; row < model.count(); ++row)
        types.insert(model.caption(row), model.cell(row, FileListModel::ColType));
    return types;
}

void CopyWholeMedium(CommandContext& ctx, FileGetter& getter, const QString& folder,
                     BusyWindow& busy, CopyTally& tally, const bool& aborted)
{
    // Partitions of other types hold no files, and the tool refuses to list
    // them; a +3DOS partition it cannot list is a failure.
    const QHash<QString, QString> types = PartitionTypesShown(ctx);
    const QString plus3Dos = PartitionTypeName(qint64{3});
    const qsizetype nodeCount = ctx.treeNodes().size();
    for (qsizetype k = 1; k < nodeCount; ++k) {
        const QList<QTreeWidgetItem*> nodes = ctx.treeNodes();
        if (k >= nodes.size())
            break;
        QTreeWidgetItem* node = nodes[k];
        const QString partition = node->text(0);
        ctx.selectNode(node);
        // Free space holds no files and gets no folder.
        if (PartitionNodeFactsOf(node).typeCode == kFreeSpaceTypeCode)
            continue;
        const QString subName = PartitionFolderName(partition);
        const QString subFolder = subName.isEmpty() ? folder : QDir(folder).filePath(subName);
        QDir().mkdir(subFolder); // an existing sub-folder is used as it is

        const QString listingErrors =
            ctx.tool().runForErrors(DirCommand(ctx.tool().toolPath, ctx.tool().medium, partition));
        ctx.fillFileList();
        TFormWait::ProcessPendingEvents();
        if (!listingErrors.isEmpty() && types.value(partition) == plus3Dos)
            tally.failed(partition, listingErrors);

        const QList<TapeFileFacts> files = AllRows(ctx.rows());
        for (const TapeFileFacts& file : files) {
            busy.copying(partition, file.name, subFolder, &file == &files.last());
            GetIntoFolder(getter, partition, file, false, subFolder, tally);
            busy.afterFile();
            if (aborted)
                break;
        }
        busy.progress(k + 1, nodeCount);
        if (aborted)
            return;
    }
}

// The list's "Start" and "Vars" column captions, put back when a get of all
// files ends however it ends: the copy lists partitions whose types may have
// changed the captions.
class ColumnCaptionsBack
{
public:
    explicit ColumnCaptionsBack(FileListModel& rows) : rows_(rows) {}
    ~ColumnCaptionsBack()
    {
        rows_.setColumnCaption(FileListModel::ColStart, QStringLiteral("Start"));
        rows_.setColumnCaption(FileListModel::ColVars, QStringLiteral("Vars"));
    }
    ColumnCaptionsBack(const ColumnCaptionsBack&) = delete;
    ColumnCaptionsBack& operator=(const ColumnCaptionsBack&) = delete;

private:
    FileListModel& rows_;
};

} // namespace

void TransferCommands::getSelectedFiles()
{
    if (!GetIntoTape)
        DragWithoutHeader = GetWithoutHeader;
    if (!m_ctx.checkTool())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(m_ctx);
    if (!node || !RequireRows(m_ctx) || !RequireSelection(m_ctx))
        return;
    const QString partition = node->text(0);
    QList<TapeFileFacts> files;
    for (int row : m_ctx.selectedRows())
        files << RowFacts(m_ctx.rows(), row);

    std::unique_ptr<TapeWriter> tape;
    QString folder;
    if (GetIntoTape) {
        const QString tapePath = AskTapeFile(m_ctx.prompts(), LastTapeFolder);
        if (tapePath.isEmpty())
            return;
        tape = std::make_unique<TapeWriter>(tapePath);
        LastTapeFolder = tape->folder();
        folder = tape->folder();
    } else {
        folder = SelectDestinationFolder(m_ctx, LastDestDir);
        if (folder.isEmpty())
            return;
        folder = WithoutTrailingSeparator(folder);
    }
    // Files for a tape are got into the program's private folder and deleted
    // there, so nothing beside the tape is touched.
    FileGetter getter(m_ctx.tool(), tape ? PrivateTempFolder() : folder);

    CopyTally tally;
    // As for a get of all files: a stopped run ends the copy, which is
    // reported as aborted before the stop goes on to the command guard. The
    // blocks written to a tape before it stay (the writer closes the tape).
    std::exception_ptr stopped;
    {
        BusyWindow busy(m_ctx, &AbortRequested);
        try {
            for (qsizetype i = 0; i < files.size(); ++i) {
                busy.copying(partition, files[i].name, folder, i + 1 == files.size());
                if (tape)
                    AppendToTape(getter, partition, files[i], *tape, tally);
                else
                    GetIntoFolder(getter, partition, files[i], GetWithoutHeader, folder, tally);
                busy.afterFile();
                busy.progress(i + 1, files.size());
            }
        } catch (const ToolRunStopped&) {
            stopped = std::current_exception();
        }
        if (tape)
            tape->close();
    }
    FinishCopy(m_ctx, tally, static_cast<bool>(stopped));
    if (stopped)
        std::rethrow_exception(stopped);
}

void TransferCommands::getSelectedFilesWithoutHeader()
{
    GetModeScope mode(*this, true, false);
    getSelectedFiles();
}

void TransferCommands::getSelectedFilesIntoTape()
{
    GetModeScope mode(*this, true, true);
    getSelectedFiles();
}

void TransferCommands::getAllFilesFromPartition()
{
    if (!m_ctx.checkTool())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(m_ctx);
    if (!node)
        return;
    QString folder = SelectDestinationFolder(m_ctx, LastDestDir);
    if (folder.isEmpty())
        return;
    folder = WithoutTrailingSeparator(folder);
    // The medium's node and the first partition under it stand for the
    // whole medium.
    const bool wholeMedium = StandsForPartitionTable(node);
    if (wholeMedium &&
        m_ctx.prompts().confirm(ConfirmCopyMediumText(m_ctx)) != Prompts::Answer::Yes)
        return;
    FileGetter getter(m_ctx.tool(), folder);

    AbortRequested = false;
    CopyTally tally;
    // A stopped tool run ends the copy: the busy window goes and the captions
    // come back as on any other end, the files got so far are reported as an
    // aborted copy, and the stop is passed on to the command guard.
    std::exception_ptr stopped;
    {
        ColumnCaptionsBack captions(m_ctx.rows());
        BusyWindow busy(m_ctx, &AbortRequested);
        try {
            if (wholeMedium)
                CopyWholeMedium(m_ctx, getter, folder, busy, tally, AbortRequested);
            else
                CopyPartition(m_ctx, getter, node->text(0), folder, busy, tally, AbortRequested);
        } catch (const ToolRunStopped&) {
            stopped = std::current_exception();
        }
    }
    FinishCopy(m_ctx, tally, AbortRequested || stopped);
    if (stopped)
        std::rethrow_exception(stopped);
}

void TransferCommands::getAllFilesFromMedium()
{
    if (m_ctx.treeNodes().isEmpty()) {
        m_ctx.prompts().error(QString::fromLatin1(guard::kNoDevice));
        return;
    }
    m_ctx.selectNode(m_ctx.tree()->topLevelItem(0));
    getAllFilesFromPartition();
}

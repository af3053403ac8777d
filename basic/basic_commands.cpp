// "Put BASIC text..." and "Edit BASIC program...": the BASIC window pieces
// (TFormPutBasic, TFormBasicEditor) driven by the disk tool's putbas and
// listbas runs for the selected partition.
#include "basic_commands.h"

#include "app_error.h"
#include "basic_command_lines.h"
#include "basic_tool_steps.h"
#include "command_context.h"
#include "command_guards.h"
#include "command_registry.h"
#include "file_list_model.h"
#include "form_basic_editor.h"
#include "form_put_basic.h"
#include "prompts.h"
#include "temp_folder.h"
#include "tool_steps.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include <memory>

namespace {

// Asks before `name` replaces a file of that name in `partition`. True when
// the name is free or the user agreed; `stop` is set when the user
// cancelled (No only skips this one). A listing that fails is reported and
// counts as a refusal, so nothing is replaced unasked.
bool MayStoreUnder(CommandContext& ctx, const ToolRunner& tool, const QString& partition,
                   const QString& name, bool* stop = nullptr)
{
    QString error;
    const QStringList names = ListPartitionFiles(tool, partition, &error);
    if (!error.isEmpty()) {
        ctx.prompts().error(error);
        if (stop)
            *stop = true;
        return false;
    }
    if (!NameListed(names, name))
        return true;
    const Prompts::Answer answer = ctx.prompts().confirm(
        QStringLiteral("%1 already exists in %2. Replace it?").arg(name, partition));
    if (answer == Prompts::Answer::Cancel && stop)
        *stop = true;
    return answer == Prompts::Answer::Yes;
}

// A folder of its own in the private temporary folder for the text files an
// editor window stores through; it lives as long as the window's store
// function.
std::shared_ptr<QTemporaryDir> MakeEditFolder()
{
    auto dir = std::make_shared<QTemporaryDir>(PrivateTempFolder() + QStringLiteral("/basic-XXXXXX"));
    if (!dir->isValid())
        throw AppError(QStringLiteral("Cannot create a temporary folder in %1: %2")
                           .arg(PrivateTempFolder(), dir->errorString()));
    return dir;
}

// The first word of a statement, in upper case and without spaces: the
// keywords a program line can begin with, in every spelling putbas takes
// (GOTO and GO TO, RANDOMIZE and RANDOMISE, OPEN#).
bool StartsWithStatement(const QString& word)
{
    static const char* const kStatements[] = {
        "BEEP",   "BORDER", "BRIGHT", "CAT",   "CIRCLE",  "CLEAR", "CLOSE", "CLS",     "CONT",
        "COPY",   "DATA",   "DEF",    "DIM",   "DRAW",    "ERASE", "FLASH", "FOR",     "FORMAT",
        "GO",     "IF",     "INK",    "INPUT", "INVERSE", "LET",   "LIST",  "LLIST",   "LOAD",
        "LPRINT", "MERGE",  "MOVE",   "NEW",   "NEXT",    "OPEN",  "OUT",   "OVER",    "PAPER",
        "PAUSE",  "PLOT",   "POKE",   "PRINT", "RANDOMI", "READ",  "REM",   "RESTORE", "RETURN",
        "RUN",    "SAVE",   "STOP",   "VERIFY"};
    for (const char* statement : kStatements) {
        if (word.startsWith(QLatin1String(statement)))
            return true;
    }
    return false;
}

} // namespace

bool LooksLikeBasicText(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Bytes no text holds rule a file out whatever its name: a tokenised
    // program got from a medium (a +3DOS header, line ends of 0x0D with
    // number bytes) is often called .BAS too.
    const QByteArray head = file.read(4096);
    for (const char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f')
            return false;
    }
    if (info.suffix().compare(QLatin1String("bas"), Qt::CaseInsensitive) == 0)
        return true;
    static const QRegularExpression numbered(
        QStringLiteral("^\\s*\\d{1,5}\\s*([A-Za-z][A-Za-z ]*)"));
    for (const QString& line : QString::fromUtf8(head).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const QRegularExpressionMatch match = numbered.match(trimmed);
        return match.hasMatch() &&
               StartsWithStatement(match.captured(1).remove(QLatin1Char(' ')).toUpper());
    }
    return false;
}

BasicCommands::BasicCommands(CommandContext& context) : m_ctx(context) {}

void BasicCommands::registerCommands(CommandRegistry& registry)
{
    registry.add({"PutBASICtext1", QT_TRANSLATE_NOOP("Commands", "Put BASIC te&xt...")}, [this] { putBasicText(); });
    registry.add({.id = "EditBASICprogram1",
                  .caption = QT_TRANSLATE_NOOP("Commands", "Edit BASIC pro&gram..."),
                  .shortcut = "Shift+F4",
                  .popupShortcut = "Shift+F4"},
                 [this] { editBasicProgram(); });
}

void BasicCommands::putBasicText()
{
    // The tool and the partition are checked before the file dialog too.
    if (!m_ctx.checkTool() || !RequirePartitionNode(m_ctx))
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Put BASIC text");
    request.fileName = QStringLiteral("*.bas");
    request.filter = QStringLiteral("BASIC text (*.bas;*.txt)|*.bas;*.txt|All Files (*.*)|*.*");
    request.folder = m_ctx.openDialogFolder();
    request.multiple = true;
    const QStringList files = m_ctx.prompts().openFiles(request);
    if (files.isEmpty())
        return;
    m_ctx.openDialogFolder() = QFileInfo(files.first()).absolutePath();
    putBasicTextFiles(files);
}

void BasicCommands::putBasicTextFiles(const QStringList& files)
{
    if (files.isEmpty() || !m_ctx.checkTool())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(m_ctx);
    if (!node)
        return;

    const QString partition = node->text(0);
    const ToolRunner tool = m_ctx.tool();
    bool stored = false;
    for (const QString& file : files) {
        TFormPutBasic dialog(file, m_ctx.dialogParent());
        if (m_ctx.prompts().execDialog(dialog) != QDialog::Accepted)
            break;
        bool stop = false;
        if (!MayStoreUnder(m_ctx, tool, partition, dialog.Name(), &stop)) {
            if (stop)
                break;
            continue;
        }
        m_ctx.setStatusPanel(2, QStringLiteral("Putting ") + file + QStringLiteral(" to ") + partition);
        const QString error = tool.runForErrors(
            PutBasCommand(tool.toolPath, tool.medium, file, partition, dialog.Name(), dialog.Autostart()));
        if (!error.isEmpty()) {
            // The tool's message names line and column in the text file.
            m_ctx.prompts().error(QDir::toNativeSeparators(file) + QStringLiteral(":\r\n") + error);
            continue;
        }
        stored = true;
    }
    if (stored)
        m_ctx.listPartitionAgain();
}

void BasicCommands::editBasicProgram()
{
    if (!m_ctx.checkTool())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(m_ctx);
    if (!node || !RequireRows(m_ctx) || !RequireSelection(m_ctx) || !RequireFileList(m_ctx))
        return;
    if (m_ctx.selectedRows().size() > 1) {
        m_ctx.prompts().error(QStringLiteral("Only one program can be edited at a time."));
        return;
    }
    const FileListModel& list = m_ctx.rows();
    const int row = m_ctx.selectedRows().first();
    const QString fileName = list.caption(row);
    if (list.cell(row, FileListModel::ColType) != QLatin1String("Program")) {
        m_ctx.prompts().error(
            QStringLiteral("%1 is no BASIC program: only files of type Program can be edited.").arg(fileName));
        return;
    }

    const QString partition = node->text(0);
    const ToolRunner tool = m_ctx.tool();
    QString text;
    const QString error = ListBasicProgram(tool, partition, fileName, &text);
    if (!error.isEmpty()) {
        m_ctx.prompts().error(error);
        return;
    }

    auto folder = MakeEditFolder();
    auto* editor = new TFormBasicEditor(m_ctx.dialogParent());
    editor->setAttribute(Qt::WA_DeleteOnClose, true);
    editor->SetProgram(partition, fileName, text);
    // The store function holds the temporary folder: it is removed when the
    // window goes.
    const TFormBasicEditor::StoreFunction store =
        PutBasicStore(tool, partition, QDir(folder->path()).filePath(QStringLiteral("PROGRAM.BAS")));
    editor->SetStoreFunction([store, folder](const QString& program, const QString& name) {
        return store(program, name);
    });
    CommandContext& ctx = m_ctx;
    editor->SetCloseQuestion([&ctx](const QString& question) {
        switch (ctx.prompts().confirm(question)) {
        case Prompts::Answer::Yes:
            return TFormBasicEditor::CloseAnswer::Save;
        case Prompts::Answer::No:
            return TFormBasicEditor::CloseAnswer::Discard;
        case Prompts::Answer::Cancel:
            break;
        }
        return TFormBasicEditor::CloseAnswer::Cancel;
    });
    // Save as: the name, then a question before it replaces another file.
    editor->SetNameQuestion([&ctx, tool, editor](const QString& current) -> std::optional<QString> {
        InputRequest request;
        request.caption = QStringLiteral("Save as");
        request.prompt = QStringLiteral("+3DOS name:");
        request.initial = current;
        request.maxLength = 12;
        const std::optional<QString> typed = ctx.prompts().inputText(request);
        if (!typed)
            return std::nullopt;
        const QString name = typed->trimmed().toUpper();
        if (!IsPlus3FileName(name) || SameFileName(name, editor->FileName()))
            return typed;
        try {
            if (!MayStoreUnder(ctx, tool, editor->Partition(), name))
                return std::nullopt;
        } catch (...) {
            ctx.prompts().error(ExceptionText(std::current_exception()));
            return std::nullopt;
        }
        return typed;
    });
    // The list shows the stored file; a listing that fails is shown, not
    // thrown through the editor's event handling.
    QObject::connect(editor, &TFormBasicEditor::Stored, editor, [&ctx](const QString&) {
        try {
            ctx.listPartitionAgain();
        } catch (...) {
            ctx.prompts().error(ExceptionText(std::current_exception()));
        }
    });
    editor->show();
}

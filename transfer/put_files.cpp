// Putting host files into the selected partition: in binary mode, with a
// +3DOS header, with a header and a typed load address, the contents of a
// tape or floppy disk image, and files dropped on the list.
#include "change_commands.h"
#include "command_builders.h"
#include "failure_list.h"
#include "form_copy_operation.h"
#include "formmain.h"
#include "short_name.h"

#include <QFileInfo>
#include <QTreeWidgetItem>

#include <functional>

namespace {

// The shared file-open dialog, set up for one command. Several files may be
// chosen; the folder of the first becomes the dialog's starting folder.
QStringList ChooseHostFiles(TFormMain& form, const char* title, const char* defaultSuffix,
                            const char* fileName, const char* filter)
{
    FileDialogRequest request;
    request.title = QLatin1String(title);
    request.defaultSuffix = QLatin1String(defaultSuffix);
    request.fileName = QLatin1String(fileName);
    request.filter = QLatin1String(filter);
    request.folder = form.OpenDialogFolder;
    request.multiple = true;
    const QStringList files = form.prompts().openFiles(request);
    if (!files.isEmpty())
        form.OpenDialogFolder = QFileInfo(files.first()).absolutePath();
    return files;
}

// The command line that puts one host file under its short name.
using PutLine = std::function<QString(const QString& hostFile, const QString& partition,
                                      const QString& shortName)>;

// Puts every file in order, one run each, showing which file is copied, and
// ends the command: "Copy completed" and the refreshed list, or the failures.
void PutEach(TFormMain& form, const QStringList& files, const QString& partition,
             const PutLine& line)
{
    const ToolRunner tool = form.Tool();
    FailureList failures;
    for (const QString& file : files) {
        form.SetStatusPanel(1, QString());
        form.SetStatusPanel(2,
                            QStringLiteral("Copying ") + file + QStringLiteral(" to ") + partition);
        const QString problem = tool.runForErrors(line(file, partition, ShortName(file)));
        if (!problem.isEmpty())
            failures.add(file, problem);
        LetEventsRun();
    }
    EndChangeCommand(form, failures, static_cast<int>(files.size()), kCopyEnd);
}

// The checks every put command starts with: the tool, then a partition.
QTreeWidgetItem* StartPut(TFormMain& form)
{
    if (!form.CheckBackend())
        return nullptr;
    return RequirePartitionNode(form);
}

enum class PutKind { Binary, Plus3Dos, Plus3DosAtAddress };

void PutFiles(TFormMain& form, PutKind kind)
{
    QTreeWidgetItem* node = StartPut(form);
    if (!node)
        return;
    const QStringList files =
        ChooseHostFiles(form, "Put files to transfer", "", "*.*", "All Files (*.*)|*.*");
    if (files.isEmpty())
        return;
    QString address;
    if (kind == PutKind::Plus3DosAtAddress) {
        // One address for every file, passed on as typed: the tool judges it.
        InputRequest request;
        request.caption = QStringLiteral("3eHarnwick");
        request.prompt = QStringLiteral("Please type the start address for all files");
        const std::optional<QString> typed = form.prompts().inputText(request);
        if (!typed)
            return;
        address = *typed;
    }
    const QString tool = form.ToolPath;
    const QString medium = form.CurrentMedium;
    PutEach(form, files, node->text(0),
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
void PutImage(TFormMain& form, const char* title, const char* defaultSuffix, const char* fileName,
              const char* filter,
              QString (*commandLine)(const QString&, const QString&, const QString&,
                                     const QString&))
{
    QTreeWidgetItem* node = StartPut(form);
    if (!node)
        return;
    const QStringList files = ChooseHostFiles(form, title, defaultSuffix, fileName, filter);
    if (files.isEmpty())
        return;
    form.Tool().runForErrors(
        commandLine(form.ToolPath, form.CurrentMedium, files.first(), node->text(0)));
    if (!form.BackendReportedErrors())
        form.TreeViewChange();
}

} // namespace

void TFormMain::Putfilestandard1Click()
{
    PutFiles(*this, PutKind::Binary);
}

void TFormMain::Putfile3DOS1Click()
{
    PutFiles(*this, PutKind::Plus3Dos);
}

void TFormMain::Putfilesinstandardmodetoaspecificaddress1Click()
{
    PutFiles(*this, PutKind::Plus3DosAtAddress);
}

void TFormMain::Putalltapecontents1Click()
{
    PutImage(*this, "Open tape image", "tap", "*.tap",
             "Zx Spectrum Tape Files (*.tap)|*.tap|All Files (*.*)|*.*", &PutTapCommand);
}

void TFormMain::Putalldiskcontents1Click()
{
    PutImage(*this, "Open disk image", "dsk", "*.dsk",
             "Zx Spectrum Disk Images (*.dsk)|*.dsk|All Files (*.*)|*.*", &PutDskCommand);
}

void TFormMain::PJCtrlDropFilesDropFiles(const QStringList& files)
{
    QTreeWidgetItem* node = StartPut(*this);
    if (!node)
        return;
    SetStatusPanel(1, QString());
    TFormCopyOperation dialog(prompts(), this);
    prompts().execDialog(dialog);
    if (dialog.Command.isEmpty())
        return;
    PutEach(*this, files, node->text(0),
            [&](const QString& file, const QString& partition, const QString& name) {
                return PutModeCommand(ToolPath, CurrentMedium, dialog.Command, file, partition,
                                      name, dialog.Address);
            });
}

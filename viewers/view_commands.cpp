// The view command: one file of the selected partition shown in a view window
// of its own, in the format its type calls for or in the one the user chose.
#include "formmain.h"

#include "app_error.h"
#include "command_builders.h"
#include "file_list_model.h"
#include "form_view.h"
#include "guard_texts.h"
#include "temp_folder.h"
#include "text_utils.h"
#include "view_choice.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

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

void ViewSelectedFile(TFormMain& form, ViewMode mode)
{
    if (!form.CheckBackend())
        return;
    QTreeWidgetItem* node = form.SelectedNode();
    if (!node) {
        form.prompts().error(QString::fromLatin1(guard::kNoPartitionSelected));
        return;
    }
    if (form.RowCount() == 0) {
        form.prompts().error(QString::fromLatin1(guard::kNoFilesInPartition));
        return;
    }
    if (form.SelectedCount() == 0) {
        form.prompts().error(QString::fromLatin1(guard::kNoFileSelected));
        return;
    }
    if (form.ListShowsPartitions()) {
        form.prompts().error(QString::fromLatin1(guard::kInvalidOperation));
        return;
    }
    if (form.SelectedCount() > 1) {
        form.prompts().error(QStringLiteral("Only one file can be viewed at a time."));
        return;
    }

    const FileListModel& list = form.ListModel();
    const int row = form.SelectedRows().first();
    const QString typeName = list.cell(row, FileListModel::ColType);
    // The size check and the BASIC refusal come before the tool runs, so a
    // refused view leaves nothing behind.
    const ViewChoice choice = ChooseView(mode, typeName, GroupedToInt(list.cell(row, FileListModel::ColRealSize)),
                                         GroupedToInt(list.cell(row, FileListModel::ColVars)));
    if (!choice.refusal.isEmpty()) {
        form.prompts().error(choice.refusal);
        return;
    }

    const QString partition = node->text(0);
    const QString fileName = list.caption(row);
    const LocalCopyFolder folder;
    // The tool's error output is not read: a missing or short copy is
    // reported by the formatter.
    form.Tool().run(GetFileCommand(form.ToolPath, form.CurrentMedium, partition, fileName, folder.path()));
    const QByteArrayList lines = RenderView(choice, folder.copyOf(fileName), typeName);

    auto* window = new TFormView(&form);
    window->setWindowTitle(QStringLiteral("File View - ") + partition + QLatin1Char(':') + fileName);
    window->SetLines(lines);
    if (form.UseSpectrumFont)
        window->UseSpectrumFont();
    window->ShowText();
}

}  // namespace

void TFormMain::ViewBASICcode1Click()
{
    ViewSelectedFile(*this, ViewMode::Automatic);
}

void TFormMain::AsBASIC1Click()
{
    ViewSelectedFile(*this, ViewMode::Basic);
}

void TFormMain::AsBinary1Click()
{
    ViewSelectedFile(*this, ViewMode::HexDump);
}

void TFormMain::AsText1Click()
{
    ViewSelectedFile(*this, ViewMode::Text);
}

void TFormMain::AsList1Click()
{
    ViewSelectedFile(*this, ViewMode::List);
}

void TFormMain::AsData1Click()
{
    ViewSelectedFile(*this, ViewMode::Data);
}

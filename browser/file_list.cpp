// The file list: filling the file layout, the selection summary, keys,
// double-click, select all and invert.
#include "formmain.h"

#include "command_guards.h"
#include "drop_offers.h"
#include "file_list_model.h"
#include "guard_texts.h"
#include "list_rows.h"
#include "number_conversion.h"
#include "partition_texts.h"
#include "records.h"
#include "text_reader.h"
#include "text_utils.h"
#include "transfer_commands.h"
#include "tree_search.h"
#include "view_commands.h"

#include <QAbstractItemView>
#include <QFile>
#include <QTreeWidget>

namespace {

constexpr int kPictureHeaderless = 19;
constexpr int kPictureScreen = 20;
constexpr int kPictureFirstFileType = 15;

// The picture of a file row: 15 plus the type code, 19 for "255" and for a
// code that is no number, 20 for a screen picture (compared as texts). A code
// that names no picture gives none (-1).
int FileIcon(const FileEntry& entry)
{
    if (entry.typeCode == QLatin1String("3") && entry.start == QLatin1String("16384") &&
        entry.realSize == QLatin1String("6912"))
        return kPictureScreen;
    if (entry.typeCode == QLatin1String("255"))
        return kPictureHeaderless;
    const std::optional<qint64> code = ParseDecimalInt64(entry.typeCode);
    const qint64 picture = kPictureFirstFileType + (code ? *code : 4);
    return picture >= kPictureFirstFileType && picture <= 22 ? static_cast<int>(picture) : -1;
}

} // namespace

FileListRow FileRowFromEntry(const FileEntry& entry)
{
    FileListRow row;
    row.cells[FileListModel::ColName] = entry.TrimmedName();
    row.icon = FileIcon(entry);
    row.cells[FileListModel::ColSize] = FormatGroupedField(entry.size, 5);
    row.cells[FileListModel::ColAttr] = entry.attr;
    row.cells[FileListModel::ColVer] = entry.verMajor + QLatin1Char('.') + entry.verMinor;
    row.cells[FileListModel::ColHdSize] = FormatGroupedField(entry.hdSize, 5);
    row.cells[FileListModel::ColType] = entry.TypeName();
    row.cells[FileListModel::ColRealSize] = FormatGroupedField(entry.realSize, 5);
    row.cells[FileListModel::ColStart] = FormatGroupedField(entry.start, 5);
    row.cells[FileListModel::ColVars] = FormatGroupedField(entry.vars, 5);
    return row;
}

void TFormMain::FillFileList()
{
    m_model->clear();
    m_model->setColumnCaption(FileListModel::ColName, tr("File Name"));
    m_model->setColumnWidth(FileListModel::ColVer, 30);
    m_model->setColumnWidth(FileListModel::ColRealSize, 60);
    m_model->setColumnCaption(FileListModel::ColStart, QStringLiteral("Start"));
    m_model->setColumnCaption(FileListModel::ColVars, QStringLiteral("Vars"));
    m_model->setColumnWidth(FileListModel::ColLbaBegin, 0);
    m_model->setColumnWidth(FileListModel::ColLbaEnd, 0);

    QFile out(OutFile);
    OpenTextFile(out, OutFile);
    RecordReader reader(out, kWideSlots);
    reader.Next(); // the header line

    double allocated = 0;
    double bytes = 0;
    std::vector<FileListRow> rows;
    try {
        while (reader.Next()) {
            const FileEntry entry = FileEntry::FromFields(reader.Fields());
            FileListRow row = FileRowFromEntry(entry);
            allocated += static_cast<double>(FieldToInt64(entry.size));
            bytes += static_cast<double>(FieldToIntOrZero(entry.realSize));
            rows.push_back(std::move(row));
        }
    } catch (...) {
        // The rows read before the bad line stay in the list.
        m_model->appendRows(std::move(rows));
        throw;
    }
    m_model->appendRows(std::move(rows));

    SetStatusPanel(1, QString());
    SetStatusPanel(2, QString::number(RowCount()) + QLatin1String(" files, total ") +
                          FormatGrouped(bytes, 1) + QLatin1String(" bytes, ") +
                          FormatGrouped(allocated, 1) + QLatin1String(" allocated"));
    SortDirection = -1;
}

bool TFormMain::ListShowsPartitions() const
{
    return m_model->showsPartitions();
}

void TFormMain::ListViewSelectItem()
{
    const QList<int> selected = SelectedRows();
    if (selected.isEmpty() || ListShowsPartitions())
        return;
    double sum = 0;
    for (int row : selected)
        sum += static_cast<double>(GroupedToInt(m_model->cell(row, FileListModel::ColRealSize)));
    SetStatusPanel(2, QString::number(selected.size()) + QLatin1String(" file(s) selected, ") +
                          QString::number(RowCount()) + QLatin1String(" total, ") +
                          FormatGrouped(sum, 1) + QLatin1String(" bytes"));
    SetStatusPanel(1, selected.size() == 1 ? m_model->caption(selected.first()) : QString());
}

void TFormMain::ListViewKeyUp(int key, Qt::KeyboardModifiers shift)
{
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter)
        return;
    const Qt::KeyboardModifiers held =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (held & Qt::ControlModifier) {
        m_viewers->viewSelectedFile(ViewMode::Automatic);
        return;
    }
    if (held == Qt::NoModifier && RowCount() > 0 && ListShowsPartitions())
        ListViewDblClick();
}

void TFormMain::ListViewDblClick()
{
    const QList<int> selected = SelectedRows();
    if (selected.isEmpty())
        return;
    if (!ListShowsPartitions()) {
        m_viewers->viewSelectedFile(ViewMode::Automatic);
        return;
    }
    QString name = m_model->caption(selected.first()).left(255);
    // The free-space row has no name; its tree node carries a caption.
    if (name.isEmpty())
        name = QString::fromLatin1(kFreeSpaceCaption);
    if (QTreeWidgetItem* node = FindTreeNodeByText(m_tree, nullptr, name)) {
        m_tree->setFocus();
        SelectNode(node);
    } else {
        prompts().error(QString::fromLatin1(guard::kInvalidOperation));
    }
    m_list->currentView()->setFocus();
}

// ---- The list events the transfer module answers ----

void TFormMain::PJCtrlDropFilesDropFiles(const QStringList& files)
{
    // Before any question about the files: the checks the puts begin with.
    const auto ready = [this] { return checkTool() && RequirePartitionNode(*this); };
    m_drops->route(prompts(), files, ready,
                   [this](const QStringList& plain) { m_transfer->putDroppedFiles(plain); });
}

bool TFormMain::ListViewEditing(int row)
{
    return m_transfer->renameEditStarting(row);
}

void TFormMain::ListViewEdited(int row, const QString& text)
{
    m_transfer->renameEdited(row, text);
}

void TFormMain::editRowCaption(int row)
{
    m_list->editCaption(row);
}

bool TFormMain::editingRowCaption(int row) const
{
    return m_list->currentView()->indexWidget(m_model->index(row, FileListModel::ColName)) !=
           nullptr;
}

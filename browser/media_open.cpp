// Opening media, the partition tree and what selecting a node does; the
// device picker, the device report, the partition search and the tree sort.
#include "formmain.h"

#include "ansi_text.h"
#include "backend_checks.h"
#include "command_builders.h"
#include "file_list_model.h"
#include "form_select_device.h"
#include "guard_texts.h"
#include "process_runner.h"
#include "records.h"
#include "text_reader.h"
#include "tree_search.h"

#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>

#include <algorithm>

namespace {

const char* const kBaseCaption = "3e Harnwick - a Zx Spectrum +3e File Browser";

constexpr int kPictureSelectedPartition = 12;
constexpr int kPicturePartition = 13;
constexpr int kPictureMedium = 14;

// Sets a flag for the life of a scope.
class FlagScope
{
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_old; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

} // namespace

// ---- Tool runs shared by the commands ----

bool TFormMain::CheckBackend()
{
    return RequireBackend(ToolPath, [this](const QString& text) { prompts().error(text); });
}

bool TFormMain::BackendReportedErrors()
{
    return ReadBackendErrors(
        ErrFile, [this](int panel, const QString& text) { SetStatusPanel(panel, text); });
}

ToolRunner TFormMain::Tool() const
{
    return ToolRunner{ToolPath, CurrentMedium, OutFile, ErrFile};
}

// ---- Opening ----

void TFormMain::OpenMedium(const QString& name)
{
    if (!CheckBackend())
        return;
    {
        FlagScope rebuilding(m_rebuildingTree);
        m_selectedNode = nullptr; // its item goes with the clear
        m_tree->clear();
    }
    m_model->clear();
    setWindowTitle(QString::fromLatin1(kBaseCaption) + QLatin1String(" - ") + name);
    CurrentMedium = name;

    Tool().run(ShowPTableCommand(ToolPath, CurrentMedium));
    if (BackendReportedErrors())
        return;

    QTreeWidgetItem* root = nullptr;
    {
        FlagScope rebuilding(m_rebuildingTree);
        QFile out(OutFile);
        OpenTextFile(out, OutFile);
        RecordReader reader(out, kNarrowSlots);
        reader.Next();
        reader.Next();
        root = new QTreeWidgetItem(QStringList{CurrentMedium});
        root->setIcon(0, m_model->picture(kPictureMedium));
        QList<QTreeWidgetItem*> partitions;
        while (reader.Next()) {
            auto* node = new QTreeWidgetItem(QStringList{reader.Field(PartitionRecord::Name)});
            node->setIcon(0, m_model->picture(kPicturePartition));
            partitions << node;
        }
        root->addChildren(partitions);
        m_tree->addTopLevelItem(root);
        m_tree->expandAll();
    }
    SelectNode(root);
    LastDiskImage = name;
}

void TFormMain::OpenHDFFile1Click()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Open hard disk image");
    request.defaultSuffix = QStringLiteral("hdf");
    request.fileName = QStringLiteral("*.hdf");
    request.filter = QStringLiteral(
        "Hard disk Image Files (*.hdf)|*.hdf|Raw Image Files (*.raw)|*.raw|All Files (*.*)|*.*");
    request.folder = OpenDialogFolder;
    const QStringList chosen = prompts().openFiles(request);
    if (chosen.isEmpty())
        return;
    const QString file = chosen.first();
    OpenDialogFolder = QFileInfo(file).absolutePath();
    OpenMedium(file);
    // The file joins Recent Files whether or not the opening worked.
    if (!m_recentFiles.contains(file, Qt::CaseSensitive))
        AddRecentFile(file);
}

void TFormMain::OpenPhysicalDevice1Click()
{
    if (!CheckBackend())
        return;
    Tool().run(ScanBackendCommand(ToolPath));
    if (BackendReportedErrors())
        return;

    QStringList devices;
    {
        QFile out(OutFile);
        OpenTextFile(out, OutFile);
        RecordReader reader(out, kNarrowSlots);
        reader.Next();
        if (DeviceCountIsZero(reader.Line())) {
            prompts().error(QString::fromLatin1(guard::kNoDevice));
            return;
        }
        while (reader.Next())
            devices << reader.Field(DeviceRecord::DeviceName);
    }

    TFormSelectDevice picker(devices, this);
    prompts().execDialog(picker);
    const QString device = picker.SelectedDevice();
    if (device.isEmpty())
        return;
    OpenMedium(device);
    // A full menu loses its oldest entry even when the device is listed.
    if (m_recentFiles.size() >= 4) {
        m_recentFiles.removeFirst();
        RebuildRecentMenu();
    }
    if (!m_recentFiles.contains(device, Qt::CaseSensitive)) {
        AddRecentFile(device);
        m_model->setColumnCaption(FileListModel::ColStart, QStringLiteral("Start"));
        m_model->setColumnCaption(FileListModel::ColVars, QStringLiteral("Vars"));
    }
}

void TFormMain::Scanallcompatibledevices1Click()
{
    if (!CheckBackend())
        return;
    Tool().run(ScanCommand(ToolPath));
    if (BackendReportedErrors())
        return;
    QString text;
    for (const QByteArray& line : ReadTextFileLines(OutFile))
        text += AnsiToQString(line) + QLatin1String("\r\n");
    if (text.isEmpty())
        text = QString::fromLatin1(guard::kNoDevice);
    prompts().information(text);
}

// ---- The tree ----

void TFormMain::TreeViewChange()
{
    if (!CheckBackend())
        return;
    QTreeWidgetItem* node = SelectedNode();
    if (!node)
        return;
    SortDirection = -1;
    SetStatusPanel(0, node->text(0));
    m_model->clear();
    const int position =
        node->parent() ? node->parent()->indexOfChild(node) : m_tree->indexOfTopLevelItem(node);
    if (position == 0) {
        Showpartitiontable1Click();
        return;
    }
    Tool().run(DirCommand(ToolPath, CurrentMedium, node->text(0)));
    if (!BackendReportedErrors())
        FillFileList();
}

void TFormMain::OnTreeSelectionChanged()
{
    QTreeWidgetItem* node = SelectedNode();
    // Partition nodes show the open folder while selected.
    if (m_selectedNode && m_selectedNode != node && m_selectedNode->parent())
        m_selectedNode->setIcon(0, m_model->picture(kPicturePartition));
    m_selectedNode = node;
    if (node && node->parent())
        node->setIcon(0, m_model->picture(kPictureSelectedPartition));
    if (!node || m_rebuildingTree)
        return;
    RunGuarded([this] { TreeViewChange(); });
}

void TFormMain::Search1Click()
{
    InputRequest request;
    request.caption = QStringLiteral("Search");
    request.prompt = QStringLiteral("Type a partition name to search");
    request.maxLength = 255;
    const std::optional<QString> text = prompts().inputText(request);
    if (!text)
        return;
    QTreeWidgetItem* node = FindTreeNodeByText(m_tree, nullptr, *text);
    if (!node) {
        prompts().error(QString::fromLatin1(guard::kNoPartitionSelected));
        return;
    }
    m_tree->setFocus();
    SelectNode(node);
}

void TFormMain::SortPartitionTree1Click()
{
    QTreeWidgetItem* selected = SelectedNode();
    FlagScope rebuilding(m_rebuildingTree);
    const auto byText = [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return QString::localeAwareCompare(a->text(0), b->text(0)) < 0;
    };
    std::function<void(QTreeWidgetItem*)> sortChildren = [&](QTreeWidgetItem* node) {
        QList<QTreeWidgetItem*> children = node->takeChildren();
        std::stable_sort(children.begin(), children.end(), byText);
        node->addChildren(children);
        for (QTreeWidgetItem* child : std::as_const(children))
            sortChildren(child);
    };
    QList<QTreeWidgetItem*> roots;
    while (m_tree->topLevelItemCount() > 0)
        roots << m_tree->takeTopLevelItem(0);
    std::stable_sort(roots.begin(), roots.end(), byText);
    m_tree->addTopLevelItems(roots);
    for (QTreeWidgetItem* root : std::as_const(roots))
        sortChildren(root);
    m_tree->expandAll();
    if (selected)
        SelectNode(selected);
}

// Opening media, the partition tree and what selecting a node does.
#include "formmain.h"

#include "held_device.h"
#include "medium_descriptor.h"

#include "backend_checks.h"
#include "browser_commands.h"
#include "command_builders.h"
#include "file_list_model.h"
#include "number_conversion.h"
#include "partition_texts.h"
#include "process_runner.h"
#include "records.h"
#include "text_reader.h"
#include "thumbnail_loader.h"
#include "tree_search.h"

#include <QFile>
#include <QTreeWidget>


namespace {

const char* const kBaseCaption = QT_TRANSLATE_NOOP("TFormMain", "3e Harnwick - a Zx Spectrum +3e File Browser");

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
    // The tool names a passed device /dev/fd/3; the user knows it by its path.
    const ToolRunner tool = Tool();
    return ReadBackendErrors(ErrFile, [this, &tool](int panel, const QString& text) {
        SetStatusPanel(panel, tool.passed ? QString(text).replace(PassedMediumName(), tool.mediumName) : text);
    });
}

ToolRunner TFormMain::Tool() const
{
    ToolRunner runner{ToolPath, CurrentMedium, OutFile, ErrFile, CurrentMedium, nullptr};
    if (m_heldDevice && m_heldDevice->device() == CurrentMedium && !CurrentMedium.isEmpty()) {
        runner.medium = PassedMediumName();
        runner.passed = m_heldDevice;
    }
    return runner;
}

void TFormMain::CloseMedium()
{
    {
        FlagScope rebuilding(m_rebuildingTree);
        m_selectedNode = nullptr;
        m_tree->clear();
    }
    m_model->clear();
    for (int panel = 0; panel < 3; ++panel)
        SetStatusPanel(panel, QString());
    setWindowTitle(QString::fromLatin1(kBaseCaption));
    CurrentMedium.clear();
    m_heldDevice.reset();
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
    // Nothing of the previous medium stays named, even when this one fails
    // to open.
    SetStatusPanel(0, name);
    SetStatusPanel(1, QString());
    setWindowTitle(tr(kBaseCaption) + QLatin1String(" - ") + name);
    CurrentMedium = name;

    // A device the user may not open is opened by the device service (once:
    // opening the same device again keeps the descriptor); any other medium
    // lets a held device go.
    if (!m_heldDevice || m_heldDevice->device() != name) {
        m_heldDevice.reset();
        const QString block = HeldDevice::ServiceBlockFor(name);
        if (!block.isEmpty())
            m_heldDevice = HeldDevice::Open(name, block, false);
    }

    Tool().run(ShowPTableCommand(ToolPath, Tool().medium));
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
        SetPartitionNodeFacts(root, PartitionNodeFacts{.table = true});
        QList<QTreeWidgetItem*> partitions;
        while (reader.Next()) {
            const PartitionRecord record = PartitionRecord::FromFields(reader.Fields());
            auto* node = new QTreeWidgetItem(QStringList{PartitionTreeCaption(record)});
            node->setIcon(0, m_model->picture(kPicturePartition));
            // The first partition is the system partition, which holds the
            // table; it keeps standing for the table wherever sorting puts it.
            const PartitionNodeFacts facts{
                .table = partitions.isEmpty(),
                .typeCode = FieldToIntOrZero(record.typeCode),
                .sizeBytes = FieldToIntOrZero(record.sizeBytes),
            };
            SetPartitionNodeFacts(node, facts);
            // A partition's name can be edited in place; the table's node,
            // the system partition and free space cannot.
            if (!facts.table && facts.typeCode != kFreeSpaceTypeCode)
                node->setFlags(node->flags() | Qt::ItemIsEditable);
            partitions << node;
        }
        root->addChildren(partitions);
        m_tree->addTopLevelItem(root);
        m_tree->expandAll();
    }
    SelectNode(root);
    LastDiskImage = name;
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
    m_list->thumbnails()->setSource({});
    const PartitionNodeFacts facts = PartitionNodeFactsOf(node);
    if (facts.table) {
        m_browser->showPartitionTable();
        return;
    }
    // Free space and partitions of other types hold no +3DOS files: say what
    // they are instead of asking the tool for a directory it cannot read.
    if (facts.typeCode == kFreeSpaceTypeCode) {
        SetStatusPanel(1, QString());
        SetStatusPanel(2, FreeSpaceStatusText(facts.sizeBytes));
        return;
    }
    if (facts.typeCode >= 0 && facts.typeCode != kPlus3DosTypeCode) {
        SetStatusPanel(1, QString());
        SetStatusPanel(2, NonPlus3PartitionText(node->text(0), facts.typeCode));
        return;
    }
    Tool().run(DirCommand(ToolPath, Tool().medium, node->text(0)));
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

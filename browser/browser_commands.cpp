// The main window's own commands, each declared once with its caption, keys
// and picture and implemented by one method.
#include "browser_commands.h"

#include "ansi_text.h"
#include "command_builders.h"
#include "command_guards.h"
#include "command_registry.h"
#include "device_survey.h"
#include "drop_offers.h"
#include "file_list_model.h"
#include "form_about.h"
#include "form_pref.h"
#include "form_properties.h"
#include "form_select_device.h"
#include "form_view.h"
#include "formmain.h"
#include "guard_texts.h"
#include "held_device.h"
#include "list_rows.h"
#include "number_conversion.h"
#include "partition_texts.h"
#include "process_runner.h"
#include "properties_texts.h"
#include "records.h"
#include "text_reader.h"
#include "text_utils.h"
#include "tool_command.h"
#include "tree_search.h"
#include "udisks_client.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QItemSelection>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <vector>

BrowserCommands::BrowserCommands(TFormMain& form) : m_form(form) {}

void BrowserCommands::registerCommands(CommandRegistry& registry)
{
    using P = ToolbarPicture;
    const auto add = [&](const Command& command, void (BrowserCommands::*method)()) {
        registry.add(command, [this, method] { (this->*method)(); });
    };
    const auto addStyle = [&](const Command& command, FileListView::Style style) {
        registry.add(command, [this, style] { setListStyle(style); });
    };

    // File menu
    add({"OpenHDFFile1", QT_TRANSLATE_NOOP("Commands", "Open &hard disk image"), "F3", QT_TRANSLATE_NOOP("Commands", "Open hard disk image"),
         P::OpenHardDiskImage},
        &BrowserCommands::openImageFile);
    add({"OpenPhysicalDevice1", QT_TRANSLATE_NOOP("Commands", "Open &physical device"), "F4", QT_TRANSLATE_NOOP("Commands", "Open physical device"),
         P::OpenPhysicalDevice},
        &BrowserCommands::openPhysicalDevice);
    add({"Scanallcompatibledevices1", QT_TRANSLATE_NOOP("Commands", "&Scan all compatible devices")},
        &BrowserCommands::scanDevices);
    add({"About1", QT_TRANSLATE_NOOP("Commands", "&About...")}, &BrowserCommands::showAbout);
    add({"Exit1", QT_TRANSLATE_NOOP("Commands", "&Exit"), "Ctrl+Q", QT_TRANSLATE_NOOP("Commands", "Exit"), P::Exit}, &BrowserCommands::exitProgram);
    // Edit menu
    add({"Selectallfiles1", QT_TRANSLATE_NOOP("Commands", "&Select all files"), "Ctrl+A"}, &BrowserCommands::selectAllFiles);
    add({"Invertselection1", QT_TRANSLATE_NOOP("Commands", "&Invert selection")}, &BrowserCommands::invertSelection);
    // View menu
    add({.id = "Toolbar1", .caption = QT_TRANSLATE_NOOP("Commands", "&Toolbar"), .checkable = true},
        &BrowserCommands::toggleToolBar);
    add({.id = "StatusBar1", .caption = QT_TRANSLATE_NOOP("Commands", "Status &Bar"), .checkable = true},
        &BrowserCommands::toggleStatusBar);
    add({.id = "Lockwindows1", .caption = QT_TRANSLATE_NOOP("Commands", "&Lock windows"), .checkable = true},
        &BrowserCommands::toggleLockWindows);
    addStyle({.id = "IconView1", .caption = QT_TRANSLATE_NOOP("Commands", "&Icon View"), .checkable = true},
             FileListView::Style::Icon);
    addStyle({.id = "SmallIconView1", .caption = QT_TRANSLATE_NOOP("Commands", "&Small Icon View"), .checkable = true},
             FileListView::Style::SmallIcon);
    addStyle({.id = "ListView1", .caption = QT_TRANSLATE_NOOP("Commands", "&List View"), .checkable = true},
             FileListView::Style::List);
    addStyle({.id = "ReportView1", .caption = QT_TRANSLATE_NOOP("Commands", "&Report View"), .checkable = true},
             FileListView::Style::Report);
    // Device menu and tree
    add({"Showpartitiontable1", QT_TRANSLATE_NOOP("Commands", "Show partition &table"), "Ctrl+T", QT_TRANSLATE_NOOP("Commands", "Show partition table"),
         P::ShowPartitionTable},
        &BrowserCommands::showPartitionTable);
    add({"Showpartitiondetails1", QT_TRANSLATE_NOOP("Commands", "Show partition &details"), "Ctrl+P"},
        &BrowserCommands::showPartitionDetails);
    add({"Search1", QT_TRANSLATE_NOOP("Commands", "&Search"), "Ctrl+F"}, &BrowserCommands::searchPartition);
    add({"Sortpartitiontree1", QT_TRANSLATE_NOOP("Commands", "Sort partition tree")}, &BrowserCommands::sortPartitionTree);
    add({"Eject1", QT_TRANSLATE_NOOP("Commands", "&Eject"), "",
         QT_TRANSLATE_NOOP("Commands", "Close the device and eject its medium")},
        &BrowserCommands::ejectDevice);
    // List pop-up only; Alt+Enter works while the list has the focus.
    add({.id = "Properties1",
         .caption = QT_TRANSLATE_NOOP("Commands", "Properties"),
         .shortcut = "Alt+Return",
         .popupShortcut = "Alt+Return"},
        &BrowserCommands::showProperties);
    // Tools menu
    add({"Preferences1", QT_TRANSLATE_NOOP("Commands", "&Preferences")}, &BrowserCommands::showPreferences);
}

// ---- File menu ----

void BrowserCommands::openImageFile()
{
    FileDialogRequest request;
    request.title = QCoreApplication::translate("BrowserCommands", "Open hard disk image");
    request.defaultSuffix = QStringLiteral("hdf");
    request.fileName = QStringLiteral("*.hdf");
    request.filter = QStringLiteral(
        "Hard disk Image Files (*.hdf)|*.hdf|Raw Image Files (*.raw)|*.raw|All Files (*.*)|*.*");
    request.folder = m_form.OpenDialogFolder;
    const QStringList chosen = m_form.prompts().openFiles(request);
    if (chosen.isEmpty())
        return;
    const QString file = chosen.first();
    m_form.OpenDialogFolder = QFileInfo(file).absolutePath();
    m_form.OpenMedium(file);
    // The file joins Recent Files whether or not the opening worked.
    if (!m_form.m_recentFiles.contains(file, Qt::CaseSensitive))
        m_form.AddRecentFile(file);
}

namespace {

QList<DevicePickerEntry> PickerEntries(const std::vector<SurveyedDisk>& survey)
{
    QList<DevicePickerEntry> entries;
    for (const SurveyedDisk& entry : survey)
        entries.append({DiskCaption(entry.disk, entry.facts, entry.unreadable), entry.disk.device});
    return entries;
}

} // namespace

void BrowserCommands::openPhysicalDevice()
{
    if (!m_form.CheckBackend())
        return;
    // With the device service every whole disk is offered, readable or not:
    // one the user may not open is opened through the service.
    const ToolRunner tool = m_form.Tool();
    const std::shared_ptr<HeldDevice> held = m_form.HeldMedium();
    if (const auto objects = udisks::Objects()) {
        // Not a single disk, not even a fixed one: nothing to pick.
        if (WholeDisks(*objects, true).empty()) {
            m_form.prompts().error(QString::fromLatin1(guard::kNoDevice));
            return;
        }
        TFormSelectDevice picker(
            [&](bool fixedToo) {
                const auto disks = SurveyDisks(tool, fixedToo, held);
                return disks ? PickerEntries(*disks) : QList<DevicePickerEntry>();
            },
            &m_form);
        m_form.prompts().execDialog(picker);
        openPickedDevice(picker.SelectedDevice());
        return;
    }

    m_form.Tool().run(ScanBackendCommand(m_form.ToolPath));
    if (m_form.BackendReportedErrors())
        return;

    QStringList devices;
    {
        QFile out(m_form.OutFile);
        OpenTextFile(out, m_form.OutFile);
        RecordReader reader(out, kNarrowSlots);
        reader.Next();
        if (DeviceCountIsZero(reader.Line())) {
            m_form.prompts().error(guard::guardText(guard::kNoDevice));
            return;
        }
        while (reader.Next())
            devices << reader.Field(DeviceRecord::DeviceName);
    }

    TFormSelectDevice picker(devices, &m_form);
    m_form.prompts().execDialog(picker);
    openPickedDevice(picker.SelectedDevice());
}

void BrowserCommands::openPickedDevice(const QString& device)
{
    if (device.isEmpty())
        return;
    // Joins Recent Files as an image does: once, the oldest entry going only
    // to make room. The list keeps the partition table's captions.
    m_form.openMedium(device, true);
}

void BrowserCommands::scanDevices()
{
    if (!m_form.CheckBackend())
        return;
    if (const auto survey = SurveyDisks(m_form.Tool(), true, m_form.HeldMedium())) {
        QString text;
        for (const SurveyedDisk& entry : *survey)
            for (const QString& line : DiskReportLines(entry.disk, entry.facts, entry.unreadable))
                text += line + QLatin1String("\r\n");
        if (text.isEmpty())
            text = QString::fromLatin1(guard::kNoDevice);
        m_form.prompts().information(text);
        return;
    }
    m_form.Tool().run(ScanCommand(m_form.ToolPath));
    if (m_form.BackendReportedErrors())
        return;
    QString text;
    // Device paths are host paths: UTF-8 where the bytes are valid UTF-8.
    for (const QByteArray& line : ReadTextFileLines(m_form.OutFile))
        text += ToolTextToQString(line) + QLatin1String("\r\n");
    if (text.isEmpty())
        text = guard::guardText(guard::kNoDevice);
    m_form.prompts().information(text);
}

void BrowserCommands::openRecentFile(const QString& name)
{
    m_form.OpenMedium(name);
}

void BrowserCommands::showAbout()
{
    TFormAbout dialog(&m_form);
    m_form.prompts().execDialog(dialog);
}

void BrowserCommands::exitProgram()
{
    m_form.close();
}

// ---- Edit menu ----

namespace {

// Selects or toggles every row of the list, which takes the focus.
void SelectEveryRow(TFormMain& form, QItemSelectionModel::SelectionFlags how)
{
    form.ListView()->currentView()->setFocus();
    const int count = form.RowCount();
    if (count == 0)
        return;
    const FileListModel& model = form.ListModel();
    const QItemSelection all(model.index(0, 0), model.index(count - 1, FileListModel::kColumns - 1));
    form.ListView()->selectionModel()->select(all, how | QItemSelectionModel::Rows);
}

} // namespace

void BrowserCommands::selectAllFiles()
{
    SelectEveryRow(m_form, QItemSelectionModel::Select);
}

void BrowserCommands::invertSelection()
{
    SelectEveryRow(m_form, QItemSelectionModel::Toggle);
}

// ---- View menu ----

void BrowserCommands::toggleToolBar()
{
    m_form.m_toolBar->setVisible(
        m_form.m_commands->action(QStringLiteral("Toolbar1"))->isChecked());
}

void BrowserCommands::toggleStatusBar()
{
    m_form.statusBar()->setVisible(
        m_form.m_commands->action(QStringLiteral("StatusBar1"))->isChecked());
}

void BrowserCommands::toggleLockWindows()
{
    QAction* action = m_form.m_commands->action(QStringLiteral("Lockwindows1"));
    // The divider can no longer be dragged: its handle is hidden. The tree
    // keeps its width.
    QSplitter* splitter = m_form.m_splitter;
    const QList<int> sizes = splitter->sizes();
    splitter->handle(1)->setVisible(!action->isChecked());
    splitter->setSizes(sizes);
}

void BrowserCommands::setListStyle(FileListView::Style style)
{
    m_form.m_list->setStyle(style);
    // The four style entries are checked as one choice.
    const std::array<std::pair<const char*, FileListView::Style>, 4> entries{{
        {"IconView1", FileListView::Style::Icon},
        {"SmallIconView1", FileListView::Style::SmallIcon},
        {"ListView1", FileListView::Style::List},
        {"ReportView1", FileListView::Style::Report},
    }};
    for (const auto& [name, entryStyle] : entries)
        m_form.m_commands->action(QLatin1String(name))->setChecked(entryStyle == style);
}

// ---- Device menu and tree ----

void BrowserCommands::ejectDevice()
{
    // Never under a running command (a scope besides Eject's own, which the
    // registry opens): the tool may be writing to the card.
    if (ToolRunInProgress() || ToolCommandScope::OpenCaptions().size() > 1) {
        m_form.prompts().error(
            QCoreApplication::translate("BrowserCommands", "A command is running; eject the device when it has ended."));
        return;
    }
    const QString device = m_form.CurrentMedium;
    if (device.isEmpty()) {
        m_form.prompts().error(QCoreApplication::translate("BrowserCommands", "No device is open."));
        return;
    }
    QString why;
    const auto objects = udisks::Objects(&why);
    if (!objects) {
        m_form.prompts().error(QCoreApplication::translate("BrowserCommands", "Ejecting needs udisks2 on the system bus (%1).").arg(why));
        return;
    }
    const auto disk = DiskNamed(*objects, device);
    if (!disk) {
        m_form.prompts().error(QCoreApplication::translate("BrowserCommands", "%1 is not a disk that udisks2 can eject.").arg(device));
        return;
    }
    // The medium is closed first: no descriptor of it stays open.
    m_form.CloseMedium();
    const QString failure = udisks::Eject(*disk);
    if (!failure.isEmpty()) {
        m_form.prompts().error(QCoreApplication::translate("BrowserCommands", "%1 could not be ejected: %2").arg(device, failure));
        return;
    }
    m_form.prompts().information(QCoreApplication::translate("BrowserCommands", "%1 was ejected; the card can be taken out.").arg(device));
}

void BrowserCommands::showPartitionTable()
{
    if (!m_form.CheckBackend())
        return;
    if (m_form.m_tree->topLevelItemCount() == 0) {
        m_form.prompts().error(guard::guardText(guard::kNoDevice));
        return;
    }
    FileListModel& model = *m_form.m_model;
    m_form.Tool().run(ShowPTableCommand(m_form.ToolPath, m_form.Tool().medium));
    model.clear();
    if (m_form.BackendReportedErrors())
        return;

    model.setColumnCaption(FileListModel::ColName, QCoreApplication::translate("BrowserCommands", "Partition Name"));
    model.setColumnWidth(FileListModel::ColVer, 0);
    model.setColumnWidth(FileListModel::ColRealSize, 0);
    model.setColumnCaption(FileListModel::ColStart, QCoreApplication::translate("BrowserCommands", "CH Begin"));
    model.setColumnCaption(FileListModel::ColVars, QCoreApplication::translate("BrowserCommands", "CH End"));
    model.setColumnWidth(FileListModel::ColLbaBegin, 70);
    model.setColumnWidth(FileListModel::ColLbaEnd, 70);

    QFile out(m_form.OutFile);
    OpenTextFile(out, m_form.OutFile);
    RecordReader reader(out, kWideSlots);
    reader.Next();
    const GeometryLine geometry = GeometryLine::FromFields(reader.Fields());
    reader.Next();
    const CountsLine counts = CountsLine::FromFields(reader.Fields());

    m_form.SetStatusPanel(1, QString());
    m_form.SetStatusPanel(
        2, QLatin1String("Disk geometry (C/H/S): ") + geometry.GeometryText() + QLatin1String(" (") +
               FormatGrouped(static_cast<double>(geometry.DiskSizeBytes()), 5) +
               QLatin1String(" bytes) - Partitions: ") + counts.partitionsUsedText +
               QLatin1String(" used, ") + counts.partitionsFreeText + QLatin1String(" free, ") +
               QString::number(qint64(counts.partitionsUsed) + counts.partitionsFree) +
               QLatin1String(" total"));

    std::vector<FileListRow> rows;
    try {
        while (reader.Next())
            rows.push_back(PartitionRowFromRecord(PartitionRecord::FromFields(reader.Fields())));
    } catch (...) {
        model.appendRows(std::move(rows));
        throw;
    }
    model.appendRows(std::move(rows));
}

void BrowserCommands::showPartitionDetails()
{
    if (!m_form.CheckBackend())
        return;
    QTreeWidgetItem* node = RequirePartitionNode(m_form);
    if (!node)
        return;
    // Whatever node is selected, the medium's included: the tool's answer is
    // shown as it comes.
    const QString name = node->text(0);
    QString text;
    const PartitionNodeFacts facts = PartitionNodeFactsOf(node);
    if (facts.typeCode == kFreeSpaceTypeCode) {
        // Free space has no entry the tool could show: its size is all
        // there is to tell.
        text = FreeSpaceStatusText(facts.sizeBytes) + QStringLiteral("\r\n") +
               QCoreApplication::translate("BrowserCommands",
                                           "This part of the medium holds no partition.") +
               QStringLiteral("\r\n");
    } else {
        m_form.Tool().run(ShowPEntryCommand(m_form.ToolPath, m_form.Tool().medium, name));
        if (m_form.BackendReportedErrors())
            return;
        for (const QByteArray& line : ReadTextFileLines(m_form.OutFile))
            text += AnsiToQString(line) + QStringLiteral("\r\n");
        if (text.isEmpty())
            text = QCoreApplication::translate("BrowserCommands",
                                               "No information available for partition.");
    }

    // A new window each time; earlier ones stay open.
    auto* window = new TFormView(&m_form);
    window->setWindowTitle(QCoreApplication::translate("BrowserCommands", "Show Partitition Details (") + name + QLatin1Char(')'));
    window->SetText(text);
    window->ShowText();
}

void BrowserCommands::searchPartition()
{
    InputRequest request;
    request.caption = QStringLiteral("Search");
    request.prompt = QCoreApplication::translate("BrowserCommands", "Type a partition name to search");
    request.maxLength = 255;
    const std::optional<QString> text = m_form.prompts().inputText(request);
    if (!text)
        return;
    QTreeWidgetItem* node = FindTreeNodeByText(m_form.m_tree, nullptr, *text);
    if (!node) {
        m_form.prompts().error(guard::guardText(guard::kNoPartitionSelected));
        return;
    }
    m_form.m_tree->setFocus();
    m_form.SelectNode(node);
}

void BrowserCommands::sortPartitionTree()
{
    QTreeWidget* tree = m_form.m_tree;
    QTreeWidgetItem* selected = m_form.SelectedNode();
    // Taking the nodes out and back in selects others on the way; that is no
    // change of partition.
    const QScopedValueRollback<bool> rebuilding(m_form.m_rebuildingTree, true);
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
    while (tree->topLevelItemCount() > 0)
        roots << tree->takeTopLevelItem(0);
    std::stable_sort(roots.begin(), roots.end(), byText);
    tree->addTopLevelItems(roots);
    for (QTreeWidgetItem* root : std::as_const(roots))
        sortChildren(root);
    tree->expandAll();
    if (selected)
        m_form.SelectNode(selected);
}

// ---- List pop-up ----

void BrowserCommands::showProperties()
{
    QTreeWidgetItem* node = RequirePartitionNode(m_form);
    if (!node || !RequireRows(m_form) || !RequireSelection(m_form))
        return;
    if (m_form.SelectedCount() > 1) {
        m_form.prompts().error(guard::guardText(guard::kInvalidOperation));
        return;
    }

    const FileListRow row = m_form.ListModel().row(m_form.SelectedRows().first());
    PropertiesTexts texts;
    if (m_form.ListShowsPartitions()) {
        // Runs the tool twice; an error there ends the command before the
        // dialog shows.
        const auto [used, free] =
            m_form.PartitionUsage(m_form.Tool().medium, row.cells[FileListModel::ColName]);
        texts = PartitionPropertiesTexts(row, used, free);
    } else {
        texts = FilePropertiesTexts(row, node->text(0));
    }
    TFormProperties dialog(&m_form);
    dialog.Fill(texts);
    m_form.prompts().execDialog(dialog);
}

// ---- Tools menu ----

void BrowserCommands::showPreferences()
{
    TFormPref dialog(m_form.prompts(), m_form.ToolPath, m_form.UseSpectrumFont,
                     m_form.CheckUpdatesAtStartup, &m_form);
    dialog.ShowDropChoices(m_form.Drops());
    if (m_form.prompts().execDialog(dialog) != QDialog::Accepted)
        return;
    dialog.ApplyDropChoices(m_form.Drops());
    // The output and error files stay where start-up put them.
    m_form.ToolPath = dialog.ToolPathResult();
    m_form.UseSpectrumFont = dialog.UseSpectrumFontResult();
    m_form.CheckUpdatesAtStartup = dialog.CheckUpdatesResult();
}

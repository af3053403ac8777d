// The rows of the partition table report, and a partition's usage.
#include "formmain.h"

#include "command_builders.h"
#include "file_list_model.h"
#include "list_rows.h"
#include "number_conversion.h"
#include "records.h"
#include "text_reader.h"
#include "text_utils.h"

#include <QFile>

#include <array>

int PartitionIcon(const QString& typeName)
{
    static const std::array<std::pair<const char*, int>, 13> kIcons{{
        {"UZI(X)", 0},
        {"+3DOS", 1},
        {"Boot", 2},
        {"CP/M", 3},
        {"MB-02", 5},
        {"MS-DOS", 6},
        {"SAMDOS", 7},
        {"Swap", 8},
        {"System", 9},
        {"TR-DOS", 10},
        {"Unused", 11},
        {"Free", 11},
        {"Bad", 22},
    }};
    for (const auto& [name, icon] : kIcons) {
        if (typeName == QLatin1String(name))
            return icon;
    }
    return 21; // "Unknown"
}

FileListRow PartitionRowFromRecord(const PartitionRecord& record)
{
    FileListRow row;
    const QString type = record.TypeName();
    row.cells[FileListModel::ColName] = record.name;
    row.icon = PartitionIcon(type);
    row.cells[FileListModel::ColSize] = FormatGroupedField(record.sizeBytes, 5);
    row.cells[FileListModel::ColAttr] = record.attr;
    row.cells[FileListModel::ColHdSize] =
        QString::number(record.SizeBytesValue() / 1048576) + QLatin1String(" MB");
    row.cells[FileListModel::ColType] = type;
    row.cells[FileListModel::ColStart] = record.beginCylinder + QLatin1Char('/') + record.beginHead;
    row.cells[FileListModel::ColVars] = record.endCylinder + QLatin1Char('/') + record.endHead;
    row.cells[FileListModel::ColLbaBegin] = record.lbaBegin;
    row.cells[FileListModel::ColLbaEnd] = record.lbaEnd;
    return row;
}

std::pair<double, double> TFormMain::PartitionUsage(const QString& medium,
                                                    const QString& partitionName)
{
    double used = 0;
    double size = 0;

    Tool().run(ShowPTableCommand(ToolPath, medium));
    {
        QFile out(OutFile);
        OpenTextFile(out, OutFile);
        RecordReader reader(out, kWideSlots);
        reader.Next();
        reader.Next();
        while (reader.Next()) {
            const PartitionRecord record = PartitionRecord::FromFields(reader.Fields());
            if (record.name == partitionName) {
                size = static_cast<double>(record.SizeBytesValue());
                break;
            }
        }
    }

    Tool().run(DirCommand(ToolPath, medium, partitionName));
    {
        QFile out(OutFile);
        OpenTextFile(out, OutFile);
        RecordReader reader(out, kWideSlots);
        reader.Next();
        while (reader.Next())
            used += static_cast<double>(FieldToInt64(reader.Field(FileEntry::HdSize)));
    }
    return {used, size - used};
}

#pragma once

#include "file_list_model.h"

#include <QString>

// What the properties dialog shows for the one selected row of the file
// list: every value comes from the row's cells, but for a partition's used
// and free bytes, which the caller works out (PartitionUsage).
struct PropertiesTexts
{
    int icon = -1;  // the row's picture in the image list
    QString name;   // TxtName: the row's caption
    // Values, by the label that shows them.
    QString type;       // LblType
    QString attr;       // LblAttr
    QString version;    // LblVersion
    QString partition;  // LblPartition
    QString diskSize;   // LblDiskSize
    QString hdSize;     // LblHDSize
    QString realSize;   // LblRSize
    QString basic;      // LblBasic
    QString vars;       // LblVars
    // Captions of the labels that change with the row.
    QString label11 = QStringLiteral("Partition:");
    QString label3 = QStringLiteral("Size:");
    QString label1 = QStringLiteral("HD Size:");
    QString label5 = QStringLiteral("Real Size:");
    QString label7 = QStringLiteral("Start:");
    bool label7Visible = true;
    bool label9Visible = true;  // "Variable Offset:"
    // A partition's size, used and free values stand right-aligned in a
    // narrower field, as numbers in a column.
    bool sizesRightAligned = false;
};

// A file row of the selected partition `partition` (the file layout). The
// Type cell decides: "Bytes" (a screen picture of 6912 bytes at 16384 is
// marked " (SCREEN$)"), "Program" (autostart "None" from 32768), the arrays
// (element count from Real Size, the name from the high byte of Start),
// "Headerless" (no start), any other type (start and no variables offset).
PropertiesTexts FilePropertiesTexts(const FileListRow& row, const QString& partition);

// A partition row (the partition layout) with its used and free bytes.
PropertiesTexts PartitionPropertiesTexts(const FileListRow& row, double used, double free);

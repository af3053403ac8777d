#include "properties_texts.h"

#include "ansi_text.h"
#include "text_utils.h"

#include <QCoreApplication>

namespace {

using Col = FileListModel::Column;

QString Cell(const FileListRow& row, int column)
{
    return row.cells[static_cast<size_t>(column)];
}

QString Trimmed(const FileListRow& row, int column)
{
    return Cell(row, column).trimmed();
}

// The character of an 8-bit code, as the code page shows it.
QString CharOf(qint64 code)
{
    const char byte = static_cast<char>(code & 0xFF);
    return AnsiToQString(QByteArrayView(&byte, 1));
}

PropertiesTexts Common(const FileListRow& row)
{
    PropertiesTexts t;
    t.icon = row.icon;
    t.name = Cell(row, Col::ColName);
    t.attr = Cell(row, Col::ColAttr);
    return t;
}

}  // namespace

PropertiesTexts FilePropertiesTexts(const FileListRow& row, const QString& partition)
{
    PropertiesTexts t = Common(row);
    t.version = Cell(row, Col::ColVer);
    t.type = Cell(row, Col::ColType);
    t.partition = partition;
    t.diskSize = Trimmed(row, Col::ColSize) + QStringLiteral(" bytes");
    t.hdSize = Trimmed(row, Col::ColHdSize) + QStringLiteral(" bytes");
    t.realSize = Trimmed(row, Col::ColRealSize) + QStringLiteral(" bytes");
    t.basic = Trimmed(row, Col::ColStart);

    const qint64 real = GroupedToInt(Cell(row, Col::ColRealSize));
    const qint64 start = GroupedToInt(Cell(row, Col::ColStart));
    const QString type = t.type;
    if (type == QLatin1String("Bytes")) {
        t.label7 = QCoreApplication::translate("TFormProperties", "Start Address:");
        if (start == 16384 && real == 6912)
            t.type += QStringLiteral(" (SCREEN$)");
        t.label9Visible = false;
    } else if (type == QLatin1String("Program")) {
        t.label7 = QCoreApplication::translate("TFormProperties", "Basic Autostart:");
        if (start >= 32768)
            t.basic = QStringLiteral("None");
        t.vars = Trimmed(row, Col::ColVars);
    } else if (type == QLatin1String("Number Array")) {
        // The high byte of Start holds the array's name: 129 is A.
        t.label7 = QCoreApplication::translate("TFormProperties", "Variable:");
        t.basic = CharOf(start / 256 - 64);
        t.realSize = QString::number((real - 3) / 5) + QStringLiteral(" elements, ") + Trimmed(row, Col::ColRealSize) +
                     QStringLiteral(" bytes");
        t.label9Visible = false;
    } else if (type == QLatin1String("Character Array")) {
        // 193 is A$.
        t.label7 = QCoreApplication::translate("TFormProperties", "Variable:");
        t.basic = CharOf(start / 256 - 128) + QLatin1Char('$');
        t.realSize = QString::number(real - 3) + QStringLiteral(" elements (") + Trimmed(row, Col::ColRealSize) +
                     QStringLiteral(" bytes)");
        t.label9Visible = false;
    } else if (type == QLatin1String("Headerless")) {
        t.label7Visible = false;
        t.basic.clear();
        t.label9Visible = false;
    }
    return t;
}

PropertiesTexts PartitionPropertiesTexts(const FileListRow& row, double used, double free)
{
    PropertiesTexts t = Common(row);
    t.version = QStringLiteral("None");
    t.type = Cell(row, Col::ColType) + QStringLiteral(" partition");
    t.label11 = QCoreApplication::translate("TFormProperties", "Size:");
    t.label3 = QCoreApplication::translate("TFormProperties", "Used Space:");
    t.label1 = QCoreApplication::translate("TFormProperties", "Free Space:");
    t.partition = Trimmed(row, Col::ColSize) + QStringLiteral(" bytes");
    t.diskSize = FormatGrouped(used, 1) + QStringLiteral(" bytes");
    t.hdSize = FormatGrouped(free, 1) + QStringLiteral(" bytes");
    t.sizesRightAligned = true;
    // Columns 7 and 8 hold the cylinder/head of the begin and the end.
    t.label5 = QCoreApplication::translate("TFormProperties", "CH Begin:");
    t.label7 = QCoreApplication::translate("TFormProperties", "CH End:");
    t.realSize = Trimmed(row, Col::ColStart);
    t.basic = Trimmed(row, Col::ColVars);
    t.label9Visible = false;
    return t;
}

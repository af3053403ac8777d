#include "records.h"

#include "ansi_text.h"
#include "number_conversion.h"
#include "text_utils.h"

namespace {

QString FieldText(std::span<const QByteArray> fields, int index)
{
    return index < static_cast<int>(fields.size()) ? AnsiToQString(fields[index]) : QString();
}

} // namespace

int SplitFields(std::span<QByteArray> fieldSlots, QByteArrayView line, char delimiter)
{
    const int slotCount = static_cast<int>(fieldSlots.size());
    if (slotCount == 0)
        return -1;
    int slot = 0;
    QByteArrayView rest = line;
    for (;;) {
        const qsizetype at = rest.indexOf(delimiter);
        if (at < 0) {
            fieldSlots[slot] = rest.toByteArray();
            return slot;
        }
        fieldSlots[slot] = rest.first(at).toByteArray();
        if (slot == slotCount - 1)
            return slot; // further fields have no slot: dropped
        rest = rest.sliced(at + 1);
        ++slot;
    }
}

RecordReader::RecordReader(QIODevice& device, int slotCount)
    : lines_(device), slots_(static_cast<size_t>(std::max(slotCount, 0)))
{
}

bool RecordReader::Next()
{
    if (!lines_.ReadLine(line_))
        return false;
    SplitFields(slots_, line_, ',');
    return true;
}

QString RecordReader::Field(int index) const
{
    return FieldText(slots_, index);
}

GeometryLine GeometryLine::FromFields(std::span<const QByteArray> fields)
{
    GeometryLine g;
    g.cylinders = FieldToInt64(FieldText(fields, Cylinders));
    g.heads = FieldToInt64(FieldText(fields, Heads));
    g.sectorsPerTrack = FieldToInt64(FieldText(fields, SectorsPerTrack));
    return g;
}

QString GeometryLine::GeometryText() const
{
    return QStringLiteral("%1/%2/%3").arg(cylinders).arg(heads).arg(sectorsPerTrack);
}

qint64 GeometryLine::DiskSizeBytes() const
{
    // Wraps like the 64-bit product it is; real geometries are far below that.
    return static_cast<qint64>(static_cast<quint64>(cylinders) * static_cast<quint64>(heads) *
                               static_cast<quint64>(sectorsPerTrack) * 512u);
}

CountsLine CountsLine::FromFields(std::span<const QByteArray> fields)
{
    CountsLine c;
    c.partitionsUsedText = FieldText(fields, PartitionsUsed);
    c.partitionsFreeText = FieldText(fields, PartitionsFree);
    c.partitionsUsed = FieldToInt32(c.partitionsUsedText);
    c.partitionsFree = FieldToInt32(c.partitionsFreeText);
    return c;
}

PartitionRecord PartitionRecord::FromFields(std::span<const QByteArray> fields)
{
    PartitionRecord r;
    r.name = FieldText(fields, Name);
    r.typeCode = FieldText(fields, TypeCode);
    r.attr = FieldText(fields, Attr);
    r.beginCylinder = FieldText(fields, BeginCylinder);
    r.beginHead = FieldText(fields, BeginHead);
    r.endCylinder = FieldText(fields, EndCylinder);
    r.endHead = FieldText(fields, EndHead);
    r.lbaBegin = FieldText(fields, LbaBegin);
    r.lbaEnd = FieldText(fields, LbaEnd);
    r.sizeBytes = FieldText(fields, SizeBytes);
    return r;
}

QString PartitionRecord::TypeName() const
{
    return PartitionTypeName(typeCode);
}

qint64 PartitionRecord::SizeBytesValue() const
{
    return FieldToInt64(sizeBytes);
}

FileEntry FileEntry::FromFields(std::span<const QByteArray> fields)
{
    FileEntry e;
    e.name = FieldText(fields, Name);
    e.size = FieldText(fields, Size);
    e.attr = FieldText(fields, Attr);
    e.verMajor = FieldText(fields, VerMajor);
    e.verMinor = FieldText(fields, VerMinor);
    e.hdSize = FieldText(fields, HdSize);
    e.typeCode = FieldText(fields, TypeCode);
    e.realSize = FieldText(fields, RealSize);
    e.start = FieldText(fields, Start);
    e.vars = FieldText(fields, Vars);
    return e;
}

QString FileEntry::TrimmedName() const
{
    return TrimBlanksAndControls(name);
}

QString FileEntry::TypeName() const
{
    return FileTypeName(typeCode);
}

DeviceRecord DeviceRecord::FromFields(std::span<const QByteArray> fields)
{
    return DeviceRecord{FieldText(fields, DeviceName)};
}

bool DeviceCountIsZero(QByteArrayView line)
{
    return line == QByteArrayView("0");
}

QString FileTypeName(const QString& typeCodeField)
{
    switch (FieldToIntOrZero(typeCodeField)) {
    case 0:
        return QString::fromLatin1(kTypeProgram);
    case 1:
        return QString::fromLatin1(kTypeNumberArray);
    case 2:
        return QString::fromLatin1(kTypeCharacterArray);
    case 3:
        return QString::fromLatin1(kTypeBytes);
    case 255:
        return QString::fromLatin1(kTypeHeaderless);
    default:
        return QStringLiteral("Unknown (") + typeCodeField + QLatin1Char(')');
    }
}

QString PartitionTypeName(qint64 code)
{
    switch (code) {
    case 0:
        return QStringLiteral("Unused");
    case 1:
        return QStringLiteral("System");
    case 2:
        return QStringLiteral("Swap");
    case 3:
        return QStringLiteral("+3DOS");
    case 4:
        return QStringLiteral("CP/M");
    case 5:
        return QStringLiteral("Boot");
    case 16:
        return QStringLiteral("MS-DOS");
    case 32:
        return QStringLiteral("UZI(X)");
    case 48:
        return QStringLiteral("TR-DOS");
    case 49:
        return QStringLiteral("SAMDOS");
    case 50:
        return QStringLiteral("MB-02");
    case 254:
        return QStringLiteral("Bad");
    case 255:
        return QStringLiteral("Free");
    default:
        return QStringLiteral("Unknown");
    }
}

QString PartitionTypeName(const QString& typeCodeField)
{
    return PartitionTypeName(FieldToIntOrZero(typeCodeField));
}

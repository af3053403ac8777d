#include "partition_texts.h"

#include "number_conversion.h"
#include "text_utils.h"

bool IsFreeSpace(const PartitionRecord& record)
{
    return FieldToIntOrZero(record.typeCode) == kFreeSpaceTypeCode;
}

QString PartitionTreeCaption(const PartitionRecord& record)
{
    return IsFreeSpace(record) ? QString::fromLatin1(kFreeSpaceCaption) : record.name;
}

QString FreeSpaceStatusText(qint64 sizeBytes)
{
    return QStringLiteral("Free space: ") + FormatGrouped(static_cast<double>(sizeBytes), 1) +
           QStringLiteral(" bytes");
}

QString NonPlus3PartitionText(const QString& name, qint64 typeCode)
{
    const QString typeName = PartitionTypeName(typeCode);
    switch (typeCode) {
    case kPlus3DosTypeCode:
        return {};
    case kFreeSpaceTypeCode:
        return name + QStringLiteral(" is free space; it holds no files.");
    case 0:   // Unused
    case 1:   // System
    case 2:   // Swap
    case 5:   // Boot
    case 254: // Bad
    {
        const QString kind = typeName.toLower();
        const QString article =
            kind.startsWith(u'u') ? QStringLiteral("an ") : QStringLiteral("a ");
        return name + QStringLiteral(" is ") + article + kind +
               QStringLiteral(" partition; it holds no files.");
    }
    case 4:  // CP/M
    case 16: // MS-DOS
    case 32: // UZI(X)
    case 48: // TR-DOS
    case 49: // SAMDOS
    case 50: // MB-02
    {
        // Said letter by letter, MS-DOS and MB-02 begin with a vowel sound.
        const QString article =
            typeName.startsWith(u'M') ? QStringLiteral("an ") : QStringLiteral("a ");
        return name + QStringLiteral(" is ") + article + typeName +
               QStringLiteral(" partition; only +3DOS files are listed.");
    }
    default:
        return name + QStringLiteral(" is a partition of unknown type ") +
               QString::number(typeCode) + QStringLiteral("; it holds no +3DOS files.");
    }
}

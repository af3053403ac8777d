#include "partition_texts.h"

#include "number_conversion.h"
#include "text_utils.h"

#include <QCoreApplication>

namespace {

// The sentences are whole patterns, so a translation can order them freely.
QString Tr(const char* text)
{
    return QCoreApplication::translate("PartitionTexts", text);
}

} // namespace

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
    return Tr("Free space: %1 bytes").arg(FormatGrouped(static_cast<double>(sizeBytes), 1));
}

QString NonPlus3PartitionText(const QString& name, qint64 typeCode)
{
    const QString typeName = PartitionTypeName(typeCode);
    switch (typeCode) {
    case kPlus3DosTypeCode:
        return {};
    case kFreeSpaceTypeCode:
        return Tr("%1 is free space; it holds no files.").arg(name);
    case 0:   // Unused
    case 1:   // System
    case 2:   // Swap
    case 5:   // Boot
    case 254: // Bad
    {
        const QString kind = typeName.toLower();
        return (kind.startsWith(u'u') ? Tr("%1 is an %2 partition; it holds no files.")
                                      : Tr("%1 is a %2 partition; it holds no files."))
            .arg(name, kind);
    }
    case 4:  // CP/M
    case 16: // MS-DOS
    case 32: // UZI(X)
    case 48: // TR-DOS
    case 49: // SAMDOS
    case 50: // MB-02
    {
        // Said letter by letter, MS-DOS and MB-02 begin with a vowel sound.
        return (typeName.startsWith(u'M')
                    ? Tr("%1 is an %2 partition; only +3DOS files are listed.")
                    : Tr("%1 is a %2 partition; only +3DOS files are listed."))
            .arg(name, typeName);
    }
    default:
        return Tr("%1 is a partition of unknown type %2; it holds no +3DOS files.")
            .arg(name, QString::number(typeCode));
    }
}

#pragma once

#include <QChar>
#include <QString>

// The command lines that make and change media: new images, partitions,
// drive letters, emptying and checking. Same conventions as
// backend/command_builders.h: the tool's path unquoted at the head, the
// medium and every name quoted (QuoteArgument), so that RunRedirected gets
// them back unchanged.

enum class ImageFormat { Hdf11, Hdf10, Raw };
enum class PartitionKind { Plus3Dos, Swap };

struct DiskGeometry
{
    int cylinders = 0;
    int heads = 0;
    int sectors = 0; // per track
    bool operator==(const DiskGeometry&) const = default;
};

// What create is told. sizeBytes > 0 gives --size (the tool picks the
// geometry, see GeometryForSize); otherwise the geometry is given as it is.
struct NewImageLayout
{
    ImageFormat format = ImageFormat::Hdf11;
    bool halved = false; // 8-bit interface, halved sectors
    qint64 sizeBytes = 0;
    DiskGeometry geometry;
};

// create: tool "image" create --size 64M | --cyl C --heads H --spt S
//         [--halved] [--raw | --hdf10]. A size is written in G or M where it
// is a whole number of them, else in K or bytes.
QString CreateImageCommand(const QString& tool, const QString& image, const NewImageLayout& layout);
// newpart: tool "medium" newpart "name" 4M --type plus3dos|swap [--drive C].
// A null driveLetter maps no drive.
QString NewPartCommand(const QString& tool, const QString& medium, const QString& name, int megabytes,
                       PartitionKind kind, QChar driveLetter = QChar());
// delpart: tool "medium" delpart "partition".
QString DelPartCommand(const QString& tool, const QString& medium, const QString& partition);
// renpart: tool "medium" renpart "partition" "new name".
QString RenPartCommand(const QString& tool, const QString& medium, const QString& partition,
                       const QString& newName);
// drive: tool "medium" drive "partition" C, or - for a null letter (no drive).
QString DriveCommand(const QString& tool, const QString& medium, const QString& partition,
                     QChar driveLetter);
// empty: tool "medium" empty "partition".
QString EmptyCommand(const QString& tool, const QString& medium, const QString& partition);
// check: tool "medium" check (the table and every +3DOS partition).
QString CheckCommand(const QString& tool, const QString& medium);

#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>
#include <vector>

// The whole disks of the device service's object tree, and what the browser
// says about each. Pure logic: the D-Bus client (udisks_client.h) fills
// ServiceObjects, everything here works on plain values.

// Object path -> interface name -> property name -> value, as the service's
// ObjectManager hands them out.
using ServiceObjects = QMap<QString, QMap<QString, QVariantMap>>;

inline constexpr const char* kBlockInterface = "org.freedesktop.UDisks2.Block";
inline constexpr const char* kDriveInterface = "org.freedesktop.UDisks2.Drive";
inline constexpr const char* kPartitionInterface = "org.freedesktop.UDisks2.Partition";

// One whole disk (a block device of a drive, not a partition of it).
struct DiskDevice
{
    QString blockPath;  // the service's object of the block device
    QString drivePath;  // the service's object of its drive
    QString device;     // "/dev/sdb"
    quint64 sizeBytes = 0;
    QString model;
    QString vendor;
    QString bus;        // "usb", "sdio", "ata", ... (empty when unknown)
    bool removable = false;  // the medium or the drive can be taken out
    bool system = false;     // the service counts it as part of the system
    bool ejectable = false;
    bool canPowerOff = false;
};

// The whole disks with a medium in (size above 0), by device name;
// removable ones only unless `fixedToo`.
std::vector<DiskDevice> WholeDisks(const ServiceObjects& objects, bool fixedToo);

// The disk of that device path, removable or not.
std::optional<DiskDevice> DiskNamed(const ServiceObjects& objects, const QString& device);

// What a direct open of a device for reading shows.
enum class Readability {
    Readable,
    NeedsAuthorization, // the user may not open it (EACCES, EPERM)
    InUse,              // the system holds it (EBUSY), or it is a system disk
                        // the user may not open
    Unreadable,         // any other failure
};

// Tries to open `device` for reading (and closes it again); errno of the
// failure in *error when given.
Readability ProbeReadability(const QString& device, bool systemDisk, int* error = nullptr);

// "needs authorization", "in use by the system", or the system's reason.
QString ReadabilityText(Readability readability, int error);

// What the tool found on a readable disk.
struct IdedosFacts
{
    bool holdsTable = false;
    QStringList partitions; // the +3DOS and other partitions, system and free space left out
};

// "7.9 GB" (powers of 1000, as card makers count), "512 MB", "0 bytes".
QString DiskSizeText(quint64 bytes);

// The picker's line for a disk: "/dev/sdb  7.9 GB  Vendor Model (usb)"
// followed by " - +3e disk, 3 partitions", " - no +3e disk" or
// " - needs authorization" (the reason it cannot be read).
QString DiskCaption(const DiskDevice& disk, const std::optional<IdedosFacts>& facts,
                    const QString& unreadableReason);

// The scan report's lines for a disk: the caption's facts in full, the
// partition names on a second line.
QStringList DiskReportLines(const DiskDevice& disk, const std::optional<IdedosFacts>& facts,
                            const QString& unreadableReason);

#include "device_list.h"

#include <QDBusObjectPath>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The service hands out device names as NUL-terminated byte strings.
QString DeviceName(const QVariant& value)
{
    QByteArray bytes = value.toByteArray();
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    return QFile::decodeName(bytes);
}

QString ObjectPath(const QVariant& value)
{
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

std::optional<DiskDevice> DiskOf(const QString& path, const QMap<QString, QVariantMap>& interfaces,
                                 const ServiceObjects& objects)
{
    const auto block = interfaces.constFind(QLatin1String(kBlockInterface));
    if (block == interfaces.cend() || interfaces.contains(QLatin1String(kPartitionInterface)))
        return std::nullopt;
    const QString drivePath = ObjectPath(block->value(QStringLiteral("Drive")));
    const auto driveObject = objects.constFind(drivePath);
    if (drivePath.isEmpty() || drivePath == QLatin1String("/") || driveObject == objects.cend())
        return std::nullopt;
    const QVariantMap drive = driveObject->value(QLatin1String(kDriveInterface));

    DiskDevice disk;
    disk.blockPath = path;
    disk.drivePath = drivePath;
    disk.device = DeviceName(block->value(QStringLiteral("Device")));
    disk.sizeBytes = block->value(QStringLiteral("Size")).toULongLong();
    disk.system = block->value(QStringLiteral("HintSystem")).toBool();
    disk.model = drive.value(QStringLiteral("Model")).toString().trimmed();
    disk.vendor = drive.value(QStringLiteral("Vendor")).toString().trimmed();
    disk.bus = drive.value(QStringLiteral("ConnectionBus")).toString().trimmed();
    disk.removable = drive.value(QStringLiteral("Removable")).toBool() ||
                     drive.value(QStringLiteral("MediaRemovable")).toBool();
    disk.ejectable = drive.value(QStringLiteral("Ejectable")).toBool();
    disk.canPowerOff = drive.value(QStringLiteral("CanPowerOff")).toBool();
    if (disk.device.isEmpty())
        return std::nullopt;
    return disk;
}

} // namespace

std::vector<DiskDevice> WholeDisks(const ServiceObjects& objects, bool fixedToo)
{
    std::vector<DiskDevice> disks;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const auto disk = DiskOf(it.key(), it.value(), objects);
        // A card reader without a card has a block device of size 0.
        if (disk && disk->sizeBytes > 0 && (fixedToo || disk->removable))
            disks.push_back(*disk);
    }
    std::sort(disks.begin(), disks.end(),
              [](const DiskDevice& a, const DiskDevice& b) { return a.device < b.device; });
    return disks;
}

std::optional<DiskDevice> DiskNamed(const ServiceObjects& objects, const QString& device)
{
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const auto disk = DiskOf(it.key(), it.value(), objects);
        if (disk && disk->device == device)
            return disk;
    }
    return std::nullopt;
}

Readability ProbeReadability(const QString& device, bool systemDisk, int* error)
{
    const QByteArray name = QFile::encodeName(device);
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    const int failure = fd < 0 ? errno : 0;
    if (fd >= 0)
        ::close(fd);
    if (error)
        *error = failure;
    switch (failure) {
    case 0:
        return Readability::Readable;
    case EBUSY:
        return Readability::InUse;
    case EACCES:
    case EPERM:
        return systemDisk ? Readability::InUse : Readability::NeedsAuthorization;
    default:
        return Readability::Unreadable;
    }
}

QString ReadabilityText(Readability readability, int error)
{
    switch (readability) {
    case Readability::Readable:
        return QString();
    case Readability::NeedsAuthorization:
        return QStringLiteral("needs authorization");
    case Readability::InUse:
        return QStringLiteral("in use by the system");
    case Readability::Unreadable:
        break;
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

QString DiskSizeText(quint64 bytes)
{
    static const char* const units[] = {"bytes", "kB", "MB", "GB", "TB"};
    double value = double(bytes);
    int unit = 0;
    while (value >= 1000.0 && unit < 4) {
        value /= 1000.0;
        ++unit;
    }
    if (unit == 0)
        return QStringLiteral("%1 bytes").arg(bytes);
    // One decimal below 10 units ("7.9 GB"), none above ("64 GB").
    return QStringLiteral("%1 %2").arg(value, 0, 'f', value < 10.0 ? 1 : 0).arg(QLatin1String(units[unit]));
}

namespace {

QString MakerText(const DiskDevice& disk)
{
    QString text = (disk.vendor + QLatin1Char(' ') + disk.model).trimmed();
    if (!disk.bus.isEmpty())
        text += (text.isEmpty() ? QStringLiteral("(") : QStringLiteral(" (")) + disk.bus + QLatin1Char(')');
    return text;
}

QString FindingText(const std::optional<IdedosFacts>& facts, const QString& unreadableReason)
{
    if (!unreadableReason.isEmpty())
        return unreadableReason;
    if (!facts)
        return QString();
    if (!facts->holdsTable)
        return QStringLiteral("no +3e disk");
    return QStringLiteral("+3e disk, %1 partition(s)").arg(facts->partitions.size());
}

} // namespace

QString DiskCaption(const DiskDevice& disk, const std::optional<IdedosFacts>& facts,
                    const QString& unreadableReason)
{
    QString text = disk.device + QLatin1String("  ") + DiskSizeText(disk.sizeBytes);
    const QString maker = MakerText(disk);
    if (!maker.isEmpty())
        text += QLatin1String("  ") + maker;
    const QString finding = FindingText(facts, unreadableReason);
    if (!finding.isEmpty())
        text += QLatin1String(" - ") + finding;
    return text;
}

QStringList DiskReportLines(const DiskDevice& disk, const std::optional<IdedosFacts>& facts,
                            const QString& unreadableReason)
{
    // "/dev/sdb (Vendor Model, usb): 7,948,206,080 bytes"
    QStringList maker;
    if (const QString name = (disk.vendor + QLatin1Char(' ') + disk.model).trimmed(); !name.isEmpty())
        maker << name;
    if (!disk.bus.isEmpty())
        maker << disk.bus;
    QString head = disk.device;
    if (!maker.isEmpty())
        head += QLatin1String(" (") + maker.join(QLatin1String(", ")) + QLatin1Char(')');
    head += QLatin1String(": ") + QLocale().toString(qulonglong(disk.sizeBytes)) + QLatin1String(" bytes");
    if (!disk.removable)
        head += QLatin1String(", fixed disk");
    QStringList lines{head};
    if (!unreadableReason.isEmpty())
        lines << QStringLiteral("  Not examined: ") + unreadableReason;
    else if (facts && facts->holdsTable)
        lines << QStringLiteral("  %1 partition(s)%2")
                     .arg(facts->partitions.size())
                     .arg(facts->partitions.isEmpty() ? QString()
                                                      : QLatin1String(": ") + facts->partitions.join(QLatin1String(", ")));
    else if (facts)
        lines << QStringLiteral("  No +3e disk on it");
    return lines;
}

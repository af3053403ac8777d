#include "media_rules.h"

namespace {

constexpr int kEntryBytes = 64;
constexpr qint64 kTrackBytesPlus3 = 128 * 512; // one +3DOS track

int SectorBytes(bool halved) { return halved ? 256 : 512; }

qint64 CeilDiv(qint64 a, qint64 b) { return (a + b - 1) / b; }

QString TrimRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

} // namespace

DiskGeometry GeometryForSize(qint64 bytes)
{
    const int shapes[][2] = {{16, 32}, {16, 63}, {255, 63}};
    for (const auto& s : shapes) {
        const qint64 cylinders = bytes / (qint64(s[0]) * s[1] * 512);
        if (cylinders <= 65535)
            return cylinders < 2 ? DiskGeometry{} : DiskGeometry{int(cylinders), s[0], s[1]};
    }
    return {};
}

QString GeometryProblem(const DiskGeometry& g, bool halved)
{
    if (g.cylinders < 1 || g.cylinders > 65535)
        return QStringLiteral("Cylinders must lie between 1 and 65535.");
    if (g.heads < 1 || g.heads > 255)
        return QStringLiteral("Heads must lie between 1 and 255.");
    if (g.sectors < 1 || g.sectors > 255)
        return QStringLiteral("Sectors per track must lie between 1 and 255.");
    if (FreeTracksOfNewDisk(g, halved) < 1)
        return QStringLiteral("The disk is too small to hold a partition table and free space.");
    return {};
}

qint64 FreeTracksOfNewDisk(const DiskGeometry& g, bool halved)
{
    const qint64 trackBytes = qint64(g.sectors) * SectorBytes(halved);
    if (trackBytes <= 0)
        return 0;
    const qint64 tableTracks = CeilDiv(qint64(kPartitionEntries) * kEntryBytes, trackBytes);
    return qMax<qint64>(0, qint64(g.cylinders) * g.heads - tableTracks);
}

qint64 TracksForPartition(int megabytes, PartitionKind kind, int sectorsPerTrack, bool halved)
{
    const qint64 plus3Tracks = megabytes >= 16 ? 255 : 16 * megabytes;
    const qint64 bytes = kind == PartitionKind::Plus3Dos ? plus3Tracks * kTrackBytesPlus3
                                                         : qint64(megabytes) << 20;
    return CeilDiv(bytes / SectorBytes(halved), sectorsPerTrack);
}

int LargestPartitionMegabytes(qint64 freeTracks, int sectorsPerTrack, bool halved)
{
    if (sectorsPerTrack < 1)
        return 0;
    for (int mb = kMaxPartitionMegabytes; mb >= 1; --mb)
        if (TracksForPartition(mb, PartitionKind::Plus3Dos, sectorsPerTrack, halved) <= freeTracks)
            return mb;
    return 0;
}

std::vector<qint64> CardSizePresets()
{
    std::vector<qint64> sizes;
    for (qint64 size = qint64(32) << 20; size <= qint64(8) << 30; size *= 2)
        sizes.push_back(size);
    return sizes;
}

QString CardSizeText(qint64 bytes)
{
    if (bytes >= qint64(1) << 30 && bytes % (qint64(1) << 30) == 0)
        return QStringLiteral("%1 GB").arg(bytes >> 30);
    return QStringLiteral("%1 MB").arg(bytes >> 20);
}

QString PartitionNameProblem(const QString& typed, const QStringList& existingNames)
{
    const QString name = TrimRight(typed);
    if (name.isEmpty())
        return QStringLiteral("Type a name for the partition.");
    if (name.size() > kMaxPartitionNameLength)
        return QStringLiteral("A partition name has at most %1 characters.").arg(kMaxPartitionNameLength);
    if (name.front() == QLatin1Char(' '))
        return QStringLiteral("A partition name cannot begin with a blank.");
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return QStringLiteral("A partition name holds only printable ASCII characters.");
        if (c == QLatin1Char(',') || c == QLatin1Char(':') || c == QLatin1Char('"'))
            return QStringLiteral("A partition name cannot hold %1.").arg(c);
    }
    // The tool takes these two words as its options wherever they stand.
    if (name == QLatin1String("--type") || name == QLatin1String("--drive"))
        return QStringLiteral("A partition cannot be called %1.").arg(name);
    for (const QString& existing : existingNames)
        if (TrimRight(existing).compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("There is already a partition called %1.").arg(TrimRight(existing));
    return {};
}

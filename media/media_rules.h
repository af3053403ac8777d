#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "media_command_lines.h"

// The rules the disk tool applies when it makes media, repeated here so that
// the dialogs refuse what the tool would refuse before anything runs.
//
// create: the table sits on the first track(s) and holds 64 entries of 64
// bytes; the rest of the disk is one free-space entry. A size is turned into
// a geometry of 16 heads x 32 sectors, else 16 x 63, else 255 x 63: the first
// shape whose cylinder count stays at most 65535.
// newpart: n MB of +3DOS is 16 x n tracks of 128 x 512 bytes (255 tracks for
// 16 MB), a swap partition n MB; either rounded up to whole disk tracks. On
// an 8-bit (halved) disk a physical sector holds 256 bytes.

inline constexpr int kPartitionEntries = 64; // what create writes by default
inline constexpr int kMaxPartitionMegabytes = 16;
inline constexpr int kMaxPartitionNameLength = 16;

// The geometry create gives a disk of this many bytes; all zero when the
// size is out of its range (under 2 cylinders, or over 65535 of 255 x 63).
DiskGeometry GeometryForSize(qint64 bytes);

// Why create would refuse this geometry; empty when it is fine.
QString GeometryProblem(const DiskGeometry& geometry, bool halved);

// Tracks left for partitions on a new disk of this geometry.
qint64 FreeTracksOfNewDisk(const DiskGeometry& geometry, bool halved);

// Tracks a new partition of this size takes on a disk with this many
// sectors per track.
qint64 TracksForPartition(int megabytes, PartitionKind kind, int sectorsPerTrack, bool halved);

// The largest +3DOS partition (1 to 16 MB) that fits into freeTracks; 0 when
// not even 1 MB fits.
int LargestPartitionMegabytes(qint64 freeTracks, int sectorsPerTrack, bool halved);

// The usual card sizes offered as presets, 32 MB to 8 GB, in bytes.
std::vector<qint64> CardSizePresets();
// "32 MB", "1 GB".
QString CardSizeText(qint64 bytes);

// Why a new partition name would be refused; empty when it is fine. The name
// is taken with trailing blanks removed (the tool stores it so); existing
// names are compared the same way and without regard to case.
QString PartitionNameProblem(const QString& name, const QStringList& existingNames);

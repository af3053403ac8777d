#pragma once

#include <QString>

// Size of the +3DOS header in front of a file got from a partition.
inline constexpr qint64 kPlus3DosHeaderSize = 128;

// Cuts the 128-byte +3DOS header off the front of the host file at path,
// keeping every byte after it. The cut copy is written under a fresh
// temporary name in the same folder, which cannot collide with any file there,
// and then replaces the file in one rename; no other file in the folder is
// touched. Data passes through one 16000-byte buffer.
//
// Throws TransferError, leaving the file as it was, when it cannot be read,
// is shorter than 128 bytes (it cannot hold a header), or cannot be replaced.
// A file of exactly 128 bytes ends up empty.
void CutPlus3DosHeader(const QString& path);

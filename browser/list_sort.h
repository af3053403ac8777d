#pragma once

#include <QByteArray>

struct FileListRow;

// The key by which a row sorts when the list is sorted by sub-item
// `sortSubItem` (the column's index less one; -1 is the caption column).
// Columns Size, HD Size, Real Size, Start / CH Begin, Vars / CH End,
// LBA Begin and LBA End sort by number: the cell read back as a number
// (" MB" removed from HD Size, only the cylinder before "/" of CH Begin and
// CH End), written right-aligned in 15 characters. The other columns sort by
// their text. Keys compare byte by byte (CompareKeyBytes).
QByteArray ListSortKey(const FileListRow& row, int sortSubItem);

#pragma once

#include <QStringList>

class QMimeData;

// File lists on the desktop's clipboard (and in drops): local files as
// "text/uri-list", with "x-special/gnome-copied-files" beside it, which the
// GNOME file managers read to paste copied files.

// New clipboard data listing `paths` (absolute local paths), in order, as
// copied files. The caller owns it (QClipboard::setMimeData takes it over).
QMimeData* MakeFileListMimeData(const QStringList& paths);

// The local files `data` lists, in order; folders, missing files and URLs
// that are not local files are left out. Empty for null data.
QStringList LocalFilesIn(const QMimeData* data);

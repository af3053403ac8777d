#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// The folders that hold the local copies of files copied to the desktop
// clipboard. They lie in the user's cache folder, not in the program's
// private temporary folder, so that a paste in another program still finds
// the files after this program has ended. Each start removes the folders
// that no clipboard names any more.

// "clipboard" inside the user's cache folder for the program.
QString ClipboardCacheRoot();

// Makes a new folder with a unique name inside `root` (made first when
// missing, readable by the user alone). Raises AppError when it cannot.
QString NewClipboardCacheFolder(const QString& root);

// The local paths `data` names as copied files: its URLs and the entries of
// "x-special/gnome-copied-files". The files need not exist. Empty for null.
QStringList PathsOnClipboard(const QMimeData* data);

// Removes every folder inside `root` that neither is nor holds one of
// `referenced` (absolute paths), with its contents; what is no folder is left
// alone, and a link is removed, never followed. Returns the removed folders'
// paths, sorted.
QStringList RemoveUnreferencedClipboardFolders(const QString& root, const QStringList& referenced);

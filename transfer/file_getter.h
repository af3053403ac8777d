#pragma once

#include "tool_steps.h"

#include <QString>
#include <QTemporaryDir>

// Gets files out of a partition with the disk tool's `get`, one run per file.
//
// Every file is got into a staging folder of the getter's own, never straight
// into a folder that may hold the user's files. So a run can be judged by
// what it left there (the tool may fail without a word, and a same-named
// file in the destination would hide that), a file can be worked on (its
// header cut) before anyone sees it, and nothing in the destination changes
// until a whole file is moved in with one rename.

// The result of one get: the staged host file, or why there is none.
struct GotFile
{
    QString path;  // the file in the staging folder (set when ok)
    QString error; // one line for the user; empty when the file was got

    bool ok() const { return error.isEmpty(); }
};

class FileGetter
{
public:
    // Makes the staging folder, a hidden folder with a unique name inside
    // parentFolder (which should lie on the same file system as the files'
    // destination, so that moving a file in is one rename). Throws
    // TransferError naming parentFolder when the folder cannot be made.
    FileGetter(ToolRunner tool, const QString& parentFolder);

    FileGetter(const FileGetter&) = delete;
    FileGetter& operator=(const FileGetter&) = delete;

    // Runs `get partition:file` into the staging folder. The file counts as
    // got when the tool wrote no error text and left the host file behind;
    // otherwise the tool's error text (on one line), or the missing file, is
    // the error.
    // Raises AppError when the tool cannot be run at all.
    GotFile get(const QString& partition, const QString& file);

    QString folder() const { return staging_.path(); }

private:
    ToolRunner tool_;
    QTemporaryDir staging_;
};

// Moves the file `from` to `to` in one rename, replacing a file already at
// `to`. Returns an empty text on success, else the reason for the user.
QString MoveReplacing(const QString& from, const QString& to);

// One trailing separator removed from a folder the user gave ("/" itself
// stays "/", the whole host tree being meant).
QString WithoutTrailingSeparator(const QString& folder);

// The name of the sub-folder a partition's files are copied into: the
// partition's name, made safe as one folder name inside the destination
// ("/" becomes "_", ".." becomes "__"). The names "" (the free space has no
// name) and "." give "": the destination itself.
QString PartitionFolderName(const QString& partition);

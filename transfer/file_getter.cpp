#include "file_getter.h"

#include "command_builders.h"
#include "transfer_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

FileGetter::FileGetter(ToolRunner tool, const QString& parentFolder)
    : tool_(std::move(tool)),
      staging_(QDir(parentFolder).filePath(QStringLiteral(".3e-harnwick-XXXXXX")))
{
    if (!staging_.isValid())
        throw TransferError(
            QCoreApplication::translate("FileGetter", "Cannot write into the folder %1: %2")
                .arg(QDir::toNativeSeparators(parentFolder), staging_.errorString()));
}

GotFile FileGetter::get(const QString& partition, const QString& file)
{
    GotFile got;
    const QString staged = QDir(staging_.path()).filePath(file);
    // A file left over from an earlier get of the same name must not pass
    // for this one.
    QFile::remove(staged);
    const QString errors = tool_.runForErrors(GetFileCommand(tool_.toolPath, tool_.medium, partition, file, staging_.path()));
    // Any error text counts, even a bare line end; it is shown on one line.
    if (!errors.isEmpty())
        got.error =
            errors.simplified().isEmpty()
                ? QCoreApplication::translate("FileGetter", "the disk tool reported an error")
                : errors.simplified();
    else if (!QFileInfo(staged).isFile())
        got.error = QCoreApplication::translate("FileGetter", "the disk tool wrote no file");
    else
        got.path = staged;
    return got;
}

QString MoveReplacing(const QString& from, const QString& to)
{
    // rename() replaces a file at `to` in one step: there is no moment at
    // which neither the old nor the new file is there.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return QString();
    const int error = errno;
    return QCoreApplication::translate("FileGetter", "cannot move it to %1: %2")
        .arg(QDir::toNativeSeparators(to), QString::fromLocal8Bit(std::strerror(error)));
}

QString WithoutTrailingSeparator(const QString& folder)
{
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        return folder.chopped(1);
    return folder;
}

QString PartitionFolderName(const QString& partition)
{
    if (partition.isEmpty() || partition == QLatin1String("."))
        return QString();
    if (partition == QLatin1String(".."))
        return QStringLiteral("__");
    QString name = partition;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(u'\0'), QLatin1Char('_'));
    return name;
}

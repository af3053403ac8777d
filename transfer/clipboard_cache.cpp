#include "clipboard_cache.h"

#include "app_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

QString ClipboardCacheRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/clipboard");
}

QString NewClipboardCacheFolder(const QString& root)
{
    if (!QDir().mkpath(root))
        throw AppError(QStringLiteral("Cannot create the folder %1").arg(root));
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // mkdtemp(): a fresh name even when two copies of the program run.
    QTemporaryDir folder(root + QStringLiteral("/XXXXXX"));
    if (!folder.isValid())
        throw AppError(QStringLiteral("Cannot create a folder in %1: %2")
                           .arg(root, folder.errorString()));
    folder.setAutoRemove(false);
    return folder.path();
}

QStringList PathsOnClipboard(const QMimeData* data)
{
    QStringList paths;
    if (!data)
        return paths;
    QList<QUrl> urls = data->urls();
    // "copy" or "cut" on the first line, then one URL a line.
    const QList<QByteArray> lines =
        data->data(QStringLiteral("x-special/gnome-copied-files")).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i)
        urls << QUrl::fromEncoded(lines[i].trimmed());
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            paths << QDir::cleanPath(url.toLocalFile());
    }
    return paths;
}

QStringList RemoveUnreferencedClipboardFolders(const QString& root, const QStringList& referenced)
{
    QStringList removed;
    const QDir dir(root);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QString folder = QDir::cleanPath(entry.absoluteFilePath());
        const bool named = std::any_of(referenced.begin(), referenced.end(), [&](const QString& p) {
            const QString path = QDir::cleanPath(p);
            return path == folder || path.startsWith(folder + QLatin1Char('/'));
        });
        if (named)
            continue;
        const bool gone = entry.isSymLink() ? QFile::remove(entry.absoluteFilePath())
                                            : QDir(folder).removeRecursively();
        if (gone)
            removed << folder;
    }
    removed.sort();
    return removed;
}

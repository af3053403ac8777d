#include "temp_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

#include "app_error.h"
#include "text_utils.h"

QString TempBaseFolder()
{
    QString base = GetEnvVar(QStringLiteral("TEMP"));
    if (base.isEmpty())
        base = QDir::tempPath();
    if (base.size() > 1 && (base.endsWith(QLatin1Char('/')) || base.endsWith(QLatin1Char('\\'))))
        base.chop(1);
    return base;
}

QString PrivateTempFolder()
{
    // Made on first use and kept for the run; QTemporaryDir removes it with
    // its contents when the program ends.
    static std::unique_ptr<QTemporaryDir> folder;
    if (!folder || !folder->isValid()) {
        folder = std::make_unique<QTemporaryDir>(TempBaseFolder() +
                                                 QStringLiteral("/3eharnwick-XXXXXX"));
        if (!folder->isValid())
            throw AppError(QCoreApplication::translate("TempFolder",
                                                       "Cannot create a temporary folder in %1: %2")
                               .arg(TempBaseFolder(), folder->errorString()));
        // mkdtemp() makes it 0700 already; said again so that no umask or
        // library change can open it to other users, who could otherwise
        // plant links where the tool's output files are written.
        QFile::setPermissions(folder->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return folder->path();
}

QString ToolOutputFolder()
{
    const QString folder = PrivateTempFolder() + QStringLiteral("/tool-output");
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder))
        throw AppError(
            QCoreApplication::translate("TempFolder", "Cannot create the folder %1").arg(folder));
    return folder;
}

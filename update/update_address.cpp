#include "update_address.h"

#include <QDir>

namespace update {

QString updateDownloadUrl()
{
    const QString overridden = qEnvironmentVariable(kUpdateUrlVariable);
    return overridden.isEmpty() ? QString::fromLatin1(kDefaultUpdateUrl) : overridden;
}

QString updateDownloadFile(const QString& startFolder)
{
    return QDir(startFolder).filePath(QString::fromLatin1(kDownloadFileName));
}

} // namespace update

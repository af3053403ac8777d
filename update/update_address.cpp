#include "update_address.h"

#include <QDir>
#include <QUrl>

namespace update {

QString updateDownloadUrl()
{
    const QString overridden = qEnvironmentVariable(kUpdateUrlVariable);
    return overridden.isEmpty() ? QString::fromUtf8(kDefaultUpdateUrl) : overridden;
}

bool updateAddressConfigured()
{
    return !updateDownloadUrl().isEmpty();
}

bool isLoopbackHttpAddress(const QString& url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid() || parsed.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive))
        return false;
    const QString host = parsed.host();
    return host == QLatin1String("127.0.0.1") || host == QLatin1String("::1");
}

QString updateDownloadFile(const QString& folder)
{
    return QDir(folder).filePath(QString::fromLatin1(kDownloadFileName));
}

} // namespace update

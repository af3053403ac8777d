#include "update_check.h"

#include "http_download.h"
#include "tool_install.h"
#include "update_address.h"
#include "update_texts.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace update {

namespace {
// One check at a time in the whole program: a second one started from the
// menu while the first is downloading would fight over the same files.
bool checkRunning = false;
// A tool this user cannot replace: the file, or the folder it would be
// written into, is not writable (a tool installed by the package manager).
bool toolIsManaged(const QString& toolPath)
{
    const QFileInfo tool(toolPath);
    const QFileInfo folder(toolFolder(toolPath));
    return (tool.exists() && !tool.isWritable()) || (folder.exists() && !folder.isWritable());
}

} // namespace

UpdateCheck::UpdateCheck(const QString& downloadFolder, const QString& toolPath, QObject* parent)
    : QObject(parent), m_downloadFolder(downloadFolder), m_toolPath(toolPath)
{
}

UpdateCheck::~UpdateCheck() = default;

bool UpdateCheck::run()
{
    if (checkRunning)
        return false;
    if (toolIsManaged(m_toolPath)) {
        emit statusText(updateText(kManagedToolText));
        return true;
    }
    checkRunning = true;

    HttpDownload download;
    m_download = &download;
    const auto say = [this](const char* text) {
        return [this, text] { emit statusText(updateText(text)); };
    };
    connect(&download, &HttpDownload::hostResolved, this, say(kHostResolvedText));
    connect(&download, &HttpDownload::connected, this, say(kConnectedText));
    connect(&download, &HttpDownload::invalidHost, this, say(kInvalidHostText));
    connect(&download, &HttpDownload::connectionFailed, this, say(kConnectionFailedText));
    connect(&download, &HttpDownload::failure, this, say(kConnectionFailedText));
    connect(&download, &HttpDownload::packetReceived, this, [this](qint64 received, qint64 total) {
        const UpdateProgress now = updateProgress(received, total);
        emit progress(now);
        emit statusText(now.statusText());
    });
    connect(&download, &HttpDownload::fileError, this, &UpdateCheck::errorMessage);
    connect(&download, &HttpDownload::success, this, &UpdateCheck::install);

    download.get(updateDownloadUrl(), updateDownloadFile(m_downloadFolder));

    m_download = nullptr;
    checkRunning = false;
    return true;
}

void UpdateCheck::abort()
{
    if (m_download)
        m_download->abort();
}

void UpdateCheck::install()
{
    emit statusText(QString());
    QCoreApplication::processEvents();
    const InstallResult result = installToolUpdate(updateDownloadFile(m_downloadFolder), m_toolPath);
    if (result.ok)
        emit statusText(result.statusText);
    else
        emit errorMessage(result.errorText);
}

} // namespace update

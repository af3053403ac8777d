#include "http_download.h"

#include "update_address.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>

#include <curl/curl.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <utility>

namespace update {

namespace {

constexpr long kMaxRedirections = 10;
constexpr long kConnectTimeoutSeconds = 30;
constexpr long kStallSeconds = 60;

// What the worker thread's callbacks share with get(). Only the worker
// touches it while curl_easy_perform runs; get() reads it after the join.
struct Transfer
{
    HttpDownload* owner = nullptr;
    CURL* easy = nullptr;
    QFile* body = nullptr;
    const std::atomic<bool>* abort = nullptr;
    qint64 received = 0;
    bool resolvedReported = false;
    // A plain http address of this machine: every connection of the
    // transfer, redirections included, must then stay on the loopback.
    bool loopbackOnly = false;
    QString writeError;
};

bool isLoopback(const curl_sockaddr* address)
{
    if (address->family == AF_INET) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(&address->addr);
        return (ntohl(in->sin_addr.s_addr) >> 24) == 127;
    }
    if (address->family == AF_INET6) {
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(&address->addr);
        return IN6_IS_ADDR_LOOPBACK(&in6->sin6_addr);
    }
    return false;
}

// Runs fn on the owner's thread, after the events posted before it.
template <typename Fn> void post(HttpDownload* owner, Fn fn)
{
    QMetaObject::invokeMethod(owner, std::move(fn), Qt::QueuedConnection);
}

// libcurl asks for a socket once it has an address for the host: the name
// is resolved at that point.
curl_socket_t openSocket(void* clientp, curlsocktype purpose, curl_sockaddr* address)
{
    auto* transfer = static_cast<Transfer*>(clientp);
    if (purpose == CURLSOCKTYPE_IPCXN && !transfer->resolvedReported) {
        transfer->resolvedReported = true;
        HttpDownload* owner = transfer->owner;
        post(owner, [owner] { emit owner->hostResolved(); });
    }
    if (transfer->loopbackOnly && !isLoopback(address))
        return CURL_SOCKET_BAD;
    return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

// Called once a connection is up (or reused), just before the request goes out.
int connectionReady(void* clientp, char*, char*, int, int)
{
    auto* transfer = static_cast<Transfer*>(clientp);
    transfer->resolvedReported = false; // a redirection's new host is reported again
    HttpDownload* owner = transfer->owner;
    post(owner, [owner] { emit owner->connected(); });
    return CURL_PREREQFUNC_OK;
}

// Only the final response's body arrives here: libcurl skips the bodies of
// the redirections it follows.
size_t writeBody(char* data, size_t size, size_t count, void* clientp)
{
    auto* transfer = static_cast<Transfer*>(clientp);
    const qint64 length = static_cast<qint64>(size * count);
    if (transfer->body->write(data, length) != length) {
        transfer->writeError = transfer->body->errorString();
        return 0; // libcurl ends the transfer with CURLE_WRITE_ERROR
    }
    transfer->received += length;
    curl_off_t contentLength = -1;
    curl_easy_getinfo(transfer->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &contentLength);
    const qint64 total = contentLength > 0 ? contentLength : 0;
    const qint64 received = transfer->received;
    HttpDownload* owner = transfer->owner;
    post(owner, [owner, received, total] { emit owner->packetReceived(received, total); });
    return size * count;
}

int checkAbort(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Transfer*>(clientp)->abort->load() ? 1 : 0;
}

bool curlReady()
{
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

void configure(CURL* easy, const QByteArray& url, Transfer* transfer, char* errorBuffer)
{
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    // https only, redirections included. Plain http is let through only for
    // an address on this machine, and then no connection may leave it.
    transfer->loopbackOnly = isLoopbackHttpAddress(QString::fromUtf8(url));
    const char* protocols = transfer->loopbackOnly ? "http,https" : "https";
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, protocols);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirections);
    curl_easy_setopt(easy, CURLOPT_PROXY, ""); // no proxy, whatever the environment says
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "3e Harnwick");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L); // required on a worker thread
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, openSocket);
    curl_easy_setopt(easy, CURLOPT_OPENSOCKETDATA, transfer);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, connectionReady);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, transfer);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, checkAbort);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, transfer);
}

} // namespace

HttpDownload::HttpDownload(QObject* parent) : QObject(parent) {}

HttpDownload::~HttpDownload() = default;

HttpDownload::Result HttpDownload::get(const QString& url, const QString& bodyFile)
{
    if (m_running)
        return {Outcome::Busy, 0, QStringLiteral("A download is already running")};

    QFile body(bodyFile);
    const auto fail = [&](Outcome outcome, const QString& text) {
        body.remove();
        return Result{outcome, 0, text};
    };

    if (!curlReady()) {
        emit connectionFailed();
        return Result{Outcome::ConnectionFailed, 0,
                      QStringLiteral("The HTTP client failed to start")};
    }
    if (!body.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const QString text = QStringLiteral("Cannot create %1: %2")
                                 .arg(QDir::toNativeSeparators(bodyFile), body.errorString());
        emit fileError(text);
        return Result{Outcome::FileError, 0, text};
    }

    CURL* easy = curl_easy_init();
    if (!easy) {
        const Result result =
            fail(Outcome::ConnectionFailed, QStringLiteral("The HTTP client failed to start"));
        emit connectionFailed();
        return result;
    }

    m_running = true;
    m_abort = false;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    Transfer transfer;
    transfer.owner = this;
    transfer.easy = easy;
    transfer.body = &body;
    transfer.abort = &m_abort;
    configure(easy, url.toUtf8(), &transfer, errorBuffer);

    QEventLoop loop;
    std::atomic<bool> ended{false};
    CURLcode code = CURLE_OK;
    std::thread worker([&] {
        code = curl_easy_perform(easy);
        ended = true;
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop ends early only when told to exit (the application is
    // quitting): stop the transfer and report nothing more of it.
    const bool leftEarly = !ended;
    if (leftEarly)
        m_abort = true;
    worker.join();
    m_running = false;

    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    const QString clientText =
        QString::fromLocal8Bit(errorBuffer[0] ? errorBuffer : curl_easy_strerror(code));
    curl_easy_cleanup(easy);

    if (leftEarly || code == CURLE_ABORTED_BY_CALLBACK) {
        // Events still queued belong to a transfer nobody waits for any more.
        QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
        return fail(Outcome::Aborted, QStringLiteral("The download was stopped"));
    }
    if (code == CURLE_WRITE_ERROR && !transfer.writeError.isEmpty()) {
        const QString text = QStringLiteral("Cannot write %1: %2")
                                 .arg(QDir::toNativeSeparators(bodyFile), transfer.writeError);
        const Result result = fail(Outcome::FileError, text);
        emit fileError(text);
        return result;
    }
    if (code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_URL_MALFORMAT) {
        const Result result = fail(Outcome::InvalidHost, clientText);
        emit invalidHost();
        return result;
    }
    if (code != CURLE_OK) {
        const Result result = fail(Outcome::ConnectionFailed, clientText);
        emit connectionFailed();
        return result;
    }
    if (!body.flush()) {
        const QString text = QStringLiteral("Cannot write %1: %2")
                                 .arg(QDir::toNativeSeparators(bodyFile), body.errorString());
        const Result result = fail(Outcome::FileError, text);
        emit fileError(text);
        return result;
    }
    body.close();

    if (status > 0 && status < 299) {
        emit success();
        return {Outcome::Success, static_cast<int>(status), {}};
    }
    // Error statuses, and a redirection that could not be followed: the
    // server's answer stays in the file for whoever wants to read it.
    emit failure(static_cast<int>(status));
    return {Outcome::HttpError, static_cast<int>(status),
            QStringLiteral("The server answered with status %1").arg(status)};
}

} // namespace update

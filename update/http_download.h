#pragma once

#include <QObject>
#include <QString>

#include <atomic>

// One HTTP(S) GET whose body is saved to a file, with the client's events
// raised as signals on the thread that calls get() (the user-interface
// thread) while the transfer runs.
//
// How: get() hands the transfer to libcurl on a worker thread and runs a
// local event loop until it ends. libcurl's callbacks post each event to
// this object's thread as a queued call, so the signals below arrive in
// order and windows keep repainting (a busy window can show the progress).
// Because the caller's thread keeps handling events, slots must not start
// a second get() on the same object; one started anyway returns Busy.
//
// Event order of one GET: hostResolved and connected for each connection
// made (a redirection to another host makes a new one), packetReceived for
// each piece of the final response's body, then exactly one of success,
// failure, invalidHost, connectionFailed or fileError, after the body file
// has been written and closed and before get() returns.
namespace update {

class HttpDownload : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Success,          // final status below 299; the body is in the file
        HttpError,        // final status 299 or above; the server's answer is in the file
        InvalidHost,      // the host name could not be resolved (or the address names none)
        ConnectionFailed, // no connection, or the transfer broke off; no file is left
        FileError,        // the body file could not be created or written; no file is left
        Aborted,          // abort() or the application quitting ended the transfer
        Busy              // this object was already running a GET
    };

    struct Result
    {
        Outcome outcome = Outcome::ConnectionFailed;
        int httpStatus = 0; // the final response's status; 0 when none came
        QString errorText;  // the client's or the file's own message, when not Success
    };

    explicit HttpDownload(QObject* parent = nullptr);
    ~HttpDownload() override;

    // GET url, following redirections (HTTPS only, at most 10; plain HTTP
    // only for an address of this machine, see isLoopbackHttpAddress()),
    // without a proxy, writing the final response's body to bodyFile
    // (created or emptied first). Blocks until the transfer has ended while
    // events of this thread go on being handled; the signals below arrive
    // meanwhile. A connection that cannot be made within 30 s, or a transfer
    // that stalls (less than 1 byte per second for 60 s), fails.
    Result get(const QString& url, const QString& bodyFile);

    // Ends a running GET as soon as the client notices (within about a
    // second); get() then returns Aborted. Safe from any thread.
    void abort() { m_abort = true; }

    bool isRunning() const { return m_running; }

signals:
    void hostResolved();
    void connected();
    // received: body bytes so far; total: the body's Content-Length, 0 when
    // the server sent none.
    void packetReceived(qint64 received, qint64 total);
    void invalidHost();
    void connectionFailed();
    // The final status was 299 or above; its body is in the file, which stays.
    void failure(int httpStatus);
    // The final status was below 299; the body is complete in the file.
    void success();
    // The body file could not be created or written.
    void fileError(const QString& message);

private:
    std::atomic<bool> m_abort{false};
    bool m_running = false;
};

} // namespace update

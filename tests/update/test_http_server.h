#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

// A minimal HTTP/1.1 server on 127.0.0.1 for the update tests. It runs on
// the test's thread and answers while that thread handles events (the
// download under test runs a local event loop). Every answer closes the
// connection; a path without a reply gets a 404.
class TestHttpServer : public QObject
{
    Q_OBJECT

public:
    struct Reply
    {
        int status = 200;
        QByteArray body;
        QByteArray location;    // Location header, for redirections
        bool sendLength = true; // false: no Content-Length, the body ends with the connection
        qint64 pauseAfter = -1; // send this many body bytes, the rest on resume()
    };

    bool listen();
    QString url(const QString& path) const;
    void setReply(const QString& path, const Reply& reply) { m_replies.insert(path, reply); }
    // Sends the held rest of a paused body and ends that answer.
    void resume();
    QStringList requestedPaths() const { return m_requested; }

private:
    void answer(QTcpSocket* socket, const QString& path);

    QTcpServer m_server;
    QHash<QString, Reply> m_replies;
    QStringList m_requested;
    QPointer<QTcpSocket> m_held;
    QByteArray m_heldRest;
};

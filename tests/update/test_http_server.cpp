#include "test_http_server.h"

namespace {
QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}
} // namespace

bool TestHttpServer::listen()
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                QByteArray request = socket->property("request").toByteArray() + socket->readAll();
                socket->setProperty("request", request);
                if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
                    return;
                socket->setProperty("answered", true);
                const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
                answer(socket, words.size() > 1 ? QString::fromLatin1(words[1]) : QString());
            });
        }
    });
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString TestHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void TestHttpServer::answer(QTcpSocket* socket, const QString& path)
{
    m_requested << path;
    const Reply reply = m_replies.value(path, Reply{404, "no such file", {}, true, -1});
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reason(reply.status) +
                      "\r\nConnection: close\r\n";
    if (reply.sendLength)
        head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    if (!reply.location.isEmpty())
        head += "Location: " + reply.location + "\r\n";
    socket->write(head + "\r\n");
    if (reply.pauseAfter >= 0) {
        socket->write(reply.body.left(reply.pauseAfter));
        m_held = socket;
        m_heldRest = reply.body.mid(reply.pauseAfter);
        return;
    }
    socket->write(reply.body);
    socket->disconnectFromHost();
}

void TestHttpServer::resume()
{
    if (!m_held)
        return;
    m_held->write(m_heldRest);
    m_held->disconnectFromHost();
    m_held = nullptr;
}

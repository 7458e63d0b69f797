#pragma once

// An HTTP server of a test's own on a local port: it answers every request with a status, a page
// and headers of the test's choosing, or cuts it off, and keeps each request's head and the time
// it came (the engine's own requests for the site's icon aside).

#include <QElapsedTimer>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

class TestHttpServer final : public QObject
{
public:
    int status = 200; // 0: every request is cut off
    QByteArray body = "<title>page</title><p>page</p>";
    QByteArray headers; // more header lines, each ending in CRLF

    struct Request
    {
        QByteArray head;
        qint64 ms; // since the server started
    };
    QList<Request> requests;

    TestHttpServer()
    {
        m_clock.start();
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::destroyed, this, [this, socket] { m_heads.remove(socket); });
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Answer(socket); });
            }
        });
    }

    QString Url(const QString& path = QStringLiteral("/")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

private:
    void Answer(QTcpSocket* socket)
    {
        QByteArray& head = m_heads[socket];
        head += socket->readAll();
        const qsizetype end = head.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray request = head.left(end);
        m_heads.remove(socket);
        if (!request.startsWith("GET /favicon.ico "))
            requests.append({request, m_clock.elapsed()});
        if (status == 0) {
            socket->abort();
            return;
        }
        socket->write("HTTP/1.1 " + QByteArray::number(status) +
                      " X\r\nContent-Type: text/html; charset=utf-8\r\n" + headers +
                      "Connection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" +
                      body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QElapsedTimer m_clock;
    QHash<QTcpSocket*, QByteArray> m_heads;
};

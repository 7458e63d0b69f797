// The Flash socket bridge against real TCP servers on 127.0.0.1: what passes, what is refused, how
// each side's close reaches the other, and that a flooding server is held back.
#include "platform/engine/SocketBridge.h"

#include <QPointer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

using engine::SocketBridge;
using engine::SocketEndpoint;

namespace {

// A game server of the test's own: it keeps what it receives and its connections.
struct Server
{
    QTcpServer server;
    QList<QPointer<QTcpSocket>> peers;
    QByteArray received;

    Server()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* peer = server.nextPendingConnection()) {
                peers << peer;
                QObject::connect(peer, &QTcpSocket::readyRead, [this, peer] { received += peer->readAll(); });
            }
        });
    }
    SocketEndpoint Endpoint() const { return {QStringLiteral("127.0.0.1"), server.serverPort()}; }
};

quint16 FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QByteArray RandomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::global()->generate(bytes.begin(), bytes.end());
    return bytes;
}

} // namespace

class TestSocketBridge final : public QObject
{
    Q_OBJECT

    // A movie's socket: a WebSocket client on the bridge.
    struct Movie
    {
        QWebSocket socket;
        QByteArray received;
        bool closed = false;
        explicit Movie(const QUrl& url)
        {
            QObject::connect(&socket, &QWebSocket::binaryMessageReceived,
                             [this](const QByteArray& bytes) { received += bytes; });
            QObject::connect(&socket, &QWebSocket::disconnected, [this] { closed = true; });
            socket.open(url);
        }
    };

private Q_SLOTS:
    void bytesPassBothWays()
    {
        Server server;
        SocketBridge bridge({server.Endpoint()});
        QVERIFY(bridge.Listen());
        Movie movie(bridge.ProxyUrl(server.Endpoint()));
        QTRY_VERIFY(movie.socket.state() == QAbstractSocket::ConnectedState);
        const QByteArray up = RandomBytes(1024 * 1024);
        for (qsizetype at = 0; at < up.size(); at += 16 * 1024)
            movie.socket.sendBinaryMessage(up.mid(at, 16 * 1024));
        QTRY_COMPARE_WITH_TIMEOUT(server.received.size(), up.size(), 10000);
        QVERIFY(server.received == up);

        const QByteArray down = RandomBytes(1024 * 1024);
        QTRY_COMPARE(server.peers.size(), 1);
        server.peers[0]->write(down);
        QTRY_COMPARE_WITH_TIMEOUT(movie.received.size(), down.size(), 10000);
        QVERIFY(movie.received == down);
    }

    void refused_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("an endpoint that is not listed") << 0;
        QTest::newRow("no secret") << 1;
        QTest::newRow("a wrong secret") << 2;
    }
    void refused()
    {
        QFETCH(int, kind);
        Server listed;
        Server other;
        SocketBridge bridge({listed.Endpoint()});
        QVERIFY(bridge.Listen());
        QUrl url = bridge.ProxyUrl(kind == 0 ? other.Endpoint() : listed.Endpoint());
        QStringList parts = url.path().split(u'/');
        if (kind == 1)
            parts.removeAt(1);
        if (kind == 2)
            parts[1] = QString(parts[1].size(), u'0');
        url.setPath(parts.join(u'/'));
        Movie movie(url);
        QTRY_VERIFY(movie.closed);
        QTest::qWait(200);
        QVERIFY(listed.peers.isEmpty() && other.peers.isEmpty());
    }

    void deadServersEndTheSocket_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::newRow("nothing listens on the port") << false;
        QTest::newRow("the server closes at once") << true;
    }
    void deadServersEndTheSocket()
    {
        QFETCH(bool, listening);
        Server server;
        SocketEndpoint endpoint = server.Endpoint();
        if (!listening)
            endpoint.port = FreePort();
        else
            QObject::connect(&server.server, &QTcpServer::newConnection,
                             [&] { server.peers.last()->disconnectFromHost(); });
        SocketBridge bridge({endpoint});
        QVERIFY(bridge.Listen());
        Movie movie(bridge.ProxyUrl(endpoint));
        QTRY_VERIFY_WITH_TIMEOUT(movie.closed, SocketBridge::kConnectTimeoutMs);
    }

    void eachSideClosesTheOther()
    {
        Server server;
        SocketBridge bridge({server.Endpoint()});
        QVERIFY(bridge.Listen());
        {
            Movie movie(bridge.ProxyUrl(server.Endpoint()));
            QTRY_COMPARE(server.peers.size(), 1);
            movie.socket.close();
            QTRY_VERIFY(!server.peers[0] || server.peers[0]->state() == QAbstractSocket::UnconnectedState);
        }
        Movie movie(bridge.ProxyUrl(server.Endpoint()));
        QTRY_COMPARE(server.peers.size(), 2);
        server.peers[1]->write("last words");
        server.peers[1]->disconnectFromHost();
        QTRY_VERIFY(movie.closed);
        QCOMPARE(movie.received, QByteArray("last words")); // what was sent before the close arrives
    }

    void floodingServerIsHeldBack()
    {
        // A movie that doesn't read (a raw WebSocket handshake, then nothing), and a server that
        // would send 100 MB: the bridge takes only a bounded part of it.
        Server server;
        SocketBridge bridge({server.Endpoint()});
        QVERIFY(bridge.Listen());
        QTcpSocket movie;
        movie.setReadBufferSize(4096);
        movie.connectToHost(QHostAddress::LocalHost, bridge.Port());
        QVERIFY(movie.waitForConnected(5000));
        const QUrl url = bridge.ProxyUrl(server.Endpoint());
        movie.write("GET " + url.path(QUrl::FullyEncoded).toLatin1() +
                    " HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                    "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
        QTRY_COMPARE(server.peers.size(), 1);
        QTcpSocket* peer = server.peers[0];
        const QByteArray chunk(64 * 1024, 'x');
        qint64 pushed = 0;
        const qint64 flood = 100 * 1024 * 1024;
        QElapsedTimer timer;
        timer.start();
        while (pushed < flood && timer.elapsed() < 5000) {
            if (peer->bytesToWrite() < 1024 * 1024) {
                peer->write(chunk);
                pushed += chunk.size();
            }
            QTest::qWait(1);
        }
        const qint64 taken = pushed - peer->bytesToWrite();
        // Kernel buffers on both hops plus the bridge's own bound: a few megabytes, not 100.
        QVERIFY2(taken < 32 * 1024 * 1024, qPrintable(QString::number(taken)));
    }
};

QTEST_GUILESS_MAIN(TestSocketBridge)
#include "tst_socketbridge.moc"

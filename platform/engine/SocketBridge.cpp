#include "platform/engine/SocketBridge.h"

#include <QNetworkProxy>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketServer>

namespace engine {
namespace {

constexpr qint64 kReadChunk = 64 * 1024;

QByteArray NewSecret()
{
    QByteArray bytes(32, Qt::Uninitialized);
    QRandomGenerator::system()->generate(bytes.begin(), bytes.end());
    return bytes.toHex();
}

// Compares in a time that doesn't depend on where the texts differ.
bool SameSecret(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

// One movie's socket: a WebSocket from the page and a TCP connection to the game server. It
// deletes itself once both sides are closed.
class Relay final : public QObject
{
public:
    Relay(QWebSocket* page, const SocketEndpoint& endpoint, QObject* bridge)
        : QObject(bridge), m_page(page), m_server(new QTcpSocket(this))
    {
        page->setParent(this);
        m_server->setReadBufferSize(kReadChunk);
        connect(page, &QWebSocket::binaryMessageReceived, this, &Relay::ToServer);
        connect(page, &QWebSocket::textMessageReceived, this,
                [this](const QString& text) { ToServer(text.toUtf8()); });
        connect(page, &QWebSocket::bytesWritten, this, [this](qint64 written) {
            m_pendingToPage = std::max<qint64>(0, m_pendingToPage - written);
            ToPage();
        });
        connect(page, &QWebSocket::disconnected, this, [this] {
            m_pageGone = true;
            if (m_server->state() == QAbstractSocket::UnconnectedState)
                deleteLater();
            else
                m_server->disconnectFromHost(); // after what is still pending for the server
        });
        connect(m_server, &QTcpSocket::connected, this, [this] {
            m_connectTimer.stop();
            m_server->write(m_early);
            m_early.clear();
        });
        connect(m_server, &QTcpSocket::readyRead, this, &Relay::ToPage);
        connect(m_server, &QTcpSocket::disconnected, this, &Relay::ServerGone);
        connect(m_server, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
            // A server that closes its side is the normal end: what it sent still goes to the page.
            if (error != QAbstractSocket::RemoteHostClosedError)
                m_server->abort();
            ServerGone();
        });
        m_connectTimer.setSingleShot(true);
        connect(&m_connectTimer, &QTimer::timeout, this, [this] {
            m_server->abort();
            ServerGone();
        });
        m_connectTimer.start(SocketBridge::kConnectTimeoutMs);
        m_server->connectToHost(endpoint.host, endpoint.port);
    }

private:
    void ToServer(const QByteArray& bytes)
    {
        if (m_server->state() == QAbstractSocket::ConnectedState)
            m_server->write(bytes);
        else
            m_early.append(bytes);
        if (m_server->bytesToWrite() + m_early.size() > SocketBridge::kMaxPendingToServer) {
            // The server doesn't read what the page sends: end it rather than buffer without end.
            m_server->abort();
            m_page->close(QWebSocketProtocol::CloseCodeTooMuchData);
        }
    }

    void ToPage()
    {
        while (m_pendingToPage < SocketBridge::kMaxPendingToPage && m_server->bytesAvailable() > 0) {
            const QByteArray chunk = m_server->read(kReadChunk);
            m_pendingToPage += chunk.size();
            m_page->sendBinaryMessage(chunk);
        }
        if (m_serverGone && m_server->bytesAvailable() == 0 && !m_pageGone)
            m_page->close();
    }

    void ServerGone()
    {
        m_serverGone = true;
        m_connectTimer.stop();
        if (m_pageGone) {
            deleteLater();
            return;
        }
        ToPage();
    }

    QWebSocket* m_page;
    QTcpSocket* m_server;
    QTimer m_connectTimer;
    QByteArray m_early; // what the page sent before the server accepted
    qint64 m_pendingToPage = 0;
    bool m_pageGone = false;
    bool m_serverGone = false;
};

} // namespace

SocketBridge::SocketBridge(QList<SocketEndpoint> endpoints, QObject* parent)
    : QObject(parent), m_endpoints(std::move(endpoints)), m_secret(NewSecret()),
      m_server(new QWebSocketServer(QStringLiteral("vantor"), QWebSocketServer::NonSecureMode, this))
{
    connect(m_server, &QWebSocketServer::newConnection, this, &SocketBridge::OnNewConnection);
}

bool SocketBridge::Listen()
{
    // The bridge listens here, on this machine, whatever proxy the program's connections go
    // through; its connections to the game servers take the program's proxy.
    m_server->setProxy(QNetworkProxy::NoProxy);
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 SocketBridge::Port() const
{
    return m_server->serverPort();
}

QUrl SocketBridge::ProxyUrl(const SocketEndpoint& endpoint) const
{
    QUrl url;
    url.setScheme(QStringLiteral("ws"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(Port());
    url.setPath(u'/' + QString::fromLatin1(m_secret) + u'/' +
                QString::fromLatin1(QUrl::toPercentEncoding(endpoint.host)) + u'/' +
                QString::number(endpoint.port));
    return url;
}

void SocketBridge::OnNewConnection()
{
    while (QWebSocket* page = m_server->nextPendingConnection()) {
        // The address names the secret and the endpoint: /SECRET/HOST/PORT.
        const QStringList parts = page->requestUrl().path(QUrl::FullyEncoded).split(u'/');
        SocketEndpoint wanted;
        bool known = false;
        if (parts.size() == 4 && parts[0].isEmpty() && SameSecret(parts[1].toLatin1(), m_secret)) {
            bool portOk = false;
            wanted.host = QUrl::fromPercentEncoding(parts[2].toLatin1());
            wanted.port = parts[3].toUShort(&portOk);
            known = portOk && m_endpoints.contains(wanted);
        }
        if (!known) {
            connect(page, &QWebSocket::disconnected, page, &QObject::deleteLater);
            page->close(QWebSocketProtocol::CloseCodePolicyViolated);
            continue;
        }
        new Relay(page, wanted, this); // it goes with its connection, or with the bridge
    }
}

} // namespace engine

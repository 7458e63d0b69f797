#pragma once

#include "platform/engine/SocketEndpoint.h"

#include <QList>
#include <QObject>
#include <QUrl>

class QWebSocketServer;

namespace engine {

// Flash movies open TCP sockets through the emulator, which can only speak WebSocket: this bridge
// takes a WebSocket on 127.0.0.1 and relays its binary frames to a game server's TCP port and back.
// It serves only the listed endpoints, and only to a client that knows this run's secret: it is
// never an open relay. Each connection buffers a bounded amount in each direction; a server that
// sends faster than the page reads is held back through TCP's own flow control.
class SocketBridge final : public QObject
{
    Q_OBJECT

public:
    explicit SocketBridge(QList<SocketEndpoint> endpoints, QObject* parent = nullptr);

    // Listens on 127.0.0.1, on a free port. False when it can't.
    bool Listen();
    quint16 Port() const;
    // The WebSocket address that reaches an endpoint: ws://127.0.0.1:PORT/SECRET/HOST/PORT.
    QUrl ProxyUrl(const SocketEndpoint& endpoint) const;
    const QList<SocketEndpoint>& Endpoints() const { return m_endpoints; }

    // How long a server may take to accept a connection before the movie gets an IO error.
    static constexpr int kConnectTimeoutMs = 10'000;
    // What each direction of a connection may hold before it is held back (from the server) or
    // closed (from the page, whose server doesn't read).
    static constexpr qint64 kMaxPendingToPage = 1024 * 1024;
    static constexpr qint64 kMaxPendingToServer = 8 * 1024 * 1024;

private:
    void OnNewConnection();

    QList<SocketEndpoint> m_endpoints;
    QByteArray m_secret;
    QWebSocketServer* m_server;
};

} // namespace engine

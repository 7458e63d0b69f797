// The Flash socket bridge against plain TCP on 127.0.0.1: round-trip latency (median of 1,000
// ping-pongs of 32 bytes) and throughput (64 MB from the server to the page), each with a local
// echo server. Prints one line per figure.
#include "platform/engine/SocketBridge.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kPings = 1000;
constexpr qint64 kBulk = 64 * 1024 * 1024;

// Echoes what it gets; "BULK" asks it to send kBulk bytes instead.
void Serve(QTcpServer& server)
{
    QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        QTcpSocket* peer = server.nextPendingConnection();
        auto* left = new qint64(0);
        QObject::connect(peer, &QTcpSocket::readyRead, [peer, left] {
            const QByteArray data = peer->readAll();
            if (!data.startsWith("BULK")) {
                peer->write(data);
                return;
            }
            *left = kBulk;
            const QByteArray chunk(256 * 1024, 'x');
            auto pump = [peer, left, chunk] {
                while (*left > 0 && peer->bytesToWrite() < 4 * chunk.size()) {
                    peer->write(chunk);
                    *left -= chunk.size();
                }
            };
            QObject::connect(peer, &QTcpSocket::bytesWritten, pump);
            pump();
        });
    });
}

void WaitFor(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    Serve(server);
    const engine::SocketEndpoint endpoint{QStringLiteral("127.0.0.1"), server.serverPort()};
    engine::SocketBridge bridge({endpoint});
    bridge.Listen();
    const QByteArray ping(32, 'p');

    // Plain TCP.
    QTcpSocket tcp;
    tcp.connectToHost(QHostAddress::LocalHost, server.serverPort());
    tcp.waitForConnected();
    std::vector<double> tcpUs;
    for (int i = 0; i < kPings; ++i) {
        QElapsedTimer t;
        t.start();
        tcp.write(ping);
        qint64 got = 0;
        WaitFor([&] { return (got += tcp.readAll().size()) >= ping.size(); });
        tcpUs.push_back(t.nsecsElapsed() / 1e3);
    }
    // Throughput: the best of three transfers, so that a warm-up doesn't count.
    auto best = [](const std::function<double()>& transfer) {
        double mbs = 0;
        for (int i = 0; i < 3; ++i)
            mbs = std::max(mbs, transfer());
        return mbs;
    };
    const double tcpMBs = best([&] {
        QElapsedTimer bulk;
        bulk.start();
        qint64 got = 0;
        const auto reader =
            QObject::connect(&tcp, &QTcpSocket::readyRead, [&] { got += tcp.readAll().size(); });
        tcp.write("BULK");
        WaitFor([&] { return got >= kBulk; });
        QObject::disconnect(reader);
        return kBulk / 1048576.0 / (bulk.nsecsElapsed() / 1e9);
    });

    // Through the bridge, as a movie's socket goes.
    QWebSocket ws;
    QByteArray received;
    QObject::connect(&ws, &QWebSocket::binaryMessageReceived, [&](const QByteArray& b) { received += b; });
    ws.open(bridge.ProxyUrl(endpoint));
    WaitFor([&] { return ws.state() == QAbstractSocket::ConnectedState; });
    std::vector<double> wsUs;
    for (int i = 0; i < kPings; ++i) {
        received.clear();
        QElapsedTimer t;
        t.start();
        ws.sendBinaryMessage(ping);
        WaitFor([&] { return received.size() >= ping.size(); });
        wsUs.push_back(t.nsecsElapsed() / 1e3);
    }
    qint64 bytes = 0;
    QObject::disconnect(&ws, &QWebSocket::binaryMessageReceived, nullptr, nullptr);
    QObject::connect(&ws, &QWebSocket::binaryMessageReceived,
                     [&](const QByteArray& b) { bytes += b.size(); });
    const double wsMBs = best([&] {
        bytes = 0;
        QElapsedTimer bulk;
        bulk.start();
        ws.sendBinaryMessage("BULK");
        WaitFor([&] { return bytes >= kBulk; });
        return kBulk / 1048576.0 / (bulk.nsecsElapsed() / 1e9);
    });

    std::printf("round trip, median of %d (us)\t%.1f\t%.1f\n", kPings, Median(wsUs), Median(tcpUs));
    std::printf("throughput, server to page (MB/s)\t%.0f\t%.0f\n", wsMBs, tcpMBs);
    return 0;
}

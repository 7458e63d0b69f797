#pragma once

#include <QString>

namespace engine {

// A game server that Flash movies may open a socket to: a host, as written, and a port.
struct SocketEndpoint
{
    QString host;
    quint16 port = 0;

    friend bool operator==(const SocketEndpoint&, const SocketEndpoint&) = default;
};

} // namespace engine

#pragma once

#include "platform/engine/SocketEndpoint.h"

#include <QList>
#include <QString>
#include <QStringList>

// The game servers that Flash movies may open sockets to: section "Flash", key "Sockets", a
// comma-separated list of host:port entries, where host:first-last gives a range of ports. An IPv6
// host is written in brackets ([::1]:843).
struct FlashSockets
{
    QList<engine::SocketEndpoint> endpoints; // in order, without repeats, at most kMaxSocketEndpoints
    QStringList badEntries;                  // as written, for the player's note
    bool truncated = false;                  // more endpoints were listed than are allowed
};

inline constexpr int kMaxSocketEndpoints = 1024;

FlashSockets ParseFlashSockets(const QString& text);

// The endpoints of the setting's text; bad entries are named on stderr. No text means no sockets.
QList<engine::SocketEndpoint> ReadFlashSockets(const QString& text);

#include "settings/FlashSockets.h"

#include <cstdio>

namespace {

bool ParsePort(const QString& text, quint16* port)
{
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value == 0 || value > 65535 || text.startsWith(u'+'))
        return false;
    *port = static_cast<quint16>(value);
    return true;
}

bool IsHostText(const QString& host)
{
    if (host.isEmpty())
        return false;
    for (QChar c : host) {
        if (c.isSpace() || c == u'/' || c == u'?' || c == u'#' || c == u'@' || c.unicode() < 0x20)
            return false;
    }
    return true;
}

} // namespace

FlashSockets ParseFlashSockets(const QString& text)
{
    FlashSockets result;
    for (const QString& raw : text.split(u',', Qt::SkipEmptyParts)) {
        const QString entry = raw.trimmed();
        if (entry.isEmpty())
            continue;
        const auto colon = entry.lastIndexOf(u':');
        QString host = entry.left(colon);
        const QString ports = entry.mid(colon + 1);
        if (host.startsWith(u'[') && host.endsWith(u']'))
            host = host.mid(1, host.size() - 2);
        else if (host.contains(u':'))
            host.clear(); // an IPv6 host needs its brackets
        const auto dash = ports.indexOf(u'-');
        quint16 first = 0;
        quint16 last = 0;
        const bool ok =
            colon > 0 && IsHostText(host) &&
            (dash < 0 ? ParsePort(ports, &first) && ParsePort(ports, &last)
                      : ParsePort(ports.left(dash), &first) && ParsePort(ports.mid(dash + 1), &last)) &&
            first <= last;
        if (!ok) {
            result.badEntries << entry;
            continue;
        }
        for (uint port = first; port <= last; ++port) {
            const engine::SocketEndpoint endpoint{host, static_cast<quint16>(port)};
            if (result.endpoints.contains(endpoint))
                continue;
            if (result.endpoints.size() == kMaxSocketEndpoints) {
                result.truncated = true;
                break;
            }
            result.endpoints << endpoint;
        }
    }
    return result;
}

QList<engine::SocketEndpoint> ReadFlashSockets(const QString& text)
{
    const FlashSockets sockets = ParseFlashSockets(text);
    for (const QString& entry : sockets.badEntries)
        std::fprintf(stderr, "vantor: Flash/Sockets: \"%s\" is not host:port or host:first-last; skipped\n",
                     qPrintable(entry));
    if (sockets.truncated)
        std::fprintf(stderr, "vantor: Flash/Sockets lists more than %d endpoints; the rest are skipped\n",
                     kMaxSocketEndpoints);
    return sockets.endpoints;
}

#pragma once

#include <QString>
#include <QUrl>

namespace engine {

// Where a request comes from, as far as the policy cares.
enum class Requester
{
    Program,   // the program itself: the login page, a site or game address, a reload after a crash
    LocalFile, // a page of the operator's own on file:, which only the program can have opened
    Web,       // any other page or frame, including opaque (sandboxed, data:) ones
};

// The schemes a web page may ask for: http, https, ws, wss, data, blob, about and the program's own
// Flash scheme. Everything else (file:, qrc:, mailto:, schemes of desktop programs) is refused.
bool IsAllowedForWeb(const QString& scheme);

// Only http: and https: addresses can be game addresses or go to the user's browser.
bool IsWebAddress(const QUrl& url);

// Whether a host, as written in an address, names the player's own machine or local network:
// localhost, loopback, private and link-local addresses. Names are not resolved.
bool IsLocalNetworkHost(const QString& host);

// The one decision for every request: may a page from origin (its scheme and host; empty for a
// Requester::Program) ask for target? A public page never reaches the local network, except the
// program's own local endpoints (see AllowLocalEndpoint).
bool MayRequest(Requester requester, const QUrl& origin, const QUrl& target);

// A local endpoint of the program's own that every page may reach (host as written, and port).
void AllowLocalEndpoint(const QString& host, int port);

} // namespace engine
